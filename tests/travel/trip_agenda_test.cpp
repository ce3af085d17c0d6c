// The agenda of a trip: events in time order across midnight, headings before each date,
// today and tomorrow named, texts by kind, and Julian days that are the astronomers' ones.

#include <gtest/gtest.h>

#include <string>

#include "platform/api/clock.h"
#include "platform/api/locale.h"
#include "tests/platform/support/test_device.h"
#include "tests/travel/support/english_texts.h"
#include "travel/trip_agenda.h"
#include "travel/trip_time.h"

using namespace travel;
using travel::test::at;

namespace {

TripEntry entry(EntryKind kind, platform::SystemTime start, platform::SystemTime end,
                std::wstring title) {
    TripEntry e;
    e.kind = kind;
    e.start = start;
    e.end = end;
    e.setText(5, title);
    return e;
}

std::wstring longDate(int year, int month, int day) {
    return platform::formatDate(at(year, month, day), platform::longDatePicture()).value_or(L"?");
}

class Agenda : public ::testing::Test {
  protected:
    void SetUp() override { platform::test::useTestDevice(); }
    TextSource texts = travel::test::englishTexts();
    AirlineCodes airlines;
};

}  // namespace

TEST_F(Agenda, JulianDaysAreTheAstronomersOnes) {
    EXPECT_DOUBLE_EQ(julianDay(at(2000, 1, 1, 12)), 2451545.0);
    EXPECT_DOUBLE_EQ(julianDay(at(1999, 1, 1, 0)), 2451179.5);
    EXPECT_DOUBLE_EQ(julianDay(at(1987, 6, 19, 12)), 2446966.0);
    EXPECT_EQ(julianDayText(julianDay(at(2030, 5, 1, 9, 5))), L"2462622.878472");
    // Back from a Julian day, rounded to the second.
    platform::SystemTime noon = at(2030, 5, 1, 9, 5);
    EXPECT_EQ(fromJulianDay(julianDay(noon)), noon);
    EXPECT_EQ(fromJulianDay(2451545.0), at(2000, 1, 1, 12));
    auto launch = fromJulianDay(2436116.31);  // 4 October 1957, 19:26:24
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->day, 4);
    EXPECT_EQ(launch->hour, 19);
    EXPECT_EQ(launch->minute, 26);
    EXPECT_EQ(launch->second, 24);
    EXPECT_FALSE(fromJulianDay(0.0));
    EXPECT_FALSE(fromJulianDay(1.0 / 0.0));
}

TEST_F(Agenda, EventsAreOrderedAcrossMidnightWithHeadings) {
    Trip trip;
    trip.name = L"Tokyo";
    // Entered out of order; the flight leaves late in the evening and lands the next morning
    // (local times of each place, as the traveller reads them on the ticket).
    trip.entries = {
        entry(EntryKind::Hotel, at(2030, 5, 2, 15), at(2030, 5, 4, 10), L"Park Inn"),
        entry(EntryKind::Flight, at(2030, 5, 1, 22, 30), at(2030, 5, 2, 7, 15), L"101"),
        entry(EntryKind::Note, at(2030, 5, 1, 8), at(2030, 5, 1, 8), L"Pack"),
    };
    trip.entries[0].reminder = 15;
    const auto rows = buildAgenda(trip, at(2030, 5, 1, 6), airlines, texts);
    std::vector<std::pair<int, std::wstring>> got;
    for (const auto& r : rows) got.emplace_back(r.entry, r.isHeading() ? r.text : r.time);
    const std::vector<std::pair<int, std::wstring>> expected{
        {0, L"Today, " + longDate(2030, 5, 1)},
        {3, L"08:00"},
        {2, L"22:30"},
        {0, L"Tomorrow, " + longDate(2030, 5, 2)},
        {2, L"07:15"},
        {1, L"15:00"},
        {0, longDate(2030, 5, 4)},
        {1, L"10:00"},
    };
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(rows[5].reminder);
    EXPECT_FALSE(rows[4].reminder);
    EXPECT_TRUE(rows[4].isEnd);
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(rows[i - 1].julian, rows[i].julian);
}

TEST_F(Agenda, EventsOfTheSameMinuteKeepTheOrderOfTheirEntries) {
    Trip trip;
    for (int i = 0; i < 5; ++i)
        trip.entries.push_back(entry(EntryKind::Note, at(2030, 7, 1, 9), at(2030, 7, 1, 9),
                                     L"n" + std::to_wstring(i)));
    trip.entries.push_back(entry(EntryKind::Note, at(2030, 7, 1, 8, 59), at(2030, 7, 1, 9), L"x"));
    const auto rows = buildAgenda(trip, at(2030, 1, 1), airlines, texts);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1].entry, 6);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i) + 2].entry, i + 1);
}

