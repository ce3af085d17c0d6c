// The home-mode screen's first paint on a 480 x 640 screen: the screen built from its
// layout table (controls, pictures, the city's clock, the quick alarm's state, the weather
// files of the current city) and the whole window painted, for each of its four modes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "bench/support/bench_support.h"
#include "core/settings_file.h"
#include "home/screens/home_screen.h"
#include "home/screens/screens.h"
#include "platform/api/window.h"
#include "weather/screens/screens.h"
#include "worldtime/screens/screens.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<app::Application> program;
std::shared_ptr<worldtime::Favourites> favourites;

// A throw-away device at 480 x 640 with London's forecast and current conditions.
void useDevice() {
    fs::path install = bench::useScreenDevice("480x640") / "Program Files" / "Vorn Roamer";
    fs::create_directories(install / "downloads");
    std::ofstream(install / "downloads" / "GB2643743.dat")
        << "1~1~9~3~SW~10~2~Bright~120826~M~~~~~\n1~3~8~2~W~20~3~Showers~120926~M~~~~~\n"
           "1~61~7~4~W~30~4~Rain~121026~M~~~~~\n1~2~6~1~N~10~5~Cloudy~121126~M~~~~~\n"
           "1~71~3~-1~N~10~6~Snow~121226~M~~~~~\n";
    std::ofstream(install / "downloads" / "GB2643743_c.dat")
        << "1~2~8~3~SW~15~1016~Partly cloudy~~x~6~10~Mild~Last\n";
}

app::Application& theProgram() {
    if (!program) {
        useDevice();
        program =
            std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        favourites = worldtime::registerScreens(program->screens());
        weather::registerScreens(program->screens(), favourites);
        home::registerScreens(program->screens(), favourites);
        if (!program->createMainWindow())
            std::abort();
        program->switchModule(10, {.saveOld = false, .deleteOld = true});
    }
    return *program;
}

// One first paint: a new screen takes the live one's place, is built and shown, and the
// window is painted at once.
void firstPaint(benchmark::State& state) {
    app::Application& app = theProgram();
    core::setIniNumber(L"homemode", static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto screen = std::make_unique<home::HomeModeScreen>(app, *favourites);
        screen->build();
        ui::Module* old = app.currentModule();
        app.switchModule(10, std::move(screen), {.saveOld = false, .deleteOld = true});
        // The program hands the replaced screen back to whoever made the new one.
        delete old;
    }
    benchmark::DoNotOptimize(app.currentModule());
}
BENCHMARK(firstPaint)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

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
