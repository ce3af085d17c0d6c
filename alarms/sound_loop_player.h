#pragma once
// The sound loop player: plays a wave file over and over on a thread of its own, at a chosen
// or rising volume, until stopped. The countdown counters ring through it, and the alarm
// program stops it before it rings. Used from one (the user-interface) thread; its workers
// only read what that thread set before starting them.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace alarms {

// Plays instead of the player when given: called with the path for each play, and with an
// empty path when the player stops.
using SoundLoopCallback = std::function<void(std::wstring_view path)>;

// The player's waits; tests shorten them.
struct SoundLoopTiming {
    std::chrono::milliseconds rampDelay{500};  // silence before the first rising step
    std::chrono::milliseconds rampStep{100};   // between rising steps
    std::chrono::milliseconds settle{500};     // after stopping, before the volume returns
    std::chrono::milliseconds retry{200};      // between plays of a file that did not play
};

class SoundLoopPlayer {
  public:
    explicit SoundLoopPlayer(SoundLoopTiming timing = {});
    ~SoundLoopPlayer();
    SoundLoopPlayer(const SoundLoopPlayer&) = delete;
    SoundLoopPlayer& operator=(const SoundLoopPlayer&) = delete;

    // Stops what plays, keeps the wave-out volume (once, until stop restores it), sets the
    // level of the volume choice (or starts rising from silence for 7) and starts playing
    // the device path. repeat -N plays N times and then stops by itself (-1 plays once);
    // 0 or more repeats until stopped. An empty path only stops.
    void play(std::wstring_view path, int repeat, int volumeChoice,
              SoundLoopCallback callback = {});
    // Stops playing, tells the callback (empty path), waits for the workers and restores the
    // kept wave-out volume. Nothing when idle.
    void stop();

    // True while the play thread has not finished.
    bool playing() const;
    // Plays started since construction (each pass of the loop counts).
    int playCount() const { return plays_.load(); }

  private:
    void playLoop(std::wstring path, int repeat, SoundLoopCallback callback);
    void rampLoop();
    void joinWorkers();
    // Waits up to the duration; true when stopping was asked for meanwhile.
    bool waitOrStop(std::chrono::milliseconds duration);

    SoundLoopTiming timing_;
    std::thread playThread_;
    std::thread rampThread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{true};
    std::atomic<int> plays_{0};
    std::mutex waitMutex_;
    std::condition_variable_any wake_;
    std::uint32_t savedVolume_ = 0;
    bool volumeSaved_ = false;
    SoundLoopCallback callback_;
};

}  // namespace alarms
