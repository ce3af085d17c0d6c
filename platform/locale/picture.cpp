// Date and time pictures in the handheld's letters: reading the locale library's patterns
// into them, and formatting times and numbers by them.

#include <unicode/numberformatter.h>

#include <algorithm>
#include <cwctype>

#include "platform/locale/locale_data.h"

namespace platform {
namespace {

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Spaces the locale library puts in patterns (narrow no-break, thin, no-break) are plain
// spaces in the handheld's pictures.
wchar_t plainSpace(wchar_t c) {
    return (c == 0x202F || c == 0x2009 || c == 0x00A0) ? L' ' : c;
}

std::wstring repeat(wchar_t c, int count) {
    return std::wstring(static_cast<std::size_t>(count), c);
}

// The handheld's picture for a run of one CLDR pattern letter; empty for fields it has not.
std::wstring pictureField(wchar_t letter, int count) {
    switch (letter) {
        case L'y':
        case L'Y':
        case L'u':
        case L'r':
            return count == 2 ? L"yy" : L"yyyy";
        case L'M':
        case L'L':
            return count >= 5 ? L"MMM" : repeat(L'M', count);
        case L'd':
            return count == 1 ? L"d" : L"dd";
        case L'E':
            return count == 4 ? L"dddd" : L"ddd";
        case L'c':
        case L'e':
            return count <= 2 ? L"" : count == 4 ? L"dddd" : L"ddd";
        case L'a':
        case L'b':
        case L'B':
            return L"tt";
        case L'h':
        case L'K':
            return count == 1 ? L"h" : L"hh";
        case L'H':
        case L'k':
            return count == 1 ? L"H" : L"HH";
        case L'm':
            return count == 1 ? L"m" : L"mm";
        case L's':
            return count == 1 ? L"s" : L"ss";
        default:
            return L"";
    }
}

bool needsQuotes(wchar_t c) {
    return isAsciiLetter(c) || c == L'\'';
}

// Literal text goes into the picture as it stands, except runs of letters and quotes, which
// the picture would read as fields and so are quoted.
void flushLiteral(std::wstring& out, std::wstring& literal) {
    std::size_t i = 0;
    while (i < literal.size()) {
        if (!needsQuotes(literal[i])) {
            out += literal[i++];
            continue;
        }
        out += L'\'';
        for (; i < literal.size() && needsQuotes(literal[i]); ++i) {
            out += literal[i];
            if (literal[i] == L'\'')
                out += L'\'';
        }
        out += L'\'';
    }
    literal.clear();
}

std::wstring twoDigits(int n) {
    std::wstring s = std::to_wstring(n % 100);
    return s.size() < 2 ? L"0" + s : s;
}

std::wstring pad(int n, std::size_t width) {
    std::wstring s = std::to_wstring(n);
    return s.size() < width ? std::wstring(width - s.size(), L'0') + s : s;
}

// Walks a picture, copying literals and quoted text and handing each run of a field letter
// to field(letter, count, out), which returns false for letters that are not its fields.
template <typename Field>
std::wstring renderPicture(std::wstring_view picture, Field field) {
    std::wstring out;
    std::size_t i = 0;
    while (i < picture.size()) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted text runs to the next lone quote ('' is one quote); an unclosed quote
            // runs to the end of the picture.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        out += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        std::size_t end = i;
        while (end < picture.size() && picture[end] == c) ++end;
        int count = static_cast<int>(end - i);
        if (!field(c, count, out))
            out.append(picture.substr(i, end - i));
        i = end;
    }
    return out;
}

bool pictureHasDayNumber(std::wstring_view picture) {
    bool hasDay = false;
    renderPicture(picture, [&](wchar_t c, int count, std::wstring&) {
        if (c == L'd' && count <= 2)
            hasDay = true;
        return true;
    });
    return hasDay;
}

}  // namespace

