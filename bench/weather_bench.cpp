// Weather loading: opening the weather screen or reloading it after an update reads every
// table kind of one city (daily, part of day, current conditions, outlook and the two
// home-screen tables), checks its map pictures and counts the region's frames; that must take
// well under 1 ms. Decoding a map picture and stepping the loop are measured apart.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/device.h"
#include "weather/screen_texts.h"
#include "weather/weather_data.h"

namespace {

constexpr std::wstring_view kFolder = L"\\downloads\\";

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" << text;
}

std::string forecastRows(int rows) {
    std::string text;
    for (int row = 0; row < rows; ++row) {
        text += "1~61~" + std::to_string(10 + row) + "~" + std::to_string(2 + row) + "~SW~20~" +
                std::to_string(row % 7 + 1) + "~Light rain in the morning, clearing later~1208" +
                std::to_string(26) + "~M~~Showers~18~10~\n";
    }
    return text;
}

// A throw-away device with a full set of one city's weather files, shaped as the comms
// program writes them, and a map picture for every picture and frame.
struct BenchDevice {
    std::filesystem::path root;
    BenchDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        platform::setDeviceRoot(root);
        const std::filesystem::path folder = root / "downloads";
        std::filesystem::create_directories(folder);
        writeText(folder / "LON.dat", forecastRows(7));
        writeText(folder / "LON_d.dat", forecastRows(8));
        std::string stations;
        for (int s = 0; s < 5; ++s)
            stations +=
                "1~3~7~5~W~15~1012~Overcast~~~4~10~cloudy~Station " + std::to_string(s) + "\n";
        writeText(folder / "LON_c.dat", stations);
        std::string outlook = "1~London";
        for (int k = 1; k <= 8; ++k) outlook += "~M~" + std::to_string(k % 7 + 1) + "~2~Pollen low";
        writeText(folder / "LON_a.dat", outlook + "~Outlook text\n");
        writeText(folder / "LON_s.dat", std::string(25, '~') + "\n" + std::string(25, '~') + "\n");
        writeText(folder / "LON_w.dat", "1~2~3~4~5~6~7~8\n1~2~3~4~5~6~7~8\n");
        const std::filesystem::path picture =
            std::filesystem::path(VORN_SOURCE_DIR) / "data" / "graphics" / "vorn_vga.jpg";
        std::filesystem::copy_file(picture, folder / "LON_m.dat");
        for (int frame : {0, 2, 4, 6, 8, 10}) {
            std::filesystem::copy_file(picture,
                                       folder / ("Europe_sat" + std::to_string(frame) + ".dat"));
            std::filesystem::copy_file(picture,
                                       folder / ("Europe_rad" + std::to_string(frame) + ".dat"));
        }
    }
    ~BenchDevice() { std::filesystem::remove_all(root); }
};

BenchDevice& device() {
    static BenchDevice d;
    return d;
}

void BM_LoadAllKindsOfOneCity(benchmark::State& state) {
    device();
    using namespace weather;
    const Units units{true, true};
    for (auto _ : state) {
        int sum = 0;
        for (int kind : {fileKind::Daily, fileKind::Periods, fileKind::Current, fileKind::Outlook,
                         fileKind::Summary, fileKind::Week}) {
            WeatherData data(kind, L"LON", units, kFolder);
            sum += data.rowCount() + data.iconNumber();
            benchmark::DoNotOptimize(data.temperatureText(0x301));
        }
        for (int kind : {fileKind::ForecastMap, fileKind::UserMap}) {
            WeatherData map(kind, L"LON", units, kFolder);
            sum += map.exists();
        }
        for (int kind : {fileKind::Satellite, fileKind::Radar}) {
            WeatherData frames(kind, L"Europe", units, kFolder);
            sum += frames.frameCount();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LoadAllKindsOfOneCity)->Unit(benchmark::kMicrosecond);

void BM_DecodeMapPicture(benchmark::State& state) {
    device();
    weather::WeatherData map(weather::fileKind::ForecastMap, L"LON", {}, kFolder);
    for (auto _ : state) benchmark::DoNotOptimize(map.load());
}
BENCHMARK(BM_DecodeMapPicture)->Unit(benchmark::kMicrosecond);

void BM_LoopFrameStepAndDecode(benchmark::State& state) {
    device();
    weather::WeatherData frames(weather::fileKind::Satellite, L"Europe", {}, kFolder);
    for (auto _ : state) {
        frames.stepFrame();
        benchmark::DoNotOptimize(frames.load());
    }
}
BENCHMARK(BM_LoopFrameStepAndDecode)->Unit(benchmark::kMicrosecond);

}  // namespace
