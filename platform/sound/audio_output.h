#pragma once
// The host's audio device through SDL, opened at run time on first use so programs that never
// sound do not load it. Internal to the platform.

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::sound {

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Starts playing the samples (signed 16-bit, interleaved); returns at once.
    virtual bool start(const std::vector<std::int16_t>& samples) = 0;
    // Silences at once whatever is still queued.
    virtual void stop() = 0;
};

// Nothing when SDL or an audio device is not available (the reason is logged once).
std::unique_ptr<AudioOutput> openAudioOutput(int sampleRate, int channels);

}  // namespace platform::sound
