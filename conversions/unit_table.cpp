#include "conversions/unit_table.h"

#include <charconv>
#include <cmath>
#include <string>

#include "conversions/entities.h"
#include "core/record_table.h"
#include "core/text_case.h"

namespace conversions {

namespace {

// Longer than any number a person or a file has reason to write.
constexpr std::size_t kMaxNumberLength = 64;

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t' || text.back() == L'\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> parseNumber(std::wstring_view text) {
    text = trimmed(text);
    if (text.empty() || text.size() > kMaxNumberLength)
        return std::nullopt;
    std::string ascii;
    for (wchar_t c : text) {
        bool allowed = (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' ||
                       c == L'e' || c == L'E';
        if (!allowed)
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    // from_chars takes no leading "+"; a plus sign is harmless, so it is allowed.
    std::string_view digits = ascii;
    if (digits.front() == '+')
        digits.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

const Unit* UnitTable::find(std::wstring_view key) const {
    for (const Unit& unit : units) {
        if (unit.key == key)
            return &unit;
    }
    return nullptr;
}

const Unit* UnitTable::findByKeyOrSymbol(std::wstring_view text) const {
    for (const Unit& unit : units) {
        if (core::equalsIgnoringCase(unit.key, text))
            return &unit;
    }
    for (const Unit& unit : units) {
        if (core::equalsIgnoringCase(unit.symbol, text))
            return &unit;
    }
    return nullptr;
}

std::optional<double> parseFactor(std::wstring_view text) {
    std::optional<double> value = parseNumber(text);
    if (!value || !(*value > 0))
        return std::nullopt;
    return value;
}

std::optional<double> parseAmount(std::wstring_view text) {
    std::optional<double> value = parseNumber(text);
    if (value && *value == 0)
        return 0.0;  // no "-0"
    return value;
}

UnitTable loadRates(std::wstring_view folder) {
    UnitTable table;
    core::RecordTable rows(4);
    rows.load(folder, L"rates.dat", L'~', true);
    table.fileTime = platform::fileCreationTime(core::joinDevicePath(folder, L"rates.dat"));
    table.units.reserve(static_cast<std::size_t>(rows.rowCount()));
    for (int row = 1; row <= rows.rowCount(); ++row) {
        std::wstring_view key = rows.fieldText(row, 1);
        if (key.empty())
            continue;
        if (key.front() == L'#') {
            // Lines keyed "#" describe the rates; "#rates" says whose and of which day.
            if (key == kRatesInfoKey) {
                table.ratesSource = std::wstring(rows.fieldText(row, 2));
                table.ratesDate = std::wstring(rows.fieldText(row, 4));
            }
            continue;
        }
        Unit unit;
        unit.key = std::wstring(key);
        unit.symbol = decodeEntities(rows.fieldText(row, 2));
        unit.name = std::wstring(rows.fieldText(row, 3));
        unit.factor = parseFactor(rows.fieldText(row, 4)).value_or(0);
        table.units.push_back(std::move(unit));
    }
    return table;
}

}  // namespace conversions
