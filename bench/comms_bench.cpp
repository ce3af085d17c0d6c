// The comms program's own work once the answers are in: reading a 7-day forecast answer
// (current conditions, 48 hours, 7 days) and making the four weather tables of 10 cities
// (target under 5 ms), and the same with the forty files staged beside their names, flushed
// and renamed, as one weather update of ten favourites does, where the disk's flushes add
// their own time. The network's time is part of neither.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "commsprogram/comms_job.h"
#include "commsprogram/open_meteo.h"
#include "commsprogram/weather_tables.h"
#include "platform/api/device.h"

namespace {

std::string forecastAnswer() {
    std::ifstream in(std::filesystem::path(VORN_SOURCE_DIR) / "tests" / "commsprogram" / "replays" /
                         "forecast_london.json",
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every forecast request answered at once with the recorded answer.
class RecordedForecast : public commsprogram::Fetcher {
  public:
    explicit RecordedForecast(std::string body) : body_(std::move(body)) {}
    commsprogram::Fetched get(const commsprogram::FetchRequest&) override {
        commsprogram::Fetched fetched;
        fetched.status = 200;
        fetched.body = body_;
        return fetched;
    }

  private:
    std::string body_;
};

const std::filesystem::path& benchDevice() {
    static const std::filesystem::path root = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        std::filesystem::path made = ::mkdtemp(pattern.data());
        platform::setDeviceRoot(made);
        std::filesystem::create_directories(made / "downloads");
        std::atexit([] { std::filesystem::remove_all(benchDevice()); });
        return made;
    }();
    return root;
}

void BM_ParseForecast(benchmark::State& state) {
    const std::string answer = forecastAnswer();
    for (auto _ : state) {
        auto report = commsprogram::parseOpenMeteoForecast(answer);
        if (!report.value)
            state.SkipWithError("the recorded answer does not read");
        benchmark::DoNotOptimize(report);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(answer.size()));
}
BENCHMARK(BM_ParseForecast)->Unit(benchmark::kMicrosecond);

// The same without the disk: reading ten answers and making their forty tables.
void BM_TablesOfTenCities(benchmark::State& state) {
    const std::string answer = forecastAnswer();
    for (auto _ : state) {
        std::size_t characters = 0;
        for (int city = 0; city < 10; ++city) {
            auto report = commsprogram::parseOpenMeteoForecast(answer);
            if (!report.value) {
                state.SkipWithError("the recorded answer does not read");
                break;
            }
            characters += commsprogram::dailyTable(*report.value).size() +
                          commsprogram::periodTable(*report.value).size() +
                          commsprogram::currentTable(*report.value).size() +
                          commsprogram::outlookTable(*report.value).size();
        }
        benchmark::DoNotOptimize(characters);
    }
}
BENCHMARK(BM_TablesOfTenCities)->Unit(benchmark::kMillisecond);

// With the disk: every file staged (written and flushed), then all renamed.
void BM_WeatherUpdateOfTenCities(benchmark::State& state) {
    benchDevice();
    commsprogram::JobInput input;
    input.request.kind = commsprogram::RequestKind::Weather;
    input.mask = 0x2 | 0x4 | 0x8 | 0x10;
    input.downloadPath = L"\\downloads\\";
    for (int city = 0; city < 10; ++city)
        input.cities.push_back(
            {{L"CITY" + std::to_wstring(city), 51.5 + city, -0.1 + city}, L"", ""});
    RecordedForecast fetcher(forecastAnswer());
    commsprogram::Providers providers =
        commsprogram::standardProviders(commsprogram::ServiceBases{}, "2026-12-08");
    std::atomic<bool> cancel{false};
    for (auto _ : state) {
        commsprogram::JobOutcome outcome = commsprogram::runJob(input, fetcher, providers, cancel);
        if (outcome.failure || outcome.filesWritten != 40)
            state.SkipWithError("the update did not write its 40 files");
    }
}
BENCHMARK(BM_WeatherUpdateOfTenCities)->Unit(benchmark::kMillisecond);

}  // namespace
