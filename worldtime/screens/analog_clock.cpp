#include "worldtime/screens/analog_clock.h"

#include <algorithm>
#include <cmath>

#include "gfx/blend.h"
#include "worldtime/world_clock.h"

namespace worldtime {

namespace {

constexpr double kRad = 0.017453292519943295;

struct Centre {
    double x;
    double y;
    double radius;
};

Centre centreOf(const platform::Rect& box) {
    return {box.left + box.width() / 2.0, box.top + box.height() / 2.0,
            std::min(box.width(), box.height()) / 2.0};
}

}  // namespace

HandEnd handEnd(const platform::Rect& box, double angle, double length) {
    Centre c = centreOf(box);
    // Screen y grows downwards, so twelve o'clock is -y and clockwise turns towards +x.
    return {c.x + std::sin(angle * kRad) * length * c.radius,
            c.y - std::cos(angle * kRad) * length * c.radius};
}

void drawAnalogClock(platform::DeviceContext& dc, const gfx::TargaPixels& face,
                     const platform::Rect& box, const platform::SystemTime& local) {
    if (face.width > 0 && !face.pixels.empty()) {
        gfx::drawTarga(dc, face, box.left + (box.width() - face.width) / 2,
                       box.top + (box.height() - face.height) / 2);
    }
    Centre c = centreOf(box);
    HandAngles angles = clockHandAngles(local);
    // Thicker hands on bigger faces; a hand never thinner than a pixel.
    double hourWidth = std::max(1.5, c.radius / 7.0);
    double minuteWidth = std::max(1.0, c.radius / 11.0);
    // Each hand starts a little behind the centre, as real hands do.
    HandEnd hourTail = handEnd(box, angles.hour + 180.0, 0.1);
    HandEnd hour = handEnd(box, angles.hour, kHourHandLength);
    dc.antialiasedLine(hourTail.x, hourTail.y, hour.x, hour.y, kClockHandColour, hourWidth);
    HandEnd minuteTail = handEnd(box, angles.minute + 180.0, 0.1);
    HandEnd minute = handEnd(box, angles.minute, kMinuteHandLength);
    dc.antialiasedLine(minuteTail.x, minuteTail.y, minute.x, minute.y, kClockHandColour,
                       minuteWidth);
}

}  // namespace worldtime
