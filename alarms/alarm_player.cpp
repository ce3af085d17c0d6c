#include "alarms/alarm_player.h"

#include "core/text_case.h"
#include "platform/api/power.h"

namespace alarms {

namespace {

// The media player only gets a repeat thread for ringings longer than this.
constexpr int kMediaRepeatMinSeconds = 4;
// How long silence() keeps ending a play that the loop thread was just starting.
constexpr auto kSilenceRetry = std::chrono::milliseconds(10);
constexpr auto kSilenceLimit = std::chrono::seconds(2);

bool isWavePath(std::wstring_view path) {
    // The extension decides, compared without regard to case as the device's file system does.
    return path.size() >= 4 && core::equalsIgnoringCase(path.substr(path.size() - 4), L".wav");
}

}  // namespace

RingVolume ringVolumeFor(int volumeChoice) {
    if (volumeChoice >= kRisingVolumeChoice)
        return {true, 0};
    return {false, alarmVolumeLevel(volumeChoice)};
}

AlarmPlayer::AlarmPlayer(AlarmPlayerTiming timing)
    : timing_(timing), media_(platform::createMediaPlayer()) {}

AlarmPlayer::~AlarmPlayer() {
    shutdown();
}

std::optional<int> AlarmPlayer::vibratorLed() {
    const int count = platform::ledCount();
    for (int led = 0; led < count; ++led) {
        auto info = platform::ledInfo(led);
        if (info && info->cycleAdjust == -1)
            return led;
    }
    return std::nullopt;
}

bool AlarmPlayer::ringing() const {
    std::lock_guard lock(mutex_);
    return !stopping_;
}

bool AlarmPlayer::start(std::wstring_view soundPath, RingVolume volume, int seconds) {
    {
        std::lock_guard lock(mutex_);
        if (shutDown_)
            return false;
    }
    stop();
    if (soundPath.empty())
        return false;

    const bool vibrate = soundPath == kVibrateOnly;
    const Kind kind = vibrate ? Kind::Vibrate : isWavePath(soundPath) ? Kind::Wave : Kind::Media;
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
        kind_ = kind;
        if (!savedVolume_)
            savedVolume_ = platform::waveOutVolume();
        volumeChanged_ = true;
        // A rising ringing is silent before its first sound starts, not once the ramp thread
        // gets round to it.
        platform::setWaveOutVolume(volume.rising ? 0 : platform::bothChannels(volume.level));
    }
    if (volume.rising)
        ramp_ = std::thread(&AlarmPlayer::rampThread, this);

    if (kind == Kind::Vibrate) {
        // Under the lock, so a silence() that came first is not undone.
        std::lock_guard lock(mutex_);
        auto led = vibratorLed();
        if (led && !stopping_) {
            platform::setLedState(*led, 1);
            vibrator_ = led;
        }
    } else if (kind == Kind::Wave) {
        std::lock_guard lock(mutex_);
        loopInSound_ = true;  // the loop starts inside its first play
        loop_ = std::thread(&AlarmPlayer::waveLoopThread, this, std::wstring(soundPath));
    } else if (media_) {
        {
            std::lock_guard lock(mediaMutex_);
            media_->play(soundPath);
        }
        if (seconds > kMediaRepeatMinSeconds)
            loop_ = std::thread(&AlarmPlayer::mediaRepeatThread, this, std::wstring(soundPath));
    }
    if (seconds > 0)
        timer_ = std::thread(&AlarmPlayer::timerThread, this, seconds);
    return true;
}

void AlarmPlayer::silence() {
    std::optional<int> vibrator;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        vibrator = vibrator_;
        vibrator_.reset();
        restoreVolumeLocked();
    }
    wake_.notify_all();
    if (vibrator)
        platform::setLedState(*vibrator, 0);
    if (media_) {
        std::lock_guard lock(mediaMutex_);
        media_->stop();
    }
    // A play the loop thread was starting as the flag changed would otherwise sound to its
    // end: keep ending it until the thread has seen the flag.
    const auto deadline = std::chrono::steady_clock::now() + kSilenceLimit;
    for (;;) {
        platform::stopSound();
        std::unique_lock lock(mutex_);
        if (!loopInSound_ || std::chrono::steady_clock::now() >= deadline)
            break;
        wake_.wait_for(lock, kSilenceRetry);
    }
}

void AlarmPlayer::stop() {
    silence();
    if (media_) {
        // The media player may take a moment to report that it has stopped.
        const auto deadline = std::chrono::steady_clock::now() + timing_.mediaStopWait;
        for (;;) {
            {
                std::lock_guard lock(mediaMutex_);
                if (!media_->playing())
                    break;
                media_->stop();
            }
            if (std::chrono::steady_clock::now() >= deadline)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    joinWorkers();
    // A ramp step taken between the restore and the join cannot outlive the restore: the ramp
    // sets levels only while not stopping, under the same lock. Restore once more all the same,
    // in case silence() ran before start() saved the volume.
    std::lock_guard lock(mutex_);
    restoreVolumeLocked();
}

void AlarmPlayer::shutdown() {
    {
        std::lock_guard lock(mutex_);
        shutDown_ = true;
    }
    stop();
}

void AlarmPlayer::restoreVolumeLocked() {
    if (volumeChanged_ && savedVolume_)
        platform::setWaveOutVolume(*savedVolume_);
    volumeChanged_ = false;
}

void AlarmPlayer::joinWorkers() {
    for (std::thread* worker : {&ramp_, &loop_, &timer_}) {
        if (worker->joinable() && worker->get_id() != std::this_thread::get_id())
            worker->join();
    }
}

bool AlarmPlayer::waitStopped(std::chrono::steady_clock::duration duration) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, duration, [this] { return stopping_; });
}

void AlarmPlayer::rampThread() {
    if (waitStopped(timing_.rampStartDelay))
        return;
    for (int step = 1; step <= kRampSteps; ++step) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            platform::setWaveOutVolume(platform::bothChannels(rampLevel(step)));
        }
        if (waitStopped(timing_.rampStep))
            return;
    }
}

void AlarmPlayer::waveLoopThread(std::wstring path) {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (stopping_)
                break;
            loopInSound_ = true;
        }
        platform::playSoundSync(path);
        {
            std::lock_guard lock(mutex_);
            loopInSound_ = false;
        }
        wake_.notify_all();
        if (waitStopped(timing_.wavGap))
            break;
    }
    {
        std::lock_guard lock(mutex_);
        loopInSound_ = false;
    }
    wake_.notify_all();
}

void AlarmPlayer::mediaRepeatThread(std::wstring path) {
    if (waitStopped(timing_.mediaFirstCheck))
        return;
    for (;;) {
        {
            std::lock_guard lock(mediaMutex_);
            std::lock_guard state(mutex_);
            if (stopping_)
                return;
            if (!media_->playing())
                media_->play(path);
        }
        if (waitStopped(timing_.mediaCheck))
            return;
    }
}

void AlarmPlayer::timerThread(int seconds) {
    if (!waitStopped(std::chrono::seconds(seconds)))
        silence();
}

}  // namespace alarms
