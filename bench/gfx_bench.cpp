// Picture speed against references measured in the same run: Targa decoding against
// stb_image, resizing against stb_image_resize's triangle filter, blending a 60 x 60 icon
// against a plain copy of the same rectangle, and rebuilding the skin of a 480 x 640 screen
// against decoding the background JPEG alone.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "core/settings.h"
#include "gfx/blend.h"
#include "gfx/decoration_pictures.h"
#include "gfx/display_metrics.h"
#include "gfx/resample.h"
#include "gfx/settings_keys.h"
#include "gfx/targa.h"
#include "gfx/theme.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

namespace {

// An icon-like 512 x 512 RGBA picture: transparent surroundings (long runs), a shaded disc
// (every pixel different) and flat stripes.
gfx::TargaPixels iconPicture(int size) {
    gfx::TargaPixels p;
    p.width = p.height = size;
    p.bytesPerPixel = 4;
    p.pixels.resize(static_cast<std::size_t>(size) * size * 4);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint8_t* px = p.row(y) + x * 4;
            const double d = std::hypot(x - centre, y - centre) / centre;
            if (d < 0.8) {
                px[0] = static_cast<std::uint8_t>(x * 255 / size);
                px[1] = static_cast<std::uint8_t>(y * 255 / size);
                px[2] = static_cast<std::uint8_t>(255 * d);
                px[3] = static_cast<std::uint8_t>(d > 0.75 ? (0.8 - d) * 5100 : 255);
            } else if ((y / 16) % 4 == 0) {
                px[0] = 40, px[1] = 80, px[2] = 160, px[3] = 200;
            } else {
                px[0] = px[1] = px[2] = px[3] = 0;
            }
        }
    }
    return p;
}

// Run-length Targa (type 10, 32 bits, bottom-left) of a picture.
std::vector<std::uint8_t> encodeRunLength(const gfx::TargaPixels& p) {
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 10;
    out[12] = p.width & 0xFF, out[13] = p.width >> 8;
    out[14] = p.height & 0xFF, out[15] = p.height >> 8;
    out[16] = 32, out[17] = 8;
    const std::size_t count = static_cast<std::size_t>(p.width) * p.height;
    auto file = [&](std::size_t i) {
        const std::uint8_t* s = p.pixels.data() + i * 4;
        return std::array<std::uint8_t, 4>{s[2], s[1], s[0], s[3]};
    };
    std::size_t i = 0;
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && file(i + run) == file(i)) ++run;
        if (run > 1) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            const auto px = file(i);
            out.insert(out.end(), px.begin(), px.end());
            i += run;
            continue;
        }
        std::size_t literal = 1;
        while (i + literal < count && literal < 128 &&
               !(i + literal + 1 < count && file(i + literal) == file(i + literal + 1))) {
            ++literal;
        }
        out.push_back(static_cast<std::uint8_t>(literal - 1));
        for (std::size_t k = 0; k < literal; ++k) {
            const auto px = file(i + k);
            out.insert(out.end(), px.begin(), px.end());
        }
        i += literal;
    }
    return out;
}

const std::vector<std::uint8_t>& rleFile() {
    static const std::vector<std::uint8_t> file = encodeRunLength(iconPicture(512));
    return file;
}

void decodeTarga512Rle(benchmark::State& state) {
    const auto& file = rleFile();
    for (auto _ : state) {
        std::unique_ptr<gfx::TargaPixels> out;
        gfx::decodeTarga(std::span(file), out);
        benchmark::DoNotOptimize(out->pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * 512 * 512 * 4);
}
BENCHMARK(decodeTarga512Rle);

void stbImageTarga512Rle(benchmark::State& state) {
    const auto& file = rleFile();
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc* pixels =
            stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * 512 * 512 * 4);
}
BENCHMARK(stbImageTarga512Rle);

void resampleTarga512(benchmark::State& state) {
    static const gfx::TargaPixels source = iconPicture(512);
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        gfx::TargaPixels out = gfx::resampleTarga(source, size, size);
        benchmark::DoNotOptimize(out.pixels.data());
    }
}
BENCHMARK(resampleTarga512)->Arg(100)->Arg(1024);

void stbResizeTriangle512(benchmark::State& state) {
    static const gfx::TargaPixels source = iconPicture(512);
    const int size = static_cast<int>(state.range(0));
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size) * size * 4);
    for (auto _ : state) {
        stbir_resize_uint8_generic(source.pixels.data(), 512, 512, 0, out.data(), size, size, 0, 4,
                                   3, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_TRIANGLE,
                                   STBIR_COLORSPACE_LINEAR, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(stbResizeTriangle512)->Arg(100)->Arg(1024);

void blendTargaIcon60(benchmark::State& state) {
    const gfx::TargaPixels icon = gfx::resampleTarga(iconPicture(512), 60, 60);
    platform::Bitmap screen(240, 320);
    screen.fill(0x806040);
    for (auto _ : state) {
        gfx::blendTarga(icon, &screen, 90, 130, false, 1.0);
        benchmark::DoNotOptimize(screen.bits());
    }
}
BENCHMARK(blendTargaIcon60);

void blitIcon60(benchmark::State& state) {
    platform::DeviceContext source, screen;
    source.selectBitmap(std::make_shared<platform::Bitmap>(60, 60));
    screen.selectBitmap(std::make_shared<platform::Bitmap>(240, 320));
    for (auto _ : state) {
        screen.blit({90, 130, 150, 190}, source, {0, 0});
        benchmark::DoNotOptimize(screen.bitmap()->bits());
    }
}
BENCHMARK(blitIcon60);

// A throw-away 480 x 640 device whose install folder is the project's data folder.
std::wstring skinDevice() {
    static std::wstring mainPath;
    if (!mainPath.empty())
        return mainPath;
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    ::setenv("VORN_DEVICE", pattern.c_str(), 1);
    platform::setDeviceRoot(pattern);
    platform::setScreenProfile(*platform::screenProfileFromName("480x640"));
    std::filesystem::create_directories(std::filesystem::path(pattern) / "Program Files");
    std::filesystem::create_directory_symlink(
        std::filesystem::path(VORN_SOURCE_DIR) / "data",
        std::filesystem::path(pattern) / "Program Files" / "Vorn Roamer");
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(platform::deviceRoot(), ec);
    });
    gfx::computeDisplayMetrics();
    mainPath = L"\\Program Files\\Vorn Roamer\\";
    return mainPath;
}

void reloadSkin480x640(benchmark::State& state) {
    const std::wstring mainPath = skinDevice();
    core::settings::write(gfx::keys::OptSkin, state.range(0) ? L"dusk.jpg" : gfx::kAutomatic);
    gfx::Theme theme;
    gfx::DecorationPictures decorations(mainPath);
    gfx::loadTheme(theme, decorations, true);
    for (auto _ : state) {
        gfx::reloadSkin(theme, decorations);
        benchmark::DoNotOptimize(theme.backgroundImage);
    }
    state.SetLabel(state.range(0) ? "file skin" : "automatic");
}
BENCHMARK(reloadSkin480x640)->Arg(0)->Arg(1);

void decodeBackgroundJpeg480x640(benchmark::State& state) {
    const std::wstring mainPath = skinDevice();
    const auto bytes = platform::readFile(mainPath + L"backgrounds\\dusk.jpg");
    for (auto _ : state) {
        auto bitmap = platform::decodeJpeg(*bytes);
        benchmark::DoNotOptimize(bitmap.get());
    }
}
BENCHMARK(decodeBackgroundJpeg480x640);

}  // namespace
