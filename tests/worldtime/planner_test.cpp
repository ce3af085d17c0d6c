// The meeting planner's grid: every column at each row's own moment, across daylight-saving
// changes in the device's zone and in a favourite's, the working-hour tint, the cell texts
// and the meeting a row books.

#include <gtest/gtest.h>

#include "core/record_table.h"
#include "core/time_text.h"
#include "platform/api/clock.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/planner.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::at;
using worldtime::test::kMainPath;
using worldtime::test::text;
using worldtime::test::ticks;

namespace {

class Planner : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"mycities.dat", "dstinfo.dat"});
        ASSERT_TRUE(loadZones(kMainPath));
    }
    void SetUp() override {
        favourites.clear();
        // London, New York City, Tokyo, Sydney, Paris.
        favourites.load(kMainPath, L"mycities.dat", L'~', true);
        ASSERT_EQ(favourites.rowCount(), 5);
    }
    // The local time of a column (0 the device) in a row (1..24), as text.
    static std::string cell(const PlannerGrid& grid, int column, int row) {
        return text(grid.columns.at(static_cast<std::size_t>(column))
                        .cells.at(static_cast<std::size_t>(row - 1))
                        .local);
    }
    core::RecordTable favourites{cityField::Count};
};

constexpr int kLondon = 1, kNewYork = 2, kTokyo = 3;

}  // namespace

TEST_F(Planner, GridHasADeviceColumnAndOnePerFavourite) {
    ASSERT_TRUE(platform::setDeviceTimeZone("UTC"));
    PlannerGrid grid = plannerGrid(favourites, at("2027-01-15T17:45"), ticks("2027-01-15T09:20"));
    ASSERT_EQ(grid.columns.size(), 6u);
    ASSERT_EQ(grid.utcTicks.size(), 24u);
    EXPECT_EQ(grid.columns[0].heading, L"");
    EXPECT_EQ(grid.columns[kNewYork].heading, L"New York City");
    EXPECT_EQ(grid.columns[5].heading, L"Paris");
    // The first row is the chosen day's midnight whatever time of day came with the date.
    EXPECT_EQ(cell(grid, 0, 1), "2027-01-15T00:00");
    EXPECT_EQ(cell(grid, 0, 24), "2027-01-15T23:00");
    EXPECT_EQ(cell(grid, kTokyo, 1), "2027-01-15T09:00");
    EXPECT_EQ(cell(grid, kNewYork, 1), "2027-01-14T19:00");
    EXPECT_EQ(grid.presentRow, 10);
    EXPECT_EQ(plannerGrid(favourites, at("2027-01-15"), ticks("2027-01-16T00:00")).presentRow, 0);

    // A city's heading stops at its first comma.
    favourites.setField(kTokyo, cityField::Name, L"Tokyo, Honshu");
    EXPECT_EQ(plannerHeading(favourites, kTokyo), L"Tokyo");

    platform::SystemTime invalid = at("2027-02-30");
    EXPECT_TRUE(plannerGrid(favourites, invalid, 0).columns.empty());
}

TEST_F(Planner, DaylightChangeInTheDeviceZoneMovesEveryLaterRow) {
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/London"));
    // The device clock stands in winter, so the offset of the present moment is 0; rows past
    // the spring change must use the summer offset all the same.
    platform::setDeviceUtcTime(static_cast<platform::FileTime>(ticks("2027-01-10T12:00")));
    PlannerGrid grid = plannerGrid(favourites, at("2027-03-28"), ticks("2027-01-10T12:00"));
    EXPECT_EQ(cell(grid, 0, 1), "2027-03-28T00:00");
    EXPECT_EQ(cell(grid, kTokyo, 1), "2027-03-28T09:00");
    // 01:00 is skipped: the second hour of the day is already 02:00 summer time.
    EXPECT_EQ(cell(grid, 0, 2), "2027-03-28T02:00");
    EXPECT_EQ(cell(grid, kTokyo, 2), "2027-03-28T10:00");
    // 15:00 in London is 23:00 in Tokyo that day, not midnight.
    EXPECT_EQ(cell(grid, 0, 15), "2027-03-28T15:00");
    EXPECT_EQ(cell(grid, kTokyo, 15), "2027-03-28T23:00");
    EXPECT_EQ(cell(grid, kLondon, 15), "2027-03-28T15:00");
    EXPECT_EQ(grid.utcTicks[14], ticks("2027-03-28T14:00"));
    EXPECT_EQ(cell(grid, 0, 24), "2027-03-29T00:00");

    // In autumn 01:00 comes twice, and each row is its own moment.
    grid = plannerGrid(favourites, at("2027-10-31"), 0);
    EXPECT_EQ(cell(grid, 0, 2), "2027-10-31T01:00");
    EXPECT_EQ(cell(grid, 0, 3), "2027-10-31T01:00");
    EXPECT_EQ(cell(grid, kTokyo, 2), "2027-10-31T09:00");
    EXPECT_EQ(cell(grid, kTokyo, 3), "2027-10-31T10:00");
    EXPECT_EQ(cell(grid, 0, 24), "2027-10-31T22:00");
}

