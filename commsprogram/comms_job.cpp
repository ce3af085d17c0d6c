#include "commsprogram/comms_job.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "commsprogram/ecb_rates.h"
#include "commsprogram/file_batch.h"
#include "commsprogram/flight_status.h"
#include "commsprogram/map_sources.h"
#include "commsprogram/open_meteo.h"
#include "commsprogram/weather_tables.h"
#include "core/record_table.h"
#include "platform/api/device.h"
#include "platform/api/zone_database.h"
#include "weather/weather_files.h"

namespace commsprogram {
namespace {

constexpr std::wstring_view kSearchResultFile = L"searchresult.dat";
constexpr std::wstring_view kRatesFile = L"rates.dat";
constexpr std::wstring_view kRatesBase = L"USD";

// A field's text: no separator, no quotes (the readers drop them), no control characters.
std::wstring field(std::string_view utf8) {
    std::wstring out;
    for (wchar_t c : platform::fromUtf8(utf8)) {
        if (c == L'~' || c < 0x20)
            out += L' ';
        else if (c != L'"')
            out += c;
    }
    return out;
}

std::wstring coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return platform::fromUtf8(text);
}

// Hours east of UTC: whole hours as an integer, others with the fraction ("5.5", "5.75").
std::wstring offsetHours(const FoundCity& city, long long nowUtcSeconds) {
    int seconds = 0;
    if (auto zone = platform::hostZone(city.timezone))
        seconds = zone->at(nowUtcSeconds).offsetSeconds;
    else
        seconds = static_cast<int>(std::lround(city.longitude / 15)) * 3600;
    char text[32];
    if (seconds % 3600 == 0)
        std::snprintf(text, sizeof text, "%d", seconds / 3600);
    else
        std::snprintf(text, sizeof text, "%g", std::round(seconds / 36.0) / 100.0);
    return platform::fromUtf8(text);
}

std::wstring rateText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value >= 1e6 ? "%.0f" : "%.6g", value);
    return platform::fromUtf8(text);
}

class Job {
  public:
    Job(const JobInput& input, Fetcher& fetcher, Providers& providers)
        : input_(input), fetcher_(fetcher), providers_(providers) {}

    JobOutcome run(const std::atomic<bool>& cancel) {
        switch (input_.request.kind) {
            case RequestKind::Weather:
            case RequestKind::Schedule:
            case RequestKind::Docking:
            case RequestKind::Retry:
                weather();
                if (!outcome_.failure && (input_.mask & maskBit::Currency))
                    currency();
                break;
            case RequestKind::CityLookup:
                lookup();
                break;
            case RequestKind::Currency:
                currency();
                break;
            case RequestKind::FlightHistory:
                flight();
                break;
        }
        if (!outcome_.failure && cancel.load())
            outcome_.failure = fail(errorCode::Cancelled, "closed during the download");
        if (!outcome_.failure) {
            outcome_.failure = batch_.commit(cancel);
            if (!outcome_.failure)
                outcome_.filesWritten = batch_.size();
        }
        if (outcome_.failure) {
            outcome_.weatherWritten = false;
            outcome_.flightFile.clear();
        }
        return std::move(outcome_);
    }

  private:
    std::wstring inDownloads(std::wstring_view name) const {
        return core::joinDevicePath(input_.downloadPath, name);
    }

    bool failed(const Failure& failure) {
        if (failure)
            outcome_.failure = failure;
        return static_cast<bool>(failure);
    }

