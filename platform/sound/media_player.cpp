// The media player: an mp3 file decoded through libmpg123 and played on a thread of its own,
// heard or logged like a wave file.

#include <atomic>
#include <thread>

#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/sound.h"
#include "platform/sound/mp3_decoder.h"
#include "platform/sound/playback.h"
#include "platform/sound/sound_file.h"

namespace platform {
namespace {

class Mp3Player : public MediaPlayer {
  public:
    ~Mp3Player() override { stop(); }

    bool play(std::wstring_view devicePath) override {
        stop();
        std::uint64_t generation = sound::stopGeneration();
        auto bytes = sound::readSoundFile(devicePath, sound::kMaxMp3Bytes);
        if (!bytes)
            return false;
        auto pcm = sound::decodeMp3(*bytes, sound::soundsAudible());
        if (!pcm) {
            logLine("sound: " + toUtf8(devicePath) + " is not an mp3 file the player decodes");
            return false;
        }
        stopRequested_ = false;
        playing_ = true;
        thread_ =
            std::thread([this, generation, path = std::wstring(devicePath), pcm = std::move(*pcm)] {
                sound::play(path, pcm, generation, &stopRequested_);
                playing_ = false;
            });
        return true;
    }

    void stop() override {
        stopRequested_ = true;
        sound::wakeAll();
        if (thread_.joinable())
            thread_.join();
        playing_ = false;
    }

    bool playing() const override { return playing_; }

  private:
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> playing_{false};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<MediaPlayer> createMediaPlayer() {
    if (!sound::mp3DecoderAvailable())
        return nullptr;
    return std::make_unique<Mp3Player>();
}

}  // namespace platform
