// Screen speed: switching between two screens in the main program's application (the old one
// destroyed, the new one built from its layout table and painted for the first time), and
// repainting a list of 200 rows, at both display scales.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "bench/support/bench_support.h"
#include "gfx/display_metrics.h"
#include "gfx/graphics_state.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "tests/ui/demo/demo_module.h"
#include "ui/list_control.h"

namespace {

std::unique_ptr<app::Application> app;

// The application with two screens of controls (ids 20 and 21), built as the program does.
app::Application& application() {
    if (app)
        return *app;
    bench::useScreenDevice("240x320");
    app = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
    ui::demo::registerDemoControls(app->controlFactory());
    for (int id : {20, 21}) {
        app->screens().add(id, [](ui::ModuleHost& host, int) {
            return std::make_unique<ui::demo::DemoModule>(host, 30);
        });
    }
    if (!app->createMainWindow())
        std::abort();
    return *app;
}

// Destroy, build, first paint: switchModule paints the new screen before it returns.
void switchScreens(benchmark::State& state) {
    app::Application& a = application();
    int next = 20;
    for (auto _ : state) {
        a.switchModule(next, {.saveOld = false, .deleteOld = true});
        bench::pumpMessages();
        next = next == 20 ? 21 : 20;
    }
    benchmark::DoNotOptimize(a.currentModule());
}
BENCHMARK(switchScreens)->Unit(benchmark::kMillisecond);

// A list filling a screen, 200 rows, painted whole into a back buffer.
void repaintList(benchmark::State& state) {
    app::Application& a = application();
    int scale = static_cast<int>(state.range(0));
    // The metrics of a VGA screen at scale 2: layout and fonts twice the size.
    gfx::displayMetrics().scaleX = gfx::displayMetrics().scaleY = scale;
    gfx::displayMetrics().fontDivisor = scale;
    gfx::createGraphicsState();
    core::RecordTable table(1);
    for (int i = 1; i <= 200; ++i)
        table.setField(table.appendRow(), 1, L"City " + std::to_wstring(i));
    ui::ListControl list;
    list.setTable(&table);
    platform::Rect area{0, 0, 240 * scale, 268 * scale};
    list.place(area, nullptr);
    list.show(true, false);
    list.selectRow(120, false);
    platform::DeviceContext dc;
    dc.selectBitmap(std::make_shared<platform::Bitmap>(area.width(), area.height()));
    for (auto _ : state) {
        list.paint(dc, area);
        benchmark::DoNotOptimize(dc.bitmap()->bits());
    }
    (void)a;
    gfx::computeDisplayMetrics();
    gfx::createGraphicsState();
}
BENCHMARK(repaintList)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Closes the window and ends the application as the program does, while the device's state
// store is still open: left to the exit handlers, the application's controls would update the
// window table after the store had closed.
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
