// iCalendar files: what is written reads back as the same appointments, and a file another
// calendar wrote (time zones, all-day events, repeating events with exceptions, alarms)
// gives what the calendar can hold and says what it cannot.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/api/calendar_file.h"
#include "platform/api/clock.h"
#include "tests/platform/support/test_device.h"

using namespace platform;

namespace {

SystemTime at(int year, int month, int day, int hour = 0, int minute = 0) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(year, month, day));
    return t;
}

bool hasNote(const CalendarFileRead& read, std::string_view part) {
    return std::any_of(read.notes.begin(), read.notes.end(),
                       [&](const std::string& n) { return n.find(part) != std::string::npos; });
}

class CalendarFile : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        ASSERT_TRUE(setDeviceTimeZone("Europe/Berlin"));
    }
};

// As a desktop calendar writes it: its own zone definition under its own name, a zone named
// only by its database name, an all-day event over two days, a weekly meeting with one
// occurrence cancelled and one moved, and an alarm.
const char kForeignFile[] =
    "BEGIN:VCALENDAR\r\n"
    "VERSION:2.0\r\n"
    "PRODID:-//Example Corp.//Desktop Calendar 12//EN\r\n"
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Pacific Standard Time\r\n"
    "BEGIN:STANDARD\r\n"
    "DTSTART:16011104T020000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\n"
    "TZOFFSETFROM:-0700\r\n"
    "TZOFFSETTO:-0800\r\n"
    "END:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "DTSTART:16010311T020000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\n"
    "TZOFFSETFROM:-0800\r\n"
    "TZOFFSETTO:-0700\r\n"
    "END:DAYLIGHT\r\n"
    "END:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:call-1\r\n"
    "DTSTAMP:20300101T000000Z\r\n"
    "DTSTART;TZID=Pacific Standard Time:20300115T090000\r\n"
    "DTEND;TZID=Pacific Standard Time:20300115T100000\r\n"
    "SUMMARY:Call with Seattle\r\n"
    "LOCATION:Phone\\, bridge 2\r\n"
    "DESCRIPTION:Agenda:\\n1. Budget\\n2. Travel\r\n"
    "CATEGORIES:Work,Calls\r\n"
    "ATTENDEE;CN=Ana:mailto:ana@example.com\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:DISPLAY\r\n"
    "DESCRIPTION:Reminder\r\n"
    "TRIGGER:-PT15M\r\n"
    "END:VALARM\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:tokyo-1\r\n"
    "DTSTAMP:20300101T000000Z\r\n"
    "DTSTART;TZID=Asia/Tokyo:20300301T080000\r\n"
    "DURATION:PT2H\r\n"
    "SUMMARY:Tokyo breakfast\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:fair-1\r\n"
    "DTSTAMP:20300101T000000Z\r\n"
    "DTSTART;VALUE=DATE:20300410\r\n"
    "DTEND;VALUE=DATE:20300412\r\n"
    "SUMMARY:Book fair\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:weekly-1\r\n"
    "DTSTAMP:20300101T000000Z\r\n"
    "DTSTART;TZID=Europe/Berlin:20300107T100000\r\n"
    "DTEND;TZID=Europe/Berlin:20300107T103000\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=4\r\n"
    "EXDATE;TZID=Europe/Berlin:20300114T100000\r\n"
    "SUMMARY:Stand-up\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:weekly-1\r\n"
    "DTSTAMP:20300101T000000Z\r\n"
    "RECURRENCE-ID;TZID=Europe/Berlin:20300121T100000\r\n"
    "DTSTART;TZID=Europe/Berlin:20300121T140000\r\n"
    "DTEND;TZID=Europe/Berlin:20300121T143000\r\n"
    "SUMMARY:Stand-up (moved)\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VTODO\r\n"
    "UID:todo-1\r\n"
    "SUMMARY:Buy adapter\r\n"
    "END:VTODO\r\n"
    "END:VCALENDAR\r\n";

}  // namespace

TEST_F(CalendarFile, WrittenAppointmentsReadBackTheSame) {
    Appointment flight;
    flight.subject = L"Flight VR123; caf\u00e9, \u6771\u4eac";
    flight.start = at(2030, 5, 1, 9, 5);
    flight.end = at(2030, 5, 1, 11, 40);
    flight.location = L"LIS, Terminal 1";
    flight.note = L"Line one\nLine two; with \\ and \"quotes\"";
    flight.categories = L"Lisbon, Work";
    flight.reminderSet = true;
    flight.reminderMinutes = 45;
    Appointment checkIn;
    checkIn.subject = L"Hotel check-in: Casa Azul";
    checkIn.start = checkIn.end = at(2030, 10, 27, 2, 30);  // the hour the clocks go back
    Appointment holiday;
    holiday.subject = L"Holiday";
    holiday.allDay = true;
    holiday.start = at(2030, 8, 1);
    holiday.end = at(2030, 8, 3);
    const std::vector<Appointment> written{flight, checkIn, holiday};

    const std::string text = writeCalendarFile(written);
    EXPECT_NE(text.find("BEGIN:VCALENDAR"), std::string::npos);
    EXPECT_NE(text.find("DTSTART:20300501T070500Z"), std::string::npos) << text;
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20300801"), std::string::npos) << text;
    EXPECT_NE(text.find("TRIGGER:-PT45M"), std::string::npos) << text;

    const CalendarFileRead read = readCalendarFile(text);
    EXPECT_TRUE(read.isCalendar);
    EXPECT_EQ(read.appointments, written);
    EXPECT_TRUE(read.notes.empty()) << read.notes.front();
}

