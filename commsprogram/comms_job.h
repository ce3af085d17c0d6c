#pragma once
// One request's work, apart from the window and the settings: what it needs is gathered
// first (JobInput, read on the program's window thread), then the work runs on a worker
// thread with only the network and the download files to touch, and its outcome is handed
// back for the reports and settings. Every answer is fetched and read before anything is
// written; then all files are put down together (FileBatch), so a failed or cancelled request
// leaves the previous files.

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commsprogram/comms_errors.h"
#include "commsprogram/fetch.h"
#include "commsprogram/providers.h"
#include "commsprogram/request_line.h"

namespace commsprogram {

struct CityInput {
    Place place;
    std::wstring region;  // map region, empty for none
    std::string userMap;  // the user's map address, empty for none
};

struct JobInput {
    Request request;
    int mask = 0;  // weather and currency bits, resolved for a scheduled update
    std::wstring downloadPath;
    std::wstring ratesFolder;  // "conversions\" of the install folder
    std::vector<CityInput> cities;
    bool unknownCity = false;  // the one city asked for is in no city file
    std::string lookupText;
    std::map<std::string, std::wstring> regionByCountry;   // "GB" -> "BritishIsles"
    std::vector<std::vector<std::wstring>> previousRates;  // rows of the old rates file
    std::optional<FlightQuery> flight;                     // with its key when one is set
    std::string today;                                     // UTC "YYYY-MM-DD"
    long long nowUtcSeconds = 0;
    int satelliteFrames = 5;
    int radarFrames = 6;
};

struct JobOutcome {
    Failure failure;
    bool weatherWritten = false;
    std::wstring flightFile;  // the flight file's name, for FltHstResult
    std::size_t filesWritten = 0;
};

struct Providers {
    std::unique_ptr<WeatherSource> weather;
    std::unique_ptr<CitySource> cities;
    std::unique_ptr<RatesSource> rates;
    std::unique_ptr<FlightSource> flights;
    std::unique_ptr<MapSource> maps;
};

// The services of this program: Open-Meteo, ECB, AeroDataBox, GIBS and RainViewer.
Providers standardProviders(const ServiceBases& bases, const std::string& today);

JobOutcome runJob(const JobInput& input, Fetcher& fetcher, Providers& providers,
                  const std::atomic<bool>& cancel);

// Pieces the job's files are made of, public for their tests.
std::wstring searchResultTable(const std::vector<FoundCity>& cities,
                               const std::map<std::string, std::wstring>& regionByCountry,
                               long long nowUtcSeconds);
// The new rates file (rows keyed as the old one, rebased to its base "USD" = 1); nothing
// when the rates lack the base.
std::optional<std::wstring> ratesTable(const Rates& rates,
                                       const std::vector<std::vector<std::wstring>>& previous);

}  // namespace commsprogram
