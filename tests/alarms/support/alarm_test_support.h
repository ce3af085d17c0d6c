#pragma once
// Helpers for the alarm tests: a throw-away device with the zone table, an alarm program
// that does nothing, a device clock the tests set, and short ways to write times and alarms.

#include <filesystem>
#include <string>
#include <string_view>

#include "alarms/alarm_record.h"
#include "platform/api/clock.h"

namespace alarms::test {

// Prepares the test device: the zone table loaded from an install folder copy of
// data/dstinfo.dat, an empty "\windows" with a do-nothing alarm program, no notifications,
// no settings, the device zone Europe/Berlin and the test clock set. Answers the device root.
const std::filesystem::path& prepareDevice();

// A calendar time with its weekday.
platform::SystemTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// "2027-03-28 02:30" style text, for failure messages.
std::string text(const platform::SystemTime& time);
// Sets the device clock to a local time of the device's zone.
void setDeviceLocalTime(const platform::SystemTime& local);

// A record of the kind ringing at hour:minute, in device time, with a fixed sound.
AlarmRecord alarmAt(std::wstring name, RepeatKind kind, int hour, int minute);

// The host path of the alarm store.
std::filesystem::path storeFile();
// A zone number of the shipped zone table with the given whole-hour offset and no daylight
// saving (Tokyo's, for +9).
int zoneWithoutDaylight(int hours);

}  // namespace alarms::test
