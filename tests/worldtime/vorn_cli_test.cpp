// The vorn companion as a person or a script runs it: on a device with the install folder's
// tables, its output, JSON and exit codes.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/api/clock.h"
#include "tests/platform/support/test_device.h"
#include "tests/platform/support/vorn_command.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"

namespace {

using Outcome = platform::test::VornOutcome;

class VornCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData(
            {"dstinfo.dat", "citylist.dat", "mycities.dat", "citynames.dat", "graphics2/daymap.jpg",
             "graphics2/citylocation.tga", "graphics2/map_citypos.tga", "dialcodes.dat",
             "conversions/conv.0409.mui.txt", "conversions/rates.dat"});
    }

    static Outcome vorn(const std::string& arguments) { return platform::test::runVorn(arguments); }

    static bool holds(const Outcome& run, const std::string& text) {
        return run.out.find(text) != std::string::npos;
    }

    // The install folder's file, on the test device's host side.
    static std::filesystem::path installed(const std::string& name) {
        return *platform::hostPath(std::wstring(worldtime::test::kMainPath) +
                                   platform::fromUtf8(name));
    }
    static std::string contentOf(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void replaceLine(const std::string& file, const std::string& holding,
                            const std::string& by) {
        std::string text = contentOf(installed(file));
        std::size_t at = text.find(holding);
        ASSERT_NE(at, std::string::npos) << holding;
        std::size_t start = text.rfind('\n', at) + 1;
        std::size_t end = text.find('\n', at);
        text.replace(start, end - start, by);
        std::ofstream(installed(file), std::ios::binary) << text;
    }
};

