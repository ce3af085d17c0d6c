// The alarm record: the stored text forms of dates and times, a row read and written back,
// and the choices stored with an alarm (ringing time, snooze).

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "alarms/alarm_record.h"
#include "core/record_table.h"

using namespace alarms;

TEST(AlarmTextForms, DatesAndTimesAreWrittenWithoutLeadingZeros) {
    EXPECT_EQ(dateText({4, 1, 2027}), L"4:1:2027");
    EXPECT_EQ(dateText({31, 12, 1999}), L"31:12:1999");
    EXPECT_EQ(clockText({7, 5}), L"7:5");
    EXPECT_EQ(clockText({0, 0}), L"0:0");
}

TEST(AlarmTextForms, ReadingKeepsWhatAMissingPieceDoesNotName) {
    AlarmDate date{9, 9, 2009};
    EXPECT_TRUE(readDateText(L"4:1:2027", date));
    EXPECT_EQ(date, (AlarmDate{4, 1, 2027}));
    // Only the pieces that are there change.
    EXPECT_TRUE(readDateText(L"15:3", date));
    EXPECT_EQ(date, (AlarmDate{15, 3, 2027}));
    // One character or less is not read at all: "0" is the store's "nothing".
    EXPECT_FALSE(readDateText(L"0", date));
    EXPECT_FALSE(readDateText(L"", date));
    EXPECT_EQ(date, (AlarmDate{15, 3, 2027}));

    AlarmClock clock{1, 1};
    EXPECT_TRUE(readClockText(L"23:59", clock));
    EXPECT_EQ(clock, (AlarmClock{23, 59}));
    EXPECT_TRUE(readClockText(L"12", clock));
    EXPECT_EQ(clock, (AlarmClock{12, 59}));
    // A piece that is not a number reads as 0; an enormous one is held to the int range.
    EXPECT_TRUE(readClockText(L"x:99999999999999", clock));
    EXPECT_EQ(clock.hour, 0);
    EXPECT_EQ(clock.minute, 2147483647);
}

TEST(AlarmRows, ARecordSurvivesBeingWrittenAndReadBack) {
    AlarmRecord r;
    r.name = L"Morning";
    r.message = L"Time to get up!";
    r.city = L"Tokyo";
    r.soundName = L"alarm1.wav";
    r.kind = RepeatKind::Custom;
    r.timeOfDayMs = 7 * 3600000 + 30 * 60000 + 15000;
    r.dayMask = dayBit::Monday | dayBit::Sunday;
    r.startDate = {29, 2, 2028};
    r.dayOfMonth = 31;
    r.month = 12;
    r.volume = 7;
    r.ringTime = 3;
    r.snooze = 5;
    r.handle = 4000000000u;
    r.armedDate = AlarmDate{1, 3, 2028};
    r.armedTime = AlarmClock{7, 30};
    r.soundPath = L"\\My Ringtones\\alarm1.wav";
    r.zone = 34;

    core::RecordTable table(1);
    int row = table.appendRow();
    ASSERT_TRUE(writeAlarmRecord(table, row, r));
    EXPECT_EQ(table.columnCount(), alarmField::Count);
    EXPECT_EQ(table.fieldText(row, alarmField::Reserved), L"0");
    EXPECT_EQ(table.fieldText(row, alarmField::StartDate), L"29:2:2028");
    EXPECT_EQ(table.fieldText(row, alarmField::ArmedTime), L"7:30");
    EXPECT_EQ(table.fieldText(row, alarmField::TimeOfDay), L"27015000");

    AlarmRecord back = readAlarmRecord(table, row);
    EXPECT_EQ(back.name, r.name);
    EXPECT_EQ(back.city, r.city);
    EXPECT_EQ(back.kind, r.kind);
    EXPECT_EQ(back.timeOfDayMs, r.timeOfDayMs);
    EXPECT_EQ(back.dayMask, r.dayMask);
    EXPECT_EQ(back.startDate, r.startDate);
    EXPECT_EQ(back.dayOfMonth, 31);
    EXPECT_EQ(back.month, 12);
    EXPECT_EQ(back.volume, 7);
    EXPECT_EQ(back.ringTime, 3);
    EXPECT_EQ(back.snooze, 5);
    EXPECT_EQ(back.handle, 4000000000u);
    EXPECT_EQ(back.armedDate, r.armedDate);
    EXPECT_EQ(back.armedTime, r.armedTime);
    EXPECT_EQ(back.soundPath, r.soundPath);
    EXPECT_EQ(back.zone, 34);
    EXPECT_EQ(back.hour(), 7);
    EXPECT_EQ(back.minute(), 30);
    EXPECT_EQ(back.second(), 15);

    // Not armed: the store writes "0" for the handle and the occurrence.
    back.handle = 0;
    back.armedDate.reset();
    back.armedTime.reset();
    writeAlarmRecord(table, row, back);
    EXPECT_EQ(table.fieldText(row, alarmField::Handle), L"0");
    EXPECT_EQ(table.fieldText(row, alarmField::ArmedDate), L"0");
    AlarmRecord off = readAlarmRecord(table, row);
    EXPECT_FALSE(off.armedDate);
    EXPECT_FALSE(off.armedTime);
    EXPECT_FALSE(armedOccurrence(off));
}