    void weather() {
        if (input_.unknownCity) {
            outcome_.failure = fail(errorCode::Unreadable, "the city asked for is in no city file");
            return;
        }
        const int mask = input_.mask;
        const bool tables =
            mask & (maskBit::Daily | maskBit::Periods | maskBit::Current | maskBit::Outlook);
        std::set<std::wstring> regions;
        for (const CityInput& city : input_.cities) {
            const std::wstring& code = city.place.code;
            if (tables) {
                Answer<WeatherReport> report = providers_.weather->forecast(fetcher_, city.place);
                if (failed(report.failure))
                    return;
                if (mask & maskBit::Daily)
                    batch_.addTable(inDownloads(code + L".dat"), dailyTable(*report.value));
                if (mask & maskBit::Periods)
                    batch_.addTable(inDownloads(code + L"_d.dat"), periodTable(*report.value));
                if (mask & maskBit::Current)
                    batch_.addTable(inDownloads(code + L"_c.dat"), currentTable(*report.value));
                if (mask & maskBit::Outlook)
                    batch_.addTable(inDownloads(code + L"_a.dat"), outlookTable(*report.value));
            }
            if (mask & maskBit::ForecastMap) {
                Answer<std::string> map = providers_.maps->forecastMap(fetcher_, city.place);
                if (failed(map.failure))
                    return;
                batch_.addBytes(inDownloads(code + L"_m.dat"), std::move(*map.value));
            }
            if ((mask & maskBit::UserMap) && !city.userMap.empty()) {
                Answer<std::string> map = fetchUserMap(fetcher_, city.userMap);
                if (failed(map.failure))
                    return;
                batch_.addBytes(inDownloads(code + L"_m4.dat"), std::move(*map.value));
            }
            if (!city.region.empty() && weather::isSafeKey(city.region))
                regions.insert(city.region);
        }
        for (const std::wstring& region : regions) {
            if ((mask & maskBit::Satellite) && !frames(weather::fileKind::Satellite, region))
                return;
            if ((mask & maskBit::Radar) && !frames(weather::fileKind::Radar, region))
                return;
        }
        outcome_.weatherWritten = true;
    }

    // A region's frames, newest as frame 0; frames beyond the new ones are removed so that
    // an old picture never plays among new ones.
    bool frames(int kind, const std::wstring& region) {
        const std::string name = platform::toUtf8(region);
        const bool satellite = kind == weather::fileKind::Satellite;
        Answer<std::vector<std::string>> pictures =
            satellite ? providers_.maps->satellite(fetcher_, name, input_.satelliteFrames)
                      : providers_.maps->radar(fetcher_, name, input_.radarFrames);
        if (failed(pictures.failure))
            return false;
        if (pictures.value->empty())
            return true;  // the region has no such pictures; what is there stays
        const std::wstring stem = weather::frameStemOf(kind, region);
        const int count =
            std::min<int>(static_cast<int>(pictures.value->size()), weather::kLastFrame + 1);
        for (int frame = 0; frame < count; ++frame) {
            // The answers come oldest first.
            std::string& picture = (*pictures.value)[pictures.value->size() - 1 - frame];
            batch_.addBytes(inDownloads(weather::frameNameOf(stem, frame)), std::move(picture));
        }
        for (int frame = count; frame <= weather::kLastFrame; ++frame)
            batch_.addRemoval(inDownloads(weather::frameNameOf(stem, frame)));
        return true;
    }

    void lookup() {
        if (input_.lookupText.empty()) {
            outcome_.failure = fail(errorCode::Unreadable, "no search text in CityLookupRequest");
            return;
        }
        Answer<std::vector<FoundCity>> found =
            providers_.cities->search(fetcher_, input_.lookupText);
        if (failed(found.failure))
            return;
        std::wstring table =
            searchResultTable(*found.value, input_.regionByCountry, input_.nowUtcSeconds);
        // No city found: the old results must not pass for this search's.
        if (table.empty())
            batch_.addRemoval(inDownloads(kSearchResultFile));
        else
            batch_.addTable(inDownloads(kSearchResultFile), table);
    }

    void currency() {
        Answer<Rates> rates = providers_.rates->latest(fetcher_);
        if (failed(rates.failure))
            return;
        std::optional<std::wstring> table = ratesTable(*rates.value, input_.previousRates);
        if (!table) {
            outcome_.failure = fail(errorCode::Unreadable, "rates lack the US dollar");
            return;
        }
        batch_.addTable(core::joinDevicePath(input_.ratesFolder, kRatesFile), *table);
    }

