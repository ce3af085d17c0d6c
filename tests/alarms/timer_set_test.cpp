// The stopwatch and counters as numbers: the defaults, counting down to the end, the chain of
// run-all, laps over an hour, and a clock that stands still or steps back.

#include "alarms/timer_set.h"

#include <gtest/gtest.h>

using namespace alarms;

namespace {

TEST(TimerSet, DefaultsGiveCounterOneTenSecondsAndTwoCountersShown) {
    TimerSet timers;
    EXPECT_EQ(timers.slot(1).presetMs, 10000);
    EXPECT_EQ(counterClockText(timers.slot(1).valueMs), L"00:00:10");
    EXPECT_EQ(counterClockText(timers.slot(2).valueMs), L"00:00:00");
    EXPECT_EQ(timers.counterNumber(), 2);
    EXPECT_EQ(timers.selected(), 1);
    EXPECT_FALSE(timers.anyRunning());
    EXPECT_TRUE(timers.slot(kStopwatchSlot).countsUp);
}

TEST(TimerSet, ACounterCountsDownRunsOutOnceAndResetsToItsPreset) {
    TimerSet timers;
    timers.startCounter(1000);
    EXPECT_EQ(timers.tick(1050), 0);
    EXPECT_EQ(timers.slot(1).valueMs, 9950);
    EXPECT_EQ(counterClockText(timers.slot(1).valueMs), L"00:00:10") << "whole seconds up";
    EXPECT_EQ(timers.tick(10999), 0);
    EXPECT_EQ(timers.slot(1).valueMs, 1);
    EXPECT_EQ(timers.tick(11500), 1) << "below 1 ms it has run out";
    EXPECT_EQ(timers.slot(1).valueMs, 0);
    EXPECT_FALSE(timers.anyRunning());
    EXPECT_EQ(timers.tick(12000), 0) << "a counter runs out once";
    timers.resetCounter(1);
    EXPECT_EQ(timers.slot(1).valueMs, 10000);
}

TEST(TimerSet, ACounterStartedAtZeroRunsOutOnTheFirstTick) {
    TimerSet timers;
    timers.select(2);
    timers.startCounter(500);
    EXPECT_TRUE(timers.slot(2).running);
    EXPECT_EQ(timers.tick(500), 1) << "even with no time passed";
    EXPECT_FALSE(timers.anyRunning());
}

TEST(TimerSet, StoppingKeepsTheRemainderAndAStillOrBackwardClockAddsNothing) {
    TimerSet timers;
    timers.startCounter(0);
    timers.tick(4000);
    timers.stopCounter(4500);
    EXPECT_EQ(timers.slot(1).valueMs, 5500);
    EXPECT_EQ(timers.tick(9000), 0);
    EXPECT_EQ(timers.slot(1).valueMs, 5500) << "a stopped counter stands";
    timers.startCounter(9000);
    timers.tick(8000);
    EXPECT_EQ(timers.slot(1).valueMs, 5500) << "a clock that stepped back";
    timers.tick(9500);
    EXPECT_EQ(timers.slot(1).valueMs, 5000) << "counted from the latest moment seen";
}

TEST(TimerSet, RunAllStartsEachShownCounterInTurnAndCarriesTheOvershoot) {
    TimerSet timers;
    timers.setCounterNumber(3);
    timers.setPreset(1, 1000);
    timers.setPreset(2, 2000);
    timers.setPreset(3, 3000);
    timers.setRunAll(true);
    ASSERT_TRUE(timers.runAll());
    timers.select(3);
    timers.startCounter(0);
    EXPECT_TRUE(timers.slot(1).running) << "run-all always starts at counter 1";
    EXPECT_EQ(timers.tick(1000), 1);
    EXPECT_EQ(timers.selected(), 2);
    EXPECT_TRUE(timers.slot(2).running);
    EXPECT_EQ(timers.slot(2).valueMs, 2000);
    EXPECT_EQ(timers.tick(3100), 1);
    EXPECT_TRUE(timers.slot(3).running);
    EXPECT_EQ(timers.slot(3).valueMs, 2900) << "the 100 ms past counter 2's end counted";
    EXPECT_EQ(timers.tick(6000), 1);
    EXPECT_FALSE(timers.anyRunning()) << "the last counter ends the chain";
    EXPECT_EQ(timers.selected(), 3);

    // A long gap (the screen was away) runs through the whole chain in one tick.
    timers.startCounter(10000);
    EXPECT_EQ(timers.tick(60000), 3);
    EXPECT_FALSE(timers.anyRunning());
    EXPECT_FALSE(timers.slot(4).running) << "counter 4 is not shown";
}

TEST(TimerSet, RunAllStopsAtACounterWithoutTimeAndNeedsTwoCounters) {
    TimerSet timers;
    timers.setCounterNumber(3);
    timers.setPreset(3, 5000);  // counter 2 keeps its 0
    timers.setRunAll(true);
    timers.startCounter(0);
    EXPECT_EQ(timers.tick(10000), 1);
    EXPECT_FALSE(timers.anyRunning());
    timers.setCounterNumber(1);
    timers.setRunAll(true);
    EXPECT_FALSE(timers.runAll());
}

TEST(TimerSet, LapsMeasureRunningTimeAndShowMinutesOfTheHour) {
    TimerSet timers;
    EXPECT_FALSE(timers.lap(0)) << "no lap while stopped";
    timers.startStopwatch(0);
    ASSERT_TRUE(timers.lap(61 * 60000 + 1234));
    timers.stopStopwatch(62 * 60000);
    timers.tick(70 * 60000);
    EXPECT_EQ(timers.slot(kStopwatchSlot).valueMs, 62 * 60000) << "stopped, it stands";
    timers.startStopwatch(80 * 60000);
    ASSERT_TRUE(timers.lap(80 * 60000 + 5000));
    const auto& laps = timers.laps();
    ASSERT_EQ(laps.size(), 2u);
    EXPECT_EQ(laps[0].number, 1);
    EXPECT_EQ(lapClockText(laps[0].lapMs), L"01:01.23") << "61 minutes show as 01";
    EXPECT_EQ(lapClockText(laps[0].totalMs), L"01:01.23");
    EXPECT_EQ(laps[1].number, 2);
    EXPECT_EQ(laps[1].lapMs, 60000 - 1234 + 5000) << "the stopped time is not a lap's";
    EXPECT_EQ(lapClockText(laps[1].totalMs), L"02:05.00");
    EXPECT_EQ(timers.longestLapMs(), 61 * 60000 + 1234);

    EXPECT_FALSE(timers.resetStopwatch()) << "no reset while it runs";
    timers.stopStopwatch(80 * 60000 + 6000);
    EXPECT_TRUE(timers.resetStopwatch());
    EXPECT_EQ(timers.slot(kStopwatchSlot).valueMs, 0);
    EXPECT_TRUE(timers.laps().empty());
    EXPECT_EQ(timers.longestLapMs(), 0);
}

TEST(TimerSet, PresetsAndTextsStayInTheirRange) {
    TimerSet timers;
    timers.setPreset(4, -5);
    EXPECT_EQ(timers.slot(4).valueMs, 0);
    timers.setPreset(4, kMaxPresetMs + 1000000);
    EXPECT_EQ(counterClockText(timers.slot(4).valueMs), L"99:59:59");
    EXPECT_EQ(lapClockText(-10), L"00:00.00");
    timers.setCounterNumber(9);
    EXPECT_EQ(timers.counterNumber(), 4);
    timers.select(4);
    timers.setCounterNumber(2);
    EXPECT_EQ(timers.selected(), 2) << "the selection follows the counters shown";
}

}  // namespace
