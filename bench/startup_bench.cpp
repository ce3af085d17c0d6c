// The main program's start to its first painted screen, as a whole process on a fresh device
// (headless): the median over runs, and the peak memory of one run.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path binDir() {
    return fs::canonical("/proc/self/exe").parent_path();
}

int run(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
        long* peakKb = nullptr) {
    std::vector<std::string> argText = args;
    std::vector<char*> argv;
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) envText.emplace_back(*e);
    envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (peakKb)
        *peakKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Device {
    fs::path root;
    Device() {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = fs::path(mkdtemp(pattern.data())) / "device";
        run({(binDir() / "vorndev").string(), "init", "--device", root.string()}, {});
    }
    ~Device() {
        std::error_code ec;
        fs::remove_all(root.parent_path(), ec);
    }
};

// Arg 1: an earlier start kept the resized pictures (every start but a device's first);
// arg 0: the kept pictures are removed before each start, which then resizes them again.
void BM_StartToFirstFrame(benchmark::State& state) {
    static Device device;
    const bool keptPictures = state.range(0) != 0;
    fs::path program = device.root / "Program Files" / "Vorn Roamer" / "vornroamer3.exe";
    std::vector<std::string> env{"VORN_DEVICE=" + device.root.string(), "VORN_DISPLAY=headless",
                                 "VORN_EXIT_AFTER_FIRST_FRAME=1",
                                 "VORN_SELF=\\Program Files\\Vorn Roamer\\vornroamer3.exe"};
    long peak = 0;
    for (auto _ : state) {
        if (!keptPictures) {
            state.PauseTiming();
            std::error_code ec;
            fs::remove_all(device.root / "Temp" / "Vorn Roamer", ec);
            state.ResumeTiming();
        }
        if (run({fs::canonical(program).string()}, env, &peak) != 0) {
            state.SkipWithError("the main program did not end cleanly");
            break;
        }
    }
    state.counters["peak_kb"] = static_cast<double>(peak);
}
BENCHMARK(BM_StartToFirstFrame)
    ->ArgName("keptPictures")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Iterations(1);

}  // namespace
