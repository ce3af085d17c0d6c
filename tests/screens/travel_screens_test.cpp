// The codes screen (module 52) and the flight status screen (module 51) inside the program's
// own application: tabs, sorting with the sort field checked, multi-tap and typed jumps, the
// airline list handing an airline to the flight query; the saved flights with their detail,
// fallbacks and flight stepping, the query's request text, the comms reports selecting the
// answer, refusing bad queries, and deleting a saved flight.

#include <gtest/gtest.h>

#include "core/settings_key.h"
#include "tests/screens/support/travel_fixture.h"
#include "travel/airport_codes.h"
#include "travel/flight_list.h"
#include "travel/settings_keys.h"
#include "ui/drop_down.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/list_control.h"

using namespace platform;
using namespace travel;
using namespace travel::test;

namespace {

constexpr int kCodes = 52, kFlights = 51;

const char* const kDelayedFlight =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FlightHistoryGetHistoryResponse>"
    "<FlightHistory><StatusCode>S</StatusCode>"
    "<Origin><Name>Zurich Airport</Name><AirportCode>ZRH</AirportCode></Origin>"
    "<Destination><Name>London Heathrow</Name><AirportCode>LHR</AirportCode></Destination>"
    "<PublishedDepartureDate>2027-03-01T07:05:00</PublishedDepartureDate>"
    "<EstimatedRunwayDepartureDate>2027-03-01T08:40:00</EstimatedRunwayDepartureDate>"
    "<PublishedArrivalDate>2027-03-01T07:50:00</PublishedArrivalDate>"
    "<EstimatedGateArrivalDate>2027-03-01T09:25:00</EstimatedGateArrivalDate>"
    "<DepartureGate>A52</DepartureGate><DepartureTerminal>1</DepartureTerminal>"
    "<ScheduledBlockTime>105</ScheduledBlockTime></FlightHistory>"
    "<FlightHistory><StatusCode>L</StatusCode>"
    "<Origin><Name>London Heathrow</Name><AirportCode>LHR</AirportCode></Origin>"
    "<ActualBlockTime>135</ActualBlockTime></FlightHistory>"
    "</FlightHistoryGetHistoryResponse>\n";

std::wstring lineValue(const FlightDetailView& view, std::size_t index) {
    auto lines = flightDetail(view.file(), view.flight());
    return index < lines.size() ? lines[index].value : L"<none>";
}

class CodesScreenTest : public TravelScreenTest {
  protected:
    AirportScreen& codes() { return screen<AirportScreen>(); }
    std::wstring currentCode() {
        int row = codes().list()->currentRow();
        return std::wstring(codes().rows().field(row, 1));
    }
};

class FlightScreenTest : public TravelScreenTest {
  protected:
    FlightScreen& flights() { return screen<FlightScreen>(); }
    ui::ListControl& list() { return *flights().findControl<ui::ListControl>(flightId::List); }
};

}  // namespace

TEST_F(CodesScreenTest, OpensOnEveryAirportSortedByCode) {
    open(kCodes);
    EXPECT_EQ(codes().tab(), kAllAirportsTab);
    EXPECT_EQ(codes().sortField(), 1);
    EXPECT_GT(codes().rows().rowCount(), 4000);
    EXPECT_EQ(codes().list()->currentRow(), 1);
    auto entries = codes().menuEntries();
    int checked = 0;
    for (const ui::MenuEntry& e : entries) {
        if (e.checked) {
            ++checked;
            EXPECT_EQ(e.commandId, codesCommand::SortByCode);
        }
    }
    EXPECT_EQ(checked, 1);
    saveShot("codes_list");
}

TEST_F(CodesScreenTest, TypingZurAfterSortingByNameFindsZurich) {
    open(kCodes);
    command(codesCommand::SortByAirport);
    EXPECT_EQ(codes().sortField(), 2);
    for (const ui::MenuEntry& e : codes().menuEntries())
        EXPECT_EQ(e.checked, e.commandId == codesCommand::SortByAirport) << e.commandId;
    key(vk::LetterA + ('z' - 'a'));
    key(vk::LetterA + ('u' - 'a'));
    key(vk::LetterA + ('r' - 'a'));
    EXPECT_EQ(currentCode(), L"ZRH");
    saveShot("codes_zurich");
}

