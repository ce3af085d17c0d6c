#pragma once
// Helpers for the tests of scheduled and docking updates and of the option model: a
// throw-away device with the language files and a few pictures and layouts in its install
// folder, a comms program that writes a line when it starts, and the device clock.

#include <filesystem>
#include <string>

#include "platform/api/clock.h"

namespace updates::test {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";

// Prepares the device: English loaded, no settings, no notifications or state registrations,
// zone Europe/Berlin, the test clock at 2027-01-04 12:00 local.
void prepareDevice();

platform::SystemTime at(int year, int month, int day, int hour = 0, int minute = 0);
std::string text(const platform::SystemTime& time);
void setDeviceLocalTime(const platform::SystemTime& local);

// How often the stand-in comms program has started since prepareDevice, waiting up to a few
// seconds for `expected` starts to show.
int commsStarts(int expected);

// A stored setting's text, "absent" when there is none.
std::string setting(std::wstring_view name);

}  // namespace updates::test
