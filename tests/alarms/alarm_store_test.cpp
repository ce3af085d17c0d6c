// The alarm store: arming, disarming, skipping and removing alarms with their notifications,
// the editor's saves, the alarm program's re-arm, two programs writing one store, the next
// alarm and the alarms that were missed while the device was off.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "alarms/alarm_store.h"
#include "core/settings.h"
#include "platform/api/notifications.h"
#include "tests/alarms/support/alarm_test_support.h"
#include "worldtime/zones.h"

namespace fs = std::filesystem;
using namespace alarms;
using alarms::test::alarmAt;
using alarms::test::at;
using alarms::test::setDeviceLocalTime;
using alarms::test::text;

namespace {

constexpr int kTokyo = 34;

class AlarmStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { alarms::test::prepareDevice(); }

    static std::optional<platform::NotificationRecord> notificationOf(
        platform::NotificationHandle handle) {
        return platform::userNotification(handle);
    }
    static std::string startOf(platform::NotificationHandle handle) {
        auto n = notificationOf(handle);
        return n ? text(n->start) : "none";
    }
    static std::string storeText() {
        std::ifstream in(alarms::test::storeFile(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

}  // namespace

TEST_F(AlarmStoreTest, ANewDailyAlarmIsArmedWithItsNotificationAndStored) {
    setDeviceLocalTime(at(2027, 1, 4, 6, 59));
    AlarmStore store;
    EXPECT_EQ(store.rowCount(), 0);
    ASSERT_EQ(store.addNew(alarmAt(L"Morning", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    EXPECT_EQ(store.current(), 1);
    platform::NotificationHandle h = store.handle();
    ASSERT_NE(h, 0u);
    auto n = notificationOf(h);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->application, L"\\windows\\vornalarms.exe");
    EXPECT_EQ(n->arguments, L"/ALARM Morning");
    EXPECT_EQ(n->kind, platform::NotificationKind::Time);
    EXPECT_EQ(text(n->start), "2027-01-04 07:00:00");
    EXPECT_TRUE(store.isArmed());
    EXPECT_EQ(text(*store.armedStart()), "2027-01-04 07:00:00");

    // The file: UTF-8 with its mark, 19 fields, the armed occurrence in fields 16 and 17.
    std::string file = storeText();
    EXPECT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(file.substr(3),
              "Morning~Wake up~9999~alarm1.wav~2~25200000~17~4:1:2027~1~1~1~1~2~0~" +
                  std::to_string(h) +
                  "~4:1:2027~7:0~\\Program Files\\Vorn Roamer\\sounds\\alarm1.wav~-1");

    // Another program reads the same.
    AlarmStore other;
    ASSERT_TRUE(other.select(L"MORNING"));
    EXPECT_EQ(other.name(), L"Morning");
    EXPECT_EQ(other.repeatKind(), RepeatKind::Daily);
    EXPECT_FALSE(other.cityName());
}

TEST_F(AlarmStoreTest, ArmedAtItsExactMinuteADailyAlarmRingsTomorrow) {
    setDeviceLocalTime(at(2027, 1, 4, 7, 0));
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Morning", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    EXPECT_EQ(startOf(store.handle()), "2027-01-05 07:00:00");
}

TEST_F(AlarmStoreTest, SkipOrOffSkipsARepeatingAlarmAndSwitchesAOneOffOff) {
    setDeviceLocalTime(at(2027, 1, 4, 8, 0));
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Daily", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    platform::NotificationHandle first = store.handle();
    EXPECT_EQ(startOf(first), "2027-01-05 07:00:00");
    EXPECT_EQ(store.skipOrOff(), ArmResult::Armed);
    EXPECT_EQ(startOf(store.handle()), "2027-01-06 07:00:00");
    EXPECT_EQ(platform::userNotificationSize(first), 0u);
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);

    AlarmRecord once = alarmAt(L"Once", RepeatKind::Once, 9, 30);
    once.startDate = {5, 1, 2027};
    ASSERT_EQ(store.addNew(once), EditResult::Saved);
    platform::NotificationHandle onceHandle = store.handle();
    EXPECT_EQ(startOf(onceHandle), "2027-01-05 09:30:00");
    EXPECT_EQ(store.skipOrOff(), ArmResult::Off);
    EXPECT_EQ(store.handle(), 0u);
    EXPECT_FALSE(store.isArmed());
    EXPECT_EQ(platform::userNotificationSize(onceHandle), 0u);
    // Disarming keeps the occurrence that was armed.
    EXPECT_EQ(store.record().armedDate, (AlarmDate{5, 1, 2027}));
}

TEST_F(AlarmStoreTest, AOneOffAlarmInThePastOrWithoutOccurrenceIsStoredUnarmed) {
    setDeviceLocalTime(at(2027, 1, 4, 8, 0));
    AlarmStore store;
    AlarmRecord past = alarmAt(L"Past", RepeatKind::Once, 7, 59);
    past.startDate = {4, 1, 2027};
    EXPECT_EQ(store.addNew(past), EditResult::SavedUnarmed);
    EXPECT_EQ(store.handle(), 0u);
    AlarmRecord noDays = alarmAt(L"NoDays", RepeatKind::Weekly, 7, 0);
    noDays.dayMask = 0;
    EXPECT_EQ(store.addNew(noDays), EditResult::SavedUnarmed);
    EXPECT_EQ(store.lastRepeatStatus(), RepeatStatus::Exhausted);
    EXPECT_EQ(store.record().armedDate, std::nullopt);
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_EQ(store.rowCount(), 2);
}

TEST_F(AlarmStoreTest, AStoreThatCannotBeWrittenLeavesNoNotificationBehind) {
    // Something that is not a file stands where the store belongs.
    fs::create_directories(alarms::test::storeFile());
    AlarmStore store;
    EXPECT_EQ(store.addNew(alarmAt(L"Morning", RepeatKind::Daily, 7, 0)), EditResult::NotSaved);
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_TRUE(fs::is_directory(alarms::test::storeFile()));
}

TEST_F(AlarmStoreTest, RemovingTheLastAlarmDeletesTheStoreAndItsNotification) {
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"A", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"B", RepeatKind::Daily, 8, 0)), EditResult::Saved);
    ASSERT_TRUE(store.select(L"a"));
    EXPECT_TRUE(store.remove());
    EXPECT_EQ(store.rowCount(), 1);
    EXPECT_TRUE(fs::exists(alarms::test::storeFile()));
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);
    ASSERT_TRUE(store.select(L"B"));
    EXPECT_TRUE(store.remove());
    EXPECT_FALSE(fs::exists(alarms::test::storeFile()));
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    // Nothing selected: nothing to remove.
    EXPECT_FALSE(store.remove());
}

