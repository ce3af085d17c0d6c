#pragma once
// The device's language and regional conventions: numbers, dates and times as the handheld
// writes them. Language ids are the handheld's numbers (0x0409 English - United States,
// 0x0809 English - United Kingdom, 0x0407 German - Germany); the conventions come from the
// system's locale library, not from hand-kept tables.
//
// Date and time pictures use the handheld's letters:
//   d dd ddd dddd      day of month, two digits, abbreviated and full weekday name
//   M MM MMM MMMM      month, two digits, abbreviated and full month name
//   y yy yyyy          year without century, two digits, full year
//   h hh H HH          12-hour and 24-hour clock hour, with and without leading zero
//   m mm s ss          minutes and seconds
//   t tt               first character of the AM/PM designator, the whole designator
//   '...'              literal text ('' inside is one quote); other characters are literal

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"

namespace platform {

using LanguageId = std::uint32_t;

// Passed as a language: the device's user-interface language.
constexpr LanguageId kDeviceLanguage = 0;
constexpr LanguageId kDefaultLanguage = 0x0409;

// The device's language (profile key "locale.language"; English - United States when unset
// or unknown).
LanguageId userInterfaceLanguage();
// False (and nothing changed) for an id the locale library does not know.
bool setUserInterfaceLanguage(LanguageId language);

// "en_US" for 0x0409; nothing for an unknown id.
std::optional<std::string> localeNameOf(LanguageId language);
// 0x0809 for "en_GB" or "en-GB"; nothing for an unknown name.
std::optional<LanguageId> languageOfLocaleName(std::string_view name);

// Every convention below takes the language to use; an unknown one falls back to 0x0409.
std::wstring decimalSeparator(LanguageId language = kDeviceLanguage);
std::wstring thousandsSeparator(LanguageId language = kDeviceLanguage);

std::wstring shortDatePicture(LanguageId language = kDeviceLanguage);  // "dd/MM/yyyy"
std::wstring longDatePicture(LanguageId language = kDeviceLanguage);   // "dddd, d MMMM yyyy"
std::wstring timePicture(LanguageId language = kDeviceLanguage);       // "HH:mm:ss"

// dayOfWeek counts from Sunday = 0; month from January = 1. Empty when out of range.
std::wstring dayName(int dayOfWeek, LanguageId language = kDeviceLanguage);
std::wstring abbreviatedDayName(int dayOfWeek, LanguageId language = kDeviceLanguage);
std::wstring monthName(int month, LanguageId language = kDeviceLanguage);
std::wstring abbreviatedMonthName(int month, LanguageId language = kDeviceLanguage);
std::wstring amDesignator(LanguageId language = kDeviceLanguage);
std::wstring pmDesignator(LanguageId language = kDeviceLanguage);

// Formats the date (or time) fields of a time by a picture. Picture letters of the other
// kind are copied as they stand, as on the handheld. Nothing when the time is invalid.
// The weekday is computed from the date; the dayOfWeek field is ignored.
std::optional<std::wstring> formatDate(const SystemTime& time, std::wstring_view picture,
                                       LanguageId language = kDeviceLanguage);
std::optional<std::wstring> formatTime(const SystemTime& time, std::wstring_view picture,
                                       LanguageId language = kDeviceLanguage);

// A number with the language's separators and grouping and exactly `decimals` fraction
// digits (rounded half to even), e.g. "1,234.50" or "1.234,50".
std::wstring formatNumber(double value, int decimals, LanguageId language = kDeviceLanguage);

// A character as searches compare it: lower case and without its accents ("É" and "é" give
// "e", "Å" gives "a"); a character with no simpler letter stays as it is, in lower case.
wchar_t searchLetter(wchar_t c);

// Turns a date or time pattern of the locale library (CLDR letters) into a picture in the
// handheld's letters; fields the handheld cannot show (eras, zones, fractions) are dropped.
std::wstring pictureFromPattern(std::wstring_view pattern);

}  // namespace platform
