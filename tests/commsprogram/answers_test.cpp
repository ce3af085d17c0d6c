// Reading the services' answers: each documented answer reads whole, and every kind of bad
// answer (malformed, cut short, a missing field, a wrong type, deep nesting) is refused with
// the code for unreadable data rather than read in part.

#include <gtest/gtest.h>

#include "commsprogram/ecb_rates.h"
#include "commsprogram/flight_status.h"
#include "commsprogram/map_sources.h"
#include "commsprogram/open_meteo.h"
#include "platform/api/draw.h"
#include "tests/commsprogram/support/comms_test_support.h"

using namespace commsprogram;
using commsprogram::test::replay;

TEST(OpenMeteoAnswer, ForecastReadsCurrentDaysAndHours) {
    Answer<WeatherReport> answer = parseOpenMeteoForecast(replay("forecast_london.json"));
    ASSERT_TRUE(answer.value) << answer.failure.detail;
    const WeatherReport& report = *answer.value;
    EXPECT_EQ(report.timezone, "Europe/London");
    EXPECT_EQ(report.current.time, "2026-12-08T14:45");
    EXPECT_EQ(report.current.code, 61);
    EXPECT_DOUBLE_EQ(*report.current.temperature, 7.4);
    EXPECT_DOUBLE_EQ(*report.current.visibilityKm, 14.2);
    ASSERT_EQ(report.days.size(), 7u);
    EXPECT_EQ(report.days[4].date, "2026-12-12");
    EXPECT_DOUBLE_EQ(*report.days[4].low, -1.6);
    EXPECT_EQ(report.days[5].code, 95);
    ASSERT_EQ(report.hours.size(), 48u);
    EXPECT_EQ(report.hours[47].time, "2026-12-09T23:00");
}

TEST(OpenMeteoAnswer, BadForecastsAreUnreadable) {
    const std::string good = replay("forecast_london.json");
    auto without = [&](const std::string& text) {
        std::string copy = good;
        copy.replace(copy.rfind(text), text.size(), "\"ignored\"");
        return copy;
    };
    const std::string cases[] = {
        good.substr(0, good.size() / 2),                // cut short
        "<html>Service unavailable</html>",             // not JSON
        "",                                             // nothing
        "[1,2,3]",                                      // not the object
        without("\"current\""),                         // no current conditions
        without("\"daily\""),                           // no days
        without("\"temperature_2m_max\""),              // a missing series
        std::string(100, '[') + std::string(100, ']'),  // nested beyond the bound
    };
    for (const std::string& text : cases) {
        Answer<WeatherReport> answer = parseOpenMeteoForecast(text);
        EXPECT_FALSE(answer.value) << text.substr(0, 60);
        EXPECT_EQ(answer.failure.code, errorCode::Unreadable) << text.substr(0, 60);
    }
    // A weather code that is a text, or a day that is no date.
    std::string wrongType = good;
    wrongType.replace(wrongType.find("\"weather_code\":61"), 17, "\"weather_code\":\"61\"");
    EXPECT_EQ(parseOpenMeteoForecast(wrongType).failure.code, errorCode::Unreadable);
    std::string badDate = good;
    badDate.replace(badDate.find("2026-12-10\""), 10, "2026/12/10");
    EXPECT_EQ(parseOpenMeteoForecast(badDate).failure.code, errorCode::Unreadable);
}

TEST(OpenMeteoAnswer, SearchResultsAndNoResult) {
    auto found = parseOpenMeteoSearch(replay("search_springfield.json"));
    ASSERT_TRUE(found.value);
    ASSERT_EQ(found.value->size(), 2u);
    EXPECT_EQ((*found.value)[0].id, 4409896);
    EXPECT_EQ((*found.value)[1].region, "Illinois");
    EXPECT_EQ((*found.value)[1].timezone, "America/Chicago");
    auto none = parseOpenMeteoSearch(replay("search_nothing.json"));
    ASSERT_TRUE(none.value);
    EXPECT_TRUE(none.value->empty());
    EXPECT_EQ(parseOpenMeteoSearch("{\"results\":[{\"name\":\"X\"}]}").failure.code,
              errorCode::Unreadable);
    EXPECT_EQ(parseOpenMeteoSearch("{\"results\":{}}").failure.code, errorCode::Unreadable);
    EXPECT_EQ(parseOpenMeteoSearch(
                  "{\"results\":[{\"id\":1,\"name\":\"X\",\"latitude\":95,\"longitude\":0}]}")
                  .failure.code,
              errorCode::Unreadable);
}

TEST(EcbAnswer, RatesWithTheirDay) {
    auto rates = parseEcbRates(replay("eurofxref-daily.xml"));
    ASSERT_TRUE(rates.value) << rates.failure.detail;
    EXPECT_EQ(rates.value->date, "2026-12-07");
    EXPECT_EQ(rates.value->base, "EUR");
    ASSERT_EQ(rates.value->rates.size(), 6u);
    EXPECT_EQ(rates.value->rates[1].first, "JPY");
    EXPECT_DOUBLE_EQ(rates.value->rates[1].second, 168.2);
}

