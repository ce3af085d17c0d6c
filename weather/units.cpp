// Display units and the conversions between them.

#include "weather/units.h"

#include <cmath>

#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "worldtime/date_helpers.h"

namespace weather {
namespace {

constexpr double kMilesPerKilometre = 0.621371192237334;
constexpr double kKilometresPerMile = 1.609344;
constexpr double kLargestValue = 1e9;
// More digits than any reading needs; longer runs are damage, not precision.
constexpr std::size_t kMostDigits = 24;

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

}  // namespace

Units unitsFromSettings() {
    Units units;
    units.celsius = core::settings::read(core::keys::OptTempFormat) == 1;
    units.metric = core::settings::read(core::keys::OptWindFormat) != 1;
    return units;
}

std::optional<double> readValue(std::wstring_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    std::size_t end = text.size();
    while (end > at && isBlank(text[end - 1])) --end;
    const std::wstring_view number = text.substr(at, end - at);
    std::size_t i = 0;
    if (i < number.size() && (number[i] == L'-' || number[i] == L'+'))
        ++i;
    std::size_t digits = 0;
    while (i < number.size() && isDigit(number[i])) {
        ++i;
        ++digits;
    }
    if (i < number.size() && number[i] == L'.') {
        ++i;
        while (i < number.size() && isDigit(number[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || digits > kMostDigits || i != number.size())
        return std::nullopt;
    const double value = worldtime::readNumber(number, false);
    if (!std::isfinite(value) || std::fabs(value) > kLargestValue)
        return std::nullopt;
    return value;
}

double celsiusToFahrenheit(double value) {
    return value * 1.8 + 32;
}

double displayTemperature(double value, bool rowCelsius, bool celsius) {
    if (rowCelsius && !celsius)
        return celsiusToFahrenheit(value);
    if (!rowCelsius && celsius)
        return (value - 32) * 5 / 9;
    return value;
}

double displaySpeed(double value, bool rowMetric, bool metric) {
    if (rowMetric && !metric)
        return value * kMilesPerKilometre;
    if (!rowMetric && metric)
        return value * kKilometresPerMile;
    return value;
}

std::wstring formatValue(double value) {
    std::wstring text = worldtime::formatFixed(value, 0, true);
    // A small negative value rounds to "-0", which is no temperature anyone writes.
    if (text == L"-0")
        text = L"0";
    return text;
}

}  // namespace weather
