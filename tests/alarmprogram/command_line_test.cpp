// The alarm program's command lines: which switch, and the alarm's name.

#include <gtest/gtest.h>

#include <string>

#include "alarmprogram/command_line.h"
#include "alarms/alarm_store.h"

using namespace alarmprogram;

namespace {

TEST(AlarmCommandLine, SwitchesAndNames) {
    auto alarm = parseCommandLine(L"/ALARM Wake up");
    EXPECT_EQ(alarm.command, Command::Alarm);
    EXPECT_EQ(alarm.alarmName, L"Wake up");

    auto snooze = parseCommandLine(L"/ALMSZ Wake up");
    EXPECT_EQ(snooze.command, Command::Snooze);
    EXPECT_EQ(snooze.alarmName, L"Wake up");

    EXPECT_EQ(parseCommandLine(L"/QUICK").command, Command::Quick);
    EXPECT_TRUE(parseCommandLine(L"/QUICK").alarmName.empty());
    EXPECT_EQ(parseCommandLine(L"/PLAYSOUND").command, Command::PlaySound);
}

TEST(AlarmCommandLine, TheNameIsEverythingAfterTheSwitchAndOneSpace) {
    // Spaces inside and around the name belong to it, as the store keeps names whole.
    EXPECT_EQ(parseCommandLine(L"/ALARM  two  spaces ").alarmName, L" two  spaces ");
    EXPECT_EQ(parseCommandLine(L"/ALARM /ALMSZ x").alarmName, L"/ALMSZ x");
    EXPECT_EQ(parseCommandLine(L"/ALARM /ALMSZ x").command, Command::Alarm);
}

TEST(AlarmCommandLine, ComparedByPrefixAndCase) {
    EXPECT_EQ(parseCommandLine(L"/alarm Wake").command, Command::Unknown);
    EXPECT_EQ(parseCommandLine(L"/QUICKLY").command, Command::Quick);
    EXPECT_EQ(parseCommandLine(L"/PLAYSOUNDS now").command, Command::PlaySound);
    EXPECT_EQ(parseCommandLine(L"").command, Command::Unknown);
    EXPECT_EQ(parseCommandLine(L"ALARM x").command, Command::Unknown);
    EXPECT_EQ(parseCommandLine(L" /ALARM x").command, Command::Unknown);
}

TEST(AlarmCommandLine, ASwitchWithoutANameNamesNoAlarm) {
    auto bare = parseCommandLine(L"/ALARM");
    EXPECT_EQ(bare.command, Command::Alarm);
    EXPECT_TRUE(bare.alarmName.empty());
    auto space = parseCommandLine(L"/ALMSZ ");
    EXPECT_EQ(space.command, Command::Snooze);
    EXPECT_TRUE(space.alarmName.empty());
    // Glued to the switch is not the switch.
    EXPECT_EQ(parseCommandLine(L"/ALARMWake").command, Command::Unknown);
}

TEST(AlarmCommandLine, ANameLongerThanTheStoreKeepsIsNoAlarm) {
    const std::wstring longest(alarms::kMaxAlarmNameLength, L'a');
    EXPECT_EQ(parseCommandLine(L"/ALARM " + longest).alarmName, longest);
    EXPECT_EQ(parseCommandLine(L"/ALARM " + longest + L"a").command, Command::Unknown);
}

}  // namespace
