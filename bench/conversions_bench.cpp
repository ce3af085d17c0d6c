// Conversion speed: one keystroke on the keypad converts every row of the list, so a category
// of 40 chosen units (the shipped rate file's first 40 currencies) must convert and format in
// well under 0.5 ms; also reading the whole rate file, as selecting the currency category does.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "conversions/conversion.h"
#include "conversions/unit_table.h"
#include "platform/api/device.h"

namespace {

// A throw-away device holding the shipped rate file.
struct BenchDevice {
    std::filesystem::path root;
    BenchDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        platform::setDeviceRoot(root);
        std::filesystem::create_directories(root / "conversions");
        std::filesystem::copy_file(
            std::filesystem::path(VORN_SOURCE_DIR) / "data" / "conversions" / "rates.dat",
            root / "conversions" / "rates.dat");
    }
    ~BenchDevice() { std::filesystem::remove_all(root); }
};

BenchDevice& device() {
    static BenchDevice d;
    return d;
}

void BM_ConvertFortyUnitsPerKeystroke(benchmark::State& state) {
    device();
    conversions::UnitTable table = conversions::loadRates(L"\\conversions\\");
    std::vector<std::wstring> keys;
    for (std::size_t i = 0; i < table.units.size() && keys.size() < 40; ++i)
        keys.push_back(table.units[i].key);
    std::vector<conversions::ListRow> rows = conversions::linearRows(table, keys);
    conversions::NumberStyle style{L","};
    double amount = 1;
    for (auto _ : state) {
        amount = amount * 10 + 7;  // a digit typed
        if (amount > 1e9)
            amount = 1;
        conversions::convertLinear(table, rows, amount, 3, style);
        benchmark::DoNotOptimize(rows.back().value.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_ConvertFortyUnitsPerKeystroke)->Unit(benchmark::kMicrosecond);

void BM_LoadRates(benchmark::State& state) {
    device();
    for (auto _ : state) {
        conversions::UnitTable table = conversions::loadRates(L"\\conversions\\");
        benchmark::DoNotOptimize(table.units.data());
    }
}
BENCHMARK(BM_LoadRates)->Unit(benchmark::kMicrosecond);

}  // namespace
