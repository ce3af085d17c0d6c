#pragma once
// What every sound of a process goes through: the play log entry, the audio device when the
// sound is to be heard, and the wait for its end that stopSound cuts short. Internal to the
// platform.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::sound {

// Decoded samples: signed 16-bit, interleaved by channel.
struct Pcm {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;  // empty when the sound is only logged
    std::uint64_t frames = 0;
    int durationMs() const;
};

// Counts the calls of stopSound. A play started on another thread takes it when it is asked
// for, so a stopSound between the asking and the thread's start still stops it.
std::uint64_t stopGeneration();

// Plays the sound to its end or until stopSound is called after `generation` was taken, or
// `stop` becomes true (checked whenever wakeAll is called). Writes the play log entry at the
// start and completes it at the end. Returns true when it played to its end.
bool play(const std::wstring& devicePath, const Pcm& pcm, std::uint64_t generation,
          const std::atomic<bool>* stop = nullptr);

// Wakes every play of this process to look at its stop flag.
void wakeAll();

// True when sounds are to be heard through the audio device rather than only logged: the
// program shows windows (VORN_DISPLAY is not "headless") or VORN_SOUND=audio asks for it;
// VORN_SOUND=log never plays.
bool soundsAudible();

// Scales samples by one channel's level of the wave-out volume word (0..0xFFFF).
void applyVolume(std::vector<std::int16_t>& samples, int channels, std::uint32_t volume);

}  // namespace platform::sound
