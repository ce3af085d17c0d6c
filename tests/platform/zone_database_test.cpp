// The host's time zone database read from its TZif files, against the C library reading the
// same files: every zone, every hour of a year, and the years its closing rule covers.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/api/zone_database.h"

namespace platform {
namespace {

// The zones and links named in the database's own source summary.
std::vector<std::string> allZoneNames() {
    std::vector<std::string> names;
    std::ifstream in("/usr/share/zoneinfo/tzdata.zi");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind, first, second;
        words >> kind >> first >> second;
        if (kind == "Z")
            names.push_back(first);
        else if (kind == "L")
            names.push_back(second);
    }
    return names;
}

// The C library's view of a zone, chosen by TZ.
class CLibraryZone {
  public:
    explicit CLibraryZone(const std::string& name) {
        ::setenv("TZ", (":" + name).c_str(), 1);
        ::tzset();
    }
    ~CLibraryZone() {
        ::unsetenv("TZ");
        ::tzset();
    }
    std::pair<long, bool> at(std::int64_t utcSeconds) const {
        const time_t t = static_cast<time_t>(utcSeconds);
        struct tm local {};
        ::localtime_r(&t, &local);
        return {local.tm_gmtoff, local.tm_isdst > 0};
    }
};

constexpr std::int64_t k2027 = 1798761600;  // 2027-01-01T00:00Z

TEST(ZoneDatabase, EveryZoneAgreesWithTheCLibraryEveryHourOfAYear) {
    const auto names = allZoneNames();
    ASSERT_GT(names.size(), 400u) << "tzdata is installed";
    int zones = 0;
    long long hours = 0;
    for (const std::string& name : names) {
        auto zone = hostZone(name);
        ASSERT_TRUE(zone) << name;
        CLibraryZone reference(name);
        int wrong = 0;
        for (std::int64_t t = k2027; t < k2027 + 365 * 86400LL; t += 3600) {
            const ZoneMoment ours = zone->at(t);
            const auto [offset, daylight] = reference.at(t);
            if (ours.offsetSeconds != offset || ours.daylight != daylight) {
                if (++wrong <= 3) {
                    ADD_FAILURE() << name << " at " << t << ": " << ours.offsetSeconds << "/"
                                  << ours.daylight << ", the C library " << offset << "/"
                                  << daylight;
                }
            }
            ++hours;
        }
        ++zones;
    }
    EXPECT_EQ(zones, static_cast<int>(names.size()));
    EXPECT_GT(hours, 3'000'000);
}

// Far from today the closing rule of each file decides; far back, the transitions.
TEST(ZoneDatabase, RulesAndOldTransitionsAgreeWithTheCLibrary) {
    for (const char* name : {"Europe/London", "America/New_York", "Australia/Lord_Howe",
                             "Pacific/Chatham", "America/Santiago", "Asia/Beirut", "Africa/Cairo",
                             "America/Nuuk", "Asia/Tehran", "Europe/Dublin", "Asia/Kolkata"}) {
        auto zone = hostZone(name);
        ASSERT_TRUE(zone) << name;
        CLibraryZone reference(name);
        for (std::int64_t t : {-1'000'000'000LL, 0LL, 500'000'000LL, 2'300'000'000LL,
                               3'000'000'000LL, 4'102'444'800LL}) {
            for (std::int64_t step = 0; step < 366 * 86400LL; step += 7 * 3600) {
                const auto [offset, daylight] = reference.at(t + step);
                ASSERT_EQ(zone->at(t + step).offsetSeconds, offset) << name << " " << t + step;
                ASSERT_EQ(zone->at(t + step).daylight, daylight) << name << " " << t + step;
            }
        }
    }
}

TEST(ZoneDatabase, TheNextChangeIsTheSecondTheTimeChanges) {
    for (const char* name : {"Europe/Berlin", "Asia/Beirut", "America/Nuuk", "Pacific/Chatham",
                             "Australia/Lord_Howe", "Africa/Casablanca", "America/Santiago"}) {
        auto zone = hostZone(name);
        ASSERT_TRUE(zone) << name;
        CLibraryZone reference(name);
        std::int64_t t = k2027;
        for (int i = 0; i < 4; ++i) {
            auto change = zone->nextChange(t);
            ASSERT_TRUE(change) << name;
            ASSERT_GT(change->utcSeconds, t) << name;
            EXPECT_EQ(reference.at(change->utcSeconds - 1).first, change->before.offsetSeconds)
                << name;
            EXPECT_EQ(reference.at(change->utcSeconds).first, change->after.offsetSeconds) << name;
            EXPECT_NE(change->before.offsetSeconds, change->after.offsetSeconds) << name;
            t = change->utcSeconds;
        }
    }
    // A zone without daylight saving has no next change.
    auto tokyo = hostZone("Asia/Tokyo");
    ASSERT_TRUE(tokyo);
    EXPECT_FALSE(tokyo->nextChange(k2027));
    EXPECT_EQ(tokyo->at(k2027).offsetSeconds, 9 * 3600);
}

TEST(ZoneDatabase, NamesOutsideTheDatabaseAreRefused) {
    for (const char* name :
         {"", "../../etc/passwd", "Europe/../../../etc/passwd", "/etc/passwd", "Europe//Berlin",
          "Europe/", "Europe", "Mars/Olympus_Mons", "Europe/Berlin\n", "Europe/Ber lin"}) {
        EXPECT_FALSE(hostZone(name)) << name;
    }
}

TEST(ZoneDatabase, DamagedFilesGiveNoZone) {
    std::ifstream in("/usr/share/zoneinfo/Europe/London", std::ios::binary);
    std::vector<std::uint8_t> good((std::istreambuf_iterator<char>(in)), {});
    ASSERT_TRUE(ZoneDefinition::parse(good));
    // Cut anywhere, the file is refused or still reads as a zone; it never reads past its end.
    for (std::size_t keep = 0; keep < good.size(); keep += 37)
        ZoneDefinition::parse(std::span(good.data(), keep));
    EXPECT_FALSE(ZoneDefinition::parse(std::span(good.data(), 44)));
    // A transition count beyond the file, a type index beyond the types.
    auto bigCount = good;
    bigCount[32] = 0x7F;
    EXPECT_FALSE(ZoneDefinition::parse(bigCount));
    auto notTzif = good;
    notTzif[0] = 'X';
    EXPECT_FALSE(ZoneDefinition::parse(notTzif));
}

TEST(PosixZoneRule, ReadsTheFormsTheDatabaseUses) {
    auto berlin = parsePosixZoneRule("CET-1CEST,M3.5.0,M10.5.0/3");
    ASSERT_TRUE(berlin);
    EXPECT_EQ(berlin->standard.offsetSeconds, 3600);
    EXPECT_EQ(berlin->daylight->offsetSeconds, 7200);
    EXPECT_EQ(berlin->end.timeSeconds, 3 * 3600);
    auto nuuk = parsePosixZoneRule("<-02>2<-01>,M3.5.0/-1,M10.5.0/0");
    ASSERT_TRUE(nuuk);
    EXPECT_EQ(nuuk->standard.abbreviation, "-02");
    EXPECT_EQ(nuuk->start.timeSeconds, -3600);
    auto chatham = parsePosixZoneRule("<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45");
    ASSERT_TRUE(chatham);
    EXPECT_EQ(chatham->standard.offsetSeconds, 12 * 3600 + 45 * 60);
    auto jerusalem = parsePosixZoneRule("IST-2IDT,M3.4.4/26,M10.5.0");
    ASSERT_TRUE(jerusalem);
    EXPECT_EQ(jerusalem->start.timeSeconds, 26 * 3600);
    EXPECT_TRUE(parsePosixZoneRule("<+0545>-5:45"));
    EXPECT_TRUE(parsePosixZoneRule("EST5EDT,0/0,J365/25"));
    for (const char* bad :
         {"", "CE-1", "CET", "CET-1CEST,M13.1.0,M10.5.0", "CET-1CEST,M3.5.0",
          "CET-1CEST,M3.6.0,M10.5.0", "<+05-5", "CET-1CEST,M3.5.0/168,M10.5.0", "CET-25"}) {
        EXPECT_FALSE(parsePosixZoneRule(bad)) << bad;
    }
}

}  // namespace
}  // namespace platform
