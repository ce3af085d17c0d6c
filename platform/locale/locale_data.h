#pragma once
// The conventions of one language, read once from the locale library and kept for the life
// of the process. Internal to the locale component.

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/api/locale.h"

namespace platform::locale {

struct NumberSymbols {
    std::wstring decimalSeparator;
    std::wstring thousandsSeparator;
};

struct LocaleData {
    LanguageId language = kDefaultLanguage;
    icu::Locale locale;
    std::wstring shortDate;
    std::wstring longDate;
    std::wstring time;
    std::wstring am;
    std::wstring pm;
    std::wstring era;
    std::array<std::wstring, 7> days;
    std::array<std::wstring, 7> shortDays;
    // Month names standing alone ("MMMM yyyy") and inside a date with a day number, where
    // several languages use another grammatical case.
    std::array<std::wstring, 12> months;
    std::array<std::wstring, 12> shortMonths;
    std::array<std::wstring, 12> monthsInDate;
};

// The data of a language; kDeviceLanguage means the device's, an unknown id falls back to
// kDefaultLanguage. Read from the device's store when it was kept there, else from the locale
// library, and then kept.
const LocaleData& localeData(LanguageId language);

// The data as the locale library gives it (a known language id).
std::unique_ptr<LocaleData> localeDataFromLibrary(LanguageId language);
// The data kept in the device's store for this language and this version of the locale
// library; nothing when none was kept or the kept row is damaged.
std::unique_ptr<LocaleData> keptLocaleData(LanguageId language);
// Keeps the data in the device's store (quietly nothing when the store cannot take it).
void keepLocaleData(const LocaleData& data);

// The row the data is kept as: its texts joined by U+001F; nothing when a text cannot be kept
// (longer than any convention, or holding the separator).
std::optional<std::wstring> keptRowOf(const LocaleData& data);
// The texts of a kept row (language and locale left unset); nothing for a damaged row: another
// number of fields, or a field longer than any convention.
std::unique_ptr<LocaleData> localeDataFromKeptRow(std::wstring_view row);
// The number separators of a language, without the rest of its data.
const NumberSymbols& numberSymbols(LanguageId language);

// The locale library's locale of a language id (US English for an id it does not know).
icu::Locale icuLocaleOf(LanguageId language);

std::wstring toWide(const icu::UnicodeString& text);
icu::UnicodeString toUnicode(std::wstring_view text);

}  // namespace platform::locale
