#include "conversions/conversion.h"

#include <cmath>

#include "worldtime/date_helpers.h"

namespace conversions {

namespace {

// Values are written in full; beyond this they would be hundreds of digits of nothing.
constexpr double kLargestValue = 1e15;

const std::array<std::wstring_view, 4> kScaleSymbols{L"\u00B0F", L"\u00B0C", L"K", L"\u00B0R"};

void markUnconvertible(ListRow& row) {
    row.name = std::wstring(kCannotFindRate);
    row.value = std::wstring(kNotAvailable);
    row.symbol = L"0";
    row.convertible = false;
}

}  // namespace

std::vector<ListRow> linearRows(const UnitTable& table, const std::vector<std::wstring>& chosen) {
    std::vector<ListRow> rows;
    rows.reserve(chosen.size());
    for (const std::wstring& key : chosen) {
        ListRow row;
        row.key = key;
        const Unit* unit = table.find(key);
        if (unit && unit->factor > 0) {
            row.name = unit->name;
            row.symbol = unit->symbol;
            row.convertible = true;
        } else {
            markUnconvertible(row);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ListRow> temperatureRows(const std::array<std::wstring, 4>& names) {
    std::vector<ListRow> rows;
    for (std::size_t i = 0; i < 4; ++i) {
        rows.push_back({std::wstring(kScaleSymbols[i]), names[i], L"0.00",
                        std::wstring(kScaleSymbols[i]), true});
    }
    return rows;
}

std::wstring formatValue(double value, int decimals, const NumberStyle& style) {
    std::wstring text = worldtime::formatFixed(value, decimals, false);
    if (text.front() == L'-' && text.find_first_not_of(L"-0.") == std::wstring::npos)
        text.erase(0, 1);
    std::wstring out;
    out.reserve(text.size() + 2);
    for (wchar_t c : text) {
        if (c == L'.')
            out += style.decimalSeparator;
        else
            out += c;
    }
    return out;
}

bool convertLinear(const UnitTable& table, std::vector<ListRow>& rows, double amount,
                   std::size_t row, const NumberStyle& style) {
    if (row >= rows.size() || !std::isfinite(amount))
        return false;
    const Unit* entered = table.find(rows[row].key);
    bool fromKnown = entered && entered->factor > 0;
    for (ListRow& line : rows) {
        const Unit* unit = table.find(line.key);
        if (!unit || !(unit->factor > 0)) {
            markUnconvertible(line);
            continue;
        }
        line.name = unit->name;
        line.symbol = unit->symbol;
        line.convertible = true;
        // Through the ratio of the factors rather than the base amount, so that a unit converts
        // to itself exactly even when the base amount would be out of range.
        double value = fromKnown ? amount * (unit->factor / entered->factor) : 0;
        line.value = std::isfinite(value) && std::fabs(value) < kLargestValue
                         ? formatValue(value, 3, style)
                         : std::wstring(kNotAvailable);
    }
    return true;
}

std::array<double, 4> temperatures(double v, std::size_t scale) {
    switch (scale) {
        case 0:
            return {v, (v - 32) * 5 / 9, (v + 459.67) * 5 / 9, v + 459.67};
        case 1:
            return {v * 1.8 + 32, v, v + 273.15, (v + 273.15) * 1.8};
        case 2:
            return {v * 1.8 - 459.67, v - 273.15, v, v * 1.8};
        default:
            return {v - 459.67, (v - 491.67) * 5 / 9, v * 5 / 9, v};
    }
}

bool convertTemperature(std::vector<ListRow>& rows, double amount, std::size_t row,
                        const NumberStyle& style) {
    if (row >= rows.size() || row > 3 || !std::isfinite(amount))
        return false;
    std::array<double, 4> values = temperatures(amount, row);
    for (std::size_t i = 0; i < rows.size() && i < 4; ++i) {
        rows[i].value = std::isfinite(values[i]) && std::fabs(values[i]) < kLargestValue
                            ? formatValue(values[i], 2, style)
                            : std::wstring(kNotAvailable);
    }
    return true;
}

std::vector<std::wstring> splitChosen(std::wstring_view text) {
    std::vector<std::wstring> keys;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(L'~', start);
        keys.emplace_back(text.substr(start, end - start));
        if (end == std::wstring_view::npos)
            break;
        start = end + 1;
    }
    return keys;
}

std::wstring joinChosen(const std::vector<std::wstring>& keys) {
    std::wstring text;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i)
            text += L'~';
        text += keys[i];
    }
    return text;
}

std::wstring defaultChosen(const Category& category, const UnitTable& table) {
    if (category.type == CategoryType::Rates)
        return L"USD~EUR~GBP";
    std::vector<std::wstring> keys;
    for (std::size_t i = 0; i < table.units.size() && i < 2; ++i)
        keys.push_back(table.units[i].key);
    return joinChosen(keys);
}

std::wstring chosenSettingName(const Category& category) {
    return L"conv_" + category.name;
}

}  // namespace conversions