TEST_F(AlarmStoreTest, NamesAreUniqueIgnoringCaseAndMustFitTheStore) {
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Gym", RepeatKind::Daily, 6, 0)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"Work", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    EXPECT_EQ(store.addNew(alarmAt(L"gYM", RepeatKind::Daily, 9, 0)), EditResult::DuplicateName);
    EXPECT_EQ(store.addNew(alarmAt(L"", RepeatKind::Daily, 9, 0)), EditResult::InvalidName);
    EXPECT_EQ(store.addNew(alarmAt(L"   ", RepeatKind::Daily, 9, 0)), EditResult::InvalidName);
    EXPECT_EQ(store.addNew(alarmAt(L"a~b", RepeatKind::Daily, 9, 0)), EditResult::InvalidName);
    EXPECT_EQ(store.addNew(alarmAt(std::wstring(101, L'x'), RepeatKind::Daily, 9, 0)),
              EditResult::InvalidName);
    EXPECT_EQ(store.rowCount(), 2);

    // Editing may keep the name (in another case) but not take another alarm's.
    ASSERT_TRUE(store.select(L"Work"));
    AlarmRecord edited = store.record();
    edited.name = L"GYM";
    EXPECT_EQ(store.saveEdited(edited), EditResult::DuplicateName);
    edited.name = L"WORK";
    edited.timeOfDayMs = 8 * 3600000;
    EXPECT_EQ(store.saveEdited(edited), EditResult::Saved);
    EXPECT_EQ(store.name(), L"WORK");
    EXPECT_EQ(platform::userNotification(store.handle())->arguments, L"/ALARM WORK");
    // The edited alarm's old notification is gone: one per alarm.
    EXPECT_EQ(platform::userNotificationHandles().size(), 2u);
}

