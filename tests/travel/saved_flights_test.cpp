// The airline table and the saved flights: names looked up by code, the list of flight files
// with its labels, unsafe names kept out of the list and away from deletion, and the query's
// dates, number and request text.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings_key.h"
#include "platform/api/device.h"
#include "tests/travel/support/travel_test_support.h"
#include "travel/airline_table.h"
#include "travel/flight_list.h"
#include "travel/flight_request.h"
#include "travel/settings_keys.h"

using namespace travel;
using travel::test::kDownloads;
using travel::test::kMainPath;

namespace {

class SavedFlights : public ::testing::Test {
  protected:
    void SetUp() override {
        travel::test::prepareDevice();
        travel::test::writeDeviceFile(std::wstring(kMainPath) + L"travel\\airlines.dat",
                                      "\xEF\xBB\xBFSwiss~LX\n\"Air Canada\"~AC\nNo Code~\n~ZZ\n"
                                      "Lufthansa~LH\n");
        airlines_ = loadAirlines(kMainPath);
    }
    core::RecordTable airlines_;
};

platform::SystemTime day(int year, int month, int dayOfMonth, int hour = 9) {
    platform::SystemTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(dayOfMonth);
    time.hour = static_cast<std::uint16_t>(hour);
    return time;
}

}  // namespace

TEST_F(SavedFlights, AirlinesSortedWithQuotesRemovedAndIncompleteRowsDropped) {
    ASSERT_EQ(airlines_.rowCount(), 3);
    EXPECT_EQ(airlines_.fieldText(1, airlineField::Name), L"Air Canada");
    EXPECT_EQ(airlines_.fieldText(2, airlineField::Name), L"Lufthansa");
    EXPECT_EQ(airlines_.fieldText(3, airlineField::Name), L"Swiss");
    EXPECT_EQ(airlineNameOf(airlines_, L"lx"), L"Swiss");
    EXPECT_EQ(airlineNameOf(airlines_, L"QQ"), L"");
    EXPECT_EQ(airlineNameOf(airlines_, L""), L"");
    EXPECT_EQ(airlineCodeOf(airlines_, L"Air Canada"), L"AC");
    EXPECT_EQ(airlineCodeOf(airlines_, L"air canada"), L"");  // names must match exactly
}

TEST_F(SavedFlights, ListsFlightFilesAfterTheNewQueryRow) {
    travel::test::writeDownload(L"LX_318.fls", "x");
    travel::test::writeDownload(L"QQ_77.fls", "x");
    travel::test::writeDownload(L"AC_8.v2.fls", "x");
    travel::test::writeDownload(L"weather.xml", "x");
    travel::test::writeDownload(L".hidden.fls", "x");
    std::filesystem::create_directories(*platform::hostPath(std::wstring(kDownloads) + L"dir.fls"));
    core::RecordTable list = listSavedFlights(kDownloads, airlines_);
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.fieldText(1, savedFlightField::Label), L"New flight query");
    EXPECT_EQ(list.fieldText(1, savedFlightField::Saved), L"");
    EXPECT_EQ(list.fieldText(2, savedFlightField::Label), L"AC - Air Canada");
    EXPECT_EQ(list.fieldText(2, savedFlightField::Number), L"8");
    EXPECT_EQ(list.fieldText(3, savedFlightField::Label), L"LX - Swiss");
    EXPECT_EQ(list.fieldText(3, savedFlightField::AirlineCode), L"LX");
    EXPECT_EQ(list.fieldText(3, savedFlightField::AirlineName), L"Swiss");
    EXPECT_EQ(list.fieldText(3, savedFlightField::Number), L"318");
    EXPECT_EQ(list.fieldText(3, savedFlightField::Saved), L"1");
    EXPECT_EQ(list.fieldText(3, savedFlightField::FileName), L"LX_318.fls");
    // An airline that is not in the table: its code alone, and "Unknown airline".
    EXPECT_EQ(list.fieldText(4, savedFlightField::Label), L"QQ");
    EXPECT_EQ(list.fieldText(4, savedFlightField::AirlineName), L"Unknown airline");
    EXPECT_EQ(savedFlightRow(list, L"lx_318.FLS"), 3);
    EXPECT_EQ(savedFlightRow(list, L"none.fls"), 0);
    EXPECT_EQ(savedFlightRow(list, L""), 0);
}

TEST_F(SavedFlights, AMissingDownloadFolderListsOnlyTheQueryRow) {
    EXPECT_EQ(listSavedFlights(L"\\nowhere\\", airlines_).rowCount(), 1);
    EXPECT_EQ(listSavedFlights(L"", airlines_).rowCount(), 1);
}

TEST_F(SavedFlights, UnsafeNamesAreRefused) {
    EXPECT_TRUE(isSafeFlightFileName(L"LX_318.fls"));
    EXPECT_TRUE(isSafeFlightFileName(L"LX_318.FLS"));
    for (const wchar_t* bad :
         {L"", L".fls", L"LX_318", L"LX_318.fls.txt", L"..\\LX.fls", L"..fls", L"a\\b.fls",
          L"a/b.fls", L"c:x.fls", L"\\x.fls", L".hidden.fls", L"a\tb.fls", L"a~b.fls", L"a..b.fls"})
        EXPECT_FALSE(isSafeFlightFileName(bad)) << bad;
    EXPECT_FALSE(isSafeFlightFileName(std::wstring(300, L'a') + L".fls"));
}

