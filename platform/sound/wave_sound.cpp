// playSoundSync: a wave file of the device, heard or logged, for as long as it lasts.

#include <filesystem>

#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/sound.h"
#include "platform/sound/playback.h"
#include "platform/sound/sound_file.h"
#include "platform/sound/wave_file.h"

namespace platform {

namespace sound {

std::optional<std::vector<std::uint8_t>> readSoundFile(std::wstring_view devicePath,
                                                       std::size_t maxBytes) {
    auto host = hostPath(devicePath);
    std::error_code ec;
    if (!host || !std::filesystem::is_regular_file(*host, ec))
        return std::nullopt;
    auto size = std::filesystem::file_size(*host, ec);
    if (ec || size > maxBytes) {
        logLine("sound: " + toUtf8(devicePath) + " is too large to play");
        return std::nullopt;
    }
    auto bytes = readFile(devicePath);
    if (bytes && bytes->size() > maxBytes)
        return std::nullopt;  // it grew while being read
    return bytes;
}

}  // namespace sound

bool playSoundSync(std::wstring_view devicePath) {
    std::uint64_t generation = sound::stopGeneration();
    auto bytes = sound::readSoundFile(devicePath, sound::kMaxWaveBytes);
    if (!bytes)
        return false;
    auto wave = sound::parseWave(*bytes);
    if (!wave) {
        logLine("sound: " + toUtf8(devicePath) + " is not a wave file this device plays");
        return false;
    }
    sound::Pcm pcm;
    pcm.sampleRate = wave->format.sampleRate;
    pcm.channels = wave->format.channels;
    pcm.frames = wave->frames();
    if (sound::soundsAudible())
        pcm.samples = sound::toSigned16(*wave);
    sound::play(std::wstring(devicePath), pcm, generation);
    return true;
}

}  // namespace platform
