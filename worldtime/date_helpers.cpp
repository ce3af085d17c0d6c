#include "worldtime/date_helpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/decimal.h"
#include "platform/api/locale.h"

namespace worldtime {
namespace {

// The last file time the handheld can turn into a date (the end of the year 30827).
constexpr std::int64_t kMaxTicks = 0x7FFFFFFFFFFFFFFFLL;

// a + b, or nothing when the sum leaves the 64-bit range.
std::optional<std::int64_t> checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return std::nullopt;
    return sum;
}

std::optional<std::int64_t> checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return std::nullopt;
    return product;
}

// Moves the calendar date by whole months, keeping the time of day; the day is clamped to
// the new month's length. Computed in one step rather than month by month, so a huge count
// costs nothing and cannot loop for long.
std::optional<platform::SystemTime> addMonths(platform::SystemTime t, std::int64_t months) {
    std::int64_t index = static_cast<std::int64_t>(t.year) * 12 + (t.month - 1);
    auto moved = checkedAdd(index, months);
    if (!moved)
        return std::nullopt;
    std::int64_t year = *moved >= 0 ? *moved / 12 : -((-*moved + 11) / 12);
    std::int64_t month = *moved - year * 12 + 1;
    if (year < 1601 || year > 30827)
        return std::nullopt;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    int length = platform::daysInMonth(t.year, t.month);
    if (t.day > length)
        t.day = static_cast<std::uint16_t>(length);
    return t;
}

std::optional<platform::SystemTime> shift(const platform::SystemTime& dateTime, int sign,
                                          std::int64_t minutes, std::int64_t hours,
                                          std::int64_t days, std::int64_t months,
                                          std::int64_t years, bool skipWeekend) {
    auto start = fileTicks(dateTime);
    if (!start)
        return std::nullopt;
    auto dayHours = checkedMul(days, 24);
    auto allHours = dayHours ? checkedAdd(*dayHours, hours) : std::nullopt;
    auto hourTicks = allHours ? checkedMul(*allHours, kTicksPerHour) : std::nullopt;
    auto minuteTicks = checkedMul(minutes, kTicksPerMinute);
    auto delta = hourTicks && minuteTicks ? checkedAdd(*hourTicks, *minuteTicks) : std::nullopt;
    auto signedDelta = delta ? checkedMul(*delta, sign) : std::nullopt;
    auto moved = signedDelta ? checkedAdd(*start, *signedDelta) : std::nullopt;
    auto t = moved ? fromFileTicks(*moved) : std::nullopt;
    auto monthCount = checkedMul(years, 12);
    auto allMonths = monthCount ? checkedAdd(*monthCount, months) : std::nullopt;
    auto signedMonths = allMonths ? checkedMul(*allMonths, sign) : std::nullopt;
    if (!t || !signedMonths)
        return std::nullopt;
    t = addMonths(*t, *signedMonths);
    if (!t)
        return std::nullopt;
    auto ticks = fileTicks(*t);
    if (!ticks)
        return std::nullopt;
    if (skipWeekend) {
        int weekday = platform::dayOfWeekOf(t->year, t->month, t->day);
        if (weekday == 0)
            *ticks += kTicksPerDay;
        if (weekday == 6)
            *ticks += 2 * kTicksPerDay;
    }
    return fromFileTicks(*ticks);
}

wchar_t singleCharacter(const std::wstring& text) {
    return text.size() == 1 ? text[0] : 0;
}

