// The files written from the answers, byte for byte, and read back through the readers the
// screens use; and the batch that puts a request's files down together or not at all.

#include <gtest/gtest.h>

#include "commsprogram/comms_job.h"
#include "commsprogram/ecb_rates.h"
#include "commsprogram/file_batch.h"
#include "commsprogram/flight_status.h"
#include "commsprogram/open_meteo.h"
#include "commsprogram/weather_tables.h"
#include "conversions/unit_table.h"
#include "tests/commsprogram/support/comms_test_support.h"
#include "tests/platform/support/test_device.h"
#include "weather/weather_data.h"

using namespace commsprogram;
using namespace commsprogram::test;

namespace {

// Two days and the morning of the first: enough for one row of every table.
constexpr std::string_view kSmallForecast = R"({
  "timezone":"Europe/London",
  "current":{"time":"2026-12-08T14:45","temperature_2m":7.4,"relative_humidity_2m":81,
    "apparent_temperature":4.2,"is_day":1,"weather_code":61,"pressure_msl":1008.6,
    "wind_speed_10m":18.7,"wind_direction_10m":232,"visibility":14200},
  "hourly":{"time":["2026-12-08T06:00","2026-12-08T07:00","2026-12-08T08:00",
      "2026-12-08T09:00","2026-12-08T10:00","2026-12-08T11:00"],
    "temperature_2m":[3,4,5,6,7,8],"weather_code":[3,3,61,61,2,1],
    "wind_speed_10m":[10,12,15,14,11,9],"wind_direction_10m":[200,210,220,230,240,250],
    "precipitation_probability":[10,20,80,70,30,0],"is_day":[0,0,1,1,1,1]},
  "daily":{"time":["2026-12-08","2026-12-09"],"weather_code":[61,2],
    "temperature_2m_max":[9.1,8.4],"temperature_2m_min":[3.2,-0.4],
    "wind_speed_10m_max":[24.1,18],"wind_direction_10m_dominant":[230,10],
    "precipitation_probability_max":[85,0]}})";

WeatherReport smallReport() {
    auto answer = parseOpenMeteoForecast(kSmallForecast);
    EXPECT_TRUE(answer.value) << answer.failure.detail;
    return answer.value.value_or(WeatherReport{});
}

class CommsFiles : public ::testing::Test {
  protected:
    void SetUp() override { platform::test::useTestDevice(); }
};

}  // namespace

TEST(WeatherTables, EveryTableOfASmallForecast) {
    const WeatherReport report = smallReport();
    EXPECT_EQ(dailyTable(report),
              L"1~61~9~3~SW~24~3~Light rain~120826~~~Light rain~9~~\n"
              L"1~2~8~0~N~18~4~Partly cloudy~120926~~~Partly cloudy~8~~\n");
    EXPECT_EQ(periodTable(report), L"1~61~8~3~SW~15~3~Light rain~120826~M~~Light rain~8~~\n");
    EXPECT_EQ(currentTable(report),
              L"1~61~7~3~SW~19~1009~Humidity 81%~~Europe/London~4~14~Light rain~"
              L"Observed 14:45 local time\n");
    EXPECT_EQ(outlookTable(report),
              L"1~the next two days~~M~3~5~Light rain~~~~*~~~~*~~~~*~~~~*~~~~*~~~~*~~~~*~"
              L"Chance of rain in percent by part of day\n");
}

TEST(WeatherTables, IconsFollowTheInstalledPictures) {
    EXPECT_EQ(conditionIcon(0, true), L"0");
    EXPECT_EQ(conditionIcon(0, false), L"100");
    EXPECT_EQ(conditionIcon(2, false), L"102");
    EXPECT_EQ(conditionIcon(3, false), L"3");
    EXPECT_EQ(conditionIcon(95, true), L"95");
    // Codes the service never sends, and gaps of the table, have no picture.
    EXPECT_EQ(conditionIcon(4, true), L"cw_no_report_icon");
    EXPECT_EQ(conditionIcon(-1, true), L"cw_no_report_icon");
    EXPECT_EQ(compassPoint(359), L"N");
    EXPECT_EQ(compassPoint(-90), L"W");
    EXPECT_EQ(compassPoint(std::nullopt), L"");
}

