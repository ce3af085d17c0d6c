#pragma once
// The record of what `vorndev install` put on a device (<root>/.device/installed): one device
// path per line in UTF-8. The file lies in the device, where anything may have changed it, so
// reading it keeps only lines that look like device paths and bounds what it keeps.

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace vorndev {

constexpr std::size_t kMaxRecordedPaths = 100000;
constexpr std::size_t kMaxRecordedPathChars = 1024;

// The device paths of the record; lines that are empty, longer than kMaxRecordedPathChars
// characters, hold a control character or do not begin with a backslash are skipped, and
// paths past kMaxRecordedPaths are ignored. A line may end in CR LF.
std::set<std::wstring> parseInstallRecord(std::string_view text);

std::string formatInstallRecord(const std::set<std::wstring>& paths);

}  // namespace vorndev
