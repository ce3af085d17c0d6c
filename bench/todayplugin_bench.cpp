// The Today plug-in's work that runs for the life of the device: the host's refresh query
// every 2 seconds with nothing changed, and a full repaint of the item.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_support.h"
#include "core/settings.h"
#include "platform/api/draw.h"
#include "tests/todayplugin/support/fake_host.h"
#include "todayplugin/today_plugin.h"

namespace {

constexpr wchar_t kInstall[] = L"\\Program Files\\Vorn Roamer\\";

void prepare() {
    bench::useScreenDevice("480x640");
    core::writeSetting(L"MainPath", kInstall);
    core::writeSetting(L"OptHomeLayout", std::wstring(kInstall) + L"home\\today_default.xml");
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    core::writeNumberSetting(L"PluginUpdateData", 0);
    core::writeNumberSetting(L"OptHomeRotate", 2);
}

// The refresh query of an item whose layout, data and height did not change: what the host
// asks every 2 seconds.
void BM_RefreshQueryUnchanged(benchmark::State& state) {
    prepare();
    int width = static_cast<int>(state.range(0));
    todayplugin::test::FakeHost host(width, 90);
    todayplugin::TodayPlugin plugin(host);
    VornTodayListItem record{};
    plugin.queryRefresh(record);
    for (auto _ : state) {
        int changed = plugin.queryRefresh(record);
        benchmark::DoNotOptimize(changed);
        if (changed)
            state.SkipWithError("the height changed");
    }
}
BENCHMARK(BM_RefreshQueryUnchanged)->Arg(240)->Arg(480)->Unit(benchmark::kMicrosecond);

// A full repaint of the item with the focus highlight, as the host asks on every change.
void BM_FullRepaint(benchmark::State& state) {
    prepare();
    int width = static_cast<int>(state.range(0));
    todayplugin::test::FakeHost host(width, width == 480 ? 168 : 84);
    todayplugin::TodayPlugin plugin(host);
    VornTodayListItem record{};
    plugin.queryRefresh(record);
    plugin.item()->setFocus(true);
    platform::Bitmap target(width, static_cast<int>(record.height));
    for (auto _ : state) {
        plugin.item()->paint(target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint)->Arg(240)->Arg(480)->Unit(benchmark::kMicrosecond);

}  // namespace
