#pragma once
// mp3 decoding through libmpg123, opened at run time on first use. Internal to the platform.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/sound/playback.h"

namespace platform::sound {

// mp3 files larger than this are not read; decoding stops after kMaxMp3Seconds of sound.
constexpr std::size_t kMaxMp3Bytes = 16 * 1024 * 1024;
constexpr int kMaxMp3Seconds = 300;

// True when the decoder library could be loaded.
bool mp3DecoderAvailable();

// The decoded sound (samples kept only when keepSamples; frames always counted); nothing when
// the decoder is missing or the bytes hold no sound it can decode.
std::optional<Pcm> decodeMp3(std::span<const std::uint8_t> bytes, bool keepSamples);

}  // namespace platform::sound
