#pragma once
// Reading a sound file of the device whole, refusing one larger than its kind allows before
// reading it. Internal to the platform.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace platform::sound {

std::optional<std::vector<std::uint8_t>> readSoundFile(std::wstring_view devicePath,
                                                       std::size_t maxBytes);

}  // namespace platform::sound
