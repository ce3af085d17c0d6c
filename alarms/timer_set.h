#pragma once
// The stopwatch and the four countdown counters as numbers, without pixels: slot 0 counts up,
// slots 1 to 4 count down from their presets. Every call takes the present moment as
// milliseconds of a steady clock, so the counts follow the time that passed and never the
// calendar, and tests drive them with any clock they like.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace alarms {

constexpr int kStopwatchSlot = 0;
constexpr int kCounterCount = 4;
// The longest preset the six-digit picker can show: 99:59:59.
constexpr std::int64_t kMaxPresetMs = (99 * 3600 + 59 * 60 + 59) * 1000LL;

struct TimerSlot {
    bool countsUp = false;
    bool running = false;
    std::int64_t lastTick = 0;   // when the value was last brought up to date
    std::int64_t valueMs = 0;    // elapsed (stopwatch) or remaining (counter)
    std::int64_t presetMs = 0;   // what a reset restores (counters)
    std::int64_t startTick = 0;  // when it last started
};

struct Lap {
    int number = 0;
    std::int64_t lapMs = 0;
    std::int64_t totalMs = 0;
};

// "%02d:%02d.%02d": minutes (of the hour; hours are not shown), seconds and hundredths.
std::wstring lapClockText(std::int64_t ms);
// "%02d:%02d:%02d": hours, minutes and seconds, rounded up to the whole second, so a
// counter shows 00:00:00 only once it has run out.
std::wstring counterClockText(std::int64_t ms);

class TimerSet {
  public:
    TimerSet();

    const TimerSlot& slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
    bool anyRunning() const;
    bool anyCounterRunning() const;

    // The counters shown (1 to 4) and the selected one (1 to 4).
    int counterNumber() const { return counterNumber_; }
    void setCounterNumber(int number);
    int selected() const { return selected_; }
    void select(int counter);
    bool runAll() const { return runAll_; }
    void setRunAll(bool on);

    // Sets a counter's preset (bounded to the picker's range) and resets that counter.
    void setPreset(int counter, std::int64_t ms);

    // Stopwatch.
    void startStopwatch(std::int64_t now);
    void stopStopwatch(std::int64_t now);
    // Back to 0 with its laps cleared; nothing while it runs.
    bool resetStopwatch();
    // A lap row from the time since the previous lap; nothing while stopped.
    bool lap(std::int64_t now);
    const std::vector<Lap>& laps() const { return laps_; }
    std::int64_t longestLapMs() const { return longestLapMs_; }

    // Starts the selected counter; in run-all mode every counter is reset first and the
    // chain starts with counter 1. False when nothing could start.
    bool startCounter(std::int64_t now);
    void stopCounter(std::int64_t now);
    void resetCounter(int counter);
    void resetCounters();

    // Brings every running slot up to now. Returns how many counters ran out: each stops at
    // 0; in run-all mode the next shown counter with time left takes over, with the time
    // that ran past the previous one's end already counted.
    int tick(std::int64_t now);

  private:
    TimerSlot& slotAt(int index) { return slots_.at(static_cast<std::size_t>(index)); }
    void advance(TimerSlot& slot, std::int64_t now);
    int runOut(int counter, std::int64_t now, std::int64_t overshoot);

    std::array<TimerSlot, kCounterCount + 1> slots_{};
    std::vector<Lap> laps_;
    std::int64_t lastLapTotalMs_ = 0;
    std::int64_t longestLapMs_ = 0;
    int counterNumber_ = 2;
    int selected_ = 1;
    bool runAll_ = false;
};

}  // namespace alarms