TEST_F(CommsFiles, WeatherFilesReadBackAsTheScreensShowThem) {
    const WeatherReport report = smallReport();
    FileBatch batch;
    batch.addTable(L"\\dl\\LON.dat", dailyTable(report));
    batch.addTable(L"\\dl\\LON_c.dat", currentTable(report));
    batch.addTable(L"\\dl\\LON_a.dat", outlookTable(report));
    std::atomic<bool> cancel{false};
    ASSERT_FALSE(batch.commit(cancel));
    EXPECT_EQ(readDeviceFile(L"\\dl\\LON_c.dat").substr(0, 9),
              "\xEF\xBB\xBF"
              "1~61~7");

    weather::Units units{true, true};
    weather::WeatherData daily(weather::fileKind::Daily, L"LON", units, L"\\dl\\");
    ASSERT_FALSE(daily.noData());
    EXPECT_EQ(daily.rowCount(), 2);
    EXPECT_EQ(daily.iconNumber(2), 2);
    EXPECT_EQ(daily.temperatureText(weather::temperatureFlag::HighLow, 1), L"9/3");
    EXPECT_EQ(daily.fieldText(weather::forecastField::WindDirection, 1), L"SW");
    EXPECT_EQ(daily.selectDate(2026, 12, 9), 2);

    weather::WeatherData current(weather::fileKind::Current, L"LON", units, L"\\dl\\");
    EXPECT_EQ(current.iconNumber(1), 61);
    EXPECT_EQ(current.pressureText(weather::currentField::Pressure, 1), L"1009mb");

    weather::Units imperial{false, false};
    weather::WeatherData inFahrenheit(weather::fileKind::Daily, L"LON", imperial, L"\\dl\\");
    // 9 °C is 48.2 °F.
    EXPECT_EQ(inFahrenheit.temperatureText(weather::temperatureFlag::High, 1), L"48");

    weather::WeatherData outlook(weather::fileKind::Outlook, L"LON", units, L"\\dl\\");
    EXPECT_FALSE(outlook.noData());
    EXPECT_EQ(outlook.bandText(weather::outlookField::band(1), 1), L"60-90");
}

TEST(SearchResults, RowsAsTheCityScreenReadsThem) {
    auto found = parseOpenMeteoSearch(replay("search_springfield.json"));
    ASSERT_TRUE(found.value);
    // 2026-12-08 12:00 UTC: Chicago keeps standard time, six hours behind.
    const long long noon = 1796731200;
    std::map<std::string, std::wstring> regions{{"US", L"NorthAmerica"}};
    EXPECT_EQ(searchResultTable(*found.value, regions, noon),
              L"-6~Springfield~United States~37.2153~-93.2982~America/Chicago~US4409896~0~"
              L"NorthAmerica~169176\n"
              L"-6~Springfield~United States~39.8017~-89.6437~America/Chicago~US4250542~0~"
              L"NorthAmerica~116250\n");
    // A zone of half hours keeps its half; separators and quotes never reach a field.
    FoundCity odd;
    odd.id = 1;
    odd.name = "Del~hi \"Old\"";
    odd.countryCode = "IN";
    odd.timezone = "Asia/Kolkata";
    EXPECT_EQ(searchResultTable({odd}, {}, noon),
              L"5.5~Del hi Old~~0.0000~0.0000~Asia/Kolkata~IN1~0~~0\n");
}

TEST(RatesFile, RebasedToTheDollarKeepingTheOldRows) {
    auto rates = parseEcbRates(replay("eurofxref-daily.xml"));
    ASSERT_TRUE(rates.value);
    std::vector<std::vector<std::wstring>> previous = {
        {L"EUR", L"&#8364;", L"Euro", L"0.86"},
        {L"GBP", L"&#163;", L"British Pound", L"0.74"},
        {L"AED", L"AED", L"United Arab Emirates Dirham", L"3.6725"},
        {L"USD", L"$", L"US Dollar", L"1"},
        {L"#rates", L"generator", L"", L"2025-06-30"},
    };
    auto table = ratesTable(*rates.value, previous);
    ASSERT_TRUE(table);
    EXPECT_EQ(*table,
              L"EUR~&#8364;~Euro~0.862069\n"
              L"GBP~&#163;~British Pound~0.75\n"
              L"AED~AED~United Arab Emirates Dirham~3.6725\n"
              L"USD~$~US Dollar~1\n"
              L"CHF~CHF~CHF~0.806034\n"
              L"ISK~ISK~ISK~125.69\n"
              L"JPY~JPY~JPY~145\n"
              L"SEK~SEK~SEK~9.5\n"
              L"#rates~European Central Bank~~2026-12-07\n");
    Rates noDollar = *rates.value;
    noDollar.rates.erase(noDollar.rates.begin());
    EXPECT_FALSE(ratesTable(noDollar, previous));
}

