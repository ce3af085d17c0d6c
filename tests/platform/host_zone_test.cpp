// The host's own zone name from TZ and the /etc/localtime link: names the database holds come
// back, hostile or unknown texts never do.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/api/zone_database.h"

namespace platform {
namespace {

using Text = std::optional<std::string_view>;

TEST(HostZoneNameTest, TzNamesTheZoneWithOrWithoutItsColon) {
    EXPECT_EQ(hostZoneNameFrom(Text("Europe/Berlin"), std::nullopt), "Europe/Berlin");
    EXPECT_EQ(hostZoneNameFrom(Text(":Asia/Tokyo"), Text("/usr/share/zoneinfo/Europe/Paris")),
              "Asia/Tokyo");
    EXPECT_EQ(hostZoneNameFrom(Text(":/usr/share/zoneinfo/Pacific/Chatham"), std::nullopt),
              "Pacific/Chatham");
}

TEST(HostZoneNameTest, TheLinkServesWhenTzIsUnsetARuleOrNoZone) {
    const Text link("/usr/share/zoneinfo/America/New_York");
    EXPECT_EQ(hostZoneNameFrom(std::nullopt, link), "America/New_York");
    EXPECT_EQ(hostZoneNameFrom(Text("CET-1CEST,M3.5.0,M10.5.0/3"), link), "America/New_York");
    EXPECT_EQ(hostZoneNameFrom(Text(""), link), "America/New_York");
    EXPECT_EQ(hostZoneNameFrom(Text("Nowhere/Atlantis"), link), "America/New_York");
    // The database's variant folders name the same zones.
    EXPECT_EQ(hostZoneNameFrom(std::nullopt, Text("../usr/share/zoneinfo/posix/Europe/Paris")),
              "Europe/Paris");
    EXPECT_EQ(hostZoneNameFrom(std::nullopt, Text("/usr/share/zoneinfo/right/Asia/Kolkata")),
              "Asia/Kolkata");
}

TEST(HostZoneNameTest, TextsThatAreNoZoneNameAreRefused) {
    for (std::string_view bad :
         {"../../etc/passwd", "/etc/passwd", "Europe//Berlin", "Europe/Berlin/", "Europe/Ber lin",
          "Europe/Berlin\n", "zoneinfo", "Europe/..", "Nowhere/Atlantis"}) {
        EXPECT_EQ(hostZoneNameFrom(Text(bad), std::nullopt), std::nullopt) << bad;
        EXPECT_EQ(hostZoneNameFrom(std::nullopt, Text("/usr/share/zoneinfo/" + std::string(bad))),
                  std::nullopt)
            << bad;
    }
    EXPECT_EQ(hostZoneNameFrom(std::nullopt, Text("/etc/Europe/Berlin")), std::nullopt)
        << "a link outside the zone database names no zone";
    EXPECT_EQ(hostZoneNameFrom(Text(std::string(300, 'A')), std::nullopt), std::nullopt);
}

TEST(HostZoneNameTest, TheHostZoneFollowsTz) {
    ::setenv("TZ", "Australia/Sydney", 1);
    EXPECT_EQ(hostZoneName(), "Australia/Sydney");
    ::setenv("TZ", ":Pacific/Auckland", 1);
    EXPECT_EQ(hostZoneName(), "Pacific/Auckland");
    ::unsetenv("TZ");
}

}  // namespace
}  // namespace platform
