#pragma once
// The editor's sound list: a two-field table (the name shown, the path stored). The first
// entry is vibrate only (language string 38 shown, kVibratePath stored); then every "*.wav",
// "*.mp3" and
// "*.wma" file of the install folder's "sounds", of "\My Ringtones" and of "\Windows", in that
// order of folders, each folder pattern by pattern.

#include <string_view>

#include "core/record_table.h"

namespace alarms {

// The path the alarm program reads as "vibrate, play nothing", whatever the language shows.
constexpr std::wstring_view kVibratePath = L"Vibrate";

namespace soundField {
constexpr int Name = 1, Path = 2;
}

// Folders and files are read through the device; a folder that is missing adds nothing.
core::RecordTable buildSoundList(std::wstring_view mainPath);

// The row whose name (field 1) equals the text; 1 (the first entry) when none does.
int soundRowOf(const core::RecordTable& sounds, std::wstring_view name);

}  // namespace alarms
