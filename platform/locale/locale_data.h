#pragma once
// The conventions of one language, read once from the locale library and kept for the life
// of the process. Internal to the locale component.

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <array>
#include <string>

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
// kDefaultLanguage.
const LocaleData& localeData(LanguageId language);
// The number separators of a language, without the rest of its data.
const NumberSymbols& numberSymbols(LanguageId language);

std::wstring toWide(const icu::UnicodeString& text);
icu::UnicodeString toUnicode(std::wstring_view text);

}  // namespace platform::locale
