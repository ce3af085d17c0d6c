// Itinerary speed: the agenda is rebuilt whenever the itinerary screen opens a trip or saves
// an entry; for a 60-entry trip (about 110 events over two weeks, with their day headings)
// that must stay under 2 ms. Also loading the trip file, which comes first.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "travel/trip_agenda.h"
#include "travel/trip_file.h"

namespace {

constexpr int kEntries = 60;
const std::wstring kFolder = L"\\itinerary\\";

platform::SystemTime day(int d, int hour, int minute) {
    platform::SystemTime t{2030,
                           5,
                           0,
                           static_cast<std::uint16_t>(1 + d % 28),
                           static_cast<std::uint16_t>(hour),
                           static_cast<std::uint16_t>(minute),
                           0,
                           0};
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(2030, 5, t.day));
    return t;
}

// A throw-away device with a trip of 60 entries of every kind, entered out of order.
struct BenchDevice {
    std::filesystem::path root;
    BenchDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        platform::setDeviceRoot(root);
        travel::Trip trip;
        trip.name = L"Grand tour";
        for (int i = 0; i < kEntries; ++i) {
            travel::TripEntry e;
            e.kind = static_cast<travel::EntryKind>(1 + i % 6);
            e.start = day(i * 7 % 14, i * 5 % 24, i * 11 % 60);
            e.end = day(i * 7 % 14 + 1, (i * 5 + 3) % 24, i * 13 % 60);
            e.reminder = (i % 5) * 15;
            e.setText(5, L"Entry " + std::to_wstring(i));
            e.setText(8, L"Place " + std::to_wstring(i));
            e.setText(9, i % 3 ? L"British Airways" : L"Station");
            e.setText(10, L"T" + std::to_wstring(i % 5));
            e.setText(11, L"Arrival " + std::to_wstring(i));
            trip.entries.push_back(e);
        }
        travel::saveTrip(kFolder, trip);
    }
    ~BenchDevice() { std::filesystem::remove_all(root); }
};

BenchDevice& device() {
    static BenchDevice d;
    return d;
}

travel::TextSource texts() {
    // The formats of the English language file for the event texts and headings.
    return [](int n) -> std::wstring {
        switch (n) {
            case 260:
                return L"Today, %s";
            case 261:
                return L"Tomorrow, %s";
            case 262:
                return L"Flight %s%s departs %s %s";
            case 263:
                return L"Flight %s%s arrives %s %s";
            default:
                return L"%s at %s";
        }
    };
}

void BM_BuildAgenda60(benchmark::State& state) {
    device();
    auto trip = travel::loadTrip(kFolder, L"Grand tour");
    travel::AirlineCodes airlines;
    airlines.add(L"British Airways", L"BA");
    const auto text = texts();
    const platform::SystemTime today = day(3, 9, 0);
    std::size_t rows = 0;
    for (auto _ : state) {
        auto agenda = travel::buildAgenda(*trip, today, airlines, text);
        rows = agenda.size();
        benchmark::DoNotOptimize(agenda.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BuildAgenda60)->Unit(benchmark::kMicrosecond);

void BM_LoadTrip60(benchmark::State& state) {
    device();
    for (auto _ : state) {
        auto trip = travel::loadTrip(kFolder, L"Grand tour");
        benchmark::DoNotOptimize(trip->entries.data());
    }
}
BENCHMARK(BM_LoadTrip60)->Unit(benchmark::kMicrosecond);

}  // namespace
