#include "commsprogram/job_input.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "commsprogram/flight_status.h"
#include "commsprogram/http_fetcher.h"
#include "core/decimal.h"
#include "core/record_table.h"
#include "core/settings.h"
#include "core/settings_key.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "updates/settings_keys.h"
#include "weather/weather_files.h"

namespace commsprogram {
namespace {

constexpr std::wstring_view kInstallFolderFallback = L"\\Program Files\\Vorn Roamer\\";
constexpr int kCityFields = 10;
constexpr std::size_t kUserMapBytes = 1024;  // 511 characters and the terminator

std::optional<double> coordinate(std::wstring_view text, double limit) {
    std::string utf8 = platform::toUtf8(text);
    if (utf8.empty() || utf8.size() > 32)
        return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(utf8.c_str(), &end);
    if (end != utf8.c_str() + utf8.size() || !(value >= -limit && value <= limit))
        return std::nullopt;
    return value;
}

std::optional<CityInput> cityOf(const core::RecordTable& table, int row) {
    CityInput city;
    city.place.code = std::wstring(table.fieldText(row, 7));
    auto latitude = coordinate(table.fieldText(row, 4), 90);
    auto longitude = coordinate(table.fieldText(row, 5), 180);
    if (!weather::isSafeKey(city.place.code) || !latitude || !longitude)
        return std::nullopt;
    city.place.latitude = *latitude;
    city.place.longitude = *longitude;
    city.region = std::wstring(table.fieldText(row, 9));
    if (auto map = core::readSetting(L"CITYIMG_" + city.place.code, kUserMapBytes))
        city.userMap = platform::toUtf8(*map);
    return city;
}

void gatherCities(const Request& request, const std::wstring& mainPath, JobInput& input) {
    core::RecordTable favourites(kCityFields);
    favourites.load(mainPath, L"mycities.dat", L'~', true);
    if (request.city.empty()) {
        for (int row = 1; row <= favourites.rowCount(); ++row) {
            if (auto city = cityOf(favourites, row))
                input.cities.push_back(std::move(*city));
        }
        return;
    }
    int row = favourites.find(7, request.city, true);
    if (row > 0) {
        if (auto city = cityOf(favourites, row))
            input.cities.push_back(std::move(*city));
    } else {
        core::RecordTable list(kCityFields);
        list.load(mainPath, L"citylist.dat", L'~', true);
        if (int found = list.find(7, request.city, true); found > 0) {
            if (auto city = cityOf(list, found)) {
                // A city that is no favourite has no map region of its own.
                city->region.clear();
                input.cities.push_back(std::move(*city));
            }
        }
    }
    input.unknownCity = input.cities.empty();
}

// The map region most cities of each country have in the city list.
std::map<std::string, std::wstring> regionsByCountry(const std::wstring& mainPath) {
    core::RecordTable list(kCityFields);
    list.load(mainPath, L"citylist.dat", L'~', true);
    std::map<std::string, std::map<std::wstring, int>> counts;
    for (int row = 1; row <= list.rowCount(); ++row) {
        std::wstring_view code = list.fieldText(row, 7);
        std::wstring_view region = list.fieldText(row, 9);
        if (code.size() < 2 || region.empty())
            continue;
        ++counts[platform::toUtf8(code.substr(0, 2))][std::wstring(region)];
    }
    std::map<std::string, std::wstring> regions;
    for (const auto& [country, byRegion] : counts) {
        auto best = byRegion.begin();
        for (auto it = byRegion.begin(); it != byRegion.end(); ++it) {
            if (it->second > best->second)
                best = it;
        }
        regions[country] = best->first;
    }
    return regions;
}

std::vector<std::vector<std::wstring>> ratesRows(const std::wstring& folder) {
    core::RecordTable table(4);
    table.load(folder, L"rates.dat", L'~', true);
    std::vector<std::vector<std::wstring>> rows;
    for (int row = 1; row <= table.rowCount(); ++row) {
        std::vector<std::wstring> fields;
        const int count = std::max(table.columnCount(), 4);
        for (int column = 1; column <= count; ++column)
            fields.emplace_back(table.fieldText(row, column));
        while (fields.size() > 4 && fields.back().empty()) fields.pop_back();
        rows.push_back(std::move(fields));
    }
    return rows;
}

// A key goes into a request header: printable ASCII only.
std::string flightKey() {
    auto key = core::readSetting(setting::FlightKey, core::byteLimit::Text);
    if (!key)
        return {};
    std::string utf8 = platform::toUtf8(*key);
    for (char c : utf8) {
        if (c <= 0x20 || c >= 0x7F)
            return {};
    }
    return utf8;
}

}  // namespace

ServiceBases serviceBases() {
    if (auto base = core::readSetting(setting::BaseUrl, core::byteLimit::Long)) {
        std::string utf8 = platform::toUtf8(*base);
        while (!utf8.empty() && utf8.back() == '/') utf8.pop_back();
        if (!utf8.empty() && isAllowedUrl(utf8 + "/"))
            return ServiceBases::allAt(utf8);
    }
    return {};
}

HttpOptions httpOptions() {
    HttpOptions options;
    if (auto timeout = core::readNumberSetting(setting::TimeoutMs); timeout && *timeout > 0) {
        options.timeout = std::chrono::milliseconds(std::clamp(*timeout, 1000, 120000));
        options.connectTimeout = std::min(options.connectTimeout, options.timeout);
    }
    return options;
}

JobInput gatherInput(const Request& request) {
    JobInput input;
    input.request = request;
    // The main program publishes its folder at each start; before its first start the
    // install folder is where the installer put it.
    std::wstring mainPath = core::readMainPath().value_or(L"");
    if (mainPath.empty())
        mainPath = std::wstring(kInstallFolderFallback);
    input.downloadPath = core::readDownloadPath().value_or(L"");
    if (input.downloadPath.empty())
        input.downloadPath = core::downloadPathOf(mainPath);
    input.ratesFolder = core::joinDevicePath(mainPath, L"conversions\\");
    const platform::SystemTime now = platform::deviceUtcTime();
    char today[32];
    std::snprintf(today, sizeof today, "%04d-%02d-%02d", now.year, now.month, now.day);
    input.today = today;
    input.nowUtcSeconds =
        static_cast<long long>(platform::deviceUtcFileTime() / 10000000ULL) - 11644473600LL;
    switch (request.kind) {
        case RequestKind::Weather:
        case RequestKind::Schedule:
        case RequestKind::Docking:
        case RequestKind::Retry:
            input.mask = isUnattended(request.kind)
                             ? core::settings::read(updates::keys::OptSchedFilter)
                             : request.mask;
            gatherCities(request, mainPath, input);
            if (input.mask & maskBit::Currency)
                input.previousRates = ratesRows(input.ratesFolder);
            break;
        case RequestKind::CityLookup:
            input.lookupText = platform::toUtf8(
                core::readSetting(L"CityLookupRequest", core::byteLimit::Long).value_or(L""));
            input.regionByCountry = regionsByCountry(mainPath);
            break;
        case RequestKind::Currency:
            input.previousRates = ratesRows(input.ratesFolder);
            break;
        case RequestKind::FlightHistory:
            if (auto text = core::readSetting(L"FltHstRequest", core::byteLimit::Long)) {
                input.flight = parseFlightRequest(*text);
                if (input.flight)
                    input.flight->key = flightKey();
            }
            break;
    }
    return input;
}

}  // namespace commsprogram
