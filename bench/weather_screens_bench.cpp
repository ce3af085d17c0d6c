// The weather maps' loop: one step to the previous satellite frame (the frame file decoded)
// with the screen repainted, on a 480 x 640 screen with four frames of 480 x 640 pictures.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "bench/support/bench_support.h"
#include "core/settings_file.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "weather/screens/screens.h"
#include "weather/screens/weather_screen.h"
#include "worldtime/screens/screens.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<app::Application> program;

// A throw-away device at 480 x 640 with the install folder and London's satellite frames.
void useDevice() {
    fs::path install = bench::useScreenDevice("480x640") / "Program Files" / "Vorn Roamer";
    fs::create_directories(install / "downloads");
    const char* frames[] = {"land_ocean.jpg", "land_meadow.jpg", "dusk.jpg", "land_slate.jpg"};
    for (int f = 0; f < 4; ++f) {
        fs::copy_file(install / "backgrounds" / frames[f],
                      install / "downloads" / ("BritishIsles_sat" + std::to_string(f) + ".dat"));
    }
}

weather::WeatherScreen& mapsScreen() {
    if (!program) {
        useDevice();
        program =
            std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        auto favourites = worldtime::registerScreens(program->screens());
        weather::registerScreens(program->screens(), favourites);
        if (!program->createMainWindow())
            std::abort();
        core::setIniNumber(L"mapmode", weather::mapMode::Satellite);
        program->switchModule(32, {.saveOld = false, .deleteOld = true});
    }
    return dynamic_cast<weather::WeatherScreen&>(*program->currentModule());
}

void loopStep(benchmark::State& state) {
    weather::WeatherScreen& screen = mapsScreen();
    for (auto _ : state) {
        screen.stepLoop(false);
        program->invalidateAll(true);
    }
    benchmark::DoNotOptimize(screen.mapData());
}
BENCHMARK(loopStep)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (program) {
        platform::destroyWindow(program->mainWindow());
        program.reset();
    }
    return 0;
}
