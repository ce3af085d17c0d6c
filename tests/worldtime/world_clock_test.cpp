// The world time list's rules and the panels' texts.

#include <gtest/gtest.h>

#include "core/language.h"
#include "core/settings.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/world_clock.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::at;
using worldtime::test::kMainPath;
using worldtime::test::text;

namespace {

class WorldClock : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData(
            {"mycities.dat", "dstinfo.dat", "lang/lang.dat", "lang/lang.0409.mui.txt"});
        ASSERT_TRUE(loadZones(kMainPath));
        ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
        ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
    }
    void SetUp() override {
        favourites.clear();
        favourites.load(kMainPath, L"mycities.dat", L'~', true);
        favourites.setCurrentRow(1);
    }
    core::RecordTable favourites{cityField::Count};
};

}  // namespace

TEST(ClockHands, PositionsAndAngles) {
    HandAngles noon = clockHandAngles(at("2025-01-01T12:00"));
    EXPECT_DOUBLE_EQ(noon.hour, 0);
    EXPECT_DOUBLE_EQ(noon.minute, 0);
    HandAngles late = clockHandAngles(at("2025-01-01T15:48"));
    EXPECT_DOUBLE_EQ(late.hour, 6.0 * (15 + 4));  // three o'clock and 48 / 12 positions
    EXPECT_DOUBLE_EQ(late.minute, 6.0 * 48);
    EXPECT_DOUBLE_EQ(clockHandAngles(at("2025-01-01T23:59")).hour, 6.0 * (55 + 4));
}

TEST(ClockHands, MinuteCheckFiresOncePerMinute) {
    MinuteCheck check;
    EXPECT_TRUE(check.changed(at("2025-01-01T10:15:00")));
    EXPECT_FALSE(check.changed(at("2025-01-01T10:15:59")));
    EXPECT_TRUE(check.changed(at("2025-01-01T10:16:00")));
    EXPECT_TRUE(check.changed(at("2025-01-01T11:16:00")));
}

TEST(CoordinateTexts, DegreesAndArcMinutes) {
    EXPECT_EQ(coordinateText(51.5085), L"51\u00B0 31'");
    EXPECT_EQ(coordinateText(-0.1257), L"0\u00B0 08'");
    EXPECT_EQ(coordinateText(-33.8678), L"33\u00B0 52'");
    EXPECT_EQ(coordinateText(10.9999), L"11\u00B0 00'");
    EXPECT_EQ(coordinateText(180), L"180\u00B0 00'");
}

TEST_F(WorldClock, RowsLabelsAndLines) {
    EXPECT_EQ(cityLabel(favourites, 1, true), L"London, United Kingdom");
    EXPECT_EQ(cityLabel(favourites, 1, false), L"London");
    core::writeNumberSetting(L"OptShowCountry", 0);
    EXPECT_FALSE(showCountry());
    core::writeNumberSetting(L"OptShowCountry", 1);
    EXPECT_TRUE(showCountry());
    auto rows = worldClockRows(favourites, worldtime::test::ticks("2025-07-01T12:00"), true);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(text(rows[0].local), "2025-07-01T13:00");
    EXPECT_TRUE(rows[0].daylightSaving);
    EXPECT_EQ(text(rows[1].local), "2025-07-01T08:00");
    EXPECT_EQ(text(rows[2].local), "2025-07-01T21:00");
    EXPECT_FALSE(rows[2].daylightSaving);
    EXPECT_EQ(text(rows[3].local), "2025-07-01T22:00");
    EXPECT_EQ(rows[4].label, L"Paris, France");
    EXPECT_EQ(longitudeLine(-0.1257), L"Longitude: 0\u00B0 08' W");
    EXPECT_EQ(latitudeLine(-33.8678), L"Latitude: 33\u00B0 52' S");
    EXPECT_EQ(mapCoordinates(51.5085, -0.1257), L"0\u00B0 08' W, 51\u00B0 31' N");
    SunTimes times;
    times.sunrise = {4, 43, 0};
    times.sunset = {21, 21, 0};
    SunLines lines = sunLines(times, L"day", L"night");
    EXPECT_EQ(lines.sunrise, L"Sunrise 04:43");
    EXPECT_EQ(lines.sunset, L"Sunset 21:21");
    times.kind = DaylightKind::PolarNight;
    EXPECT_EQ(sunLines(times, L"day", L"night").sunrise, L"night");
}

TEST_F(WorldClock, MovingUpKeepsTheCurrentCity) {
    favourites.setCurrentRow(1);  // London is the current favourite
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    EXPECT_EQ(moveFavouriteUp(favourites, kMainPath, 2), 1);
    EXPECT_EQ(favourites.fieldText(1, cityField::Name), L"New York City");
    EXPECT_EQ(favourites.fieldText(favourites.currentRow(), cityField::Name), L"London");
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);
    core::RecordTable saved(cityField::Count);
    saved.load(kMainPath, L"mycities.dat", L'~', true);
    EXPECT_EQ(saved.fieldText(1, cityField::Name), L"New York City");
    EXPECT_EQ(saved.fieldText(2, cityField::Name), L"London");
    // Moving the current favourite itself keeps it current at its new row.
    favourites.setCurrentRow(5);
    EXPECT_EQ(moveFavouriteUp(favourites, kMainPath, 5), 4);
    EXPECT_EQ(favourites.fieldText(favourites.currentRow(), cityField::Name), L"Paris");
    EXPECT_EQ(favourites.currentRow(), 4);
    EXPECT_EQ(moveFavouriteUp(favourites, kMainPath, 1), 0);
    EXPECT_EQ(moveFavouriteUp(favourites, kMainPath, 9), 0);
}
