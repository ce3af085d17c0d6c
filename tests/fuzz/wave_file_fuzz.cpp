// Feeds arbitrary bytes as a wave file. What is accepted is a format the device plays, its
// samples lie inside the bytes given and are whole frames, and converting them gives one
// value per sample.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::sound;
    std::span<const std::uint8_t> bytes(data, size);
    auto wave = parseWave(bytes);
    if (!wave)
        return 0;
    const WaveFormat& f = wave->format;
    if ((f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
        f.sampleRate < kMinSampleRate || f.sampleRate > kMaxSampleRate) {
        std::abort();
    }
    if (wave->samples.data() < data || wave->samples.data() + wave->samples.size() > data + size)
        std::abort();
    std::size_t frameBytes = static_cast<std::size_t>(f.channels * f.bitsPerSample / 8);
    if (wave->samples.size() % frameBytes != 0)
        std::abort();
    if (toSigned16(*wave).size() != wave->frames() * static_cast<std::size_t>(f.channels))
        std::abort();
    return 0;
}