TEST_F(CommsFiles, RatesFileReadsBackWithItsDay) {
    auto rates = parseEcbRates(replay("eurofxref-daily.xml"));
    ASSERT_TRUE(rates.value);
    FileBatch batch;
    batch.addTable(L"\\rates\\rates.dat", *ratesTable(*rates.value, {}));
    std::atomic<bool> cancel{false};
    ASSERT_FALSE(batch.commit(cancel));
    conversions::UnitTable table = conversions::loadRates(L"\\rates\\");
    EXPECT_EQ(table.ratesDate, L"2026-12-07");
    EXPECT_EQ(table.ratesSource, L"European Central Bank");
    ASSERT_EQ(table.units.size(), 7u);
    EXPECT_EQ(table.units[0].key, L"CHF");
    EXPECT_EQ(table.units[2].key, L"GBP");
    EXPECT_DOUBLE_EQ(table.units[2].factor, 0.75);
}

TEST(FlightFile, TheElementsTheFlightScreenReads) {
    auto flights = parseFlightStatus(replay("flight_ba117.json"));
    ASSERT_TRUE(flights.value);
    (*flights.value)[0].arrival.airportName = "New York <JFK> & \"Kennedy\"";
    EXPECT_EQ(
        flightFileText(*flights.value),
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<FlightHistoryGetHistoryResponse>\n"
        "  <FlightHistory>\n"
        "    <StatusCode>L</StatusCode>\n"
        "    <Origin>\n"
        "      <Name>London Heathrow</Name>\n"
        "      <AirportCode>LHR</AirportCode>\n"
        "    </Origin>\n"
        "    <Destination>\n"
        "      <Name>New York &lt;JFK&gt; &amp; Kennedy</Name>\n"
        "      <AirportCode>JFK</AirportCode>\n"
        "    </Destination>\n"
        "    <PublishedDepartureDate>2026-12-08T08:25:00</PublishedDepartureDate>\n"
        "    <EstimatedRunwayDepartureDate>2026-12-08T08:41:00</EstimatedRunwayDepartureDate>\n"
        "    <ActualRunwayDepartureDate>2026-12-08T08:58:00</ActualRunwayDepartureDate>\n"
        "    <PublishedArrivalDate>2026-12-08T11:20:00</PublishedArrivalDate>\n"
        "    <EstimatedGateArrivalDate>2026-12-08T11:12:00</EstimatedGateArrivalDate>\n"
        "    <ActualGateArrivalDate>2026-12-08T11:02:00</ActualGateArrivalDate>\n"
        "    <DepartureGate>B36</DepartureGate>\n"
        "    <ArrivalGate>4</ArrivalGate>\n"
        "    <DepartureTerminal>5</DepartureTerminal>\n"
        "    <ArrivalTerminal>8</ArrivalTerminal>\n"
        "    <BaggageClaim>6</BaggageClaim>\n"
        "    <ScheduledBlockTime>475</ScheduledBlockTime>\n"
        "    <ActualBlockTime>424</ActualBlockTime>\n"
        "  </FlightHistory>\n"
        "</FlightHistoryGetHistoryResponse>\n");
}

TEST_F(CommsFiles, BatchPutsEveryFileDownOrNone) {
    writeDeviceFile(L"\\batch\\a.dat", "old a");
    writeDeviceFile(L"\\batch\\b.dat", "old b");
    writeDeviceFile(L"\\batch\\gone.dat", "stale");
    std::atomic<bool> cancel{true};
    {
        FileBatch batch;
        batch.addBytes(L"\\batch\\a.dat", "new a");
        batch.addBytes(L"\\batch\\b.dat", "new b");
        EXPECT_EQ(batch.commit(cancel).code, errorCode::Cancelled);
    }
    EXPECT_EQ(readDeviceFile(L"\\batch\\a.dat"), "old a");
    EXPECT_FALSE(deviceFileExists(L"\\batch\\a.dat.new"));
    {
        // A file that cannot be written (its folder is a file) leaves the others old too.
        writeDeviceFile(L"\\batch\\blocker", "x");
        FileBatch batch;
        batch.addBytes(L"\\batch\\a.dat", "new a");
        batch.addBytes(L"\\batch\\blocker\\c.dat", "new c");
        cancel = false;
        EXPECT_EQ(batch.commit(cancel).code, errorCode::SaveFailed);
    }
    EXPECT_EQ(readDeviceFile(L"\\batch\\a.dat"), "old a");
    EXPECT_FALSE(deviceFileExists(L"\\batch\\a.dat.new"));
    {
        FileBatch batch;
        batch.addBytes(L"\\batch\\a.dat", "new a");
        batch.addTable(L"\\batch\\b.dat", L"1~\u00e9");
        batch.addRemoval(L"\\batch\\gone.dat");
        EXPECT_FALSE(batch.commit(cancel));
    }
    EXPECT_EQ(readDeviceFile(L"\\batch\\a.dat"), "new a");
    EXPECT_EQ(readDeviceFile(L"\\batch\\b.dat"),
              "\xEF\xBB\xBF"
              "1~\xC3\xA9");
    EXPECT_FALSE(deviceFileExists(L"\\batch\\gone.dat"));
}
