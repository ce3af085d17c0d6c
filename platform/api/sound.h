#pragma once
// Sound: wave files played by file name, the media player that stands in for the handheld's
// (mp3 alarm sounds), and the wave-out volume. With an audio device the sound is heard; on a
// headless device every play goes to a play log that tools and tests read, and takes as long
// as the sound lasts.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/device.h"

namespace platform {

// Plays a wave file (device path) and returns when it has played or was stopped. False when
// the file is missing or is not a wave file this device can play (nothing is played then).
bool playSoundSync(std::wstring_view devicePath);

// Stops whatever this process plays (a playSoundSync in another thread returns at once).
void stopSound();

// The wave-out volume word: left channel in the low 16 bits, right in the high 16 bits.
// Shared by every program of the device, as on the handheld.
std::uint32_t waveOutVolume();
void setWaveOutVolume(std::uint32_t volume);
constexpr std::uint32_t bothChannels(std::uint16_t level) {
    return static_cast<std::uint32_t>(level) | (static_cast<std::uint32_t>(level) << 16);
}

// Plays mp3 (and, where a decoder serves, other compressed) files, asynchronously.
class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;
    // Opens the file and starts playing it from the start; false when it cannot be played.
    virtual bool play(std::wstring_view devicePath) = 0;
    virtual void stop() = 0;
    // True until the file has played to its end or was stopped.
    virtual bool playing() const = 0;
};
// Nothing when this device has no media player.
std::unique_ptr<MediaPlayer> createMediaPlayer();

// One sound that was played, as the play log keeps it.
struct PlayedSound {
    std::wstring file;         // device path
    FileTime start = 0;        // device UTC
    int durationMs = 0;        // how long it sounded (until its end or until stopped)
    std::uint32_t volume = 0;  // wave-out volume word while it started
    bool stopped = false;      // ended by stopSound or MediaPlayer::stop rather than its end
    int processId = 0;
};
// The play log, oldest first (the last kMaxPlayLog entries).
constexpr std::size_t kMaxPlayLog = 500;
std::vector<PlayedSound> playLog();
void clearPlayLog();

}  // namespace platform
