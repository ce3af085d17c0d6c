// The calendar program's command line as other programs start it, and the times its form
// takes; every other line is refused.

#include <gtest/gtest.h>

#include "programs/poutlook/calendar_command.h"

using namespace poutlook;

namespace {

const platform::SystemTime kToday{2027, 3, 0, 28, 14, 35, 10, 0};

}  // namespace

TEST(CalendarCommand, DayAndNewAppointmentForms) {
    auto view = parseCalendarCommand(L"calendar -va -d 20270308", kToday);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->view, CalendarView::Day);
    EXPECT_EQ(view->date.year, 2027);
    EXPECT_EQ(view->date.month, 3);
    EXPECT_EQ(view->date.day, 8);
    EXPECT_EQ(view->date.dayOfWeek, 1);  // a Monday
    EXPECT_EQ(view->date.hour, 0);

    auto fresh = parseCalendarCommand(L"calendar  -new   -d 20280229", kToday);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->view, CalendarView::NewAppointment);
    EXPECT_EQ(fresh->date.day, 29);
    EXPECT_TRUE(parseCalendarCommand(L"calendar -d 20270308 -new", kToday));

    // Nothing, or the bare word, is today's list from midnight.
    for (const wchar_t* line : {L"", L"calendar", L"   "}) {
        auto today = parseCalendarCommand(line, kToday);
        ASSERT_TRUE(today) << line;
        EXPECT_EQ(today->view, CalendarView::Day);
        EXPECT_EQ(today->date.day, 28);
        EXPECT_EQ(today->date.hour, 0);
        EXPECT_EQ(today->date.minute, 0);
    }
}

TEST(CalendarCommand, MalformedLinesAreRefused) {
    for (const wchar_t* line : {
             L"calendar -va -d 20270230",       // no such day
             L"calendar -va -d 2027030",        // seven digits
             L"calendar -va -d 202703081",      // nine
             L"calendar -va -d 2027-03-08",     // not the agreed form
             L"calendar -va -d",                // no date
             L"calendar -va -new -d 20270308",  // two views
             L"calendar -d 20270308 -d 20270309",
             L"calendar -vb -d 20270308",
             L"agenda -va -d 20270308",
             L"calendar -va -d 16000101",       // before the calendar's range
             L"calendar -va -d 2027031\u0663",  // a digit of another script
             L"calendar -va -d 20271300",
         }) {
        EXPECT_FALSE(parseCalendarCommand(line, kToday)) << line;
    }
    std::wstring longLine = L"calendar -va -d 20270308" + std::wstring(kMaxCommandLine, L' ');
    EXPECT_FALSE(parseCalendarCommand(longLine, kToday));
}

TEST(CalendarCommand, FormTimes) {
    EXPECT_EQ(parseClockTime(L"09:00"), 540);
    EXPECT_EQ(parseClockTime(L"9:05"), 545);
    EXPECT_EQ(parseClockTime(L"23:59"), 1439);
    EXPECT_EQ(parseClockTime(L"00:00"), 0);
    for (const wchar_t* bad : {L"24:00", L"12:60", L"1200", L":30", L"123:00", L"12:5", L"12:5x",
                               L"", L"-1:00", L"12:000"}) {
        EXPECT_FALSE(parseClockTime(bad)) << bad;
    }
}

TEST(CalendarCommand, ShowOneAppointment) {
    auto shown = parseCalendarCommand(L"calendar -show 42", kToday);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->view, CalendarView::Appointment);
    EXPECT_EQ(shown->appointment, 42u);
    auto largest = parseCalendarCommand(L"calendar -show 2147483647", kToday);
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->appointment, 2147483647u);
    for (const wchar_t* line : {
             L"calendar -show",      // no id
             L"calendar -show 0",    // never an id
             L"calendar -show 042",  // not the form ids are written in
             L"calendar -show -3",
             L"calendar -show 2147483648",   // beyond the largest id
             L"calendar -show 99999999999",  // more digits than any id
             L"calendar -show 12a",
             L"calendar -show 4 -d 20270308",  // a day does not go with one appointment
             L"calendar -va -show 4",          // two views
             L"calendar -show 4 -show 5",
         }) {
        EXPECT_FALSE(parseCalendarCommand(line, kToday)) << line;
    }
}