// Characters (not bytes) of UTF-8 text before the first occurrence of a mark.
std::size_t columnOf(const std::string& line, const std::string& mark) {
    std::string before = line.substr(0, line.find(mark));
    return static_cast<std::size_t>(std::count_if(before.begin(), before.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

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
    EXPECT_TRUE(holds(ambiguous, R"x("candidates":["Springfield, Illinois, United States (US)x"));
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

TEST_F(VornCommand, ConvertUnitsCurrenciesAndTemperatures) {
    EXPECT_EQ(vorn("convert 100 km mi").out, "100 km = 62.137 mi\n");
    EXPECT_EQ(vorn("convert 42.195 km mi").out, "42.195 km = 26.219 mi\n");
    EXPECT_EQ(vorn("convert 451 F C").out, "451 \u00B0F = 232.78 \u00B0C\n");
    EXPECT_EQ(vorn("convert -40 C F").out, "-40 \u00B0C = -40.00 \u00B0F\n");
    EXPECT_EQ(vorn("convert 1 NM m").out, "1 NM = 1852.000 m\n") << "by symbol";
    EXPECT_EQ(vorn("convert 1 galus l").out, "1 gal (US) = 3.785 l\n");
    Outcome euros = vorn("convert 20 EUR JPY --json");
    EXPECT_EQ(euros.exitCode, 0);
    EXPECT_TRUE(holds(euros, R"("category":"Currency","amount":20,"from":"EUR")")) << euros.out;
    // The seed rates: 145 yen and 0.86 euro to the dollar.
    EXPECT_TRUE(holds(euros, "\"text\":\"3372.093 \u00A5\"")) << euros.out;
}

TEST_F(VornCommand, ConvertErrorsExitNonZero) {
    Outcome unknown = vorn("convert 1 parsec m --json");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(holds(unknown, R"x({"error":"unknown unit \"parsec\""})x")) << unknown.out;
    EXPECT_EQ(vorn("convert 1 km parsec").exitCode, 2);
    Outcome apart = vorn("convert 1 km kg --json");
    EXPECT_EQ(apart.exitCode, 2);
    EXPECT_TRUE(holds(apart, "measure different things"));
    EXPECT_EQ(vorn("convert abc km mi").exitCode, 2);
    EXPECT_EQ(vorn("convert 1e999 km mi").exitCode, 2);
    EXPECT_EQ(vorn("convert 1 km").exitCode, 2);
    EXPECT_EQ(vorn("convert 1 EUR").exitCode, 2);
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
    // Written into the test's own device folder, never a shared one.
    std::filesystem::path out = platform::deviceRoot() / "vorn-cli-map.png";
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

TEST_F(VornCommand, MoonAtAMomentWithTheNewMoonsAroundIt) {
    // Half an hour before the new moon of 2026-01-18 19:52 UTC: it is still the next one.
    Outcome run = vorn("moon --at 2026-01-18T19:20 --json");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(holds(run, "\"at\":\"2026-01-18T19:20:00+00:00\"")) << run.out;
    EXPECT_TRUE(holds(run, "\"nextNewMoon\":\"2026-01-18T19:5")) << run.out;
    EXPECT_TRUE(holds(run, "\"lastNewMoon\":\"2025-12-20T01:4")) << run.out;
    EXPECT_TRUE(holds(run, "\"phaseName\":\"new moon\"")) << run.out;
    run = vorn("moon --at 2026-01-03T10:03");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(holds(run, "full moon")) << run.out;
    EXPECT_TRUE(holds(run, "next new moon 2026-01-18T19:5")) << run.out;
    EXPECT_EQ(vorn("moon --at 2026-13-01").exitCode, 2);
    EXPECT_EQ(vorn("moon Paris").exitCode, 2);
}

TEST_F(VornCommand, DialCodesOfACountry) {
    Outcome run = vorn("dial 'united kingdom' --json");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "{\"country\":\"United Kingdom\",\"callingCode\":\"+44\","
              "\"internationalPrefix\":\"00\",\"trunkPrefix\":\"0\"}\n");
    run = vorn("dial italy");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(holds(run, "+39")) << run.out;
    EXPECT_TRUE(holds(run, "trunk prefix          none")) << run.out;
    EXPECT_EQ(vorn("dial 'saint'").exitCode, 2);
    EXPECT_EQ(vorn("dial atlantis").exitCode, 2);
    EXPECT_EQ(vorn("dial").exitCode, 2);
}

TEST_F(VornCommand, MissingTablesAreFailures) {
    worldtime::test::installData({});
    Outcome run = vorn("time London --json");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(holds(run, "no zone table"));
    const std::filesystem::path never = platform::deviceRoot() / "vorn-never.png";
    EXPECT_EQ(vorn("map --out '" + never.string() + "'").exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(never));
    EXPECT_EQ(vorn("dial France").exitCode, 1);
    SetUpTestSuite();
}

TEST_F(VornCommand, NamesResolveAsTheCityScreenFindsThem) {
    // "New York" is a whole-word prefix of New York City only, and its common name.
    Outcome newYork = vorn("time 'new york' --json");
    ASSERT_EQ(newYork.exitCode, 0) << newYork.out;
    EXPECT_TRUE(holds(newYork, R"x("name":"New York City")x"));
    // Spaces around a name, as a pasted one often has, do not count.
    Outcome padded = vorn("time '  London ' --json");
    ASSERT_EQ(padded.exitCode, 0) << padded.out;
    EXPECT_TRUE(holds(padded, R"x("name":"London")x"));
    // "City, Country" by the country's name or its two-letter code.
    for (const char* asked : {"'paris, france'", "'Paris, FR'", "'paris,  fr'"}) {
        Outcome paris = vorn(std::string("time ") + asked + " --json");
        ASSERT_EQ(paris.exitCode, 0) << asked << paris.out;
        EXPECT_TRUE(holds(paris, R"x("code":"FR2988507")x")) << asked;
    }
    Outcome texas = vorn("time 'Paris, US' --json");
    ASSERT_EQ(texas.exitCode, 0) << texas.out;
    EXPECT_TRUE(holds(texas, R"x("country":"United States")x"));
    // Accents beyond the Latin-1 and Extended-A letters fold as the screens fold them.
    Outcome vietnam = vorn("time 'buon ma thuot' --json");
    ASSERT_EQ(vietnam.exitCode, 0) << vietnam.out;
    EXPECT_TRUE(holds(vietnam, "Bu\xC3\xB4n Ma Thu\xE1\xBB\x99t"));
    // A prefix of several names stays ambiguous, and the list of them stays a screenful.
    Outcome santa = vorn("time Santa --json");
    EXPECT_EQ(santa.exitCode, 2);
    EXPECT_EQ(std::count(santa.out.begin(), santa.out.end(), '('), 12) << santa.out;
    EXPECT_TRUE(holds(santa, " more; give a fuller name")) << santa.out;
    // Columns line up after accented names.
    Outcome table = vorn("time Zurich Reykjavik London --at 2025-01-15T06:30");
    ASSERT_EQ(table.exitCode, 0);
    std::istringstream lines(table.out);
    std::vector<std::size_t> columns;
    for (std::string line; std::getline(lines, line);) columns.push_back(columnOf(line, " Wed "));
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0], columns[2]);
    EXPECT_EQ(columns[1], columns[2]);
}

TEST_F(VornCommand, AlternateNamesRegionsAndCodesFindTheCity) {
    const std::pair<const char*, const char*> asked[] = {
        {"NYC", "US5128581"},
        {"'New York'", "US5128581"},
        {"Bombay", "IN1275339"},
        {"Calcutta", "IN1275004"},
        {"Madras", "IN1264527"},
        {"Peking", "CN1816670"},
        {"Saigon", "VN1566083"},
        {"Kiev", "UA703448"},
        {"cologne", "DE2886242"},
        {"'  Tokyo  '", "JP1850147"},
        {"'sao paulo'", "BR3448439"},
        {"ZURICH", "CH2657896"},
        {"'Paris, FR'", "FR2988507"},
        {"'Paris, France'", "FR2988507"},
        {"'Canton, China'", "CN1809858"},
        {"'Portland, Oregon'", "US5746545"},
        {"'Portland, Maine'", "US4975802"},
        {"'portland, me'", "US4975802"},
        {"'Springfield, IL'", "US4250542"},
    };
    for (const auto& [name, code] : asked) {
        Outcome run = vorn(std::string("time ") + name + " --json");
        EXPECT_EQ(run.exitCode, 0) << name << run.out;
        EXPECT_TRUE(holds(run, std::string(R"x("code":")x") + code + "\"")) << name << run.out;
    }
    Outcome texas = vorn("time 'Paris, United States' --json");
    EXPECT_TRUE(holds(texas, R"x("country":"United States")x")) << texas.out;
    EXPECT_FALSE(holds(texas, "FR2988507")) << texas.out;
    // Cities of one name in one country are told apart by their regions.
    Outcome portland = vorn("time Portland --json");
    EXPECT_EQ(portland.exitCode, 2);
    EXPECT_TRUE(holds(portland, "Portland, Oregon, United States (US5746545")) << portland.out;
    EXPECT_TRUE(holds(portland, "Portland, Maine, United States (US4975802")) << portland.out;
    EXPECT_EQ(vorn("time 'Portland, Narnia'").exitCode, 2);
    // Several cities are called Canton; Guangzhou, once called so too, is offered with them.
    Outcome canton = vorn("time Canton --json");
    EXPECT_EQ(canton.exitCode, 2);
    EXPECT_TRUE(holds(canton, "Canton, Ohio, United States (US5149222")) << canton.out;
    EXPECT_TRUE(holds(canton, "Guangzhou, Guangdong, China (CN1809858")) << canton.out;
}

TEST_F(VornCommand, WithoutTheCompanionTableOwnNamesAndCountriesStillAnswer) {
    std::filesystem::remove(installed("citynames.dat"));
    Outcome tokyo = vorn("time Tokyo 'Paris, FR' 'New York' --json");
    EXPECT_EQ(tokyo.exitCode, 0) << tokyo.out;
    EXPECT_EQ(vorn("time Bombay").exitCode, 2);
    Outcome portland = vorn("time Portland --json");
    EXPECT_EQ(portland.exitCode, 2);
    EXPECT_TRUE(holds(portland, "Portland, United States (US5746545")) << portland.out;
    SetUpTestSuite();
}

TEST_F(VornCommand, TheCityScreensSearchAnswersAsTheCommandLine) {
    core::RecordTable favourites(worldtime::cityField::Count);
    worldtime::CityDatabase db(std::wstring(worldtime::test::kMainPath),
                               std::wstring(worldtime::test::kDownloadPath), favourites);
    db.loadFavourites();
    auto codeOf = [](const Outcome& run) {
        std::size_t at = run.out.find(R"x("code":")x");
        return at == std::string::npos ? std::string()
                                       : run.out.substr(at + 8, run.out.find('"', at + 8) - at - 8);
    };
    for (const char* name : {"NYC", "New York", "Bombay", "Kiev", "Cologne", "  Tokyo  ",
                             "sao paulo", "zurich", "Paris", "Paris, FR", "Paris, United States",
                             "Portland, Oregon", "Portland, ME", "Rio"}) {
        std::string code = codeOf(vorn("time '" + std::string(name) + "' --json"));
        ASSERT_FALSE(code.empty()) << name;
        ASSERT_EQ(db.searchLocal(platform::fromUtf8(name)), worldtime::SearchOutcome::Found)
            << name;
        EXPECT_EQ(platform::toUtf8(db.results().fieldText(1, worldtime::cityField::Code)), code)
            << name;
    }
    // Where the command line lists candidates, the search shows the same cities first.
    Outcome portland = vorn("time Portland --json");
    ASSERT_EQ(db.searchLocal(L"Portland"), worldtime::SearchOutcome::Found);
    int listed = static_cast<int>(std::count(portland.out.begin(), portland.out.end(), '('));
    ASSERT_GE(listed, 3) << portland.out;
    for (int row = 1; row <= listed; ++row) {
        std::string code =
            platform::toUtf8(db.results().fieldText(row, worldtime::cityField::Code));
        EXPECT_TRUE(holds(portland, "(" + code + ",")) << code << portland.out;
    }
    // The live filter of the list fits names alike.
    db.loadCityList(worldtime::citySorting::ByName);
    db.setFilter(L"Bombay");
    ASSERT_GE(db.shownCount(), 1);
    EXPECT_EQ(db.shownRowOf(L"IN1275339"), 1) << "the filter shows Mumbai for Bombay";
    // A region given in part, as it is being typed, keeps that region's Portlands (South
    // Portland is one).
    for (const wchar_t* text : {L"Portland, Mai", L"Portland, Maine"}) {
        db.setFilter(text);
        EXPECT_GT(db.shownRowOf(L"US4975802"), 0) << text;
        EXPECT_EQ(db.shownRowOf(L"US5746545"), 0) << text;
        for (int row = 1; row <= db.shownCount(); ++row)
            EXPECT_EQ(db.region(db.shownField(row, worldtime::cityField::Code)), L"Maine");
    }
    db.setFilter(L"Portland");
    int all = db.shownCount();
    db.setFilter(L"Portland, Oregon");
    db.setFilter(L"Portland");
    EXPECT_EQ(db.shownCount(), all) << "deleting the region brings the other Portlands back";
}

TEST_F(VornCommand, DamagedTablesAreNamedAndNotTrusted) {
    // Reykjavík's own line is broken: its answer cannot be trusted, other cities' can.
    replaceLine("citylist.dat", "~IS3413829~",
                "55~Reykjav\xFFk~Iceland~64.1~-21.9~x~IS3413829~0~~1");
    Outcome reykjavik = vorn("time IS3413829 --json");
    EXPECT_EQ(reykjavik.exitCode, 1) << reykjavik.out;
    EXPECT_TRUE(holds(reykjavik, "cannot be trusted")) << reykjavik.out;
    EXPECT_TRUE(holds(reykjavik, "citylist.dat is damaged")) << reykjavik.out;
    EXPECT_EQ(vorn("time Zurich").exitCode, 0);

    // A first line of 20,000 fields costs no more than its text, and is only a warning.
    std::string list = contentOf(installed("citylist.dat"));
    std::ofstream(installed("citylist.dat"), std::ios::binary)
        << "\xEF\xBB\xBF" << std::string(20000, '~') << "\n"
        << list.substr(3);
    EXPECT_EQ(vorn("time Zurich --json").exitCode, 0);

    // London's zone line in the zone table is damaged.
    replaceLine("dstinfo.dat", "Europe/London", "54~\x01\xFF");
    Outcome london = vorn("time London --json");
    EXPECT_EQ(london.exitCode, 1) << london.out;
    EXPECT_TRUE(holds(london, "dstinfo.dat is damaged")) << london.out;

    // A pipe in place of the favourites is no file: the command neither waits nor fails.
    SetUpTestSuite();
    std::filesystem::remove(installed("mycities.dat"));
    ASSERT_EQ(::mkfifo(installed("mycities.dat").c_str(), 0600), 0);
    Outcome pipe = vorn("time Zurich --json");
    EXPECT_EQ(pipe.exitCode, 0);
    SetUpTestSuite();
}

TEST_F(VornCommand, PlanRowsAcrossTheSpringChange) {
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/London"));
    Outcome plan = vorn("plan London Tokyo --date 2027-03-28 --json");
    ASSERT_EQ(plan.exitCode, 0) << plan.out;
    EXPECT_TRUE(holds(plan, R"x("date":"2027-03-28","deviceZone":"Europe/London")x"));
    EXPECT_TRUE(holds(plan, R"x("columns":["device","London","Tokyo"])x"));
    // Row 15 is 15:00 summer time in London, 23:00 in Tokyo: 14:00 UTC.
    EXPECT_TRUE(holds(
        plan,
        R"x({"row":15,"utc":"2027-03-28T14:00:00Z","cells":[{"local":"2027-03-28T15:00:00","workingHour":true},{"local":"2027-03-28T15:00:00","workingHour":true},{"local":"2027-03-28T23:00:00","workingHour":false}]})x"));
    EXPECT_TRUE(holds(plan, R"x({"row":2,"utc":"2027-03-28T01:00:00Z")x"));

    Outcome text = vorn("plan Tokyo --date 2027-03-28");
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(holds(text, "15  Sun 15:00* Sun 23:00 ")) << text.out;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 26);  // heading, 24, key

    Outcome favourites = vorn("plan --date 2027-03-28 --json");
    ASSERT_EQ(favourites.exitCode, 0);
    EXPECT_TRUE(holds(favourites, R"x("columns":["device","London","New York City","Tokyo")x"));
    EXPECT_EQ(vorn("plan Tokyo --date 2027-02-30").exitCode, 2);
    EXPECT_EQ(vorn("plan Tokyo --date tomorrow").exitCode, 2);
    EXPECT_EQ(vorn("plan Nowhereville --date 2027-03-28").exitCode, 2);
}
