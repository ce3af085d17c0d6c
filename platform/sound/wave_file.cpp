#include "platform/sound/wave_file.h"

#include <cstring>
#include <string_view>

namespace platform::sound {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isId(const std::uint8_t* p, std::string_view id) {
    return std::memcmp(p, id.data(), 4) == 0;
}

// The format chunk; nothing for a format this reader does not play.
std::optional<WaveFormat> parseFormat(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < 16)
        return std::nullopt;
    std::uint16_t tag = read16(&chunk[0]);
    if (tag == kFormatExtensible) {
        // The sub-format GUID starts with the plain format tag.
        if (chunk.size() < 40 || read16(&chunk[16]) < 22 || read16(&chunk[24]) != kFormatPcm)
            return std::nullopt;
    } else if (tag != kFormatPcm) {
        return std::nullopt;
    }
    WaveFormat f;
    f.channels = read16(&chunk[2]);
    std::uint32_t rate = read32(&chunk[4]);
    std::uint16_t blockAlign = read16(&chunk[12]);
    f.bitsPerSample = read16(&chunk[14]);
    if (f.channels < 1 || f.channels > 2 || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
        rate < static_cast<std::uint32_t>(kMinSampleRate) ||
        rate > static_cast<std::uint32_t>(kMaxSampleRate) ||
        blockAlign != f.channels * f.bitsPerSample / 8) {
        return std::nullopt;
    }
    f.sampleRate = static_cast<int>(rate);
    return f;
}

}  // namespace

std::size_t WaveData::frames() const {
    std::size_t frameBytes = static_cast<std::size_t>(format.channels * format.bitsPerSample / 8);
    return frameBytes ? samples.size() / frameBytes : 0;
}

int WaveData::durationMs() const {
    if (format.sampleRate <= 0)
        return 0;
    return static_cast<int>(frames() * 1000 / static_cast<std::size_t>(format.sampleRate));
}

std::optional<WaveData> parseWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || bytes.size() > kMaxWaveBytes || !isId(&bytes[0], "RIFF") ||
        !isId(&bytes[8], "WAVE")) {
        return std::nullopt;
    }
    // The chunks lie within the RIFF chunk's declared size; a size past the file's end is
    // damage, not a reason to read beyond it.
    std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(read32(&bytes[4]));
    if (riffEnd > bytes.size() || riffEnd < 12)
        return std::nullopt;
    std::optional<WaveFormat> format;
    std::size_t at = 12;
    while (at + 8 <= riffEnd) {
        const std::uint8_t* header = &bytes[at];
        std::uint64_t size = read32(header + 4);
        std::size_t body = at + 8;
        if (size > riffEnd - body)
            return std::nullopt;
        auto chunk = bytes.subspan(body, static_cast<std::size_t>(size));
        if (isId(header, "fmt ")) {
            if (format)
                return std::nullopt;  // two formats: which one holds?
            format = parseFormat(chunk);
            if (!format)
                return std::nullopt;
        } else if (isId(header, "data")) {
            if (!format)
                return std::nullopt;  // samples of an unknown format
            WaveData wave{*format, chunk};
            std::size_t frameBytes =
                static_cast<std::size_t>(format->channels * format->bitsPerSample / 8);
            wave.samples = chunk.first(chunk.size() - chunk.size() % frameBytes);
            return wave;
        }
        // Chunks are padded to an even length.
        at = body + static_cast<std::size_t>(size) + (size & 1);
    }
    return std::nullopt;
}

std::vector<std::int16_t> toSigned16(const WaveData& wave) {
    std::vector<std::int16_t> out;
    if (wave.format.bitsPerSample == 8) {
        out.reserve(wave.samples.size());
        for (std::uint8_t s : wave.samples)
            out.push_back(static_cast<std::int16_t>((s - 128) << 8));
    } else {
        out.reserve(wave.samples.size() / 2);
        for (std::size_t i = 0; i + 1 < wave.samples.size(); i += 2) {
            out.push_back(static_cast<std::int16_t>(read16(&wave.samples[i])));
        }
    }
    return out;
}

}  // namespace platform::sound