TEST_F(AlarmStoreTest, TwoProgramsChangingDifferentAlarmsKeepBothChanges) {
    setDeviceLocalTime(at(2027, 1, 4, 8, 0));
    {
        AlarmStore setup;
        ASSERT_EQ(setup.addNew(alarmAt(L"First", RepeatKind::Daily, 7, 0)), EditResult::Saved);
        ASSERT_EQ(setup.addNew(alarmAt(L"Second", RepeatKind::Daily, 9, 0)), EditResult::Saved);
    }
    AlarmStore mainProgram;
    AlarmStore alarmProgram;
    ASSERT_TRUE(mainProgram.select(L"First"));
    // The alarm program rings "Second" and re-arms it for the day after...
    setDeviceLocalTime(at(2027, 1, 5, 9, 0, 20));
    ASSERT_EQ(alarmProgram.rearmAfterRinging(L"Second"), ArmResult::Armed);
    // ...while the main program, loaded before that, switches "First" off.
    EXPECT_TRUE(mainProgram.disarm());
    // A third program, and each of the two, see both changes.
    AlarmStore reader;
    ASSERT_TRUE(reader.select(L"First"));
    EXPECT_EQ(reader.handle(), 0u);
    ASSERT_TRUE(reader.select(L"Second"));
    EXPECT_EQ(startOf(reader.handle()), "2027-01-06 09:00:00");
    EXPECT_EQ(reader.record().armedDate, (AlarmDate{6, 1, 2027}));
    // New alarms added by each are both kept.
    EXPECT_EQ(mainProgram.addNew(alarmAt(L"Third", RepeatKind::Daily, 10, 0)), EditResult::Saved);
    EXPECT_EQ(alarmProgram.addNew(alarmAt(L"Fourth", RepeatKind::Daily, 11, 0)), EditResult::Saved);
    reader.reload();
    EXPECT_EQ(reader.rowCount(), 4);
    // No notification is left without its alarm.
    EXPECT_EQ(platform::userNotificationHandles().size(), 3u);
    // One program adding a name the other just added is refused.
    EXPECT_EQ(mainProgram.addNew(alarmAt(L"fourth", RepeatKind::Daily, 12, 0)),
              EditResult::DuplicateName);
    // An alarm deleted by one program is gone for the other's change.
    ASSERT_TRUE(alarmProgram.select(L"Third"));
    ASSERT_TRUE(mainProgram.select(L"Third"));
    EXPECT_TRUE(mainProgram.remove());
    EXPECT_EQ(alarmProgram.arm(), ArmResult::NoAlarm);
    reader.reload();
    EXPECT_EQ(reader.rowCount(), 3);
}

TEST_F(AlarmStoreTest, RingingReArmsARepeatingAlarmAtItsOwnTimeAndTurnsAOneOffOff) {
    setDeviceLocalTime(at(2027, 1, 4, 6, 0));
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Daily", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    AlarmRecord once = alarmAt(L"Once", RepeatKind::Once, 7, 0);
    once.startDate = {4, 1, 2027};
    ASSERT_EQ(store.addNew(once), EditResult::Saved);
    // The alarm program starts 20 minutes late (the device was busy): the alarm stays at 07:00.
    setDeviceLocalTime(at(2027, 1, 4, 7, 20, 3));
    AlarmStore ringing;
    EXPECT_EQ(ringing.rearmAfterRinging(L"daily"), ArmResult::Armed);
    EXPECT_EQ(startOf(ringing.handle()), "2027-01-05 07:00:00");
    EXPECT_EQ(ringing.rearmAfterRinging(L"Once"), ArmResult::Off);
    AlarmRecord off = ringing.record();
    EXPECT_EQ(off.handle, 0u);
    EXPECT_FALSE(off.armedDate);
    EXPECT_FALSE(off.armedTime);
    // An unknown name changes nothing.
    std::string before = storeText();
    EXPECT_EQ(ringing.rearmAfterRinging(L"Nobody"), ArmResult::NoAlarm);
    EXPECT_EQ(storeText(), before);
}

TEST_F(AlarmStoreTest, ACityAlarmIsReArmedInTheCitysTime) {
    // Tokyo 07:00 is 23:00 in Berlin until Berlin's clocks go forward, then 00:00.
    setDeviceLocalTime(at(2027, 3, 26, 12, 0));
    AlarmStore store;
    AlarmRecord r = alarmAt(L"Tokyo", RepeatKind::Daily, 7, 0);
    r.city = L"Tokyo";
    r.zone = kTokyo;
    ASSERT_EQ(store.addNew(r), EditResult::Saved);
    EXPECT_EQ(startOf(store.handle()), "2027-03-26 23:00:00");
    EXPECT_EQ(*store.cityName(), L"Tokyo");
    // The alarm program has not loaded the zone table; the store finds it through MainPath.
    worldtime::zoneTable().clear();
    ASSERT_TRUE(core::writeSetting(L"MainPath", L"\\Program Files\\Vorn Roamer\\"));
    setDeviceLocalTime(at(2027, 3, 27, 23, 0, 30));
    AlarmStore ringing;
    ASSERT_EQ(ringing.rearmAfterRinging(L"Tokyo"), ArmResult::Armed);
    EXPECT_EQ(startOf(ringing.handle()), "2027-03-29 00:00:00");
    store.reload();
    EXPECT_EQ(startOf(store.handle()), "2027-03-29 00:00:00");
}

