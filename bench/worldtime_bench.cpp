// World time speed: filtering the full city list at each typed character (goal: under 2 ms),
// computing and composing the daylight map at two sizes (goal: under 5 ms at 960x480), the
// meeting planner's 24 hour rows for 20 favourites (goal: under 1 ms), and one zone's local
// time against the C library's localtime_r for the same zone.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <string>

#include "core/record_table.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/daylight_map.h"
#include "worldtime/planner.h"
#include "worldtime/zones.h"

namespace {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";

// A throw-away device holding the install folder's files the benchmarks read.
struct BenchDevice {
    std::filesystem::path root;
    BenchDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        ::setenv("VORN_DEVICE", root.c_str(), 1);
        platform::setDeviceRoot(root);
        std::filesystem::path folder = root / "Program Files" / "Vorn Roamer";
        std::filesystem::create_directories(folder / "graphics2");
        std::filesystem::path data = std::filesystem::path(VORN_SOURCE_DIR) / "data";
        for (const char* file :
             {"citylist.dat", "mycities.dat", "dstinfo.dat", "graphics2/daymap.jpg",
              "graphics2/citylocation.tga", "graphics2/map_citypos.tga"}) {
            std::filesystem::copy_file(data / file, folder / file);
        }
        worldtime::loadZones(kMainPath);
    }
    ~BenchDevice() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

BenchDevice& device() {
    static BenchDevice instance;
    return instance;
}

struct CityScreen {
    core::RecordTable favourites{worldtime::cityField::Count};
    worldtime::CityDatabase db{std::wstring(kMainPath), L"", favourites};
    CityScreen() {
        device();
        db.loadFavourites();
        db.loadCityList(worldtime::citySorting::ByName);
    }
};

CityScreen& cityScreen() {
    static CityScreen screen;
    return screen;
}

// The worst typed character: one that does not extend the previous text, so the whole list
// of some 27,600 cities is searched.
void BM_FilterWholeListPerCharacter(benchmark::State& state) {
    auto& db = cityScreen().db;
    const wchar_t* texts[] = {L"a", L"e"};
    int i = 0;
    for (auto _ : state) {
        db.setFilter(texts[i++ & 1]);
        benchmark::DoNotOptimize(db.shownCount());
    }
    state.counters["cities"] = db.fullList().rowCount();
}
BENCHMARK(BM_FilterWholeListPerCharacter)->Unit(benchmark::kMicrosecond);

// Typing "reykjav" one character at a time, then clearing the box: eight filter calls.
void BM_FilterTypingAName(benchmark::State& state) {
    auto& db = cityScreen().db;
    const std::wstring name = L"reykjav";
    for (auto _ : state) {
        for (std::size_t length = 1; length <= name.size(); ++length) {
            db.setFilter(std::wstring_view(name).substr(0, length));
        }
        benchmark::DoNotOptimize(db.shownCount());
        db.setFilter(L"");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(name.size() + 1));
}
BENCHMARK(BM_FilterTypingAName)->Unit(benchmark::kMicrosecond);

// Moving the sun ten minutes and repainting: sun position, sidereal time, terminator table
// and the composed picture with its twilight band.
void BM_DaylightMapCompose(benchmark::State& state) {
    device();
    worldtime::DaylightMap map;
    int width = static_cast<int>(state.range(0));
    if (!map.load(kMainPath, width, width / 2, width > 480 ? 2.0 : 1.0)) {
        state.SkipWithError("no day map");
        return;
    }
    std::int64_t utc = *worldtime::fileTicks(platform::SystemTime{2025, 3, 0, 20, 12, 0, 0, 0});
    for (auto _ : state) {
        utc += 10 * worldtime::kTicksPerMinute;
        map.update(*worldtime::fromFileTicks(utc));
        benchmark::DoNotOptimize(map.picture());
    }
}
BENCHMARK(BM_DaylightMapCompose)->Arg(480)->Arg(960)->Unit(benchmark::kMillisecond);

// One pulse frame: the patch around the current city with the ring blended over it.
void BM_DaylightMapPulseFrame(benchmark::State& state) {
    device();
    worldtime::DaylightMap map;
    map.load(kMainPath, 960, 480, 2.0);
    map.update(platform::SystemTime{2025, 6, 0, 21, 12, 0, 0, 0});
    int frame = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(map.pulseFrame({479, 102}, frame));
        frame = worldtime::DaylightMap::nextPulseFrame(frame);
    }
}
BENCHMARK(BM_DaylightMapPulseFrame)->Unit(benchmark::kMicrosecond);

// The planner's grid for a day with a daylight change, with 20 favourites (the shipped five,
// four times over) across zones with and without daylight saving.
void BM_PlannerGrid20Favourites(benchmark::State& state) {
    device();
    platform::setDeviceTimeZone("Europe/London");
    core::RecordTable shipped{worldtime::cityField::Count};
    shipped.load(kMainPath, L"mycities.dat", L'~', true);
    core::RecordTable favourites{worldtime::cityField::Count};
    for (int copy = 0; copy < 4; ++copy) {
        for (int row = 1; row <= shipped.rowCount(); ++row) {
            int added = favourites.appendRow();
            for (int column = 1; column <= worldtime::cityField::Count; ++column)
                favourites.setField(added, column, shipped.fieldText(row, column));
        }
    }
    platform::SystemTime day{2027, 3, 0, 28, 0, 0, 0, 0};
    for (auto _ : state) {
        worldtime::PlannerGrid grid = worldtime::plannerGrid(favourites, day, 0);
        benchmark::DoNotOptimize(grid.columns.data());
    }
    state.counters["favourites"] = favourites.rowCount();
}
BENCHMARK(BM_PlannerGrid20Favourites)->Unit(benchmark::kMicrosecond);

// The same job for both: a UTC instant to the calendar fields of London's local time, for the
// same instants: a walk through 2025 in steps of 7 hours 13 minutes.
constexpr std::int64_t kStepSeconds = 7 * 3600 + 13 * 60;
constexpr std::int64_t kStart2025 = 1735689600;  // 2025-01-01 00:00 UTC, Unix seconds

void BM_ZoneLocalTime(benchmark::State& state) {
    device();
    worldtime::ZoneInfo london = worldtime::zoneInfo(54);
    std::int64_t seconds = kStart2025;
    for (auto _ : state) {
        seconds = kStart2025 + (seconds - kStart2025 + kStepSeconds) % (365 * 86400);
        std::int64_t utc = (seconds + 11644473600LL) * 10000000LL;
        benchmark::DoNotOptimize(worldtime::fromFileTicks(worldtime::zoneLocalTicks(london, utc)));
    }
}
BENCHMARK(BM_ZoneLocalTime);

void BM_LocaltimeR(benchmark::State& state) {
    ::setenv("TZ", "Europe/London", 1);
    ::tzset();
    std::int64_t seconds = kStart2025;
    for (auto _ : state) {
        seconds = kStart2025 + (seconds - kStart2025 + kStepSeconds) % (365 * 86400);
        time_t t = static_cast<time_t>(seconds);
        tm local{};
        benchmark::DoNotOptimize(::localtime_r(&t, &local));
    }
}
BENCHMARK(BM_LocaltimeR);

}  // namespace
