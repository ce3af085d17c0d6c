// The alarm program's start to its first painted frame, as a whole process on a device
// (headless): a due alarm from the store (found, re-armed, its window drawn) and the quick
// alarm. The median over runs, and the peak memory of one run.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"

namespace {

namespace fs = std::filesystem;

struct Device {
    fs::path root;
    Device() {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = fs::path(mkdtemp(pattern.data())) / "device";
        bench::runProcess(
            {(bench::binDir() / "vorndev").string(), "init", "--device", root.string()}, {});
        // A daily alarm at 07:00 as the editor stores it.
        std::ofstream store(root / "windows" / "vornalarms.dat", std::ios::binary);
        store << "\xEF\xBB\xBF"
              << "Wake up~Good morning~9999~Chime.wav~2~25200000~0~10:3:2027~1~1~4~2~3~0~0~0~0~"
                 "\\Program Files\\Vorn Roamer\\sounds\\Chime.wav~-1";
    }
    ~Device() {
        std::error_code ec;
        fs::remove_all(root.parent_path(), ec);
    }
};

// Arg 0: 1 for "/ALARM Wake up", 0 for "/QUICK".
void BM_AlarmStartToFirstFrame(benchmark::State& state) {
    Device device;
    const fs::path program = device.root / "windows" / "vornalarms.exe";
    std::vector<std::string> env{"VORN_DEVICE=" + device.root.string(), "VORN_DISPLAY=headless",
                                 "VORN_EXIT_AFTER_FIRST_FRAME=1",
                                 "VORN_SELF=\\windows\\vornalarms.exe"};
    const std::string programPath = fs::canonical(program).string();
    const std::string line = state.range(0) ? "/ALARM Wake up" : "/QUICK";
    // The device's very first start sets up its state; it is not what is measured.
    if (bench::runProcess({programPath, line}, env) != 0) {
        state.SkipWithError("the alarm program did not end cleanly");
        return;
    }
    long peak = 0;
    for (auto _ : state) {
        if (bench::runProcess({programPath, line}, env, &peak) != 0) {
            state.SkipWithError("the alarm program did not end cleanly");
            break;
        }
    }
    state.counters["peak_kb"] = static_cast<double>(peak);
}
BENCHMARK(BM_AlarmStartToFirstFrame)
    ->ArgNames({"alarm"})
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Iterations(1);

}  // namespace
