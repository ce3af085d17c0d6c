#include "alarms/sound_loop_player.h"

#include "alarms/alarm_volume.h"
#include "platform/api/sound.h"

namespace alarms {

SoundLoopPlayer::SoundLoopPlayer(SoundLoopTiming timing) : timing_(timing) {}

SoundLoopPlayer::~SoundLoopPlayer() {
    stop();
}

bool SoundLoopPlayer::playing() const {
    return playThread_.joinable() && !finished_.load();
}

bool SoundLoopPlayer::waitOrStop(std::chrono::milliseconds duration) {
    std::unique_lock lock(waitMutex_);
    return wake_.wait_for(lock, duration, [this] { return stop_.load(); });
}

void SoundLoopPlayer::play(std::wstring_view path, int repeat, int volumeChoice,
                           SoundLoopCallback callback) {
    stop();
    if (path.empty())
        return;
    if (!volumeSaved_) {
        savedVolume_ = platform::waveOutVolume();
        volumeSaved_ = true;
    }
    platform::setWaveOutVolume(0);
    {
        std::lock_guard lock(waitMutex_);
        stop_ = false;
    }
    finished_ = false;
    callback_ = std::move(callback);
    if (volumeChoice >= kRisingVolumeChoice)
        rampThread_ = std::thread([this] { rampLoop(); });
    else
        platform::setWaveOutVolume(platform::bothChannels(alarmVolumeLevel(volumeChoice)));
    playThread_ = std::thread(
        [this, file = std::wstring(path), repeat, cb = callback_] { playLoop(file, repeat, cb); });
}

void SoundLoopPlayer::playLoop(std::wstring path, int repeat, SoundLoopCallback callback) {
    int remaining = repeat < 0 ? -repeat : 0;
    while (!stop_.load()) {
        ++plays_;
        bool played = true;
        if (callback)
            callback(path);
        else
            played = platform::playSoundSync(path);
        if (remaining > 0 && --remaining == 0)
            break;
        // A file that does not play returns at once; do not spin on it.
        if (!played && waitOrStop(timing_.retry))
            break;
    }
    {
        // Ends a rising volume too: nothing plays any more.
        std::lock_guard lock(waitMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    finished_ = true;
}

void SoundLoopPlayer::rampLoop() {
    platform::setWaveOutVolume(0);
    if (waitOrStop(timing_.rampDelay))
        return;
    for (int step = 1; step <= kRampSteps; ++step) {
        platform::setWaveOutVolume(platform::bothChannels(rampLevel(step)));
        if (waitOrStop(timing_.rampStep))
            return;
    }
}

void SoundLoopPlayer::joinWorkers() {
    if (playThread_.joinable())
        playThread_.join();
    if (rampThread_.joinable())
        rampThread_.join();
}

void SoundLoopPlayer::stop() {
    if (!playThread_.joinable() && !rampThread_.joinable() && !volumeSaved_)
        return;
    {
        std::lock_guard lock(waitMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    platform::stopSound();
    if (callback_)
        callback_(std::wstring_view());
    joinWorkers();
    if (volumeSaved_) {
        // Lets the device's sound settle before the volume comes back.
        std::this_thread::sleep_for(timing_.settle);
        platform::setWaveOutVolume(savedVolume_);
        volumeSaved_ = false;
    }
    callback_ = nullptr;
}

}  // namespace alarms
