// The daylight map panel's texts for a favourite: local time, coordinates, and sunrise and
// sunset by the city's own clock, with the polar texts where the sun does not rise or set.

#include <gtest/gtest.h>

#include "core/language.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/world_clock.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::kMainPath;
using worldtime::test::text;
using worldtime::test::ticks;

namespace {

class CityPanelTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"dstinfo.dat", "lang/lang.dat", "lang/lang.0409.mui.txt"});
        ASSERT_TRUE(loadZones(kMainPath));
        ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
        ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
    }
    void SetUp() override {
        // London (zone 54, summer time), Longyearbyen (zone 55) and Sydney (zone 69).
        add(L"54", L"London", L"United Kingdom", L"51.5085", L"-0.1257");
        add(L"55", L"Longyearbyen", L"Svalbard", L"78.2232", L"15.6267");
        add(L"69", L"Sydney", L"Australia", L"-33.8678", L"151.2073");
    }
    void add(const wchar_t* zone, const wchar_t* name, const wchar_t* country,
             const wchar_t* latitude, const wchar_t* longitude) {
        int row = favourites.appendRow();
        favourites.setField(row, cityField::Zone, zone);
        favourites.setField(row, cityField::Name, name);
        favourites.setField(row, cityField::Country, country);
        favourites.setField(row, cityField::Latitude, latitude);
        favourites.setField(row, cityField::Longitude, longitude);
    }
    core::RecordTable favourites{cityField::Count};
};

}  // namespace

TEST_F(CityPanelTest, LocalTimeCoordinatesAndSunTimesInSummerTime) {
    CityPanel london = cityPanel(favourites, 1, ticks("2026-06-21T12:00"), true);
    EXPECT_EQ(london.label, L"London, United Kingdom");
    EXPECT_EQ(text(london.local), "2026-06-21T13:00");
    EXPECT_TRUE(london.daylightSaving);
    EXPECT_EQ(london.coordinates, L"0\u00B0 08' W, 51\u00B0 31' N");
    // 03:43 and 20:21 UTC: by London's summer clock an hour later.
    EXPECT_EQ(london.sun.sunrise.substr(0, 12), L"Sunrise 04:4");
    EXPECT_EQ(london.sun.sunset.substr(0, 11), L"Sunset 21:2");

    CityPanel winter = cityPanel(favourites, 1, ticks("2026-12-21T12:00"), false);
    EXPECT_EQ(winter.label, L"London");
    EXPECT_FALSE(winter.daylightSaving);
    EXPECT_EQ(winter.sun.sunrise.substr(0, 12), L"Sunrise 08:0");
    EXPECT_EQ(winter.sun.sunset.substr(0, 11), L"Sunset 15:5");
}

TEST_F(CityPanelTest, TheLocalDateDecidesTheDay) {
    // 14:30 UTC on 21 June is already 22 June in Sydney (UTC+10).
    CityPanel sydney = cityPanel(favourites, 3, ticks("2026-06-21T14:30"), true);
    EXPECT_EQ(text(sydney.local), "2026-06-22T00:30");
    EXPECT_EQ(sydney.coordinates, L"151\u00B0 12' E, 33\u00B0 52' S");

    // Near the spring equinox far north, where sunrise moves by minutes a day: 23:30 UTC on
    // 20 March is 00:30 on 21 March in Longyearbyen (UTC+1), and the panel gives the 21st's.
    CityPanel north = cityPanel(favourites, 2, ticks("2026-03-20T23:30"), true);
    EXPECT_EQ(text(north.local), "2026-03-21T00:30");
    auto lineFor = [](int day) {
        return sunLines(sunriseSunset(2026, 3, day, 78.2232, 15.6267, 1), L"", L"").sunrise;
    };
    ASSERT_NE(lineFor(20), lineFor(21));
    EXPECT_EQ(north.sun.sunrise, lineFor(21));
}

TEST_F(CityPanelTest, PolarDaysAndNightsAndMissingRows) {
    CityPanel june = cityPanel(favourites, 2, ticks("2026-06-21T12:00"), true);
    EXPECT_EQ(june.sun.sunrise, core::languageString(697));
    EXPECT_EQ(june.sun.sunset, core::languageString(697));
    CityPanel december = cityPanel(favourites, 2, ticks("2026-12-21T12:00"), true);
    EXPECT_EQ(december.sun.sunrise, core::languageString(698));
    EXPECT_EQ(december.sun.sunset, core::languageString(698));

    for (int row : {0, 4}) {
        CityPanel none = cityPanel(favourites, row, ticks("2026-06-21T12:00"), true);
        EXPECT_TRUE(none.label.empty());
        EXPECT_TRUE(none.coordinates.empty());
        EXPECT_TRUE(none.sun.sunrise.empty());
    }
}
