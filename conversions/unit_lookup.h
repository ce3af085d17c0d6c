#pragma once
// Converting between two units named by the user, as `vorn convert` does: units by key or
// symbol ("km", "mi", "NM"), currencies by code ("EUR"), temperatures by scale ("C", "°F").
// The answer comes from the same conversion code as the screen's list.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "conversions/categories.h"

namespace conversions {

struct ConversionAnswer {
    std::wstring category;  // the category's key ("Length", "Currency", "Temperature")
    std::wstring fromKey, fromName, fromSymbol;
    std::wstring toKey, toName, toSymbol;
    double value = 0;
    std::wstring valueText;  // as the screen shows it ("." as decimal point)
};

enum class LookupFailure {
    UnknownFrom,    // no category knows the first unit
    UnknownTo,      // no category knows the second unit
    NotComparable,  // the two units belong to different categories
    NoRate,         // the unit is known but has no usable factor
};

std::variant<ConversionAnswer, LookupFailure> convertBetween(std::wstring_view folder,
                                                             std::wstring_view languageCode,
                                                             double amount, std::wstring_view from,
                                                             std::wstring_view to);

}  // namespace conversions