TEST_F(CalendarFile, AnotherCalendarsFileGivesWhatTheCalendarCanHold) {
    const CalendarFileRead read = readCalendarFile(kForeignFile);
    ASSERT_TRUE(read.isCalendar);
    std::vector<std::wstring> subjects;
    for (const auto& a : read.appointments) subjects.push_back(a.subject);
    const std::vector<std::wstring> expected{L"Call with Seattle", L"Tokyo breakfast",
                                             L"Book fair",         L"Stand-up",
                                             L"Stand-up",          L"Stand-up (moved)"};
    ASSERT_EQ(subjects, expected);

    // 09:00 in the file's own Pacific zone is 18:00 in Berlin.
    const Appointment& call = read.appointments[0];
    EXPECT_EQ(call.start, at(2030, 1, 15, 18));
    EXPECT_EQ(call.end, at(2030, 1, 15, 19));
    EXPECT_EQ(call.location, L"Phone, bridge 2");
    EXPECT_EQ(call.note, L"Agenda:\n1. Budget\n2. Travel");
    EXPECT_EQ(call.categories, L"Work, Calls");
    EXPECT_TRUE(call.reminderSet);
    EXPECT_EQ(call.reminderMinutes, 15);
    // 08:00 in Tokyo is midnight in Berlin; the length comes from DURATION.
    EXPECT_EQ(read.appointments[1].start, at(2030, 3, 1, 0));
    EXPECT_EQ(read.appointments[1].end, at(2030, 3, 1, 2));
    // All day over two days: midnight to midnight, flagged.
    const Appointment& fair = read.appointments[2];
    EXPECT_TRUE(fair.allDay);
    EXPECT_EQ(fair.start, at(2030, 4, 10));
    EXPECT_EQ(fair.end, at(2030, 4, 12));
    // Four weeks of stand-ups: the second cancelled, the fourth (21st) moved.
    EXPECT_EQ(read.appointments[3].start, at(2030, 1, 7, 10));
    EXPECT_EQ(read.appointments[4].start, at(2030, 1, 28, 10));
    EXPECT_EQ(read.appointments[4].end, at(2030, 1, 28, 10, 30));
    EXPECT_EQ(read.appointments[5].start, at(2030, 1, 21, 14));

    EXPECT_TRUE(hasNote(read, "repeating events")) << read.notes.size();
    EXPECT_TRUE(hasNote(read, "ATTENDEE"));
    EXPECT_TRUE(hasNote(read, "tasks"));
}

TEST_F(CalendarFile, HostileFilesAreBounded) {
    EXPECT_FALSE(readCalendarFile("").isCalendar);
    EXPECT_FALSE(readCalendarFile("hello, world").isCalendar);
    EXPECT_FALSE(readCalendarFile(std::string(kMaxCalendarFileBytes + 1, 'A')).isCalendar);

    // A rule without end stops after the bound.
    const std::string forever =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\n"
        "DTSTART:20300101T090000Z\r\nDTEND:20300101T091000Z\r\nRRULE:FREQ=DAILY\r\n"
        "SUMMARY:Every day\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const CalendarFileRead daily = readCalendarFile(forever);
    EXPECT_EQ(daily.appointments.size(), static_cast<std::size_t>(kMaxOccurrences));
    EXPECT_TRUE(hasNote(daily, "beyond the first"));

    // Events that end before they start, or have no start, are left out and said so.
    const std::string broken =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
        "BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:No start\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20300101T090000Z\r\nDTEND:20290101T090000Z\r\n"
        "SUMMARY:Backwards\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20300101T090000Z\r\nSUMMARY:" +
        std::string(400, 's') + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const CalendarFileRead bad = readCalendarFile(broken);
    ASSERT_TRUE(bad.isCalendar);
    ASSERT_EQ(bad.appointments.size(), 2u);
    EXPECT_EQ(bad.appointments[0].subject, L"Backwards");
    EXPECT_EQ(bad.appointments[0].end, bad.appointments[0].start);
    EXPECT_EQ(bad.appointments[1].subject.size(), kMaxAppointmentSubject);
    EXPECT_TRUE(hasNote(bad, "without a start"));
    EXPECT_TRUE(hasNote(bad, "cut"));
}

TEST_F(CalendarFile, AnAllDayEventWithoutAnEndLastsItsDay) {
    const CalendarFileRead read = readCalendarFile(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:d\r\n"
        "DTSTART;VALUE=DATE:20300409\r\nSUMMARY:Holiday\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:z\r\nDTSTART;VALUE=DATE:20300411\r\n"
        "DTEND;VALUE=DATE:20300411\r\nSUMMARY:Empty\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20300409T120000Z\r\nSUMMARY:Noon\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n");
    ASSERT_EQ(read.appointments.size(), 3u);
    EXPECT_TRUE(read.appointments[0].allDay);
    EXPECT_EQ(read.appointments[1].start, at(2030, 4, 11));
    EXPECT_EQ(read.appointments[1].end, at(2030, 4, 12));
    EXPECT_EQ(read.appointments[0].start, at(2030, 4, 9));
    EXPECT_EQ(read.appointments[0].end, at(2030, 4, 10));
    EXPECT_EQ(read.appointments[2].end, read.appointments[2].start);
    EXPECT_EQ(readCalendarFile(writeCalendarFile(read.appointments)).appointments,
              read.appointments);
}
