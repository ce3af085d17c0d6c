#pragma once
// The units weather values are shown in, and the conversions between the units a file row is
// written in and those the user chose. Values in the files are decimal numbers with "." as
// the point; they are shown with no decimals and the locale's decimal separator.

#include <optional>
#include <string>
#include <string_view>

namespace weather {

// The display flags: Celsius (else Fahrenheit) and kilometres (else miles).
struct Units {
    bool celsius = true;
    bool metric = false;
};

// The user's choice: OptTempFormat 1 is Celsius; OptWindFormat other than 1 is kilometres.
Units unitsFromSettings();

// A file value: optional blanks, an optional sign, digits with an optional "." fraction, and
// nothing after it but blanks. Nothing for an empty field, text, or a value beyond +-1e9, so
// a damaged field shows as unreadable instead of as 0 or as part of a number.
std::optional<double> readValue(std::wstring_view text);

// A temperature written in Celsius (rowCelsius) or Fahrenheit, in the unit asked for.
double displayTemperature(double value, bool rowCelsius, bool celsius);
// A speed or distance written in kilometres (rowMetric) or miles, in the unit asked for.
double displaySpeed(double value, bool rowMetric, bool metric);
double celsiusToFahrenheit(double value);

// The value rounded to a whole number ("%.0f"), "-0" written as "0".
std::wstring formatValue(double value);

}  // namespace weather
