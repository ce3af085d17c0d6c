#pragma once
// Settings keys declared once, typed, with their default and range. The code that owns a value
// declares its key (core/settings_keys.h for values several parts share, a subsystem's own
// settings_keys.h for the rest); readers and writers go through the declaration, so a name,
// its default and its range are written down in one place:
//
//     int sorting = core::settings::read(keys::CityListSorting);
//     core::settings::write(keys::FavCity, row);
//
// The values stay as they are stored today (other programs read them): every value a string
// in the settings key, numbers as their decimal text.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "platform/api/registry.h"

namespace core::settings {

// What a stored number outside a key's range reads as: the nearest bound (a count, a row) or
// the default (a choice among a few, where the nearest one means nothing).
enum class OutOfRange { Clamp, UseDefault };

// A whole number. A value that is absent or holds no number reads as the default.
struct NumberKey {
    std::wstring_view name;
    int defaultValue = 0;
    int min = std::numeric_limits<int>::min();
    int max = std::numeric_limits<int>::max();
    OutOfRange outOfRange = OutOfRange::Clamp;
};

// A text of at most byteLimit bytes of UTF-16 with its terminator (see core::byteLimit).
struct TextKey {
    std::wstring_view name;
    std::wstring_view defaultValue = {};
    std::size_t byteLimit = byteLimit::Text;
};

// The stored value, brought into the key's range; the default when it is absent or of another
// type (a number key holding text that does not start with a number, a text key holding a
// number value, a text longer than the key's limit).
int read(const NumberKey& key);
std::wstring read(const TextKey& key);

// The same from the settings key opened once (openSettings), for a caller that reads several
// values at a time and often: each read then costs one look-up instead of two.
std::optional<platform::RegistryKey> openSettings();
int read(const platform::RegistryKey& settings, const NumberKey& key);

// Stores the value as decimal text, brought into the key's range as a read would. False when
// the settings key could not be written.
bool write(const NumberKey& key, int value);
// Stores at most what the key's limit admits. False when the settings key could not be
// written.
bool write(const TextKey& key, std::wstring_view text);

}  // namespace core::settings
