// Calendar arithmetic of file times, and the device clock: host time plus the device offset,
// or a test clock in its place.

#include <time.h>

#include <algorithm>
#include <mutex>

#include "platform/api/clock.h"
#include "platform/api/profile.h"
#include "platform/locale/civil_days.h"

namespace platform {
namespace {

constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kTicksPerDay = 864000000000LL;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

const std::int64_t kDaysFrom1970To1601 = daysFromCivil(1601, 1, 1);

struct TestClock {
    std::mutex mutex;
    std::optional<FileTime> now;
    // The steady clock: held at steadyHeld while the test clock is set; otherwise the host's
    // plus steadyAhead, what it gained while held, so that it never runs backwards.
    SteadyTime steadyHeld;
    std::chrono::steady_clock::duration steadyAhead{0};
};

TestClock& testClock() {
    static TestClock clock;
    return clock;
}

FileTime hostUtcFileTime() {
    {
        auto& test = testClock();
        std::lock_guard lock(test.mutex);
        if (test.now)
            return *test.now;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<FileTime>(now.tv_sec + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond +
           static_cast<FileTime>(now.tv_nsec / 100);
}

}  // namespace

// H. Hinnant's algorithms.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    auto yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    auto doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int dayOfWeekOf(int year, int month, int day) {
    std::int64_t days = daysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

bool isValidSystemTime(const SystemTime& t) {
    return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour < 24 && t.minute < 60 && t.second < 60 &&
           t.milliseconds < 1000;
}

std::optional<FileTime> toFileTime(const SystemTime& t) {
    if (!isValidSystemTime(t))
        return std::nullopt;
    std::int64_t days = daysFromCivil(t.year, t.month, t.day) - kDaysFrom1970To1601;
    std::int64_t ms = ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 +
                      t.milliseconds;
    return static_cast<FileTime>(days * kTicksPerDay + ms * kTicksPerMillisecond);
}

std::optional<SystemTime> toSystemTime(FileTime time) {
    // The handheld refuses times whose top bit is set; the year 30827 ends well before that.
    if (time >= 0x8000000000000000ULL)
        return std::nullopt;
    auto days = static_cast<std::int64_t>(time / kTicksPerDay);
    auto ms = static_cast<std::int64_t>((time % kTicksPerDay) / kTicksPerMillisecond);
    int year = 0, month = 0, day = 0;
    civilFromDays(days + kDaysFrom1970To1601, year, month, day);
    if (year > 30827)
        return std::nullopt;
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(year, month, day));
    t.hour = static_cast<std::uint16_t>(ms / 3600000);
    t.minute = static_cast<std::uint16_t>(ms / 60000 % 60);
    t.second = static_cast<std::uint16_t>(ms / 1000 % 60);
    t.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return t;
}

std::int64_t clockOffsetSeconds() {
    return profileNumber("clock.offset", 0);
}

void setClockOffsetSeconds(std::int64_t seconds) {
    setProfileNumber("clock.offset", seconds);
    setProfileNumber("clock.offset.fraction", 0);
}

FileTime deviceUtcFileTime() {
    auto host = static_cast<std::int64_t>(hostUtcFileTime());
    std::int64_t offset = clockOffsetSeconds();
    // An offset that would put the clock before 1601 or past the top of the range is clamped.
    constexpr std::int64_t kLimit = 0x7FFFFFFFFFFFFFFFLL / kFileTimeTicksPerSecond;
    offset = std::clamp(offset, -kLimit / 2, kLimit / 2);
    // The part of a second that setDeviceUtcTime keeps, so a clock set to a whole second
    // reads that second rather than up to half a second before it.
    std::int64_t fraction = std::clamp<std::int64_t>(profileNumber("clock.offset.fraction", 0), 0,
                                                     kFileTimeTicksPerSecond - 1);
    std::int64_t device =
        host + offset * static_cast<std::int64_t>(kFileTimeTicksPerSecond) + fraction;
    return device < 0 ? 0 : static_cast<FileTime>(device);
}

void setDeviceUtcTime(FileTime utc) {
    auto host = static_cast<std::int64_t>(hostUtcFileTime());
    auto difference = static_cast<std::int64_t>(utc) - host;
    auto ticks = static_cast<std::int64_t>(kFileTimeTicksPerSecond);
    // Whole seconds (rounded down) in the offset, the rest in its fraction.
    std::int64_t seconds = difference / ticks;
    std::int64_t fraction = difference % ticks;
    if (fraction < 0) {
        seconds -= 1;
        fraction += ticks;
    }
    setClockOffsetSeconds(seconds);
    setProfileNumber("clock.offset.fraction", fraction);
}

SystemTime deviceUtcTime() {
    return *toSystemTime(deviceUtcFileTime());
}

SystemTime deviceLocalTime() {
    FileTime utc = deviceUtcFileTime();
    return *toSystemTime(utcToLocal(utc).value_or(utc));
}

SteadyTime steadyNow() {
    auto& test = testClock();
    std::lock_guard lock(test.mutex);
    if (test.now)
        return test.steadyHeld;
    return std::chrono::steady_clock::now() + test.steadyAhead;
}

void setClockOverride(std::optional<FileTime> hostUtc) {
    auto& test = testClock();
    std::lock_guard lock(test.mutex);
    SteadyTime running = std::chrono::steady_clock::now() + test.steadyAhead;
    if (hostUtc && !test.now)
        test.steadyHeld = running;
    if (!hostUtc && test.now && test.steadyHeld > running)
        test.steadyAhead += test.steadyHeld - running;
    test.now = hostUtc;
}

void advanceClockOverride(std::int64_t milliseconds) {
    auto& test = testClock();
    std::lock_guard lock(test.mutex);
    if (!test.now)
        return;
    std::int64_t next = static_cast<std::int64_t>(*test.now) + milliseconds * kTicksPerMillisecond;
    test.now = static_cast<FileTime>(std::max<std::int64_t>(next, 0));
    test.steadyHeld += std::chrono::milliseconds(std::max<std::int64_t>(milliseconds, 0));
}

}  // namespace platform
