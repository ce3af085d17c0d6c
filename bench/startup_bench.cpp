// The main program's start to its first painted screen, as a whole process on a fresh device
// (headless): the median over runs, and the peak memory of one run.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"

namespace {

namespace fs = std::filesystem;

struct Device {
    fs::path root;
    explicit Device(bool wizardDone) {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = fs::path(mkdtemp(pattern.data())) / "device";
        const std::string vorndev = (bench::binDir() / "vorndev").string();
        bench::runProcess({vorndev, "init", "--device", root.string()}, {});
        if (wizardDone) {
            for (const char* name : {"WizardEULA", "WizardDone"}) {
                bench::runProcess({vorndev, "ctl", "--device", root.string(), "reg", "set", "HKCU",
                                   "Software\\VornSoftware\\VornRoamer3", name, "--dword",
                                   std::string(name) == "WizardEULA" ? "3" : "1"},
                                  {});
            }
        }
    }
    ~Device() {
        std::error_code ec;
        fs::remove_all(root.parent_path(), ec);
    }
};

// Arg 0, keptPictures 1: an earlier start kept the resized pictures (every start but a
// device's first); 0: the kept pictures are removed before each start, which then resizes
// them again. Arg 1, wizardDone 0: a new device, whose first screen is the set-up wizard; 1:
// the wizard was finished, and the program opens on its start screen.
void BM_StartToFirstFrame(benchmark::State& state) {
    const bool keptPictures = state.range(0) != 0;
    const bool wizardDone = state.range(1) != 0;
    Device device(wizardDone);
    fs::path program = device.root / "Program Files" / "Vorn Roamer" / "vornroamer3.exe";
    std::vector<std::string> env{"VORN_DEVICE=" + device.root.string(), "VORN_DISPLAY=headless",
                                 "VORN_EXIT_AFTER_FIRST_FRAME=1",
                                 "VORN_SELF=\\Program Files\\Vorn Roamer\\vornroamer3.exe"};
    const std::string programPath = fs::canonical(program).string();
    // The device's very first start sets up its state; it is not what is measured.
    if (bench::runProcess({programPath}, env) != 0) {
        state.SkipWithError("the main program did not end cleanly");
        return;
    }
    long peak = 0;
    for (auto _ : state) {
        if (!keptPictures) {
            state.PauseTiming();
            std::error_code ec;
            fs::remove_all(device.root / "Temp" / "Vorn Roamer", ec);
            state.ResumeTiming();
        }
        if (bench::runProcess({programPath}, env, &peak) != 0) {
            state.SkipWithError("the main program did not end cleanly");
            break;
        }
    }
    state.counters["peak_kb"] = static_cast<double>(peak);
}
BENCHMARK(BM_StartToFirstFrame)
    ->ArgNames({"keptPictures", "wizardDone"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Iterations(1);

}  // namespace
