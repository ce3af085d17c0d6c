#pragma once
// Volume choices (0..7, as stored with an alarm) and the wave-out level each stands for.

#include <cstdint>

namespace alarms {

// 7 (and above) means a rising volume; 0 and 1 the device's own alarm volume.
constexpr int kRisingVolumeChoice = 7;

// The wave-out level of a volume choice (the caller applies it to both channels):
// 0, 1 -> the device's alarm volume (see below); 2 -> 12288, 3 -> 24576, 4 -> 36864,
// 5 -> 45056, 6 -> 65535; 7 and above, and negative choices -> 0.
// The device's alarm volume: without the key HKCU "ControlPanel\SoundCategories\Alarm", the
// DWORD "Volume" of "ControlPanel\Volume" (12288 when unreadable); with it, its DWORD
// "InitVol" (1 when missing) as 1 -> 12288, 2 -> 24576, 3 -> 36864, 4 -> 45056,
// 5 -> 65535, anything else 0.
std::uint16_t alarmVolumeLevel(int choice);

// The rising volume: silent, then after the start delay one step of 512 every step period
// while below 65535 (127 steps, ending at 65024).
constexpr std::uint16_t kRampStep = 512;
constexpr int kRampSteps = 127;
// The level after `step` steps (0 is silent), held at the last step.
std::uint16_t rampLevel(int step);

}  // namespace alarms
