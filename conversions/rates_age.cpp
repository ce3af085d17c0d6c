#include "conversions/rates_age.h"

namespace conversions {

namespace {

std::optional<int> digitsAt(std::wstring_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

}  // namespace

std::optional<platform::SystemTime> parseIsoDate(std::wstring_view text) {
    if (text.size() != 10 || text[4] != L'-' || text[7] != L'-')
        return std::nullopt;
    auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    if (!year || !month || !day || *year < 1601 || *month < 1 || *month > 12 || *day < 1 ||
        *day > platform::daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    platform::SystemTime time;
    time.year = static_cast<std::uint16_t>(*year);
    time.month = static_cast<std::uint16_t>(*month);
    time.day = static_cast<std::uint16_t>(*day);
    time.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(*year, *month, *day));
    return time;
}

std::optional<RatesAge> ratesAge(const UnitTable& table, platform::FileTime nowUtc) {
    RatesAge age;
    age.source = table.ratesSource;
    std::optional<platform::FileTime> when;
    if (auto date = parseIsoDate(table.ratesDate)) {
        when = platform::toFileTime(*date);
    }
    if (!when)
        when = table.fileTime;
    if (!when)
        return std::nullopt;
    auto date = platform::toSystemTime(*when);
    if (!date)
        return std::nullopt;
    age.date = *date;
    constexpr platform::FileTime kDay = platform::kFileTimeTicksPerSecond * 86400;
    age.days = nowUtc > *when ? static_cast<int>((nowUtc - *when) / kDay) : 0;
    age.stale = age.days > kStaleAfterDays;
    return age;
}

}  // namespace conversions
