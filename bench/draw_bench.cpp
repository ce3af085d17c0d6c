// Drawing speed: full-screen blits at both display scales, a full-screen fill, a line of
// text in the system's 8-point font, and loading a photo-sized JPEG.

#include <benchmark/benchmark.h>

#include <memory>

#include "platform/api/draw.h"

namespace {

using platform::Bitmap;
using platform::DeviceContext;

void fullScreenBlit(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    DeviceContext src, dst;
    src.selectBitmap(std::make_shared<Bitmap>(w, h));
    dst.selectBitmap(std::make_shared<Bitmap>(w, h));
    src.fillRect({0, 0, w, h}, platform::rgb(10, 20, 30));
    for (auto _ : state) {
        dst.blit({0, 0, w, h}, src, {0, 0});
        benchmark::DoNotOptimize(dst.bitmap()->bits());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(w) * h * 3);
}
BENCHMARK(fullScreenBlit)->Args({240, 320})->Args({480, 640});

void fullScreenStretch(benchmark::State& state) {
    DeviceContext src, dst;
    src.selectBitmap(std::make_shared<Bitmap>(240, 320));
    dst.selectBitmap(std::make_shared<Bitmap>(480, 640));
    for (auto _ : state) {
        dst.stretchBlit({0, 0, 480, 640}, src, {0, 0, 240, 320});
        benchmark::DoNotOptimize(dst.bitmap()->bits());
    }
}
BENCHMARK(fullScreenStretch);

void fullScreenFill(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    DeviceContext dc;
    dc.selectBitmap(std::make_shared<Bitmap>(w, h));
    platform::Colour c = 0;
    for (auto _ : state) {
        dc.fillRect({0, 0, w, h}, c++);
        benchmark::DoNotOptimize(dc.bitmap()->bits());
    }
}
BENCHMARK(fullScreenFill)->Args({240, 320})->Args({480, 640});

void lineOfText(benchmark::State& state) {
    DeviceContext dc;
    dc.selectBitmap(std::make_shared<Bitmap>(240, 40));
    platform::FontSpec spec;
    spec.height = static_cast<int>(state.range(0));
    dc.selectFont(platform::Font::create(spec));
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.setTextColour(platform::rgb(255, 255, 255));
    platform::Rect r{2, 2, 238, 38};
    for (auto _ : state) {
        dc.drawText(L"Vorn Roamer 12:34 London", r, platform::dt::SingleLine);
        benchmark::DoNotOptimize(dc.bitmap()->bits());
    }
}
BENCHMARK(lineOfText)->Arg(-11)->Arg(-21);

void measureText(benchmark::State& state) {
    DeviceContext dc;
    for (auto _ : state) benchmark::DoNotOptimize(dc.textExtent(L"Vorn Roamer 12:34 London"));
}
BENCHMARK(measureText);

void antialiasedEllipse(benchmark::State& state) {
    DeviceContext dc;
    dc.selectBitmap(std::make_shared<Bitmap>(240, 320));
    for (auto _ : state) {
        dc.ellipse({20, 20, 220, 220});
        benchmark::DoNotOptimize(dc.bitmap()->bits());
    }
}
BENCHMARK(antialiasedEllipse);

}  // namespace
