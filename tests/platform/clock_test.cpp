// File times, the device clock with its offset and test clock, and device time zones.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/device/state_store.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr FileTime kUnixEpoch = 116444736000000000ULL;
constexpr FileTime kSecond = kFileTimeTicksPerSecond;

FileTime at(std::uint16_t y, std::uint16_t mo, std::uint16_t d, std::uint16_t h = 0,
            std::uint16_t mi = 0, std::uint16_t s = 0) {
    return *toFileTime({y, mo, 0, d, h, mi, s, 0});
}

TEST(FileTimes, KnownValues) {
    EXPECT_EQ(toFileTime({1601, 1, 0, 1}), 0u);
    EXPECT_EQ(toFileTime({1970, 1, 0, 1}), kUnixEpoch);
    EXPECT_EQ(toFileTime({2000, 1, 0, 1}), 125911584000000000ULL);
    auto start = toSystemTime(0);
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, (SystemTime{1601, 1, 1, 1, 0, 0, 0, 0}));  // a Monday
    EXPECT_EQ(dayOfWeekOf(2026, 12, 8), 2);
    EXPECT_EQ(dayOfWeekOf(1970, 1, 1), 4);
    EXPECT_EQ(toSystemTime(kUnixEpoch + 1)->milliseconds, 0);  // below a millisecond
}

TEST(FileTimes, RoundTripsWithTheWeekdayFilledIn) {
    const SystemTime times[] = {
        {2026, 12, 2, 8, 14, 5, 9, 250},     {2000, 2, 2, 29, 23, 59, 59, 999},
        {1900, 3, 4, 1, 0, 0, 0, 0},         {1601, 12, 1, 31, 12, 0, 0, 1},
        {30827, 12, 5, 31, 23, 59, 59, 999}, {2100, 2, 0, 28, 1, 2, 3, 4},
    };
    for (const auto& t : times) {
        auto ft = toFileTime(t);
        ASSERT_TRUE(ft) << t.year;
        EXPECT_EQ(toSystemTime(*ft), t) << t.year;
    }
    // Every few days across four centuries, through the whole calendar machinery.
    for (FileTime ft = 0; ft < 150000000000000000ULL; ft += 7777777777777ULL) {
        auto t = toSystemTime(ft);
        ASSERT_TRUE(t);
        EXPECT_EQ(toFileTime(*t), ft - ft % 10000);
    }
}

TEST(FileTimes, InvalidInputGivesNothing) {
    EXPECT_FALSE(toFileTime({1600, 12, 0, 31}));
    EXPECT_FALSE(toFileTime({30828, 1, 0, 1}));
    EXPECT_FALSE(toFileTime({2026, 0, 0, 1}));
    EXPECT_FALSE(toFileTime({2026, 13, 0, 1}));
    EXPECT_FALSE(toFileTime({2026, 4, 0, 31}));
    EXPECT_FALSE(toFileTime({2026, 1, 0, 0}));
    EXPECT_FALSE(toFileTime({2100, 2, 0, 29}));
    EXPECT_TRUE(toFileTime({2000, 2, 0, 29}));
    EXPECT_FALSE(toFileTime({2026, 1, 0, 1, 24}));
    EXPECT_FALSE(toFileTime({2026, 1, 0, 1, 0, 60}));
    EXPECT_FALSE(toFileTime({2026, 1, 0, 1, 0, 0, 60}));
    EXPECT_FALSE(toFileTime({2026, 1, 0, 1, 0, 0, 0, 1000}));
    EXPECT_FALSE(toSystemTime(0x8000000000000000ULL));
    EXPECT_FALSE(toSystemTime(~0ULL));
    EXPECT_FALSE(toSystemTime(*toFileTime({30827, 12, 0, 31, 23, 59, 59, 999}) + 10000));
}

