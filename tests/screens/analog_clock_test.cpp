// The small analogue clock of the world time list: hands turn clockwise from twelve, the hour
// hand shorter than the minute hand, drawn where the time says.

#include <gtest/gtest.h>

#include <memory>

#include "platform/api/draw.h"
#include "worldtime/screens/analog_clock.h"

using namespace platform;
using namespace worldtime;

namespace {

bool isDark(const DeviceContext& dc, double x, double y) {
    Colour c = dc.pixel(static_cast<int>(x), static_cast<int>(y));
    return (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128;
}

}  // namespace

TEST(AnalogClock, HandEndsTurnClockwiseFromTwelve) {
    Rect box{10, 20, 50, 60};  // centre 30, 40; radius 20
    HandEnd twelve = handEnd(box, 0, 1.0);
    EXPECT_NEAR(twelve.x, 30, 1e-9);
    EXPECT_NEAR(twelve.y, 20, 1e-9);
    HandEnd three = handEnd(box, 90, 0.5);
    EXPECT_NEAR(three.x, 40, 1e-9);
    EXPECT_NEAR(three.y, 40, 1e-9);
    HandEnd nine = handEnd(box, 270, 0.75);
    EXPECT_NEAR(nine.x, 15, 1e-9);
    EXPECT_NEAR(nine.y, 40, 1e-9);
}

TEST(AnalogClock, HandsAreDrawnWhereTheTimeSays) {
    DeviceContext dc;
    dc.selectBitmap(std::make_shared<Bitmap>(40, 40));
    Rect box{0, 0, 40, 40};  // centre 20, 20; radius 20
    dc.fillRect(box, 0xFFFFFF);
    // 3:30: the hour hand between three and four (position 17), the minute hand at six.
    drawAnalogClock(dc, gfx::TargaPixels{}, box, {2026, 6, 0, 21, 15, 30, 0, 0});
    HandEnd hour = handEnd(box, 6.0 * 17, 0.45);
    EXPECT_TRUE(isDark(dc, hour.x, hour.y)) << "hour hand";
    HandEnd minute = handEnd(box, 180, 0.7);
    EXPECT_TRUE(isDark(dc, minute.x, minute.y)) << "minute hand";
    // Nothing towards twelve or nine, and the hour hand stops at half the radius.
    EXPECT_FALSE(isDark(dc, 20, 4));
    EXPECT_FALSE(isDark(dc, 4, 20));
    HandEnd beyondHour = handEnd(box, 6.0 * 17, 0.7);
    EXPECT_FALSE(isDark(dc, beyondHour.x, beyondHour.y));
}