TEST_F(AlarmStoreTest, TheNextAlarmIsTheEarliestArmedNotification) {
    setDeviceLocalTime(at(2027, 1, 4, 12, 0));
    AlarmStore store;
    EXPECT_EQ(store.nextAlarm(), 0);
    ASSERT_EQ(store.addNew(alarmAt(L"Late", RepeatKind::Daily, 22, 0)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"Soon", RepeatKind::Daily, 13, 0)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"AlsoSoon", RepeatKind::Daily, 13, 0)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"Tomorrow", RepeatKind::Daily, 11, 0)), EditResult::Saved);
    EXPECT_EQ(store.name(store.nextAlarm()), L"Soon");
    // A notification that is gone (cleared by another program) does not count.
    platform::clearUserNotification(store.handle(store.find(L"Soon")));
    EXPECT_EQ(store.name(store.nextAlarm()), L"AlsoSoon");
    EXPECT_FALSE(store.isArmed(store.find(L"Soon")));
    ASSERT_TRUE(store.select(L"AlsoSoon"));
    ASSERT_TRUE(store.disarm());
    EXPECT_EQ(store.name(store.nextAlarm()), L"Late");
}

TEST_F(AlarmStoreTest, AnAlarmDueWhileTheDeviceWasOffIsReportedMissed) {
    setDeviceLocalTime(at(2027, 1, 4, 6, 0));
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Early", RepeatKind::Daily, 6, 30)), EditResult::Saved);
    ASSERT_EQ(store.addNew(alarmAt(L"Later", RepeatKind::Daily, 7, 50)), EditResult::Saved);
    EXPECT_TRUE(missedAlarms().empty());
    // The device comes back at 08:00: "Early" is 90 minutes late (missed), "Later" 10 (late).
    setDeviceLocalTime(at(2027, 1, 4, 8, 0));
    auto runs = platform::runDueNotifications();
    ASSERT_EQ(runs.size(), 2u);
    auto missed = missedAlarms();
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_EQ(missed[0].name, L"Early");
    EXPECT_FALSE(missed[0].snooze);
    EXPECT_EQ(text(missed[0].due), "2027-01-04 06:30:00");
    // Both notifications fired and are gone; the store still names them until re-armed.
    EXPECT_FALSE(store.isArmed(store.find(L"Early")));
    EXPECT_EQ(store.rearmAfterRinging(L"Early"), ArmResult::Armed);
    EXPECT_EQ(startOf(store.handle()), "2027-01-05 06:30:00");
}

TEST_F(AlarmStoreTest, ADamagedStoreLoadsWhatItCanAndKeepsTheRest) {
    fs::path file = alarms::test::storeFile();
    std::ofstream(file, std::ios::binary)
        << "\xEF\xBB\xBF"
        << "\"Quoted\"~msg~9999~s~2~25200000\n"
        << "Short\n"
        << "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n"
        << "Bad~m~9999~s~9~notanumber~x~99:99:99999~0~0~0~0~0~0~123456~x~y~z~abc";
    AlarmStore store;
    EXPECT_EQ(store.rowCount(), 4);
    ASSERT_TRUE(store.select(L"Quoted"));
    EXPECT_EQ(store.repeatKind(), RepeatKind::Daily);
    EXPECT_EQ(store.arm(), ArmResult::Armed);
    ASSERT_TRUE(store.select(L"Bad"));
    EXPECT_FALSE(store.isArmed());
    EXPECT_EQ(store.arm(), ArmResult::NoOccurrence);
    EXPECT_EQ(store.handle(), 0u);
    ASSERT_TRUE(store.select(L"Short"));
    EXPECT_EQ(store.arm(), ArmResult::NoOccurrence);
    store.reload();
    EXPECT_EQ(store.rowCount(), 4);
}