TEST(AlarmRows, TextThatWouldBreakTheRowApartIsDropped) {
    core::RecordTable table(alarmField::Count);
    int row = table.appendRow();
    AlarmRecord r;
    r.name = L"a~b\"c\nd\re";
    r.message = L"line one\nline two ~ with \"quotes\"";
    writeAlarmRecord(table, row, r);
    EXPECT_EQ(table.fieldText(row, alarmField::Name), L"abcde");
    EXPECT_EQ(table.fieldText(row, alarmField::Message), L"line oneline two  with quotes");
    EXPECT_EQ(table.fieldText(row, alarmField::City), L"9999");
    // A city of nothing but such characters is the device's own time, not an empty field.
    r.city = L"\r\n";
    writeAlarmRecord(table, row, r);
    EXPECT_EQ(table.fieldText(row, alarmField::City), L"9999");
}

TEST(AlarmRows, ShortAndDamagedRowsReadAsHarmlessValues) {
    core::RecordTable table(alarmField::Count);
    int row = table.appendRow();
    table.setField(row, alarmField::Name, L"Old");
    table.setField(row, alarmField::Kind, L"banana");
    table.setField(row, alarmField::Handle, L"99999999999999999999");
    table.setField(row, alarmField::ArmedDate, L"45:13:2027");
    table.setField(row, alarmField::ArmedTime, L"7:0");
    AlarmRecord r = readAlarmRecord(table, row);
    EXPECT_EQ(r.name, L"Old");
    EXPECT_EQ(static_cast<int>(r.kind), 0);
    EXPECT_FALSE(isRepeating(r.kind));
    // A handle beyond 32 bits names no notification.
    EXPECT_EQ(r.handle, 0u);
    // A stored occurrence that is no date is no base for the repeat search.
    EXPECT_FALSE(armedOccurrence(r));
    EXPECT_FALSE(startDateTime(r));

    // A row of an older store without field 19 keeps the device's own time.
    core::RecordTable old(1);
    old.appendRow();
    old.setField(1, 1, L"Legacy");
    EXPECT_EQ(readAlarmRecord(old, 1).zone, kDeviceZone);
}

TEST(AlarmRows, StartDateTimeJoinsTheTimeOfDayAndTheStartDate) {
    AlarmRecord r;
    r.timeOfDayMs = 23 * 3600000 + 59 * 60000 + 59000;
    r.startDate = {29, 2, 2028};
    auto t = startDateTime(r);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 2028);
    EXPECT_EQ(t->day, 29);
    EXPECT_EQ(t->hour, 23);
    EXPECT_EQ(t->second, 59);
    EXPECT_EQ(t->dayOfWeek, 2);  // a Tuesday
    r.startDate = {29, 2, 2027};
    EXPECT_FALSE(startDateTime(r));
    r.startDate = {1, 1, 2027};
    r.timeOfDayMs = 24 * 3600000;
    EXPECT_FALSE(startDateTime(r));
}

TEST(AlarmChoices, RingingTimeAndSnoozeFollowTheirLists) {
    EXPECT_EQ(ringingSeconds(1), 600);
    EXPECT_EQ(ringingSeconds(2), 30);
    EXPECT_EQ(ringingSeconds(3), 60);
    EXPECT_EQ(ringingSeconds(4), 120);
    EXPECT_EQ(ringingSeconds(5), 300);
    EXPECT_EQ(ringingSeconds(0), 600);
    EXPECT_EQ(ringingSeconds(-3), 600);
    // The snooze list reads "1 minute", "5 minutes", "10", "15", "30 minutes".
    EXPECT_EQ(snoozeMinutes(1), 1);
    EXPECT_EQ(snoozeMinutes(2), 5);
    EXPECT_EQ(snoozeMinutes(3), 10);
    EXPECT_EQ(snoozeMinutes(4), 15);
    EXPECT_EQ(snoozeMinutes(5), 30);
    EXPECT_EQ(snoozeMinutes(0), 5);
    EXPECT_EQ(snoozeMinutes(99), 5);
}

TEST(AlarmChoices, WeekdayBitsStartOnMonday) {
    EXPECT_EQ(dayBitOfWeekday(0), dayBit::Sunday);
    EXPECT_EQ(dayBitOfWeekday(1), dayBit::Monday);
    EXPECT_EQ(dayBitOfWeekday(5), dayBit::Friday);
    EXPECT_EQ(dayBitOfWeekday(6), dayBit::Saturday);
    EXPECT_EQ(dayBitOfWeekday(7), 0);
    EXPECT_EQ(dayBitOfWeekday(-1), 0);
}

TEST(AlarmChoices, SnoozeMinutesAreWhatTheSnoozeListSays) {
    // Strings 67 to 71 of each language file name the snooze choices 1 to 5; the number each
    // starts with is the interval the alarm program must use.
    for (const char* language : {"0409", "0407"}) {
        std::ifstream in(std::string(VORN_SOURCE_DIR) + "/data/lang/lang." + language + ".mui.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        ASSERT_GT(lines.size(), 71u) << language;
        // Line N (from 1) holds string N.
        for (int choice = 1; choice <= 5; ++choice) {
            const std::string& label = lines[static_cast<std::size_t>(65 + choice)];
            EXPECT_EQ(snoozeMinutes(choice), std::stoi(label)) << language << ": " << label;
        }
    }
}