TEST_F(CodesScreenTest, TabsFilterByTheSortFieldAndStepWithLeftAndRight) {
    open(kCodes);
    codes().showTab(7, L"s");  // "stu"
    ASSERT_GT(codes().rows().rowCount(), 0);
    for (int row = 1; row <= codes().rows().rowCount(); ++row) {
        wchar_t c = codes().rows().field(row, 1).front();
        ASSERT_TRUE(c == L'S' || c == L'T' || c == L'U') << row;
    }
    codes().setFocusedControl(codes().list(), false);
    key(vk::Right);
    EXPECT_EQ(codes().tab(), 8);
    EXPECT_EQ(codes().rows().field(1, 1).front(), L'V');
    key(vk::Left);
    key(vk::Left);
    EXPECT_EQ(codes().tab(), 6);
}

TEST_F(CodesScreenTest, MultiTapJumpsThroughTheKeysLetters) {
    open(kCodes);
    codes().setFocusedControl(codes().list(), false);
    key(vk::Digit0 + 9);  // w
    EXPECT_EQ(codes().tab(), kAllAirportsTab);
    EXPECT_EQ(currentCode().front(), L'W');
    key(vk::Digit0 + 9);  // x
    EXPECT_EQ(currentCode().front(), L'X');
    key(vk::Digit0 + 9);  // y
    key(vk::Digit0 + 9);  // z
    EXPECT_EQ(currentCode().front(), L'Z');
    key(vk::Digit0 + 9);  // w again, not 9
    EXPECT_EQ(currentCode().front(), L'W');
}

TEST_F(CodesScreenTest, AnAirlineOpensTheFlightQueryWithIt) {
    open(kCodes);
    command(codesCommand::ToggleAirlines);
    ASSERT_EQ(codes().mode(), CodesMode::Airlines);
    ASSERT_GT(codes().rows().rowCount(), 50);
    for (int row = 2; row <= codes().rows().rowCount(); ++row)
        ASSERT_LE(codes().rows().field(row - 1, 1), codes().rows().field(row, 1));
    codes().setFocusedControl(codes().list(), false);
    key(vk::LetterA + ('s' - 'a'));
    key(vk::LetterA + ('w' - 'a'));
    const std::wstring airline(codes().rows().field(codes().list()->currentRow(), 1));
    EXPECT_EQ(airline, L"Swiss");
    saveShot("codes_airlines");
    command(codesCommand::FlightStatus);
    pump();
    ASSERT_EQ(app_->currentModuleId(), kFlights);
    auto* drop = screen<FlightScreen>().findControl<ui::DropDown>(flightId::Airline);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->shownText(), L"Swiss");
}

TEST_F(FlightScreenTest, ADelayedFlightShowsEstimatedTimesAndStatus) {
    write("LX_318.fls", kDelayedFlight);
    open(kFlights);
    ASSERT_EQ(flights().savedFlights().rowCount(), 2);
    EXPECT_EQ(flights().currentPage, flightPage::Form);
    saveShot("flights_query");
    flights().setFocusedControl(&list(), false);
    key(vk::Down);
    ASSERT_EQ(list().currentRow(), 2);
    EXPECT_EQ(flights().currentPage, flightPage::Detail);
    const FlightDetailView& view = *flights().detail();
    EXPECT_EQ(view.file().flightCount(), 2);
    EXPECT_EQ(lineValue(view, 3), L"Mon, Mar 01 08:40");  // estimated departure
    EXPECT_EQ(lineValue(view, 4), L"A52, terminal 1");
    EXPECT_EQ(lineValue(view, 5), L"Scheduled, flight time 1 h 45 min");
    EXPECT_EQ(lineValue(view, 9), L"Mon, Mar 01 09:25");  // estimated arrival
    EXPECT_EQ(lineValue(view, 10), L"??, terminal N/A");
    EXPECT_EQ(lineValue(view, 11), L"N/A");
    auto* dataTime = flights().findControl<ui::Label>(flightId::DataTime);
    EXPECT_EQ(dataTime->text().rfind(L"Data from ", 0), 0u);
    EXPECT_EQ(flights().findControl<ui::EditField>(flightId::Number)->text(), L"318");
    saveShot("flights_detail");
    // Right steps to the second flight, which landed; right again wraps to the first.
    key(vk::Right);
    EXPECT_EQ(view.flight(), 1);
    EXPECT_EQ(lineValue(view, 5), L"Landed, flight time 2 h 15 min");
    key(vk::Right);
    EXPECT_EQ(view.flight(), 0);
}

