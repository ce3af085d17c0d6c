// The alarm list inside the program's own application: its rows and their states, the detail
// panel, the menu's enabled entries, deleting (the last alarm takes the file with it), skip or
// off, and the refresh that follows changes other programs make.

#include "alarms/screens/alarm_list.h"
#include "alarms/screens/alarm_detail.h"
#include "tests/screens/support/alarm_fixture.h"

using namespace platform;

namespace alarms::test {
namespace {

class AlarmListTest : public AlarmScreenTest {
  protected:
    std::wstring title(int row) {
        if (row < 1 || row > listScreen().list().rowCount())
            return L"<no row " + std::to_wstring(row) + L">";
        return listScreen().list().rows().row(row).title;
    }
    std::wstring detailLine(int row) {
        if (row < 1 || row > listScreen().list().rowCount())
            return L"<no row " + std::to_wstring(row) + L">";
        return listScreen().list().rows().row(row).detail;
    }
    std::vector<std::wstring> panel() { return listScreen().detail().detail().lines; }
    bool menuEnabled(std::uint32_t command) {
        for (const ui::MenuEntry& e : listScreen().menuEntries()) {
            if (e.commandId == command)
                return e.enabled;
        }
        ADD_FAILURE() << "no menu entry " << command;
        return false;
    }
    void keyTo(int row) {
        while (listScreen().list().currentRow() < row) key(vk::Down);
        while (listScreen().list().currentRow() > row) key(vk::Up);
    }
};

TEST_F(AlarmListTest, AnEmptyListOffersOnlyANewAlarm) {
    open(ui::moduleId::Alarms);
    ASSERT_EQ(listScreen().list().rowCount(), 1);
    EXPECT_EQ(title(1), L"New alarm");
    EXPECT_EQ(detailLine(1), L"Tap here to add an alarm");
    EXPECT_EQ(panel(), std::vector<std::wstring>{L"No alarm is set."});
    EXPECT_TRUE(menuEnabled(alarmListCommand::New));
    EXPECT_FALSE(menuEnabled(alarmListCommand::Edit));
    EXPECT_FALSE(menuEnabled(alarmListCommand::Delete));
    EXPECT_FALSE(menuEnabled(alarmListCommand::SkipOrOff));
    // The disabled commands do nothing when sent anyway.
    send(wm::Command, alarmListCommand::Delete, 0);
    send(wm::Command, alarmListCommand::SkipOrOff, 0);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
}

TEST_F(AlarmListTest, RowsShowTheStateAndTheRepeat) {
    AlarmRecord once = daily(L"Dentist", 14, 0);
    once.kind = RepeatKind::Once;
    once.startDate = {24, 12, 2026};
    storeAlarm(once, true);
    AlarmRecord weekly = daily(L"Swim", 6, 45);
    weekly.kind = RepeatKind::Custom;
    weekly.dayMask = dayBit::Monday | dayBit::Wednesday | dayBit::Sunday;
    storeAlarm(weekly, false);
    AlarmRecord monthly = daily(L"Rent", 9, 0);
    monthly.kind = RepeatKind::Monthly;
    monthly.dayOfMonth = 15;
    storeAlarm(monthly, true);
    AlarmRecord yearly = daily(L"Leap", 8, 0);
    yearly.kind = RepeatKind::Yearly;
    yearly.dayOfMonth = 29;
    yearly.month = 2;
    storeAlarm(yearly, true);
    AlarmRecord none = daily(L"Weekdays", 8, 0);
    none.kind = RepeatKind::WorkingDays;
    storeAlarm(none, true);
    // An armed alarm whose notification went away meanwhile reads as expired.
    AlarmStore store;
    ASSERT_TRUE(clearUserNotification(store.handle(store.find(L"Rent"))));

    open(ui::moduleId::Alarms);
    ASSERT_EQ(listScreen().list().rowCount(), 6);
    EXPECT_EQ(title(2), L"Dentist");
    EXPECT_EQ(detailLine(2), app_->dateText(localAt(2026, 12, 24, 0, 0)));
    EXPECT_EQ(title(3), L"Swim : Off");
    EXPECT_EQ(detailLine(3), L"Mon,Wed,Sun");
    EXPECT_EQ(title(4), L"Rent : Expired");
    EXPECT_EQ(detailLine(4), L"Monthly on day 15");
    EXPECT_EQ(detailLine(5), L"29th February every year");
    EXPECT_EQ(detailLine(6), L"Working days");
    EXPECT_EQ(listScreen().list().rows().row(3).time, app_->timeText(localAt(2000, 1, 6, 6, 45)));
}

TEST_F(AlarmListTest, ThePanelDescribesTheNextAlarmOrTheSelectedOne) {
    storeAlarm(daily(L"Late", 23, 0), true);
    storeAlarm(daily(L"Soon", 11, 0), true);
    open(ui::moduleId::Alarms);
    // The new-alarm row: the alarm that rings first, today at 11:00, half an hour away.
    EXPECT_EQ(listScreen().detail().detail().time, app_->timeText(localAt(2000, 1, 6, 11, 0)));
    EXPECT_EQ(panel(),
              (std::vector<std::wstring>{L"Next alarm : Soon", L"Wake up", L"In 30 minutes"}));
    key(vk::Down);
    EXPECT_EQ(panel(), (std::vector<std::wstring>{L"Alarm : Late", L"Wake up", L"In 12 hours",
                                                  L"Set in device time"}));
    EXPECT_TRUE(menuEnabled(alarmListCommand::Edit));
    EXPECT_TRUE(menuEnabled(alarmListCommand::SkipOrOff));
}

TEST_F(AlarmListTest, DeletingAsksAndTheLastAlarmTakesTheFileWithIt) {
    storeAlarm(daily(L"Only", 7, 0), true);
    open(ui::moduleId::Alarms);
    keyTo(2);
    answer_ = id::No;
    send(wm::Command, alarmListCommand::Delete, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], L"Delete the alarm Only ?");
    EXPECT_TRUE(fileExists(kStoreFile));
    EXPECT_EQ(notifications().size(), 1u);
    answer_ = id::Yes;
    send(wm::Command, alarmListCommand::Delete, 0);
    EXPECT_FALSE(fileExists(kStoreFile));
    EXPECT_TRUE(notifications().empty()) << "a deleted alarm never rings";
    EXPECT_EQ(listScreen().list().rowCount(), 1);
    EXPECT_FALSE(menuEnabled(alarmListCommand::Delete));
}

TEST_F(AlarmListTest, SkipOrOffSkipsARepeatingAlarmAndTurnsAOneOffOneOff) {
    storeAlarm(daily(L"Daily", 7, 0), true);
    AlarmRecord once = daily(L"Once", 12, 0);
    once.kind = RepeatKind::Once;
    storeAlarm(once, true);
    open(ui::moduleId::Alarms);
    keyTo(2);
    {
        AlarmStore store;
        auto start = store.armedStart(store.find(L"Daily"));
        ASSERT_TRUE(start);
        EXPECT_EQ(start->day, 9);
    }
    send(wm::Command, alarmListCommand::SkipOrOff, 0);
    {
        AlarmStore store;
        auto start = store.armedStart(store.find(L"Daily"));
        ASSERT_TRUE(start);
        EXPECT_EQ(start->day, 10) << "tomorrow's ringing is skipped";
        EXPECT_EQ(start->hour, 7);
    }
    EXPECT_EQ(title(2), L"Daily");
    keyTo(3);
    send(wm::Command, alarmListCommand::SkipOrOff, 0);
    EXPECT_EQ(title(3), L"Once : Off");
    EXPECT_FALSE(menuEnabled(alarmListCommand::SkipOrOff));
    EXPECT_EQ(notifications().size(), 1u);
}

TEST_F(AlarmListTest, TheListFollowsChangesOfOtherProgramsEveryFiveSeconds) {
    storeAlarm(daily(L"Mine", 7, 0), true);
    open(ui::moduleId::Alarms);
    app_->currentModule()->startTimers();
    ASSERT_EQ(title(2), L"Mine");
    // Another program turns the alarm off and adds one.
    {
        AlarmStore other;
        ASSERT_TRUE(other.select(L"Mine"));
        ASSERT_TRUE(other.disarm());
    }
    storeAlarm(daily(L"Theirs", 8, 0), true);
    advanceClockOverride(4900);
    platform::test::deliverAll();
    EXPECT_EQ(listScreen().list().rowCount(), 2) << "not yet";
    advanceClockOverride(100);
    platform::test::deliverAll();
    EXPECT_EQ(listScreen().list().rowCount(), 3);
    EXPECT_EQ(title(2), L"Mine : Off");
    EXPECT_EQ(title(3), L"Theirs");
}

TEST_F(AlarmListTest, ThePanelNamesTheLastMissedRinging) {
    storeAlarm(daily(L"Early", 5, 0), true);
    AlarmStore store;
    TimeTexts texts{[this](const SystemTime& t) { return app_->timeText(t); },
                    [this](const SystemTime& t) { return app_->dateText(t); }};
    std::vector<MissedAlarm> missed = {{L"early", false, localAt(2026, 12, 6, 5, 0), 0},
                                       {L"Other", false, localAt(2026, 12, 7, 5, 0), 0},
                                       {L"EARLY", true, localAt(2026, 12, 7, 5, 5), 0}};
    AlarmDetail detail = alarmDetail(store, 2, deviceLocalTime(), missed, texts);
    ASSERT_FALSE(detail.lines.empty());
    EXPECT_EQ(detail.lines.back(), L"Expired : " + app_->dateText(localAt(2026, 12, 7, 0, 0)) +
                                       L" " + app_->timeText(localAt(2026, 12, 7, 5, 5)));
    AlarmDetail none = alarmDetail(store, 2, deviceLocalTime(), {}, texts);
    EXPECT_EQ(none.lines.back(), L"Set in device time");
}

}  // namespace
}  // namespace alarms::test
