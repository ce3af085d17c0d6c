// The shared core on the real install folder: loading the full city list into a record
// table, sorting it by each of the city screen's keys, and loading the language file.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/language.h"
#include "core/message_box.h"
#include "core/record_table.h"
#include "platform/api/device.h"

namespace {

const std::wstring kInstall = L"\\Program Files\\Vorn Roamer\\";

// A device whose install folder is the source tree's data folder, as the installer links it.
void benchDevice() {
    static const bool ready = [] {
        char pattern[] = "/tmp/vorn-core-bench-XXXXXX";
        std::filesystem::path root = mkdtemp(pattern);
        std::filesystem::create_directories(root / "Program Files");
        std::filesystem::create_directory_symlink(std::filesystem::path(VORN_SOURCE_DIR) / "data",
                                                  root / "Program Files" / "Vorn Roamer");
        platform::setDeviceRoot(root);
        std::atexit([] { std::filesystem::remove_all(platform::deviceRoot()); });
        return true;
    }();
    (void)ready;
}

void CityListLoad(benchmark::State& state) {
    benchDevice();
    for (auto _ : state) {
        core::RecordTable cities(10);
        benchmark::DoNotOptimize(cities.load(kInstall, L"citylist.dat", L'~', true));
    }
}
BENCHMARK(CityListLoad)->Unit(benchmark::kMillisecond);

// The city screen's sort modes: 0 by city name, 1 by country, 2 by zone number.
constexpr struct {
    int column;
    bool numeric;
} kSortKeys[] = {{2, false}, {3, false}, {1, true}};

void CityListLoadAndSort(benchmark::State& state) {
    benchDevice();
    auto key = kSortKeys[state.range(0)];
    for (auto _ : state) {
        core::RecordTable cities(10);
        cities.load(kInstall, L"citylist.dat", L'~', true);
        cities.sort(key.column, key.numeric);
        benchmark::DoNotOptimize(cities.row(1));
    }
}
BENCHMARK(CityListLoadAndSort)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void CityListSortOnly(benchmark::State& state) {
    benchDevice();
    auto key = kSortKeys[state.range(0)];
    core::RecordTable loaded(10);
    loaded.load(kInstall, L"citylist.dat", L'~', true);
    std::optional<core::RecordTable> cities;
    for (auto _ : state) {
        // Copying in and freeing the previous copy are not part of the sort.
        state.PauseTiming();
        cities.emplace(10);
        cities->copyFrom(loaded);
        state.ResumeTiming();
        cities->sort(key.column, key.numeric);
        benchmark::DoNotOptimize(cities->row(1));
    }
}
BENCHMARK(CityListSortOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void LanguageFileLoad(benchmark::State& state) {
    benchDevice();
    core::buildLanguageList(kInstall, 1, 9);
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::openLanguage(kInstall, true, true));
    }
}
BENCHMARK(LanguageFileLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
