// vorn weather: a city's current conditions and daily forecast from the weather files in the
// device's download folder, in the texts the weather screen shows, read through the same
// weather data set.

#include <cstdio>

#include "core/language.h"
#include "core/settings.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "weather/screen_texts.h"
#include "weather/settings_keys.h"
#include "weather/weather_data.h"
#include "worldtime/cities.h"

namespace vorn {
namespace {

std::wstring downloadFolder(const std::wstring& mainPath) {
    if (auto published = core::readDownloadPath(); published && !published->empty())
        return *published;
    return core::downloadPathOf(mainPath);
}

struct DayTexts {
    weather::ListRowTexts row;
    std::wstring date;
    std::wstring highLow;
    std::wstring wind;
    std::wstring summary;
};

std::vector<DayTexts> dailyForecast(const weather::WeatherData& daily, bool dayNames) {
    using namespace weather;
    std::vector<DayTexts> days;
    const int rows = listRowCount(daily, listMode::Daily);
    for (int row = 1; row <= rows; ++row) {
        DayTexts day;
        day.row = listRowTexts(daily, listMode::Daily, row, dayNames);
        day.date = daily.dateText(L"yyyy'-'MM'-'dd", row);
        day.highLow = daily.temperatureText(
            temperatureFlag::HighLow | temperatureFlag::Degree | temperatureFlag::Unit, row);
        day.wind = daily.windText(row) + L" " + daily.fieldText(forecastField::WindDirection, row);
        day.summary = summaryLine(daily, listMode::Daily, row);
        days.push_back(std::move(day));
    }
    return days;
}

void writeJson(const std::string& name, const std::string& code, const weather::Units& units,
               const weather::WeatherData& current, int station,
               const std::vector<std::wstring>& panel, const std::vector<DayTexts>& days) {
    Json json;
    json.beginObject()
        .field("city", name)
        .field("code", code)
        .field("celsius", units.celsius)
        .field("metric", units.metric);
    json.key("current").beginObject().field("noData", current.noData());
    if (!current.noData()) {
        using namespace weather;
        json.field("station", station)
            .field("icon", current.iconNumber())
            .field("temperature",
                   utf8(current.temperatureText(temperatureFlag::High | temperatureFlag::Degree |
                                                temperatureFlag::Unit)))
            .field("condition", utf8(current.fieldText(currentField::Condition)))
            .field("pressure", utf8(current.pressureText(currentField::Pressure)))
            .field("wind", utf8(current.windText()))
            .field("windDirection", utf8(current.fieldText(currentField::WindDirection)))
            .field("visibility", utf8(current.distanceText(currentField::Visibility)))
            .field("feelsLike", utf8(current.temperatureField(currentField::FeelsLike)));
    }
    json.beginArray("lines");
    for (const std::wstring& line : panel) json.value(utf8(line));
    json.endArray().endObject();
    json.beginArray("daily");
    for (const DayTexts& day : days) {
        json.beginObject()
            .field("date", utf8(day.date))
            .field("label", utf8(day.row.label))
            .field("icon", day.row.icon)
            .field("temperature", utf8(day.row.temperature))
            .field("highLow", utf8(day.highLow))
            .field("wind", utf8(day.wind))
            .field("summary", utf8(day.summary))
            .endObject();
    }
    json.endArray().endObject();
    writeOut(json.text() + "\n");
}

void writeText(const std::string& name, const std::string& code,
               const std::vector<std::wstring>& panel, const std::vector<DayTexts>& days) {
    writeOut("weather of " + name + " (" + code + ")\n\ncurrent conditions\n");
    for (const std::wstring& line : panel) {
        if (!line.empty())
            writeOut("  " + utf8(line) + "\n");
    }
    writeOut("\ndaily forecast\n");
    if (days.empty())
        writeOut("  " + utf8(weather::emptyListText(weather::listMode::Daily)) + "\n");
    for (const DayTexts& day : days) {
        std::printf("  %-10s %-8s icon %-5d %-12s %s\n", utf8(day.row.label).c_str(),
                    utf8(day.row.temperature).c_str(), day.row.icon, utf8(day.highLow).c_str(),
                    utf8(day.summary).c_str());
    }
}

}  // namespace

int runWeather(const Invocation& invocation) {
    if (invocation.arguments.size() != 1)
        return report(invocation, kExitUsage, "weather takes one city (see vorn weather --help)");
    CityFinder finder(invocation.mainPath);
    auto city = cityNamed(finder, invocation, invocation.arguments.front());
    if (!city)
        return kExitUsage;
    warnAboutDamage(*city->table);
    if (!openShownLanguage(invocation.mainPath)) {
        return report(invocation, kExitFailure,
                      "no language files in the install folder " + utf8(invocation.mainPath));
    }
    using namespace weather;
    const core::RecordTable& table = *city->table;
    const std::wstring code(table.fieldText(city->row, worldtime::cityField::Code));
    const std::string name = utf8(table.fieldText(city->row, worldtime::cityField::Name)) + ", " +
                             utf8(table.fieldText(city->row, worldtime::cityField::Country));
    const Units units = unitsFromSettings();
    const std::wstring folder = downloadFolder(invocation.mainPath);

    WeatherData current(fileKind::Current, code, units, folder);
    const int station = current.selectStation(readStationRow(code));
    WeatherData daily(fileKind::Daily, code, units, folder);
    const bool dayNames = core::settings::read(core::keys::OptWeatherDays) != 0;
    const std::vector<std::wstring> panel = currentPanelLines(current);
    const std::vector<DayTexts> days = dailyForecast(daily, dayNames);
    if (invocation.json)
        writeJson(name, utf8(code), units, current, station, panel, days);
    else
        writeText(name, utf8(code), panel, days);
    return kExitOk;
}

}  // namespace vorn
