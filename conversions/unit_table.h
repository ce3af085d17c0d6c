#pragma once
// The units of one category: the currencies of "rates.dat", the linear units of a section of
// the conversion file, or the rows of a size chart. Both files come from outside the program
// (the comms program writes the rates, translators the conversion file), so every factor is
// checked before it is used: a factor that is not a plain positive number leaves the unit
// without one, and the unit then converts to nothing instead of to "inf".

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/device.h"

namespace conversions {

// The key of the rate file's line that describes the rates rather than a currency.
constexpr std::wstring_view kRatesInfoKey = L"#rates";

struct Unit {
    std::wstring key;
    std::wstring symbol;  // with its character entities decoded
    std::wstring name;
    // How many of this unit make one base amount; 0 when the file gave no usable factor.
    double factor = 0;
};

// One row of a size chart: a size in each of up to four sizing systems.
using ChartRow = std::array<std::wstring, 4>;

struct UnitTable {
    std::vector<Unit> units;
    std::vector<ChartRow> chart;  // size charts alone; the first row is the heading
    // When the file was made (its creation time), for the rates' heading; none when missing.
    std::optional<platform::FileTime> fileTime;
    // From the rate file's "#rates" line: who made the rates, and their day (YYYY-MM-DD).
    std::wstring ratesSource;
    std::wstring ratesDate;

    // The unit with exactly this key; none when missing.
    const Unit* find(std::wstring_view key) const;
    // The unit whose key or decoded symbol is the text, ignoring case; none when missing.
    const Unit* findByKeyOrSymbol(std::wstring_view text) const;
};

// A factor written with "." as decimal point: digits, an optional fraction and exponent,
// nothing else around it but blanks. None for anything else, for 0, a negative number, or a
// value beyond the range of double.
std::optional<double> parseFactor(std::wstring_view text);

// An amount a person typed: as parseFactor, but any finite number, 0 and negatives included.
std::optional<double> parseAmount(std::wstring_view text);

// "rates.dat" in the folder: currency key ~ symbol ~ name ~ units per base amount, every
// double quote removed. A missing or unreadable file gives an empty table.
UnitTable loadRates(std::wstring_view folder);

}  // namespace conversions
