// The vorn companion as a person or a script runs it: on a device with the install folder's
// tables, its output, JSON and exit codes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/platform/support/test_device.h"
#include "tests/worldtime/support/world_test_support.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
};

class VornCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"dstinfo.dat", "citylist.dat", "mycities.dat",
                                      "graphics2/daymap.jpg", "graphics2/citylocation.tga",
                                      "graphics2/map_citypos.tga"});
    }

    static Outcome vorn(const std::string& arguments) {
        std::filesystem::path program = platform::test::builtProgram("vorn");
        EXPECT_TRUE(std::filesystem::exists(program)) << "build the vorn target first";
        Outcome run;
        std::string command = "'" + program.string() + "' " + arguments + " 2>/dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return run;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        int status = ::pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    static bool holds(const Outcome& run, const std::string& text) {
        return run.out.find(text) != std::string::npos;
    }
};

}  // namespace

TEST_F(VornCommand, TimeOfNamedCitiesAndFavourites) {
    Outcome named =
        vorn("time reykjavik GB2643743 'Sydney, Australia' --at 2025-07-01T12:00 --json");
    ASSERT_EQ(named.exitCode, 0) << named.out;
    EXPECT_TRUE(holds(named, R"x("at":"2025-07-01T12:00:00Z")x"));
    EXPECT_TRUE(holds(named, R"x("name":"Reykjavík","country":"Iceland","code":"IS3413829")x"));
    EXPECT_TRUE(holds(
        named,
        R"x("local":"2025-07-01T13:00:00","weekday":"Tue","utcOffset":"+01:00","offsetMinutes":60,"daylightSaving":true)x"));
    EXPECT_TRUE(holds(named, R"x("local":"2025-07-01T22:00:00")x"));
    EXPECT_TRUE(holds(named, R"x("zoneName":"UTC+10:00 Sydney (DST)")x"));
    Outcome favourites = vorn("time --at 2025-01-15T06:30");
    ASSERT_EQ(favourites.exitCode, 0);
    EXPECT_TRUE(holds(favourites, "London, United Kingdom"));
    EXPECT_TRUE(holds(favourites, "2025-01-15 01:30  UTC-05:00"));
    EXPECT_TRUE(holds(favourites, "2025-01-15 17:30  UTC+11:00 DST"));
    EXPECT_EQ(std::count(favourites.out.begin(), favourites.out.end(), '\n'), 5);
}

TEST_F(VornCommand, ErrorsExitNonZero) {
    Outcome unknown = vorn("time Xyzzyville --json");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(holds(unknown, R"x({"error":"unknown city \"Xyzzyville\""})x"));
    Outcome ambiguous = vorn("time Springfield --json");
    EXPECT_EQ(ambiguous.exitCode, 2);
    EXPECT_TRUE(holds(ambiguous, R"x("candidates":["Springfield, United States (US)x"));
    // A favourite decides between cities of one name.
    EXPECT_EQ(vorn("time London --at 2025-01-01").exitCode, 0);
    EXPECT_EQ(vorn("time Paris --at 2025-02-30T10:00").exitCode, 2);
    EXPECT_EQ(vorn("time Paris --at 2025-02-10T25:00").exitCode, 2);
    EXPECT_EQ(vorn("time Paris --at yesterday").exitCode, 2);
    EXPECT_EQ(vorn("time --at").exitCode, 2);
    EXPECT_EQ(vorn("time --zone 3").exitCode, 2);
    EXPECT_EQ(vorn("moonwalk").exitCode, 2);
    EXPECT_EQ(vorn("").exitCode, 2);
    Outcome help = vorn("time --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(holds(help, "usage: vorn time [CITY...] [--at UTC]"));
    EXPECT_EQ(vorn("--help").exitCode, 0);
}

TEST_F(VornCommand, SunriseSunsetAndPolarNight) {
    Outcome london = vorn("sun London --date 2025-06-21 --json");
    ASSERT_EQ(london.exitCode, 0);
    // Almanac: 04:43 and 21:21 British Summer Time (see sun_reference.csv).
    EXPECT_TRUE(holds(london, R"x("daylightSaving":true,"kind":"normal","sunrise":"04:4)x"));
    EXPECT_TRUE(holds(london, R"x("sunset":"21:2)x"));
    Outcome reykjavik = vorn("sun Reykjavik --date 2025-06-21");
    ASSERT_EQ(reykjavik.exitCode, 0);
    EXPECT_TRUE(holds(reykjavik, "sunset  00:0"));
    EXPECT_TRUE(holds(reykjavik, "(the next day)"));
    Outcome polar = vorn("sun Longyearbyen --date 2025-12-21 --json");
    EXPECT_TRUE(holds(polar, R"x("kind":"polarNight")x"));
    EXPECT_FALSE(holds(polar, "sunrise"));
    EXPECT_EQ(vorn("sun London --date 2025-6-21").exitCode, 2);
    EXPECT_EQ(vorn("sun").exitCode, 2);
    EXPECT_EQ(vorn("sun London Paris").exitCode, 2);
}

TEST_F(VornCommand, MapPicture) {
    std::filesystem::path out = std::filesystem::temp_directory_path() / "vorn-cli-map.png";
    std::filesystem::remove(out);
    Outcome map =
        vorn("map --at 2025-06-21T12:00 --size 480x240 --json --out '" + out.string() + "'");
    ASSERT_EQ(map.exitCode, 0) << map.out;
    EXPECT_TRUE(holds(map, R"x("width":480,"height":240)x"));
    std::ifstream png(out, std::ios::binary);
    char signature[8] = {};
    png.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    std::filesystem::remove(out);
    EXPECT_EQ(vorn("map --size 480x240").exitCode, 2);
    EXPECT_EQ(vorn("map --size big --out x.png").exitCode, 2);
}

TEST_F(VornCommand, MissingTablesAreFailures) {
    worldtime::test::installData({});
    Outcome run = vorn("time London --json");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(holds(run, "no zone table"));
    EXPECT_EQ(vorn("map --out /tmp/vorn-never.png").exitCode, 1);
    SetUpTestSuite();
}
