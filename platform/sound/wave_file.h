#pragma once
// Reading wave files: RIFF/WAVE with PCM samples of 8 or 16 bits, mono or stereo. Every size
// in the file is checked against the bytes there are; a file that does not hold together is
// refused rather than played in part. Internal to the platform.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::sound {

// Wave files larger than this are not read at all (an alarm sound is seconds long).
constexpr std::size_t kMaxWaveBytes = 32 * 1024 * 1024;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 192000;

struct WaveFormat {
    int sampleRate = 0;
    int channels = 0;       // 1 or 2
    int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
};

struct WaveData {
    WaveFormat format;
    std::span<const std::uint8_t> samples;  // whole frames only, inside the parsed bytes
    std::size_t frames() const;
    int durationMs() const;
};

// Nothing for a file that is not a wave file of this kind or is damaged.
std::optional<WaveData> parseWave(std::span<const std::uint8_t> bytes);

// The samples as signed 16-bit values, interleaved as in the file.
std::vector<std::int16_t> toSigned16(const WaveData& wave);

}  // namespace platform::sound
