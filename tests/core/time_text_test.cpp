#include "core/time_text.h"

#include <gtest/gtest.h>

#include "platform/api/locale.h"
#include "tests/platform/support/test_device.h"

namespace {

TEST(TimeText, SecondsAndTheirSeparatorAreDropped) {
    EXPECT_EQ(core::withoutSeconds(L"HH:mm:ss"), L"HH:mm");
    EXPECT_EQ(core::withoutSeconds(L"h:mm:ss tt"), L"h:mm tt");
    EXPECT_EQ(core::withoutSeconds(L"H.mm.ss"), L"H.mm");
    EXPECT_EQ(core::withoutSeconds(L"HH'h'mm"), L"HH'h'mm");
    // Quoted text keeps its letters even when they look like a seconds field.
    EXPECT_EQ(core::withoutSeconds(L"HH:mm 'ss'"), L"HH:mm 'ss'");
}

TEST(TimeText, ClockFormatsGiveTwelveAndTwentyFourHourTimes) {
    platform::test::useTestDevice();
    platform::SystemTime evening{2026, 12, 2, 8, 21, 5, 9, 0};
    EXPECT_EQ(core::clockTimeText(evening, core::timeFormat::TwentyFourHour), L"21:05");
    std::wstring twelve = core::clockTimeText(evening, core::timeFormat::TwelveHour);
    EXPECT_EQ(twelve.substr(0, 5), L"9:05 ");
    EXPECT_EQ(twelve.substr(5), platform::pmDesignator());
    // The device's own picture never shows seconds.
    EXPECT_EQ(core::clockTimeText(evening, core::timeFormat::Device).find(L"09"),
              std::wstring::npos);
    EXPECT_FALSE(core::shortDateText(evening).empty());
    EXPECT_TRUE(core::clockTimeText(platform::SystemTime{2026, 12, 2, 8, 25, 0, 0, 0},
                                    core::timeFormat::Device)
                    .empty());
}

}  // namespace