TEST_F(SavedFlights, DeleteRemovesOnlyFilesOfTheDownloadFolder) {
    travel::test::writeDownload(L"LX_318.fls", "x");
    travel::test::writeDeviceFile(std::wstring(kMainPath) + L"precious.fls", "keep");
    EXPECT_FALSE(deleteSavedFlight(kDownloads, L"..\\precious.fls"));
    EXPECT_FALSE(deleteSavedFlight(kDownloads, L"../precious.fls"));
    EXPECT_TRUE(platform::fileExists(std::wstring(kMainPath) + L"precious.fls"));
    EXPECT_TRUE(deleteSavedFlight(kDownloads, L"LX_318.fls"));
    EXPECT_FALSE(travel::test::downloadExists(L"LX_318.fls"));
    EXPECT_FALSE(deleteSavedFlight(kDownloads, L"LX_318.fls"));
}

TEST_F(SavedFlights, ASavedFlightThatIsALinkLosesOnlyTheLink) {
    travel::test::writeDeviceFile(std::wstring(kMainPath) + L"outside\\data.bin", "keep");
    std::filesystem::path target =
        *platform::hostPath(std::wstring(kMainPath) + L"outside\\data.bin");
    std::filesystem::path downloads = *platform::hostPath(kDownloads);
    std::filesystem::create_symlink(target, downloads / "LX_1.fls");
    EXPECT_TRUE(deleteSavedFlight(kDownloads, L"LX_1.fls"));
    EXPECT_FALSE(std::filesystem::is_symlink(downloads / "LX_1.fls"));
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST(FlightQuery, DayWindows) {
    FlightWindow today = flightWindow(day(2027, 3, 1), flightDay::Today);
    EXPECT_EQ(today.from, L"2027-03-01T00:00");
    EXPECT_EQ(today.to, L"2027-03-01T23:59");
    // The first day of a month with "yesterday" is the last day of the month before.
    FlightWindow yesterday = flightWindow(day(2027, 3, 1, 0), flightDay::Yesterday);
    EXPECT_EQ(yesterday.from, L"2027-02-28T00:00");
    EXPECT_EQ(yesterday.to, L"2027-02-28T23:59");
    EXPECT_EQ(flightWindow(day(2028, 3, 1, 23), flightDay::Yesterday).from, L"2028-02-29T00:00");
    EXPECT_EQ(flightWindow(day(2026, 12, 31, 23), flightDay::Tomorrow).to, L"2027-01-01T23:59");
    EXPECT_EQ(flightWindow(day(2027, 3, 1), 9).from, L"2027-03-01T00:00");
}

TEST(FlightQuery, NumbersAndRequestText) {
    EXPECT_TRUE(isValidFlightNumber(L"318"));
    EXPECT_TRUE(isValidFlightNumber(L"318A"));
    EXPECT_FALSE(isValidFlightNumber(L""));
    EXPECT_FALSE(isValidFlightNumber(L"..\\..\\x"));
    EXPECT_FALSE(isValidFlightNumber(L"31 8"));
    EXPECT_FALSE(isValidFlightNumber(L"3~1"));
    EXPECT_TRUE(isValidFlightNumber(std::wstring(80, L'1')));
    EXPECT_FALSE(isValidFlightNumber(std::wstring(81, L'1')));
    EXPECT_EQ(chosenFlightNumber(L"", L"318"), L"318");
    EXPECT_EQ(chosenFlightNumber(L"319", L"318"), L"319");
    EXPECT_EQ(chosenFlightNumber(L"318", L"318"), L"318");
    EXPECT_EQ(chosenFlightNumber(L"12", L""), L"12");
    EXPECT_EQ(flightRequestText(L"LX", L"318", {L"2027-03-01T00:00", L"2027-03-01T23:59"}),
              L"LX~318~2027-03-01T00:00~2027-03-01T23:59");
}

TEST_F(SavedFlights, BadQueriesAreNotStored) {
    FlightWindow window{L"2027-03-01T00:00", L"2027-03-01T23:59"};
    EXPECT_EQ(sendFlightRequest(L"LX", L"..\\x", window), FlightRequestResult::InvalidNumber);
    EXPECT_EQ(sendFlightRequest(L"L\\X", L"318", window), FlightRequestResult::UnknownAirline);
    EXPECT_EQ(core::settings::read(keys::FltHstRequest), L"");
    // A good query is stored even when the comms program is not installed to run it.
    FlightRequestResult result = sendFlightRequest(L"LX", L"318", window);
    EXPECT_TRUE(result == FlightRequestResult::Sent || result == FlightRequestResult::NotStarted);
    EXPECT_EQ(core::settings::read(keys::FltHstRequest),
              L"LX~318~2027-03-01T00:00~2027-03-01T23:59");
}
