// Language ids and the conventions of each language, from the locale library.

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uloc.h>

#include <map>
#include <memory>
#include <mutex>

#include "platform/api/profile.h"
#include "platform/locale/locale_data.h"

namespace platform {
namespace locale {
namespace {

std::wstring datePattern(icu::DateFormat::EStyle style, const icu::Locale& loc, bool isTime) {
    std::unique_ptr<icu::DateFormat> format(isTime
                                                ? icu::DateFormat::createTimeInstance(style, loc)
                                                : icu::DateFormat::createDateInstance(style, loc));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (!simple)
        return {};
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    return toWide(pattern);
}

// Short dates show the whole year on the handheld ("dd/MM/yyyy"), where the locale library
// often abbreviates it.
std::wstring withFullYear(std::wstring picture) {
    std::wstring out;
    bool quoted = false;
    for (std::size_t i = 0; i < picture.size();) {
        wchar_t c = picture[i];
        if (c == L'\'')
            quoted = !quoted;
        if (quoted || c != L'y') {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = picture.find_first_not_of(L'y', i);
        if (run == std::wstring::npos)
            run = picture.size();
        out += L"yyyy";
        i = run;
    }
    return out;
}

template <std::size_t N>
void copyNames(std::array<std::wstring, N>& out, const icu::UnicodeString* names, int32_t count,
               std::size_t first) {
    for (std::size_t i = 0; i < N && first + i < static_cast<std::size_t>(count); ++i) {
        out[i] = toWide(names[first + i]);
    }
}

// The separators alone: reading a number from a data file needs them, and building the date
// formats as well would cost a command-line program more than its whole answer.
NumberSymbols loadNumberSymbols(LanguageId language) {
    NumberSymbols out;
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols numbers(icuLocaleOf(language), status);
    if (U_SUCCESS(status)) {
        out.decimalSeparator =
            toWide(numbers.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
        out.thousandsSeparator =
            toWide(numbers.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    }
    return out;
}

LanguageId knownLanguage(LanguageId language) {
    if (language == kDeviceLanguage)
        language = userInterfaceLanguage();
    return localeNameOf(language) ? language : kDefaultLanguage;
}

}  // namespace

std::unique_ptr<LocaleData> localeDataFromLibrary(LanguageId language) {
    auto data = std::make_unique<LocaleData>();
    data->language = language;
    data->locale = icuLocaleOf(language);
    const icu::Locale& loc = data->locale;
    UErrorCode status = U_ZERO_ERROR;
    data->shortDate =
        withFullYear(pictureFromPattern(datePattern(icu::DateFormat::kShort, loc, false)));
    data->longDate = pictureFromPattern(datePattern(icu::DateFormat::kFull, loc, false));
    data->time = pictureFromPattern(datePattern(icu::DateFormat::kMedium, loc, true));

    status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(loc, status);
    if (U_FAILURE(status))
        return data;
    using Symbols = icu::DateFormatSymbols;
    int32_t count = 0;
    // Weekday arrays of the locale library start at index 1 (Sunday). Each array is read
    // before its count is used: the count is an out-parameter of the same call.
    const icu::UnicodeString* names =
        symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::WIDE);
    copyNames(data->days, names, count, 1);
    names = symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
    copyNames(data->shortDays, names, count, 1);
    names = symbols.getMonths(count, Symbols::STANDALONE, Symbols::WIDE);
    copyNames(data->months, names, count, 0);
    names = symbols.getMonths(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
    copyNames(data->shortMonths, names, count, 0);
    names = symbols.getMonths(count, Symbols::FORMAT, Symbols::WIDE);
    copyNames(data->monthsInDate, names, count, 0);
    const icu::UnicodeString* ampm = symbols.getAmPmStrings(count);
    if (count >= 2) {
        data->am = toWide(ampm[0]);
        data->pm = toWide(ampm[1]);
    }
    const icu::UnicodeString* eras = symbols.getEras(count);
    if (count >= 2)
        data->era = toWide(eras[1]);
    return data;
}

namespace {

std::unique_ptr<LocaleData> loadLocaleData(LanguageId language) {
    if (auto kept = keptLocaleData(language))
        return kept;
    auto data = localeDataFromLibrary(language);
    keepLocaleData(*data);
    return data;
}

}  // namespace

icu::Locale icuLocaleOf(LanguageId language) {
    return icu::Locale(localeNameOf(language).value_or("en_US").c_str());
}

std::wstring toWide(const icu::UnicodeString& text) {
    std::string utf8;
    text.toUTF8String(utf8);
    return fromUtf8(utf8);
}

icu::UnicodeString toUnicode(std::wstring_view text) {
    return icu::UnicodeString::fromUTF8(toUtf8(text));
}

const NumberSymbols& numberSymbols(LanguageId language) {
    language = knownLanguage(language);
    static std::mutex mutex;
    static std::map<LanguageId, NumberSymbols> cache;
    std::lock_guard lock(mutex);
    auto [entry, added] = cache.try_emplace(language);
    if (added)
        entry->second = loadNumberSymbols(language);
    return entry->second;
}

const LocaleData& localeData(LanguageId language) {
    language = knownLanguage(language);
    static std::mutex mutex;
    static std::map<LanguageId, std::unique_ptr<LocaleData>> cache;
    std::lock_guard lock(mutex);
    auto& entry = cache[language];
    if (!entry)
        entry = loadLocaleData(language);
    return *entry;
}

}  // namespace locale

std::optional<std::string> localeNameOf(LanguageId language) {
    if (language == 0 || language > 0xFFFFFF)
        return std::nullopt;
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = uloc_getLocaleForLCID(language, name, sizeof name, &status);
    if (U_FAILURE(status) || length <= 0)
        return std::nullopt;
    // Only ids that map back to themselves name a language; the rest are guesses.
    if (uloc_getLCID(name) != language)
        return std::nullopt;
    return std::string(name, static_cast<std::size_t>(length));
}

std::optional<LanguageId> languageOfLocaleName(std::string_view name) {
    if (name.empty() || name.size() >= ULOC_FULLNAME_CAPACITY)
        return std::nullopt;
    std::string text(name);
    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    if (text.find('-') != std::string::npos) {
        uloc_forLanguageTag(text.c_str(), canonical, sizeof canonical, nullptr, &status);
    } else {
        uloc_canonicalize(text.c_str(), canonical, sizeof canonical, &status);
    }
    if (U_FAILURE(status))
        return std::nullopt;
    std::uint32_t id = uloc_getLCID(canonical);
    if (id == 0 || !localeNameOf(id))
        return std::nullopt;
    return id;
}

LanguageId userInterfaceLanguage() {
    auto id = profileNumber("locale.language", kDefaultLanguage);
    if (id <= 0 || id > 0xFFFFFF || !localeNameOf(static_cast<LanguageId>(id))) {
        return kDefaultLanguage;
    }
    return static_cast<LanguageId>(id);
}

bool setUserInterfaceLanguage(LanguageId language) {
    if (!localeNameOf(language))
        return false;
    setProfileNumber("locale.language", language);
    return true;
}

std::wstring decimalSeparator(LanguageId language) {
    return locale::numberSymbols(language).decimalSeparator;
}
std::wstring thousandsSeparator(LanguageId language) {
    return locale::numberSymbols(language).thousandsSeparator;
}
std::wstring shortDatePicture(LanguageId language) {
    return locale::localeData(language).shortDate;
}
std::wstring longDatePicture(LanguageId language) {
    return locale::localeData(language).longDate;
}
std::wstring timePicture(LanguageId language) {
    return locale::localeData(language).time;
}

std::wstring dayName(int dayOfWeek, LanguageId language) {
    if (dayOfWeek < 0 || dayOfWeek > 6)
        return {};
    return locale::localeData(language).days[dayOfWeek];
}
std::wstring abbreviatedDayName(int dayOfWeek, LanguageId language) {
    if (dayOfWeek < 0 || dayOfWeek > 6)
        return {};
    return locale::localeData(language).shortDays[dayOfWeek];
}
std::wstring monthName(int month, LanguageId language) {
    if (month < 1 || month > 12)
        return {};
    return locale::localeData(language).months[month - 1];
}
std::wstring abbreviatedMonthName(int month, LanguageId language) {
    if (month < 1 || month > 12)
        return {};
    return locale::localeData(language).shortMonths[month - 1];
}
std::wstring amDesignator(LanguageId language) {
    return locale::localeData(language).am;
}
std::wstring pmDesignator(LanguageId language) {
    return locale::localeData(language).pm;
}

}  // namespace platform
