#pragma once
// Helpers for the world-time tests: a throw-away device with the install folder's city and
// zone files, reference tables from tests/worldtime/data, and short ways to write times.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"

namespace worldtime::test {

// The install folder of the test device, as a device path with a trailing backslash.
constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kDownloadPath = L"\\Program Files\\Vorn Roamer\\downloads\\";

// Prepares the test device (once per program) with a fresh install folder holding copies
// of data/'s files named (for example "dstinfo.dat", "graphics2/daymap.jpg"), and clears
// the settings key. Answers the device root.
const std::filesystem::path& installData(const std::vector<std::string>& files);
// Writes UTF-8 text with a byte-order mark to a device file, creating its folder.
void writeDeviceText(std::wstring_view devicePath, std::string_view text);
// A device file's text without its byte-order mark; empty when missing.
std::string readDeviceText(std::wstring_view devicePath);
bool deviceFileExists(std::wstring_view devicePath);

// The lines of a file of tests/worldtime/data split at commas, comment lines skipped.
std::vector<std::vector<std::string>> readReference(std::string_view name);
// The path of a file in the source tree.
std::filesystem::path sourcePath(std::string_view relative);

// "2025-03-30T01:30" (seconds optional) as a calendar time.
platform::SystemTime at(std::string_view text);
std::string text(const platform::SystemTime& time);
std::int64_t ticks(std::string_view text);

}  // namespace worldtime::test