class DeviceClock : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-clock-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
        setClockOverride(at(2026, 12, 8, 10, 0, 0));
    }
    void TearDown() override {
        setClockOverride(std::nullopt);
        state::Store::closeInstance();
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(DeviceClock, OffsetAndTestClockMoveTheDeviceTime) {
    ASSERT_TRUE(setDeviceTimeZone("UTC"));
    EXPECT_EQ(deviceUtcFileTime(), at(2026, 12, 8, 10));
    setClockOffsetSeconds(3600);
    EXPECT_EQ(clockOffsetSeconds(), 3600);
    EXPECT_EQ(deviceUtcTime(), (SystemTime{2026, 12, 2, 8, 11, 0, 0, 0}));
    advanceClockOverride(1500);
    EXPECT_EQ(deviceUtcTime(), (SystemTime{2026, 12, 2, 8, 11, 0, 1, 500}));
    EXPECT_EQ(deviceLocalTime(), deviceUtcTime());

    setDeviceUtcTime(at(2030, 1, 1));
    // The clock reads exactly the moment set, though the host clock stands half a second on.
    EXPECT_EQ(deviceUtcFileTime(), at(2030, 1, 1));
    advanceClockOverride(250);
    EXPECT_EQ(deviceUtcFileTime(), at(2030, 1, 1) + 250 * 10000);
    setDeviceUtcTime(at(2020, 6, 1));
    EXPECT_LT(clockOffsetSeconds(), 0);
    EXPECT_EQ(deviceUtcFileTime(), at(2020, 6, 1));
    // The offset lives in the device profile, shared with every program.
    state::Store::closeInstance();
    EXPECT_EQ(toSystemTime(deviceUtcFileTime())->year, 2020);
    // Setting whole seconds drops the fraction again.
    setClockOffsetSeconds(0);
    EXPECT_EQ(deviceUtcTime(), (SystemTime{2026, 12, 2, 8, 10, 0, 1, 750}));
    // An absurd offset is clamped instead of wrapping round.
    setClockOffsetSeconds(-0x7FFFFFFFFFFFFFFFLL);
    EXPECT_EQ(deviceUtcFileTime(), 0u);
}

TEST_F(DeviceClock, LocalTimeFollowsTheDeviceZoneAndItsDaylightRules) {
    EXPECT_FALSE(setDeviceTimeZone("Not/A_Zone"));
    EXPECT_FALSE(setDeviceTimeZone(""));
    ASSERT_TRUE(setDeviceTimeZone("Europe/Berlin"));
    EXPECT_EQ(deviceTimeZone(), "Europe/Berlin");
    EXPECT_FALSE(setDeviceTimeZone("Nowhere/Else"));
    EXPECT_EQ(deviceTimeZone(), "Europe/Berlin");

    EXPECT_EQ(deviceLocalTime(), (SystemTime{2026, 12, 2, 8, 11, 0, 0, 0}));
    EXPECT_EQ(utcToLocal(at(2026, 7, 1, 10)), at(2026, 7, 1, 12));
    EXPECT_EQ(localToUtc(at(2026, 7, 1, 12)), at(2026, 7, 1, 10));
    EXPECT_EQ(localToUtc(SystemTime{2026, 12, 0, 8, 11, 0, 0, 0}),
              (SystemTime{2026, 12, 2, 8, 10, 0, 0, 0}));
    // 02:30 does not exist on 29 March 2026: it reads as 03:30 summer time (01:30 UTC).
    EXPECT_EQ(localToUtc(at(2026, 3, 29, 2, 30)), at(2026, 3, 29, 1, 30));
    // 02:30 happens twice on 25 October 2026: the first, still in summer time, is taken.
    EXPECT_EQ(localToUtc(at(2026, 10, 25, 2, 30)), at(2026, 10, 25, 0, 30));
    EXPECT_FALSE(localToUtc(SystemTime{2026, 2, 0, 30}));
}

// The device's local time comes from the host's zone database, kept current by the system:
// Egypt brought daylight saving back in 2023 and Greenland moved its zone's hours in 2023,
// which older copies of the rules (the locale library's own) do not know.
TEST_F(DeviceClock, LocalTimeFollowsTheHostsCurrentZoneRules) {
    ASSERT_TRUE(setDeviceTimeZone("Africa/Cairo"));
    // Summer time from the last Friday of April: 3 hours east of UTC in May.
    EXPECT_EQ(utcToLocal(at(2027, 5, 1, 12)), at(2027, 5, 1, 15));
    EXPECT_EQ(localToUtc(at(2027, 5, 1, 15)), at(2027, 5, 1, 12));
    EXPECT_EQ(utcToLocal(at(2027, 1, 10, 12)), at(2027, 1, 10, 14));

    ASSERT_TRUE(setDeviceTimeZone("America/Nuuk"));
    // Two hours west of UTC in winter since October 2023 (it was three).
    EXPECT_EQ(utcToLocal(at(2027, 1, 10, 12)), at(2027, 1, 10, 10));
}

TEST_F(DeviceClock, TimeZoneInformationInTheHandheldsForm) {
    ASSERT_TRUE(setDeviceTimeZone("Europe/Berlin"));
    auto berlin = deviceTimeZoneInformation();
    EXPECT_EQ(berlin.bias, -60);
    EXPECT_EQ(berlin.standardBias, 0);
    EXPECT_EQ(berlin.daylightBias, -60);
    EXPECT_FALSE(berlin.daylightNow);
    // Summer time from the last Sunday of March at 02:00 to the last Sunday of October at
    // 03:00, local clock times.
    EXPECT_EQ(berlin.daylightDate, (SystemTime{0, 3, 0, 5, 2, 0, 0, 0}));
    EXPECT_EQ(berlin.standardDate, (SystemTime{0, 10, 0, 5, 3, 0, 0, 0}));
    EXPECT_NE(berlin.standardName.find(L"Central European"), std::wstring::npos);
    EXPECT_NE(berlin.standardName, berlin.daylightName);

    ASSERT_TRUE(setDeviceTimeZone("America/New_York"));
    auto newYork = deviceTimeZoneInformation();
    EXPECT_EQ(newYork.bias, 300);
    EXPECT_EQ(newYork.daylightDate, (SystemTime{0, 3, 0, 2, 2, 0, 0, 0}));
    EXPECT_EQ(newYork.standardDate, (SystemTime{0, 11, 0, 1, 2, 0, 0, 0}));
    // West of Greenwich the first moments of 1601 have no local time.
    EXPECT_FALSE(utcToLocal(FileTime{0}));

    setClockOffsetSeconds(-150 * 86400);  // back into July
    EXPECT_TRUE(deviceTimeZoneInformation().daylightNow);

    ASSERT_TRUE(setDeviceTimeZone("Asia/Kolkata"));
    auto kolkata = deviceTimeZoneInformation();
    EXPECT_EQ(kolkata.bias, -330);
    EXPECT_EQ(kolkata.daylightDate.month, 0);
    EXPECT_EQ(kolkata.daylightBias, 0);
}

TEST(SteadyClock, StandsStillUnderTheTestClockAndNeverRunsBackwards) {
    SteadyTime before = steadyNow();
    setClockOverride(at(2026, 12, 8, 10, 0, 0));
    SteadyTime held = steadyNow();
    EXPECT_GE(held, before);
    EXPECT_EQ(steadyNow(), held) << "no real time passes for the program";
    // Another calendar moment moves only the calendar.
    setClockOverride(at(2030, 1, 1));
    EXPECT_EQ(steadyNow(), held);
    advanceClockOverride(-5000);
    EXPECT_EQ(steadyNow(), held) << "only the calendar goes back";
    advanceClockOverride(3600 * 1000);
    EXPECT_EQ(steadyNow(), held + std::chrono::hours(1));
    setClockOverride(std::nullopt);
    EXPECT_GE(steadyNow(), held + std::chrono::hours(1)) << "released, it runs on from there";
}

}  // namespace