std::wstring localised(std::wstring text, bool localise) {
    if (!localise)
        return text;
    std::wstring separator = platform::decimalSeparator();
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'.') {
            out += separator;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

int dayNumber(int month, int day, int year) {
    int m = month;
    int y = year;
    if (month < 3) {
        m += 12;
        y -= 1;
    }
    // Floor division keeps the count right for years before 1 as well.
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return day + floorDiv(153 * m - 457, 5) + 365 * y + floorDiv(y, 4) - floorDiv(y, 100) +
           floorDiv(y, 400) + 1721119;
}

std::optional<std::int64_t> fileTicks(const platform::SystemTime& dateTime) {
    auto ticks = platform::toFileTime(dateTime);
    if (!ticks)
        return std::nullopt;
    return static_cast<std::int64_t>(*ticks);
}

std::optional<platform::SystemTime> fromFileTicks(std::int64_t ticks) {
    if (ticks < 0 || ticks > kMaxTicks)
        return std::nullopt;
    return platform::toSystemTime(static_cast<platform::FileTime>(ticks));
}

std::optional<platform::SystemTime> shiftDateTime(const platform::SystemTime& dateTime,
                                                  std::int64_t minutes, std::int64_t hours,
                                                  std::int64_t days, std::int64_t months,
                                                  std::int64_t years, bool skipWeekend) {
    return shift(dateTime, 1, minutes, hours, days, months, years, skipWeekend);
}

std::optional<platform::SystemTime> unshiftDateTime(const platform::SystemTime& dateTime,
                                                    std::int64_t minutes, std::int64_t hours,
                                                    std::int64_t days, std::int64_t months,
                                                    std::int64_t years, bool skipWeekend) {
    return shift(dateTime, -1, minutes, hours, days, months, years, skipWeekend);
}

std::wstring formatFixed(double value, int decimals, bool localise) {
    int places = decimals < 0 ? 0 : (decimals > 8 ? 8 : decimals);
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::wstring wide(text, text + std::char_traits<char>::length(text));
    return localised(std::move(wide), localise);
}

std::wstring formatInt(std::int64_t value, bool localise) {
    return localised(core::decimalText(value), localise);
}

std::wstring normaliseNumber(std::wstring_view text) {
    // Digits and a sign read the same in every language; the common case needs no locale.
    if (std::all_of(text.begin(), text.end(),
                    [](wchar_t c) { return (c >= L'0' && c <= L'9') || c == L'-'; })) {
        return std::wstring(text);
    }
    wchar_t decimal = singleCharacter(platform::decimalSeparator());
    wchar_t thousands = singleCharacter(platform::thousandsSeparator());
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        bool kept = (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || (decimal && c == decimal);
        if (!kept || (thousands && c == thousands))
            continue;
        out += (decimal && c == decimal) ? L'.' : c;
    }
    return out;
}

int readInt(std::wstring_view text) {
    return core::parseDecimal(normaliseNumber(text));
}

double readNumber(std::wstring_view text, bool normalise) {
    std::wstring normalised;
    if (normalise) {
        normalised = normaliseNumber(text);
        text = normalised;
    }
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    // Only the characters of a plain decimal number are handed to the converter, so "nan",
    // "inf" and hexadecimal forms never read as numbers.
    std::string number;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        if (text[i] == L'-')
            number += '-';
        ++i;
    }
    auto digits = [&] {
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && number.size() < 400) {
            number += static_cast<char>(text[i++]);
        }
    };
    digits();
    if (i < text.size() && text[i] == L'.') {
        number += '.';
        ++i;
        digits();
    }
    if (i + 1 < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t mark = i;
        std::size_t length = number.size();
        number += 'e';
        ++i;
        if (text[i] == L'-' || text[i] == L'+')
            number += static_cast<char>(text[i++]);
        std::size_t before = number.size();
        digits();
        if (number.size() == before) {
            number.resize(length);
            i = mark;
        }
    }
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

std::wstring removeChar(std::wstring_view text, wchar_t c) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        if (ch != c)
            out += ch;
    }
    return out;
}

std::optional<platform::SystemTime> dateFromMmddyy(std::wstring_view mmddyy) {
    if (mmddyy.size() < 6)
        return std::nullopt;
    int parts[3] = {};
    for (int k = 0; k < 3; ++k) {
        wchar_t a = mmddyy[2 * k];
        wchar_t b = mmddyy[2 * k + 1];
        if (a < L'0' || a > L'9' || b < L'0' || b > L'9')
            return std::nullopt;
        parts[k] = (a - L'0') * 10 + (b - L'0');
    }
    platform::SystemTime date;
    date.month = static_cast<std::uint16_t>(parts[0]);
    date.day = static_cast<std::uint16_t>(parts[1]);
    date.year = static_cast<std::uint16_t>(2000 + parts[2]);
    if (!platform::isValidSystemTime(date))
        return std::nullopt;
    date.dayOfWeek =
        static_cast<std::uint16_t>(platform::dayOfWeekOf(date.year, date.month, date.day));
    return date;
}

std::optional<std::wstring> shortDate(std::wstring_view mmddyy, std::wstring_view picture) {
    auto date = dateFromMmddyy(mmddyy);
    if (!date)
        return std::nullopt;
    std::wstring fallback;
    if (picture.empty()) {
        fallback = platform::shortDatePicture();
        picture = fallback;
    }
    return platform::formatDate(*date, picture);
}

std::wstring_view ordinalSuffix(int day) {
    switch (day) {
        case 1:
        case 21:
        case 31:
            return L"st";
        case 2:
        case 22:
            return L"nd";
        case 3:
        case 23:
            return L"rd";
        default:
            return L"th";
    }
}

std::optional<std::wstring> dayWithSuffix(std::wstring_view mmddyy, bool bare) {
    auto date = dateFromMmddyy(mmddyy);
    if (!date)
        return std::nullopt;
    auto text = platform::formatDate(*date, L"d");
    if (!text)
        return std::nullopt;
    if (!bare)
        *text += ordinalSuffix(date->day);
    return text;
}

}  // namespace worldtime
