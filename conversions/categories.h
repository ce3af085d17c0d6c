#pragma once
// The conversion categories: the currencies of "rates.dat", the temperature scales, and every
// section of the conversion file of the chosen language ("conv." + language + ".mui.txt" in
// the install folder's "conversions\"), so translators add categories without the program.

#include <string>
#include <string_view>
#include <vector>

#include "conversions/unit_table.h"

namespace conversions {

enum class CategoryType { Rates = 1, Linear = 2, SizeChart = 3, Temperature = 4 };

struct Category {
    std::wstring name;  // shown, and part of the chosen units' setting name
    std::wstring file;  // "rates.dat", the conversion file's name, or empty for temperature
    CategoryType type = CategoryType::Linear;
    std::wstring key;  // the language-independent key ("Currency", "Length", ...)
};

// The folder of the unit and rate files below the install folder ("conversions\").
std::wstring conversionsFolder(std::wstring_view mainPath);
// "conv." + language code + ".mui.txt"; an empty code stands for "0409".
std::wstring conversionFileName(std::wstring_view languageCode);

// Currency and temperature first, under the names given, then the sections of the conversion
// file in its order. A missing file leaves the first two.
std::vector<Category> loadCategories(std::wstring_view folder, std::wstring_view languageCode,
                                     std::wstring_view currencyName,
                                     std::wstring_view temperatureName);

// The units of a category: the rate file, the linear units or chart rows of its section of
// the conversion file, or nothing for temperature. A missing section gives an empty table.
UnitTable loadUnits(std::wstring_view folder, const Category& category);

// The stored ConversionMode of a category: 1 currency, 2 temperature, 3 to 6 the sections
// keyed "Speed", "Length", "Weight" and "Childrens Shoes"; 1 for any other.
int modeOfCategory(const Category& category);
// The category a stored mode opens: by key for 3 to 6 (ignoring case); the first for any
// other value or a key the list lacks.
std::size_t categoryOfMode(const std::vector<Category>& categories, int mode);

}  // namespace conversions