TEST_F(Planner, DaylightChangeInAFavouriteZone) {
    ASSERT_TRUE(platform::setDeviceTimeZone("Asia/Tokyo"));
    PlannerGrid grid = plannerGrid(favourites, at("2027-03-28"), 0);
    EXPECT_EQ(cell(grid, kLondon, 1), "2027-03-27T15:00");
    EXPECT_EQ(cell(grid, kLondon, 10), "2027-03-28T00:00");
    EXPECT_EQ(cell(grid, kLondon, 11), "2027-03-28T02:00");  // London went to summer time
    EXPECT_EQ(cell(grid, kLondon, 24), "2027-03-28T15:00");
    EXPECT_EQ(cell(grid, 5, 11), "2027-03-28T03:00");  // Paris too

    // Sydney leaves summer time on the first Sunday of April.
    grid = plannerGrid(favourites, at("2027-04-04"), 0);
    EXPECT_EQ(cell(grid, 4, 1), "2027-04-04T02:00");
    EXPECT_EQ(cell(grid, 4, 2), "2027-04-04T02:00");
}

TEST_F(Planner, WorkingHoursAreTintedPerColumn) {
    ASSERT_TRUE(platform::setDeviceTimeZone("UTC"));
    core::RecordTable cities{cityField::Count};
    int row = cities.appendRow();
    cities.setField(row, cityField::Zone, std::to_wstring(zoneNumberForHours(3)));
    cities.setField(row, cityField::Name, L"Three Ahead");
    PlannerGrid grid = plannerGrid(cities, at("2027-01-15"), 0);
    ASSERT_EQ(grid.columns.size(), 2u);
    // The row where the device shows 08:00 shows 11:00 in the city, green in both columns.
    EXPECT_EQ(cell(grid, 0, 9), "2027-01-15T08:00");
    EXPECT_EQ(cell(grid, 1, 9), "2027-01-15T11:00");
    EXPECT_TRUE(grid.columns[0].cells[8].workingHour);
    EXPECT_TRUE(grid.columns[1].cells[8].workingHour);
    EXPECT_FALSE(grid.columns[0].cells[7].workingHour);  // 07:00
    EXPECT_TRUE(grid.columns[1].cells[7].workingHour);   // 10:00 in the city
    EXPECT_TRUE(grid.columns[0].cells[17].workingHour);  // 17:00
    EXPECT_FALSE(grid.columns[0].cells[18].workingHour);
    EXPECT_FALSE(grid.columns[1].cells[15].workingHour);  // 18:00 in the city
}

TEST(PlannerTexts, CellsNameMidnightNoonOrDayAndTime) {
    EXPECT_EQ(plannerCellText(at("2027-01-15T00:00"), 3, L"Midnight", L"Noon"), L"Midnight");
    EXPECT_EQ(plannerCellText(at("2027-01-15T12:00"), 3, L"Midnight", L"Noon"), L"Noon");
    EXPECT_EQ(plannerCellText(at("2027-01-15T15:00"), 3, L"Midnight", L"Noon"), L"Fri 15:00");
    EXPECT_EQ(plannerCellText(at("2027-01-16T09:00"), 2, L"Midnight", L"Noon"), L"Sat 9:00 AM");
    // Half an hour past midnight in a half-hour zone is a time, not midnight.
    EXPECT_EQ(plannerCellText(at("2027-01-16T00:30"), 3, L"Midnight", L"Noon"), L"Sat 00:30");
    EXPECT_EQ(calendarCommandLine(at("2027-03-08"), false), L"calendar -va -d 20270308");
    EXPECT_EQ(calendarCommandLine(at("2027-12-31"), true), L"calendar -new -d 20271231");
}

TEST_F(Planner, MeetingStartsAtTheRowsDeviceTimeForOneHour) {
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/London"));
    PlannerGrid grid = plannerGrid(favourites, at("2027-03-28"), 0);
    auto meeting = plannedMeeting(grid, 15, L"Budget");
    ASSERT_TRUE(meeting);
    EXPECT_EQ(text(meeting->start), "2027-03-28T15:00");
    EXPECT_EQ(text(meeting->end), "2027-03-28T16:00");
    EXPECT_EQ(meeting->subject, L"Budget");
    EXPECT_TRUE(platform::isAcceptableAppointment(*meeting));

    meeting = plannedMeeting(grid, 24, std::wstring(400, L's'));
    ASSERT_TRUE(meeting);
    EXPECT_EQ(meeting->subject.size(), kMaxMeetingSubject);
    EXPECT_EQ(text(meeting->start), "2027-03-29T00:00");
    EXPECT_EQ(text(meeting->end), "2027-03-29T01:00");
    EXPECT_FALSE(plannedMeeting(grid, 0, L"x"));
    EXPECT_FALSE(plannedMeeting(grid, 25, L"x"));
    EXPECT_FALSE(plannedMeeting(PlannerGrid{}, 1, L"x"));
}
