#pragma once
// The device profile: what kind of handheld this device is and the state of its hardware,
// kept in the machine-state store so every program of the device sees the same values.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/api/types.h"

namespace platform {

struct ScreenProfile {
    int width = 240;  // in the current orientation
    int height = 320;
    int dpi = 96;      // logical pixels per inch, both directions
    int rotation = 0;  // 0, 90, 180 or 270 degrees from the profile's natural orientation
};

// The screen profiles a device can be created with: 240x320, 480x640, 320x240, 640x480,
// 240x240, 480x480; the dpi is 96 at 240 pixels wide and 192 at 480 (the handheld reports
// 192 on its high-resolution screens; 96 may be asked for instead).
// A dpi other than 0 (the profile's own) must lie in kMinDpi..kMaxDpi; nothing otherwise.
std::optional<ScreenProfile> screenProfileFromName(std::string_view name, int dpi = 0);
constexpr int kMinDpi = 48, kMaxDpi = 600;
// The largest side a screen has; the device state holding more is damaged.
constexpr int kMaxScreenSide = 4096;

ScreenProfile screenProfile();
void setScreenProfile(const ScreenProfile& profile);
// Turns the screen further by degrees (a multiple of 90, negative turns back) from where it
// stands; width and height swap for 90 and 270.
ScreenProfile rotateScreen(int degrees);

// Named hardware and system values of the device (clock offset, language, phone state...).
// Missing values read as the fallback.
std::wstring profileText(std::string_view key, std::wstring_view fallback = L"");
std::int64_t profileNumber(std::string_view key, std::int64_t fallback = 0);
void setProfileText(std::string_view key, std::wstring_view value);
void setProfileNumber(std::string_view key, std::int64_t value);

// Counter bumped whenever the screen profile changes, so programs notice a rotation made
// by another process.
std::int64_t screenGeneration();

}  // namespace platform
