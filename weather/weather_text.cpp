// The value texts of a weather data set row.

#include <cstdint>

#include "core/language.h"
#include "weather/weather_data.h"
#include "worldtime/date_helpers.h"

namespace weather {
namespace {

constexpr std::wstring_view kNotAvailable = L"N/A";
constexpr std::wstring_view kNoReportName = L"cw_no_report_icon";
constexpr int kNoRowBand = 37;
constexpr int kLargestIcon = 0xffff;

// Language strings.
constexpr int kKilometresPerHour = 595;
constexpr int kMilesPerHour = 596;
constexpr int kKilometres = 597;
constexpr int kMiles = 598;
constexpr int kDayNames = 642;
constexpr int kEvening = 591;
constexpr int kNight = 592;
constexpr int kMorning = 593;
constexpr int kAfternoon = 594;

constexpr std::wstring_view kBandTexts[] = {L"OK", L"0-15", L"15-30", L"30-45", L"45-60", L"60-90"};

// A band code 0..5, else nothing.
std::optional<int> bandCode(std::wstring_view text) {
    auto value = readValue(text);
    if (!value || *value != static_cast<int>(*value) || *value < 0 || *value > 5)
        return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

int WeatherData::rowOf(int row) const {
    const int resolved = row == 0 ? table_.currentRow() : row;
    return resolved >= 1 && resolved <= table_.rowCount() ? resolved : 0;
}

std::optional<bool> WeatherData::rowCelsius(int row) const {
    // Any number but 0 marks Celsius and kilometres. A flag that is not a number leaves the
    // row's units unknown, and its values are not shown in either unit.
    auto flag = readValue(table_.fieldText(row, forecastField::UnitFlag));
    if (!flag)
        return std::nullopt;
    return *flag != 0;
}

std::optional<double> WeatherData::value(int field, int row) const {
    return readValue(table_.fieldText(row, field));
}

std::optional<double> WeatherData::measured(int field, int row) const {
    if (!rowCelsius(row))
        return std::nullopt;
    return value(field, row);
}

int WeatherData::iconNumber(int row) const {
    const int at = rowOf(row);
    if (noData_ || at == 0 || table_.empty())
        return kNoReportIcon;
    const std::wstring_view icon = table_.fieldText(at, forecastField::Icon);
    if (icon == kNoReportName)
        return kNoReportIcon;
    auto number = readValue(icon);
    if (!number || *number != static_cast<int>(*number) || *number < 0 || *number > kLargestIcon)
        return kNoReportIcon;
    return static_cast<int>(*number);
}

std::wstring WeatherData::temperatureText(int flags, int row) const {
    const int at = rowOf(row);
    if (noData_ || at == 0)
        return std::wstring(kNotAvailable);
    const bool celsiusRow = rowCelsius(at).value_or(true);
    auto shown = [&](int field) -> std::optional<std::wstring> {
        auto v = measured(field, at);
        if (!v)
            return std::nullopt;
        return formatValue(displayTemperature(*v, celsiusRow, units_.celsius));
    };
    auto inFahrenheit = [&](int field) -> std::optional<std::wstring> {
        auto v = measured(field, at);
        if (!v)
            return std::nullopt;
        return formatValue(celsiusRow ? celsiusToFahrenheit(*v) : *v);
    };
    std::optional<std::wstring> text;
    bool fahrenheit = !units_.celsius;
    if (flags & temperatureFlag::HighLow) {
        auto high = shown(forecastField::High);
        auto low = shown(forecastField::Low);
        if (high && low)
            text = *high + L"/" + *low;
    } else if (flags & temperatureFlag::High) {
        text = shown(forecastField::High);
    } else if (flags & temperatureFlag::Low) {
        text = shown(forecastField::Low);
    } else if (flags & (temperatureFlag::HighFahrenheit | temperatureFlag::LowFahrenheit)) {
        text = inFahrenheit(flags & temperatureFlag::HighFahrenheit ? forecastField::High
                                                                    : forecastField::Low);
        fahrenheit = true;
    } else {
        return {};
    }
    if (!text)
        return std::wstring(kNotAvailable);
    if (flags & temperatureFlag::Degree)
        *text += L"\u00b0";
    if (flags & temperatureFlag::Unit)
        *text += fahrenheit ? L"F" : L"C";
    return *text;
}

std::wstring WeatherData::windText(int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    auto speed = measured(forecastField::WindSpeed, at);
    if (noData_ || !speed)
        return std::wstring(kNotAvailable);
    return formatValue(displaySpeed(*speed, *rowCelsius(at), units_.metric)) + L" " +
           core::languageString(units_.metric ? kKilometresPerHour : kMilesPerHour);
}

std::wstring WeatherData::distanceText(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    const std::wstring_view text = table_.fieldText(at, field);
    if (text.empty())
        return {};
    if (!readValue(text))
        return std::wstring(text);
    auto distance = measured(field, at);
    if (noData_ || !distance)
        return std::wstring(kNotAvailable);
    return formatValue(displaySpeed(*distance, *rowCelsius(at), units_.metric)) + L" " +
           core::languageString(units_.metric ? kKilometres : kMiles);
}

std::wstring WeatherData::temperatureField(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    auto v = measured(field, at);
    if (noData_ || !v)
        return std::wstring(kNotAvailable);
    return formatValue(displayTemperature(*v, *rowCelsius(at), units_.celsius)) +
           (units_.celsius ? L"\u00b0C" : L"\u00b0F");
}

std::wstring WeatherData::pressureText(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    auto v = value(field, at);
    if (noData_ || !v)
        return std::wstring(kNotAvailable);
    return formatValue(*v) + L"mb";
}

std::wstring WeatherData::dayText(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    auto day = value(field, at);
    if (!day || *day != static_cast<int>(*day) || *day < 1 || *day > 7)
        return std::wstring(kNotAvailable);
    return core::languageField(kDayNames, static_cast<int>(*day) - 1);
}

std::wstring WeatherData::periodText(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    const std::wstring_view period = table_.fieldText(at, field);
    if (period == L"E")
        return core::languageString(kEvening);
    if (period == L"N")
        return core::languageString(kNight);
    if (period == L"M")
        return core::languageString(kMorning);
    if (period == L"A")
        return core::languageString(kAfternoon);
    return std::wstring(kNotAvailable);
}

std::wstring WeatherData::bandText(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    auto band = bandCode(table_.fieldText(at, field));
    return std::wstring(band ? kBandTexts[*band] : kNotAvailable);
}

int WeatherData::bandNumber(int field, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return kNoRowBand;
    auto band = bandCode(table_.fieldText(at, field));
    return band ? *band + 1 : kNoReportIcon;
}

std::wstring WeatherData::fieldText(int field, int row) const {
    const int at = rowOf(row);
    return at ? std::wstring(table_.fieldText(at, field)) : std::wstring();
}

std::wstring WeatherData::dateText(std::wstring_view picture, int row) const {
    const int at = rowOf(row);
    if (at == 0)
        return {};
    return worldtime::shortDate(table_.fieldText(at, forecastField::Date), picture)
        .value_or(std::wstring());
}

}  // namespace weather