std::wstring pictureFromPattern(std::wstring_view pattern) {
    std::wstring out;
    std::wstring literal;
    std::size_t i = 0;
    while (i < pattern.size()) {
        wchar_t c = pattern[i];
        if (c == L'\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == L'\'') {
                literal += L'\'';
                i += 2;
                continue;
            }
            for (++i; i < pattern.size(); ++i) {
                if (pattern[i] != L'\'') {
                    literal += plainSpace(pattern[i]);
                } else if (i + 1 < pattern.size() && pattern[i + 1] == L'\'') {
                    literal += L'\'';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (!isAsciiLetter(c)) {
            literal += plainSpace(c);
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < pattern.size() && pattern[end] == c) ++end;
        std::wstring field = pictureField(c, static_cast<int>(end - i));
        if (!field.empty()) {
            flushLiteral(out, literal);
            out += field;
        }
        i = end;
    }
    flushLiteral(out, literal);
    // Dropped fields (a time zone, an era) leave their separating spaces behind.
    auto first = out.find_first_not_of(L' ');
    auto last = out.find_last_not_of(L' ');
    return first == std::wstring::npos ? L"" : out.substr(first, last - first + 1);
}

std::optional<std::wstring> formatDate(const SystemTime& time, std::wstring_view picture,
                                       LanguageId language) {
    if (!isValidSystemTime(time))
        return std::nullopt;
    const auto& data = locale::localeData(language);
    int weekday = dayOfWeekOf(time.year, time.month, time.day);
    bool inDate = pictureHasDayNumber(picture);
    return renderPicture(picture, [&](wchar_t c, int count, std::wstring& out) {
        switch (c) {
            case L'd':
                out += count == 1   ? std::to_wstring(time.day)
                       : count == 2 ? twoDigits(time.day)
                       : count == 3 ? data.shortDays[weekday]
                                    : data.days[weekday];
                return true;
            case L'M':
                out += count == 1   ? std::to_wstring(time.month)
                       : count == 2 ? twoDigits(time.month)
                       : count == 3 ? data.shortMonths[time.month - 1]
                       : inDate     ? data.monthsInDate[time.month - 1]
                                    : data.months[time.month - 1];
                return true;
            case L'y':
                out += count == 1   ? std::to_wstring(time.year % 100)
                       : count == 2 ? twoDigits(time.year)
                                    : pad(time.year, 4);
                return true;
            case L'g':
                out += data.era;
                return true;
            default:
                return false;
        }
    });
}

std::optional<std::wstring> formatTime(const SystemTime& time, std::wstring_view picture,
                                       LanguageId language) {
    if (!isValidSystemTime(time))
        return std::nullopt;
    const auto& data = locale::localeData(language);
    int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    const std::wstring& designator = time.hour < 12 ? data.am : data.pm;
    return renderPicture(picture, [&](wchar_t c, int count, std::wstring& out) {
        switch (c) {
            case L'h':
                out += count == 1 ? std::to_wstring(hour12) : twoDigits(hour12);
                return true;
            case L'H':
                out += count == 1 ? std::to_wstring(time.hour) : twoDigits(time.hour);
                return true;
            case L'm':
                out += count == 1 ? std::to_wstring(time.minute) : twoDigits(time.minute);
                return true;
            case L's':
                out += count == 1 ? std::to_wstring(time.second) : twoDigits(time.second);
                return true;
            case L't':
                out += count == 1 ? designator.substr(0, 1) : designator;
                return true;
            default:
                return false;
        }
    });
}

std::wstring formatNumber(double value, int decimals, LanguageId language) {
    const auto& data = locale::localeData(language);
    decimals = std::clamp(decimals, 0, 9);
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = icu::number::NumberFormatter::withLocale(data.locale)
                         .precision(icu::number::Precision::fixedFraction(decimals))
                         .roundingMode(UNUM_ROUND_HALFEVEN);
    icu::UnicodeString text = formatter.formatDouble(value, status).toString(status);
    if (U_FAILURE(status))
        return {};
    return locale::toWide(text);
}

}  // namespace platform
