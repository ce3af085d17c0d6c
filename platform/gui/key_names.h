#pragma once
// Names of the device's keys as people and scripts write them ("softleft", "back", "up",
// "enter", "a", "7").

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::gui {

std::optional<std::uint32_t> virtualKeyFromName(std::string_view name);
// The character a key types, for letter, digit and space keys.
std::optional<wchar_t> characterOfKey(std::string_view name);

}  // namespace platform::gui
