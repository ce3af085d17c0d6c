#include "travel/trip_time.h"

#include <cmath>
#include <cstdint>
#include <cwchar>

namespace travel {
namespace {

constexpr double kGregorianChange = 2299161.0;

std::optional<int> number(std::wstring_view text) {
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

}  // namespace

std::optional<platform::SystemTime> parseTripTime(std::wstring_view text) {
    int parts[5];
    std::size_t at = 0;
    for (int i = 0; i < 5; ++i) {
        const std::size_t colon = i < 4 ? text.find(L':', at) : text.size();
        if (colon == std::wstring_view::npos)
            return std::nullopt;
        auto value = number(text.substr(at, colon - at));
        if (!value)
            return std::nullopt;
        parts[i] = *value;
        at = colon + 1;
    }
    const int day = parts[0], month = parts[1], year = parts[2], hour = parts[3], minute = parts[4];
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > platform::daysInMonth(year, month) || hour > 23 || minute > 59)
        return std::nullopt;
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return t;
}

std::wstring formatTripTime(const platform::SystemTime& t) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d:%02d:%04d:%02d:%02d", static_cast<int>(t.day),
                  static_cast<int>(t.month), static_cast<int>(t.year), static_cast<int>(t.hour),
                  static_cast<int>(t.minute));
    return text;
}

double julianDay(const platform::SystemTime& t) {
    double year = t.year, month = t.month;
    const double day = t.day + (t.hour + (t.minute + t.second / 60.0) / 60.0) / 24.0;
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const bool gregorian =
        t.year > 1582 || (t.year == 1582 && (t.month > 10 || (t.month == 10 && t.day >= 15)));
    double b = 0;
    if (gregorian) {
        const double a = std::floor(year / 100);
        b = 2 - a + std::floor(a / 4);
    }
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b -
           1524.5;
}

std::optional<platform::SystemTime> fromJulianDay(double jd) {
    if (!std::isfinite(jd) || jd < 2305813.5 || jd > 5373484.5)  // 1601-01-01 to 9999-12-31
        return std::nullopt;
    // Whole seconds from the day's start (noon-based Julian days start at noon).
    const double shifted = jd + 0.5;
    double z = std::floor(shifted);
    auto seconds = static_cast<std::int64_t>(std::llround((shifted - z) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        z += 1;
    }
    double a = z;
    if (z >= kGregorianChange) {
        const double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::floor(alpha / 4);
    }
    const double b = a + 1524;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) / 30.6001);
    const int day = static_cast<int>(b - d - std::floor(30.6001 * e));
    const int month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    const int year = static_cast<int>(month > 2 ? c - 4716 : c - 4715);
    if (year < 1601 || year > 9999)
        return std::nullopt;
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    t.hour = static_cast<std::uint16_t>(seconds / 3600);
    t.minute = static_cast<std::uint16_t>(seconds / 60 % 60);
    t.second = static_cast<std::uint16_t>(seconds % 60);
    return t;
}

std::wstring julianDayText(double day) {
    if (!std::isfinite(day) || day < 0 || day > 1e9)
        return L"0.000000";
    const auto micro = static_cast<std::int64_t>(std::llround(day * 1e6));
    wchar_t text[40];
    std::swprintf(text, 40, L"%lld.%06lld", static_cast<long long>(micro / 1000000),
                  static_cast<long long>(micro % 1000000));
    return text;
}

}  // namespace travel