TEST_F(Agenda, TheDeviceZoneDoesNotMoveTheEvents) {
    Trip trip;
    trip.entries = {entry(EntryKind::Flight, at(2030, 3, 30, 23, 50), at(2030, 3, 31, 6, 0), L"9"),
                    entry(EntryKind::Meeting, at(2030, 3, 31, 1, 0), at(2030, 3, 31, 2), L"M")};
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/London"));
    const auto london = agendaTable(buildAgenda(trip, at(2030, 3, 30), airlines, texts));
    ASSERT_TRUE(platform::setDeviceTimeZone("Asia/Tokyo"));
    const auto tokyo = agendaTable(buildAgenda(trip, at(2030, 3, 30), airlines, texts));
    ASSERT_EQ(london.rowCount(), tokyo.rowCount());
    for (int r = 1; r <= london.rowCount(); ++r)
        for (int c = 1; c <= 7; ++c) EXPECT_EQ(london.fieldText(r, c), tokyo.fieldText(r, c));
    // 23:50, then the next day's 01:00 meeting before the flight lands at 06:00.
    EXPECT_EQ(london.fieldText(2, 3), L"23:50");
    EXPECT_EQ(london.fieldInt(3, 2), kDayHeadingKind);
    EXPECT_EQ(london.fieldText(4, 3), L"01:00");
    EXPECT_EQ(london.fieldText(6, 3), L"06:00");
}

TEST_F(Agenda, TextsFollowTheKindAndTheAirlineTable) {
    airlines.add(L"Vorn Air", L"VR");
    TripEntry f = entry(EntryKind::Flight, at(2030, 5, 1, 9), at(2030, 5, 1, 11), L"123");
    f.setText(8, L"LHR");
    f.setText(9, L"Vorn Air");
    f.setText(10, L"T5");
    f.setText(11, L"LIS");
    f.setText(12, L"T1");
    f.startAppointment = 7;
    TripEntry unknownAirline = f;
    unknownAirline.setText(9, L"ZZ");
    TripEntry car = entry(EntryKind::Car, at(2030, 5, 2, 9), at(2030, 5, 3, 9), L"Golf");
    car.setText(8, L"Airport");
    car.setText(9, L"Station");
    car.startAppointment = 3;
    car.endAppointment = 4;
    TripEntry meeting = entry(EntryKind::Meeting, at(2030, 5, 4, 9), at(2030, 5, 4, 10), L"Q3");
    meeting.setText(8, L"HQ");
    meeting.setText(9, L"Main St 1");
    meeting.setText(10, L"Ana");
    Trip trip;
    trip.entries = {f, unknownAirline, car, meeting};
    auto table = agendaTable(buildAgenda(trip, at(2030, 1, 1), airlines, texts));
    std::vector<std::wstring> events;
    for (int r = 1; r <= table.rowCount(); ++r)
        if (table.fieldInt(r, 2) != kDayHeadingKind)
            events.emplace_back(table.fieldText(r, 4));
    const std::vector<std::wstring> expected{
        L"Flight VR123 departs LHR T5", L"Flight ZZ123 departs LHR T5",
        L"Flight VR123 arrives LIS T1", L"Flight ZZ123 arrives LIS T1",
        L"Pick up Golf at Airport",     L"Return Golf at Station",
        L"Q3 at HQ, Main St 1",         L"Ends Ana",
    };
    EXPECT_EQ(events, expected);
    // Seven fields: entry, kind, time, text, reminder flag, Julian day, appointment; a flight's
    // end event shows the start appointment, a car's its own.
    EXPECT_EQ(table.fieldText(2, 1), L"1");
    EXPECT_EQ(table.fieldText(2, 2), L"1");
    EXPECT_EQ(table.fieldText(2, 5), L"0");
    EXPECT_EQ(table.fieldText(2, 6), julianDayText(julianDay(at(2030, 5, 1, 9))));
    EXPECT_EQ(table.fieldText(2, 7), L"7");
    EXPECT_EQ(table.fieldText(4, 7), L"7");
    EXPECT_EQ(table.fieldText(7, 7), L"3");
    EXPECT_EQ(table.fieldText(9, 7), L"4");
}