    void flight() {
        if (!input_.flight) {
            outcome_.failure = fail(errorCode::Unreadable, "malformed FltHstRequest");
            return;
        }
        if (input_.flight->key.empty()) {
            outcome_.failure = fail(errorCode::NoFlightKey, "no key for the flight service");
            return;
        }
        Answer<std::vector<Flight>> flights = providers_.flights->status(fetcher_, *input_.flight);
        if (failed(flights.failure))
            return;
        const std::wstring name = flightFileName(*input_.flight);
        std::string text = flightFileText(*flights.value);
        batch_.addBytes(inDownloads(name), std::move(text));
        outcome_.flightFile = name;
    }

    const JobInput& input_;
    Fetcher& fetcher_;
    Providers& providers_;
    FileBatch batch_;
    JobOutcome outcome_;
};

}  // namespace

Providers standardProviders(const ServiceBases& bases, const std::string& today) {
    Providers providers;
    providers.weather = std::make_unique<OpenMeteoWeather>(bases.forecast);
    providers.cities = std::make_unique<OpenMeteoCities>(bases.geocoding);
    providers.rates = std::make_unique<EcbRates>(bases.rates);
    providers.flights = std::make_unique<AeroDataBoxFlights>(bases.flights);
    providers.maps = std::make_unique<GibsRainViewerMaps>(bases, today);
    return providers;
}

JobOutcome runJob(const JobInput& input, Fetcher& fetcher, Providers& providers,
                  const std::atomic<bool>& cancel) {
    return Job(input, fetcher, providers).run(cancel);
}

std::wstring searchResultTable(const std::vector<FoundCity>& cities,
                               const std::map<std::string, std::wstring>& regionByCountry,
                               long long nowUtcSeconds) {
    std::wstring table;
    for (const FoundCity& city : cities) {
        std::string countryCode = city.countryCode;
        if (countryCode.size() != 2 || !std::all_of(countryCode.begin(), countryCode.end(),
                                                    [](char c) { return c >= 'A' && c <= 'Z'; }))
            countryCode = "XX";
        auto region = regionByCountry.find(countryCode);
        table +=
            recordRow({offsetHours(city, nowUtcSeconds), field(city.name), field(city.country),
                       coordinate(city.latitude), coordinate(city.longitude), field(city.timezone),
                       platform::fromUtf8(countryCode + std::to_string(city.id)), L"0",
                       region == regionByCountry.end() ? L"" : region->second,
                       std::to_wstring(city.population)});
    }
    return table;
}

std::optional<std::wstring> ratesTable(const Rates& rates,
                                       const std::vector<std::vector<std::wstring>>& previous) {
    // Units per base unit of every currency, with the base itself.
    std::map<std::wstring, double> perBase;
    perBase[platform::fromUtf8(rates.base)] = 1.0;
    for (const auto& [code, rate] : rates.rates) perBase[platform::fromUtf8(code)] = rate;
    auto dollar = perBase.find(std::wstring(kRatesBase));
    if (dollar == perBase.end() || !(dollar->second > 0))
        return std::nullopt;
    const double perDollar = dollar->second;
    std::wstring table;
    std::set<std::wstring> written;
    for (const std::vector<std::wstring>& row : previous) {
        if (row.empty() || row[0].empty() || row[0] == L"#rates")
            continue;
        std::vector<std::wstring> fields = row;
        fields.resize(std::max<std::size_t>(fields.size(), 4));
        if (auto it = perBase.find(row[0]); it != perBase.end())
            fields[3] = rateText(it->second / perDollar);
        written.insert(row[0]);
        table += recordRow(fields);
    }
    for (const auto& [code, rate] : perBase) {
        if (!written.count(code))
            table += recordRow({code, code, code, rateText(rate / perDollar)});
    }
    table += recordRow({L"#rates", field(rates.source), L"", field(rates.date)});
    return table;
}

}  // namespace commsprogram
