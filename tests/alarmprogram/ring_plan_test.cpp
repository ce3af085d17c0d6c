// What each start of the alarm program rings, and how its snooze is armed.

#include <gtest/gtest.h>

#include "alarmprogram/ring_plan.h"

using namespace alarmprogram;

namespace {

const std::wstring kInstall = L"\\Program Files\\Vorn Roamer\\";

alarms::AlarmRecord wakeUp() {
    alarms::AlarmRecord r;
    r.name = L"Wake up";
    r.message = L"Time to get up";
    r.soundPath = L"\\Program Files\\Vorn Roamer\\sounds\\Chime.wav";
    r.volume = 7;
    r.ringTime = 2;
    r.snooze = 3;
    return r;
}

TEST(RingPlan, AnAlarmRingsItsRecord) {
    const RingPlan plan = planRinging(parseCommandLine(L"/ALARM wake UP"), wakeUp(), kInstall, {});
    EXPECT_EQ(plan.message, L"Time to get up");
    EXPECT_EQ(plan.sound, L"\\Program Files\\Vorn Roamer\\sounds\\Chime.wav");
    EXPECT_EQ(plan.volumeChoice, 7);
    EXPECT_EQ(plan.seconds, 30);
    // The snooze names the alarm as the store spells it and lasts the chosen interval.
    EXPECT_EQ(plan.snoozeName, L"Wake up");
    EXPECT_FALSE(plan.snoozeQuick);
    EXPECT_EQ(plan.snoozeMinutes, 10);
}

TEST(RingPlan, RingingTimeAndSnoozeFollowTheChoices) {
    alarms::AlarmRecord r = wakeUp();
    const std::pair<int, int> seconds[] = {{1, 600}, {2, 30},  {3, 60}, {4, 120},
                                           {5, 300}, {0, 600}, {9, 600}};
    for (auto [choice, expected] : seconds) {
        r.ringTime = choice;
        EXPECT_EQ(planRinging(parseCommandLine(L"/ALMSZ Wake up"), r, kInstall, {}).seconds,
                  expected)
            << choice;
    }
    const std::pair<int, int> minutes[] = {{1, 1}, {2, 5}, {3, 10}, {4, 15}, {5, 30}, {0, 5}};
    for (auto [choice, expected] : minutes) {
        r.snooze = choice;
        EXPECT_EQ(planRinging(parseCommandLine(L"/ALARM Wake up"), r, kInstall, {}).snoozeMinutes,
                  expected)
            << choice;
    }
}

TEST(RingPlan, AnAlarmWithoutMessageShowsTheProgramsName) {
    alarms::AlarmRecord r = wakeUp();
    r.message.clear();
    EXPECT_EQ(planRinging(parseCommandLine(L"/ALMSZ Wake up"), r, kInstall, {}).message,
              L"Vorn Roamer Alarm");
}

TEST(RingPlan, AnUnknownAlarmRingsNothingAndCannotSnooze) {
    for (const wchar_t* line : {L"/ALARM Gone", L"/ALMSZ Gone", L"/ALARM", L"/SOMETHING"}) {
        const RingPlan plan = planRinging(parseCommandLine(line), std::nullopt, kInstall, {});
        EXPECT_TRUE(plan.sound.empty()) << line;
        EXPECT_TRUE(plan.message.empty()) << line;
        EXPECT_FALSE(plan.canSnooze()) << line;
    }
}

TEST(RingPlan, TheQuickAlarm) {
    const RingPlan plan = planRinging(parseCommandLine(L"/QUICK"), std::nullopt, kInstall, {});
    EXPECT_EQ(plan.message, L"Vorn Roamer Quick Set Alarm !");
    EXPECT_EQ(plan.sound, L"\\Program Files\\Vorn Roamer\\alarm\\alarm_quicksetalarm.wav");
    EXPECT_EQ(plan.volumeChoice, 0);
    EXPECT_EQ(plan.seconds, 300);
    EXPECT_TRUE(plan.snoozeQuick);
    EXPECT_TRUE(plan.canSnooze());
    EXPECT_EQ(plan.snoozeMinutes, 5);
}

TEST(RingPlan, ThePreviewPlaysTheStoredSoundForTenSeconds) {
    const RingPlan plan = planRinging(parseCommandLine(L"/PLAYSOUND"), std::nullopt, kInstall,
                                      {L"\\My Ringtones\\bell.mp3", 4});
    EXPECT_EQ(plan.sound, L"\\My Ringtones\\bell.mp3");
    EXPECT_EQ(plan.volumeChoice, 4);
    EXPECT_EQ(plan.seconds, 10);
    EXPECT_TRUE(plan.message.empty());
    EXPECT_FALSE(plan.canSnooze());
}

}  // namespace
