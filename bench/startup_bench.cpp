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
    explicit Device(bool wizardDone) {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = fs::path(mkdtemp(pattern.data())) / "device";
        const std::string vorndev = (binDir() / "vorndev").string();
        run({vorndev, "init", "--device", root.string()}, {});
        if (wizardDone) {
            for (const char* name : {"WizardEULA", "WizardDone"}) {
                run({vorndev, "ctl", "--device", root.string(), "reg", "set", "HKCU",
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
    if (run({programPath}, env) != 0) {
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
        if (run({programPath}, env, &peak) != 0) {
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
