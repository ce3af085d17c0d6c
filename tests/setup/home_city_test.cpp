// The city the wizard suggests for the host's zone: the zone's own city first, then a city
// named after it, then the most populous city of the zone; the shipped list answers the
// zones of the world's large cities.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "setup/home_city.h"
#include "tests/platform/support/test_device.h"
#include "worldtime/cities.h"

namespace setup {
namespace {

core::RecordTable cities(std::initializer_list<std::array<const wchar_t*, 3>> rows) {
    core::RecordTable table(worldtime::cityField::Count);
    for (const auto& [name, zone, population] : rows) {
        int row = table.appendRow();
        table.setField(row, worldtime::cityField::Name, name);
        table.setField(row, worldtime::cityField::IanaZone, zone);
        table.setField(row, 10, population);
    }
    return table;
}

TEST(HomeCityTest, TheZonesOwnCityComesBeforeLargerOnes) {
    auto table = cities({{L"Hamburg", L"Europe/Berlin", L"1800000"},
                         {L"Berlin", L"Europe/Berlin", L"3400000"},
                         {L"Munich", L"Europe/Berlin", L"1200000"}});
    EXPECT_EQ(cityOfZone(table, L"Europe/Berlin"), L"Berlin");
    EXPECT_EQ(cityOfZone(table, L"Europe/Paris"), L"");
    EXPECT_EQ(cityOfZone(table, L""), L"");
}

TEST(HomeCityTest, ANameStartingLikeTheZoneThenThePopulationDecide) {
    auto table = cities({{L"Aberdeen", L"America/New_York", L"15580"},
                         {L"New York City", L"America/New_York", L"8175133"},
                         {L"Philadelphia", L"America/New_York", L"1526006"}});
    EXPECT_EQ(cityOfZone(table, L"America/New_York"), L"New York City");
    auto noNamesake = cities({{L"Small", L"Etc/Zone", L"10"},
                              {L"Large", L"Etc/Zone", L"900"},
                              {L"Odd", L"Etc/Zone", L"x"},
                              {L"Huge", L"Other/Zone", L"99999999"}});
    EXPECT_EQ(cityOfZone(noNamesake, L"Etc/Zone"), L"Large");
}

TEST(HomeCityTest, TheShippedListSuggestsTheHostsCity) {
    const auto& root = platform::test::useTestDevice("240x320");
    std::filesystem::create_directories(root / "app");
    std::filesystem::copy_file(std::filesystem::path(VORN_SOURCE_DIR) / "data" / "citylist.dat",
                               root / "app" / "citylist.dat");
    ::setenv("TZ", "Europe/Berlin", 1);
    EXPECT_EQ(suggestedHomeCity(L"\\app\\"), L"Berlin");
    ::setenv("TZ", "Asia/Tokyo", 1);
    EXPECT_EQ(suggestedHomeCity(L"\\app\\"), L"Tokyo");
    ::setenv("TZ", "America/Argentina/Buenos_Aires", 1);
    EXPECT_EQ(suggestedHomeCity(L"\\app\\"), L"Buenos Aires");
    ::setenv("TZ", "Europe/Berlin", 1);
    EXPECT_EQ(suggestedHomeCity(L"\\nowhere\\"), L"") << "no city list, no suggestion";
    ::unsetenv("TZ");
}

}  // namespace
}  // namespace setup
