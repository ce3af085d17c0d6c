#pragma once
// The ringing player: plays an alarm sound for a limited time. A wave file loops on a thread
// of its own; any other file goes to the platform's media player, which a second thread
// restarts whenever it has played to its end; the path "Vibrate" switches the vibrator LED on
// instead. The volume is either a fixed wave-out level or a ramp that starts silent and rises
// step by step. A timer thread silences everything once the ringing time has passed.
//
// The alarm program rings with it and the alarm editor previews sounds with it, so it knows no
// window. silence() may be called from any thread (the phone-status watch calls it when a call
// comes in); start(), stop() and shutdown() belong to the thread that owns the player.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "alarms/alarm_volume.h"
#include "platform/api/sound.h"

namespace alarms {

// The path that means "vibrate only".
constexpr std::wstring_view kVibrateOnly = L"Vibrate";

// How loud a ringing is: a fixed wave-out level (both channels), or rising from silence.
struct RingVolume {
    bool rising = false;
    std::uint16_t level = 0;
};

// The ringing volume of a volume choice (0..7): rising for 7 and above, else its level.
RingVolume ringVolumeFor(int volumeChoice);

// The player's pauses. Tests shorten them; the defaults are the device's.
struct AlarmPlayerTiming {
    std::chrono::milliseconds rampStartDelay{500};  // silence before the first step
    std::chrono::milliseconds rampStep{100};
    std::chrono::milliseconds wavGap{200};  // between two plays of a wave file
    std::chrono::milliseconds mediaFirstCheck{3000};
    std::chrono::milliseconds mediaCheck{500};
    std::chrono::milliseconds mediaStopWait{5000};  // longest wait for the media player to stop
};

class AlarmPlayer {
  public:
    // Creates the media player once; without one, only wave files and vibration ring.
    explicit AlarmPlayer(AlarmPlayerTiming timing = {});
    ~AlarmPlayer();  // shuts down
    AlarmPlayer(const AlarmPlayer&) = delete;
    AlarmPlayer& operator=(const AlarmPlayer&) = delete;

    // Stops what plays, then rings the sound (device path, or kVibrateOnly) at the volume for
    // the given seconds (0: until stopped). False after shutdown and for an empty path.
    bool start(std::wstring_view soundPath, RingVolume volume, int seconds);

    // Silences everything at once without waiting for the worker threads: sound, media player,
    // vibrator, volume ramp; the saved wave-out volume is put back. Any thread.
    void silence();

    // Silences and waits until every worker thread has ended.
    void stop();

    // Stops for good; start() refuses afterwards.
    void shutdown();

    // True from start() until the ringing was silenced (by stop, silence or the ringing
    // time). A wave file that cannot play keeps its loop trying until then.
    bool ringing() const;
    bool hasMediaPlayer() const { return media_ != nullptr; }

    // The vibrator: the first LED whose cycle adjustment reads -1; nothing when none.
    static std::optional<int> vibratorLed();

  private:
    enum class Kind { Wave, Media, Vibrate };

    void restoreVolumeLocked();
    void joinWorkers();
    // Waits until the stop flag is set or the time has passed; true when stopped.
    bool waitStopped(std::chrono::steady_clock::duration duration);

    void rampThread();
    void waveLoopThread(std::wstring path);
    void mediaRepeatThread(std::wstring path);
    void timerThread(int seconds);

    AlarmPlayerTiming timing_;
    std::unique_ptr<platform::MediaPlayer> media_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = true;  // nothing rings until start()
    bool shutDown_ = false;
    Kind kind_ = Kind::Wave;
    std::optional<int> vibrator_;               // switched on by this player
    std::optional<std::uint32_t> savedVolume_;  // saved once, put back after every ringing
    bool volumeChanged_ = false;
    bool loopInSound_ = false;  // the loop thread is inside a play that silence() must end
    std::mutex mediaMutex_;     // the media player is used from the loop and owner threads

    std::thread ramp_;
    std::thread loop_;
    std::thread timer_;
};

}  // namespace alarms
