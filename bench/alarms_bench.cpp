// Alarm speed: the home screen and the alarm list ask for the next alarm every few seconds,
// which reads the armed notification of every alarm; over 200 armed alarms that must stay
// under 1 ms. Also the repeat search and loading the store, which every change does first.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "alarms/alarm_store.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"

namespace {

constexpr int kAlarms = 200;

// A throw-away device with a store of 200 armed alarms of every repeating kind.
struct BenchDevice {
    std::filesystem::path root;
    BenchDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        platform::setDeviceRoot(root);
        std::filesystem::create_directories(root / "windows");
        alarms::AlarmStore store;
        for (int i = 0; i < kAlarms; ++i) {
            alarms::AlarmRecord r;
            r.name = L"Alarm " + std::to_wstring(i);
            r.kind = static_cast<alarms::RepeatKind>(2 + i % 6);
            r.timeOfDayMs = (i * 7 % 24) * 3600000 + (i * 13 % 60) * 60000;
            r.dayMask = 1 + i % 127;
            r.dayOfMonth = 1 + i % 31;
            r.month = 1 + i % 12;
            store.addNew(r);
        }
    }
    ~BenchDevice() { std::filesystem::remove_all(root); }
};

BenchDevice& device() {
    static BenchDevice d;
    return d;
}

void BM_NextAlarmOf200(benchmark::State& state) {
    device();
    alarms::AlarmStore store;
    int armed = 0;
    for (int row = 1; row <= store.rowCount(); ++row) armed += store.handle(row) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(store.nextAlarm());
    state.counters["alarms"] = store.rowCount();
    state.counters["armed"] = armed;
}
BENCHMARK(BM_NextAlarmOf200)->Unit(benchmark::kMicrosecond);

void BM_LoadStoreOf200(benchmark::State& state) {
    device();
    for (auto _ : state) {
        alarms::AlarmStore store;
        benchmark::DoNotOptimize(store.rowCount());
    }
}
BENCHMARK(BM_LoadStoreOf200)->Unit(benchmark::kMicrosecond);

void BM_NextMonthlyOccurrence(benchmark::State& state) {
    alarms::AlarmRecord r;
    r.kind = alarms::RepeatKind::Monthly;
    r.dayOfMonth = 31;
    r.timeOfDayMs = 7 * 3600000;
    platform::SystemTime now{2027, 2, 0, 28, 8, 0, 0, 0};
    for (auto _ : state) benchmark::DoNotOptimize(alarms::occurrenceAfter(r, now));
}
BENCHMARK(BM_NextMonthlyOccurrence)->Unit(benchmark::kMicrosecond);

}  // namespace
