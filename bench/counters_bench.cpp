// Stopwatch speed: every 50 ms the running stopwatch brings its count up to date and the
// window repaints (the large digits, the buttons and a lap list of 30 laps). Each tick with
// its repaint must stay under 2 ms, at both display sizes.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "alarms/screens/counters_screen.h"
#include "alarms/screens/counters_screens.h"
#include "app/application.h"
#include "bench/support/bench_support.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"

namespace {

std::unique_ptr<app::Application> app;

void stopwatchTick(benchmark::State& state) {
    // The window system belongs to the process: one screen size per run.
    static const auto size = state.range(0);
    if (size != state.range(0)) {
        state.SkipWithError("one screen size per run: filter on /1 or /2");
        return;
    }
    bench::useScreenDevice(size == 2 ? "480x640" : "240x320");
    if (!app) {
        app = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        alarms::registerCounterScreens(app->screens());
        if (!app->createMainWindow())
            std::abort();
    }
    app->switchModule(44, {.saveOld = false, .deleteOld = true});
    bench::pumpMessages();
    auto& screen = *static_cast<alarms::CountersScreen*>(app->currentModule());
    screen.command(alarms::counterCommand::StartStop, 0);
    for (int i = 0; i < 30; ++i) screen.command(100, 0);
    for (auto _ : state) {
        screen.tick();
        platform::updateWindow(app->mainWindow());
    }
    screen.command(alarms::counterCommand::StartStop, 0);
}
BENCHMARK(stopwatchTick)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(stopwatchTick)->Arg(2)->Unit(benchmark::kMicrosecond);

void closeApplication() {
    if (!app)
        return;
    platform::destroyWindow(app->mainWindow());
    bench::pumpMessages();
    app.reset();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeApplication();
    return 0;
}
