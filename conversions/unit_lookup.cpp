#include "conversions/unit_lookup.h"

#include <array>
#include <cmath>

#include "conversions/conversion.h"
#include "core/text_case.h"

namespace conversions {

namespace {

// The temperature scales as the list orders them, with the names people type.
constexpr std::array<std::wstring_view, 4> kScaleKeys{L"F", L"C", L"K", L"R"};
constexpr std::array<std::wstring_view, 4> kScaleNames{L"Fahrenheit", L"Celsius", L"Kelvin",
                                                       L"Rankine"};

std::optional<std::size_t> scaleOf(std::wstring_view text) {
    if (!text.empty() && text.front() == L'\u00B0')
        text.remove_prefix(1);
    for (std::size_t i = 0; i < kScaleKeys.size(); ++i) {
        if (core::equalsIgnoringCase(text, kScaleKeys[i]) ||
            core::equalsIgnoringCase(text, kScaleNames[i])) {
            return i;
        }
    }
    return std::nullopt;
}

ConversionAnswer temperatureAnswer(double amount, std::size_t from, std::size_t to) {
    std::array<std::wstring, 4> names;
    for (std::size_t i = 0; i < 4; ++i) names[i] = std::wstring(kScaleNames[i]);
    std::vector<ListRow> rows = temperatureRows(names);
    convertTemperature(rows, amount, from, {});
    ConversionAnswer answer;
    answer.category = L"Temperature";
    answer.fromKey = rows[from].key, answer.fromName = rows[from].name;
    answer.fromSymbol = rows[from].symbol;
    answer.toKey = rows[to].key, answer.toName = rows[to].name, answer.toSymbol = rows[to].symbol;
    answer.value = temperatures(amount, from)[to];
    answer.valueText = rows[to].value;
    return answer;
}

}  // namespace

std::variant<ConversionAnswer, LookupFailure> convertBetween(std::wstring_view folder,
                                                             std::wstring_view languageCode,
                                                             double amount, std::wstring_view from,
                                                             std::wstring_view to) {
    auto fromScale = scaleOf(from), toScale = scaleOf(to);
    if (fromScale && toScale)
        return temperatureAnswer(amount, *fromScale, *toScale);

    std::vector<Category> categories =
        loadCategories(folder, languageCode, L"Currency", L"Temperature");
    bool fromKnown = fromScale.has_value(), toKnown = toScale.has_value();
    for (const Category& category : categories) {
        if (category.type != CategoryType::Linear && category.type != CategoryType::Rates)
            continue;
        UnitTable table = loadUnits(folder, category);
        const Unit* a = table.findByKeyOrSymbol(from);
        const Unit* b = table.findByKeyOrSymbol(to);
        fromKnown |= a != nullptr;
        toKnown |= b != nullptr;
        if (!a || !b)
            continue;
        std::vector<ListRow> rows = linearRows(table, {a->key, b->key});
        convertLinear(table, rows, amount, 0, {});
        if (!rows[0].convertible || !rows[1].convertible || rows[1].value == kNotAvailable)
            return LookupFailure::NoRate;
        ConversionAnswer answer;
        answer.category = category.key;
        answer.fromKey = a->key, answer.fromName = a->name, answer.fromSymbol = a->symbol;
        answer.toKey = b->key, answer.toName = b->name, answer.toSymbol = b->symbol;
        answer.value = amount * (b->factor / a->factor);
        answer.valueText = rows[1].value;
        return answer;
    }
    if (!fromKnown)
        return LookupFailure::UnknownFrom;
    if (!toKnown)
        return LookupFailure::UnknownTo;
    return LookupFailure::NotComparable;
}

}  // namespace conversions