TEST(EcbAnswer, BadRatesAreUnreadable) {
    const std::string good = replay("eurofxref-daily.xml");
    std::string noDay = good;
    noDay.replace(noDay.find(" time='2026-12-07'"), 18, "");
    std::string badRate = good;
    badRate.replace(badRate.find("168.20"), 6, "16x.20");
    std::string entity =
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e \"x\">]><Cube time='2026-12-07'>"
        "<Cube currency='USD' rate='1'/></Cube>";
    for (const std::string& text : {good.substr(0, good.size() - 40), noDay, badRate, entity,
                                    std::string("<Cube/>"), std::string("not xml at all")}) {
        auto rates = parseEcbRates(text);
        EXPECT_FALSE(rates.value) << text.substr(0, 80);
        EXPECT_EQ(rates.failure.code, errorCode::Unreadable);
    }
}

TEST(FlightAnswer, LandedFlightWithItsTimes) {
    auto flights = parseFlightStatus(replay("flight_ba117.json"));
    ASSERT_TRUE(flights.value) << flights.failure.detail;
    ASSERT_EQ(flights.value->size(), 1u);
    const Flight& flight = flights.value->front();
    EXPECT_EQ(flight.status, "L");
    EXPECT_EQ(flight.departure.airportCode, "LHR");
    EXPECT_EQ(flight.departure.scheduled, "2026-12-08T08:25:00");
    EXPECT_EQ(flight.departure.estimated, "2026-12-08T08:41:00");
    EXPECT_EQ(flight.departure.actual, "2026-12-08T08:58:00");
    EXPECT_EQ(flight.arrival.actual, "2026-12-08T11:02:00");
    EXPECT_EQ(flight.arrival.baggage, "6");
}

TEST(FlightAnswer, BadFlightsAreUnreadable) {
    for (const char* text :
         {"[]", "{}", "[{\"departure\":{}}]", "[{\"departure\":{},\"arrival\":{}}]",
          "[{\"departure\":{\"scheduledTime\":{\"local\":\"soon\"}},"
          "\"arrival\":{}}]",
          "[{"}) {
        EXPECT_EQ(parseFlightStatus(text).failure.code, errorCode::Unreadable) << text;
    }
}

TEST(FlightAnswer, RequestTextOfTheFlightScreen) {
    auto query = parseFlightRequest(L"ba~117~2026-12-08T00:00~2026-12-08T23:59");
    ASSERT_TRUE(query);
    EXPECT_EQ(query->airline, "BA");
    EXPECT_EQ(query->number, "117");
    EXPECT_EQ(query->date, "2026-12-08");
    EXPECT_EQ(flightFileName(*query), L"BA_117.fls");
    for (const wchar_t* bad :
         {L"BA~117~2026-12-08T00:00", L"BA~11a~2026-12-08T00:00~2026-12-08T23:59",
          L"B/A~117~2026-12-08T00:00~2026-12-08T23:59", L"BA~117~tomorrow~2026-12-08T23:59",
          L"BA~117~2026-12-08T00:00~2026-12-08T23:59~x",
          L"BA~~2026-12-08T00:00~2026-12-08T23:59"}) {
        EXPECT_FALSE(parseFlightRequest(bad));
    }
}

TEST(RadarAnswer, IndexWithPastAndNowcast) {
    auto index = parseRadarIndex(replay("weather-maps.json"));
    ASSERT_TRUE(index.value);
    EXPECT_EQ(index.value->host, "https://tilecache.rainviewer.com");
    ASSERT_EQ(index.value->past.size(), 3u);
    EXPECT_EQ(index.value->past[2].path, "/v2/radar/1765204200");
    ASSERT_EQ(index.value->nowcast.size(), 1u);
    // A path that would leave the service's folder is refused.
    EXPECT_EQ(parseRadarIndex("{\"host\":\"https://x\",\"radar\":{\"past\":[{\"time\":1,"
                              "\"path\":\"/../etc\"}]}}")
                  .failure.code,
              errorCode::Unreadable);
    EXPECT_EQ(parseRadarIndex("{\"radar\":{\"past\":[]}}").failure.code, errorCode::Unreadable);
}

TEST(MapPictures, RadarOverReliefKeepsTheReliefWhereTheRadarIsClear) {
    const std::string relief = commsprogram::test::jpegPicture(64, 32, 0x00FF00);  // green
    auto jpeg = overlayAsJpeg(relief, commsprogram::test::pngOverlay(64, 32));
    ASSERT_TRUE(jpeg);
    auto picture =
        platform::decodeJpeg({reinterpret_cast<const std::uint8_t*>(jpeg->data()), jpeg->size()});
    ASSERT_TRUE(picture);
    platform::Colour left = picture->pixel(8, 16), right = picture->pixel(56, 16);
    // Colour is 0x00BBGGRR: red on the left (radar), green on the right (relief).
    EXPECT_GT(left & 0xFF, 200u);
    EXPECT_LT((left >> 8) & 0xFF, 60u);
    EXPECT_GT((right >> 8) & 0xFF, 200u);
    EXPECT_LT(right & 0xFF, 60u);
    EXPECT_FALSE(overlayAsJpeg(relief, commsprogram::test::pngOverlay(32, 32)));
    EXPECT_FALSE(overlayAsJpeg("not a picture", commsprogram::test::pngOverlay(64, 32)));
}
