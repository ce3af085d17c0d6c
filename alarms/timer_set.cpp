#include "alarms/timer_set.h"

#include <algorithm>
#include <cstdio>

namespace alarms {

namespace {

std::wstring formatted(const wchar_t* format, int a, int b, int c) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), format, a, b, c);
    return text;
}

}  // namespace

std::wstring lapClockText(std::int64_t ms) {
    ms = std::max<std::int64_t>(ms, 0);
    int minutes = static_cast<int>(ms / 60000 % 60);
    int seconds = static_cast<int>(ms / 1000 % 60);
    int hundredths = static_cast<int>(ms / 10 % 100);
    return formatted(L"%02d:%02d.%02d", minutes, seconds, hundredths);
}

std::wstring counterClockText(std::int64_t ms) {
    std::int64_t seconds = (std::max<std::int64_t>(ms, 0) + 999) / 1000;
    return formatted(L"%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                     static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

TimerSet::TimerSet() {
    slotAt(kStopwatchSlot).countsUp = true;
    setPreset(1, 10000);
}

bool TimerSet::anyRunning() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const TimerSlot& s) { return s.running; });
}

bool TimerSet::anyCounterRunning() const {
    return std::any_of(slots_.begin() + 1, slots_.end(),
                       [](const TimerSlot& s) { return s.running; });
}

void TimerSet::setCounterNumber(int number) {
    counterNumber_ = std::clamp(number, 1, kCounterCount);
    selected_ = std::min(selected_, counterNumber_);
}

void TimerSet::select(int counter) {
    selected_ = std::clamp(counter, 1, counterNumber_);
}

void TimerSet::setRunAll(bool on) {
    runAll_ = on && counterNumber_ >= 2;
}

void TimerSet::setPreset(int counter, std::int64_t ms) {
    slotAt(std::clamp(counter, 1, kCounterCount)).presetMs =
        std::clamp<std::int64_t>(ms, 0, kMaxPresetMs);
    resetCounter(counter);
}

void TimerSet::startStopwatch(std::int64_t now) {
    TimerSlot& watch = slotAt(kStopwatchSlot);
    if (watch.running)
        return;
    watch.running = true;
    watch.lastTick = watch.startTick = now;
}

void TimerSet::stopStopwatch(std::int64_t now) {
    TimerSlot& watch = slotAt(kStopwatchSlot);
    if (!watch.running)
        return;
    advance(watch, now);
    watch.running = false;
}

bool TimerSet::resetStopwatch() {
    TimerSlot& watch = slotAt(kStopwatchSlot);
    if (watch.running)
        return false;
    watch.valueMs = 0;
    laps_.clear();
    lastLapTotalMs_ = longestLapMs_ = 0;
    return true;
}

bool TimerSet::lap(std::int64_t now) {
    TimerSlot& watch = slotAt(kStopwatchSlot);
    if (!watch.running)
        return false;
    advance(watch, now);
    // The lap is measured on the stopwatch's own total, so time it stood stopped between
    // two laps does not count.
    Lap lap{static_cast<int>(laps_.size()) + 1, watch.valueMs - lastLapTotalMs_, watch.valueMs};
    lastLapTotalMs_ = watch.valueMs;
    longestLapMs_ = std::max(longestLapMs_, lap.lapMs);
    laps_.push_back(lap);
    return true;
}

bool TimerSet::startCounter(std::int64_t now) {
    if (runAll_) {
        resetCounters();
        selected_ = 1;
    }
    TimerSlot& counter = slotAt(selected_);
    counter.running = true;
    counter.lastTick = counter.startTick = now;
    return true;
}

void TimerSet::stopCounter(std::int64_t now) {
    for (int i = 1; i <= kCounterCount; ++i) {
        TimerSlot& counter = slotAt(i);
        if (counter.running) {
            advance(counter, now);
            counter.running = false;
        }
    }
}

void TimerSet::resetCounter(int counter) {
    TimerSlot& slot = slotAt(std::clamp(counter, 1, kCounterCount));
    slot.running = false;
    slot.valueMs = slot.presetMs;
}

void TimerSet::resetCounters() {
    for (int i = 1; i <= kCounterCount; ++i) resetCounter(i);
}

void TimerSet::advance(TimerSlot& slot, std::int64_t now) {
    // A clock that stood still or went back adds nothing.
    std::int64_t elapsed = std::max<std::int64_t>(now - slot.lastTick, 0);
    slot.lastTick = std::max(slot.lastTick, now);
    slot.valueMs += slot.countsUp ? elapsed : -elapsed;
}

int TimerSet::tick(std::int64_t now) {
    TimerSlot& watch = slotAt(kStopwatchSlot);
    if (watch.running)
        advance(watch, now);
    int expired = 0;
    for (int i = 1; i <= kCounterCount; ++i) {
        TimerSlot& counter = slotAt(i);
        if (!counter.running)
            continue;
        advance(counter, now);
        if (counter.valueMs < 1)
            expired += runOut(i, now, -counter.valueMs);
    }
    return expired;
}

int TimerSet::runOut(int counter, std::int64_t now, std::int64_t overshoot) {
    int expired = 0;
    while (true) {
        TimerSlot& slot = slotAt(counter);
        slot.valueMs = 0;
        slot.running = false;
        ++expired;
        if (!runAll_ || counter >= counterNumber_)
            return expired;
        ++counter;
        selected_ = counter;
        TimerSlot& next = slotAt(counter);
        if (next.valueMs <= 0)
            return expired;
        next.running = true;
        next.startTick = now - overshoot;
        next.lastTick = now;
        next.valueMs -= overshoot;
        if (next.valueMs >= 1)
            return expired;
        overshoot = -next.valueMs;
    }
}

}  // namespace alarms