TEST_F(FlightScreenTest, ADamagedFileShowsNoFlightData) {
    write("LX_1.fls", "<?xml version=\"1.0\"?><FlightHistoryGetHistoryResponse><F><Status");
    // "ZZ" is no carrier's code, so the list shows the code without a name.
    write("ZZ_2.fls", "");
    open(kFlights);
    ASSERT_EQ(flights().savedFlights().rowCount(), 3);
    EXPECT_EQ(flights().savedFlights().fieldText(3, savedFlightField::Label), L"ZZ");
    for (int row : {2, 3}) {
        flights().selectRow(row);
        auto lines = flightDetail(flights().detail()->file(), flights().detail()->flight());
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].label, L"No flight data.");
    }
}

TEST_F(FlightScreenTest, TheQueryStoresTheRequestAndTheAnswerIsSelected) {
    open(kFlights);
    auto* airline = flights().findControl<ui::DropDown>(flightId::Airline);
    int swiss = airline->table()->find(1, L"Swiss");
    ASSERT_GT(swiss, 0);
    airline->table()->setCurrentRow(swiss);
    flights().findControl<ui::EditField>(flightId::Number)->setText(L"318");
    flights().findControl<ui::DropDown>(flightId::Day)->table()->setCurrentRow(1);
    command(flightCommand::Query);
    EXPECT_EQ(core::settings::read(keys::FltHstRequest),
              L"LX~318~2027-02-28T00:00~2027-02-28T23:59");
    // The stand-in comms program starts, writes "LX_318.fls" (one flight, delayed), names it
    // in FltHstResult and ends; the screen then selects that flight.
    ASSERT_TRUE(pumpUntil([&] { return !flights().isBusy() && list().currentRow() == 2; }));
    EXPECT_EQ(core::settings::read(keys::FltHstResult), L"LX_318.fls");
    EXPECT_EQ(flights().savedFlights().rowCount(), 2);
    EXPECT_EQ(flights().detail()->file().flightCount(), 1);
}

TEST_F(FlightScreenTest, BadQueriesAreRefusedWithAMessage) {
    open(kFlights);
    auto* airline = flights().findControl<ui::DropDown>(flightId::Airline);
    airline->table()->setCurrentRow(0);
    command(flightCommand::Query);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0], core::languageString(193));
    airline->table()->setCurrentRow(1);
    flights().findControl<ui::EditField>(flightId::Number)->setText(L"..\\..\\evil");
    command(flightCommand::Query);
    ASSERT_EQ(questions_.size(), 2u);
    EXPECT_EQ(questions_[1], core::languageString(853));
    EXPECT_EQ(core::settings::read(keys::FltHstRequest), L"");
}

TEST_F(FlightScreenTest, DeleteAsksAndRemovesTheSavedFlight) {
    write("LX_318.fls", kDelayedFlight);
    write("AC_8.fls", kDelayedFlight);
    open(kFlights);
    flights().selectRow(3);
    answers_ = {id::No};
    command(flightCommand::Delete);
    EXPECT_TRUE(std::filesystem::exists(downloads() / "LX_318.fls"));
    answers_ = {id::Yes};
    command(flightCommand::Delete);
    EXPECT_FALSE(std::filesystem::exists(downloads() / "LX_318.fls"));
    EXPECT_TRUE(std::filesystem::exists(downloads() / "AC_8.fls"));
    EXPECT_EQ(flights().savedFlights().rowCount(), 2);
    ASSERT_EQ(questions_.size(), 2u);
    EXPECT_EQ(questions_[0], core::languageString(196));
}
