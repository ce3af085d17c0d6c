#pragma once
// Device time. The device clock is the host clock plus an offset kept in the device profile,
// so tests and people can move the device to any moment without touching the host. Local
// time follows the device's time zone (an IANA name in the profile) with its daylight rules.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/api/device.h"

namespace platform {

// A calendar time in the handheld's field order. dayOfWeek counts from Sunday = 0.
struct SystemTime {
    std::uint16_t year = 1601;
    std::uint16_t month = 1;  // 1..12
    std::uint16_t dayOfWeek = 1;
    std::uint16_t day = 1;  // 1..31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

constexpr FileTime kFileTimeTicksPerSecond = 10000000;

// True when the fields name a real moment from 1601 to 30827 (dayOfWeek is not checked).
bool isValidSystemTime(const SystemTime& time);
// Nothing for an invalid time.
std::optional<FileTime> toFileTime(const SystemTime& time);
// Nothing past the year 30827, as on the handheld. dayOfWeek is filled in.
std::optional<SystemTime> toSystemTime(FileTime time);
// The weekday (Sunday = 0) of a valid date.
int dayOfWeekOf(int year, int month, int day);
int daysInMonth(int year, int month);

// Device clock.
FileTime deviceUtcFileTime();
SystemTime deviceUtcTime();
SystemTime deviceLocalTime();

// The device clock's distance from the host clock (profile key "clock.offset", seconds).
std::int64_t clockOffsetSeconds();
void setClockOffsetSeconds(std::int64_t seconds);
// Sets the device clock to a UTC moment by changing the offset.
void setDeviceUtcTime(FileTime utc);

// The device time zone (profile key "clock.timezone"): an IANA name such as
// "Europe/Berlin"; the host's zone (or UTC) when unset.
std::string deviceTimeZone();
// False (and nothing changed) for a name the time-zone database does not know.
bool setDeviceTimeZone(std::string_view ianaName);

// Conversions in the device time zone. A local time skipped by a daylight change reads as
// the moment after the change; a repeated one as its first occurrence.
std::optional<FileTime> utcToLocal(FileTime utc);
std::optional<FileTime> localToUtc(FileTime local);
std::optional<SystemTime> utcToLocal(const SystemTime& utc);
std::optional<SystemTime> localToUtc(const SystemTime& local);

// The device time zone as the handheld describes one: UTC = local + bias (minutes). The
// change dates use the handheld's rule form: month, dayOfWeek, day = week of the month
// (1..4, 5 = last), hour and minute; month 0 when the zone has no daylight saving.
struct TimeZoneInformation {
    std::int32_t bias = 0;
    std::wstring standardName;
    SystemTime standardDate{0, 0, 0, 0, 0, 0, 0, 0};
    std::int32_t standardBias = 0;
    std::wstring daylightName;
    SystemTime daylightDate{0, 0, 0, 0, 0, 0, 0, 0};
    std::int32_t daylightBias = 0;
    bool daylightNow = false;  // daylight saving in effect at the device's current time
};
TimeZoneInformation deviceTimeZoneInformation();

// The steady clock that timers, deferred actions and tickCount run on: the host's monotonic
// clock, or while the test clock is set, one that stands still until advanceClockOverride
// moves it. It never runs backwards, also when the test clock is removed.
using SteadyTime = std::chrono::steady_clock::time_point;
SteadyTime steadyNow();

// A test clock: while set, the host clock reads as this UTC moment (the device offset still
// applies on top) and the steady clock stands still. advanceClockOverride moves both forward
// (the steady clock only forward), so tests fast-forward through timers instead of sleeping.
// Setting another moment while the test clock is set moves only the calendar.
void setClockOverride(std::optional<FileTime> hostUtc);
void advanceClockOverride(std::int64_t milliseconds);

}  // namespace platform
