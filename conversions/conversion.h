#pragma once
// The conversion list: one row per chosen unit (or temperature scale), each with the value
// that an amount entered in one row gives. Linear units and currencies go through a common
// base amount (amount / factor of the entered row's unit, times each row's factor), values
// with 3 decimals; temperatures through their own formulas, with 2.

#include <string>
#include <string_view>
#include <vector>

#include "conversions/categories.h"
#include "conversions/unit_table.h"

namespace conversions {

// The row a unit the table cannot convert shows.
constexpr std::wstring_view kCannotFindRate = L"Cannot Find Rate";
constexpr std::wstring_view kNotAvailable = L"N/A";

struct ListRow {
    std::wstring key;
    std::wstring name;
    std::wstring value;
    std::wstring symbol;
    bool convertible = false;  // the table has a usable factor for the key
};

// The rows of the chosen units, in the order chosen; keys the table lacks are rows too and
// show "Cannot Find Rate". Values start empty; convert fills them.
std::vector<ListRow> linearRows(const UnitTable& table, const std::vector<std::wstring>& chosen);

// The four temperature rows: °F, °C, K, °R, under the scale names given in that order.
std::vector<ListRow> temperatureRows(const std::array<std::wstring, 4>& names);

// How numbers are written: the decimal separator that replaces ".".
struct NumberStyle {
    std::wstring decimalSeparator = L".";
};

// Sets every row's value from an amount entered in one row (0-based). A linear row whose
// unit the table lacks, or whose factor is unusable, shows "Cannot Find Rate" and "N/A"; an
// amount entered in such a row makes every other value 0. A value too large to write shows
// "N/A". False (and nothing changed) for a row beyond the list or an amount that is not a
// finite number.
bool convertLinear(const UnitTable& table, std::vector<ListRow>& rows, double amount,
                   std::size_t row, const NumberStyle& style);
bool convertTemperature(std::vector<ListRow>& rows, double amount, std::size_t row,
                        const NumberStyle& style);

// The four temperatures, in °F, °C, K and °R, of a value on the scale of the index (0 to 3).
std::array<double, 4> temperatures(double value, std::size_t scale);

// A value with fixed decimals, "." replaced by the style's separator; never "-0.000".
std::wstring formatValue(double value, int decimals, const NumberStyle& style);

// The chosen units of a category, "~"-separated as the setting stores them; an empty text
// chooses nothing.
std::vector<std::wstring> splitChosen(std::wstring_view text);
std::wstring joinChosen(const std::vector<std::wstring>& keys);
// What a category shows before the user chooses: "USD~EUR~GBP" for currencies, the first two
// units of a linear category.
std::wstring defaultChosen(const Category& category, const UnitTable& table);
// The name of the chosen units' setting: "conv_" + the category's shown name.
std::wstring chosenSettingName(const Category& category);

}  // namespace conversions
