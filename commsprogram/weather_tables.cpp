#include "commsprogram/weather_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "commsprogram/file_batch.h"
#include "platform/api/device.h"

namespace commsprogram {
namespace {

// The WMO codes the install folder has a picture for.
constexpr std::array kPictured = {0,  1,  2,  3,  45, 48, 51, 53, 55, 56, 57, 61, 63, 65,
                                  66, 67, 71, 73, 75, 77, 80, 81, 82, 85, 86, 95, 96, 99};

struct Period {
    wchar_t letter;
    int firstHour;  // of the period's own date; the night runs past midnight
};
// Morning, afternoon, evening, night: the order the part-of-day file lists them in.
constexpr Period kPeriods[] = {{L'M', 6}, {L'A', 12}, {L'E', 18}, {L'N', 24}};
constexpr int kPeriodDays = 2;

std::wstring number(std::optional<double> value) {
    if (!value)
        return {};
    char text[32];
    double rounded = std::round(*value);
    std::snprintf(text, sizeof text, "%.0f", rounded == 0 ? 0.0 : rounded);
    return platform::fromUtf8(text);
}

std::wstring text(std::string_view utf8) {
    std::wstring out = platform::fromUtf8(utf8);
    // A field never holds the separator or a line end.
    std::replace_if(
        out.begin(), out.end(), [](wchar_t c) { return c == L'~' || c < 0x20; }, L' ');
    return out;
}

// "YYYY-MM-DD..." to the file's "MMDDYY".
std::wstring shortDate(std::string_view date) {
    if (date.size() < 10)
        return {};
    return platform::fromUtf8(std::string(date.substr(5, 2)) + std::string(date.substr(8, 2)) +
                              std::string(date.substr(2, 2)));
}

int daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int dayOf(std::string_view date) {
    auto field = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (char c : date.substr(at, length)) value = value * 10 + (c - '0');
        return value;
    };
    return daysFromCivil(field(0, 4), field(5, 2), field(8, 2));
}

// 1 for Sunday .. 7 for Saturday.
std::wstring weekdayNumber(std::string_view date) {
    if (date.size() < 10)
        return {};
    const int days = dayOf(date);
    const int weekday = ((days % 7) + 11) % 7;  // 1970-01-01 was a Thursday (4)
    return std::to_wstring(weekday + 1);
}

// The hours of a period: from firstHour of the date for six hours.
struct PeriodWeather {
    std::string date;
    wchar_t letter = L'M';
    int code = -1;
    bool day = true;
    std::optional<double> high, low, wind, direction, rain;
};

std::vector<PeriodWeather> periodsOf(const WeatherReport& report) {
    std::vector<PeriodWeather> periods;
    for (std::size_t d = 0; d < report.days.size() && d < kPeriodDays; ++d) {
        const std::string& date = report.days[d].date;
        const int dayNumber = dayOf(date);
        for (const Period& period : kPeriods) {
            PeriodWeather out;
            out.date = date;
            out.letter = period.letter;
            int hoursFound = 0;
            for (const HourWeather& hour : report.hours) {
                const int hourDay = dayOf(hour.time);
                const int clock = (hour.time[11] - '0') * 10 + (hour.time[12] - '0');
                const int fromStart = (hourDay - dayNumber) * 24 + clock - period.firstHour;
                if (fromStart < 0 || fromStart >= 6)
                    continue;
                ++hoursFound;
                // The worst weather of the period names it; WMO codes rise with severity.
                if (hour.code > out.code) {
                    out.code = hour.code;
                    out.day = hour.day;
                }
                if (hour.temperature) {
                    out.high = std::max(out.high.value_or(-1e9), *hour.temperature);
                    out.low = std::min(out.low.value_or(1e9), *hour.temperature);
                }
                if (hour.windSpeed && *hour.windSpeed >= out.wind.value_or(-1)) {
                    out.wind = hour.windSpeed;
                    out.direction = hour.windDirection;
                }
                if (hour.rainChance)
                    out.rain = std::max(out.rain.value_or(0), *hour.rainChance);
            }
            if (hoursFound > 0)
                periods.push_back(std::move(out));
        }
    }
    return periods;
}

// The band of a chance of rain in percent: 0 "OK" (none), then 0-15 .. 60-90 and above.
std::wstring rainBand(std::optional<double> chance) {
    if (!chance)
        return {};
    const double p = *chance;
    int band = p <= 0 ? 0 : p <= 15 ? 1 : p <= 30 ? 2 : p <= 45 ? 3 : p <= 60 ? 4 : 5;
    return std::to_wstring(band);
}

}  // namespace

std::wstring conditionIcon(int code, bool day) {
    if (std::find(kPictured.begin(), kPictured.end(), code) == kPictured.end())
        return L"cw_no_report_icon";
    if (!day && code <= 2)
        return std::to_wstring(100 + code);
    return std::to_wstring(code);
}

std::wstring conditionText(int code) {
    switch (code) {
        case 0:
            return L"Clear sky";
        case 1:
            return L"Mainly clear";
        case 2:
            return L"Partly cloudy";
        case 3:
            return L"Overcast";
        case 45:
            return L"Fog";
        case 48:
            return L"Freezing fog";
        case 51:
            return L"Light drizzle";
        case 53:
            return L"Drizzle";
        case 55:
            return L"Dense drizzle";
        case 56:
            return L"Light freezing drizzle";
        case 57:
            return L"Freezing drizzle";
        case 61:
            return L"Light rain";
        case 63:
            return L"Rain";
        case 65:
            return L"Heavy rain";
        case 66:
            return L"Light freezing rain";
        case 67:
            return L"Freezing rain";
        case 71:
            return L"Light snow";
        case 73:
            return L"Snow";
        case 75:
            return L"Heavy snow";
        case 77:
            return L"Snow grains";
        case 80:
            return L"Light showers";
        case 81:
            return L"Showers";
        case 82:
            return L"Violent showers";
        case 85:
            return L"Snow showers";
        case 86:
            return L"Heavy snow showers";
        case 95:
            return L"Thunderstorm";
        case 96:
            return L"Thunderstorm with hail";
        case 99:
            return L"Thunderstorm with heavy hail";
        default:
            return L"No report";
    }
}

std::wstring compassPoint(std::optional<double> degrees) {
    if (!degrees)
        return {};
    static const wchar_t* kPoints[] = {L"N", L"NNE", L"NE", L"ENE", L"E", L"ESE", L"SE", L"SSE",
                                       L"S", L"SSW", L"SW", L"WSW", L"W", L"WNW", L"NW", L"NNW"};
    double d = std::fmod(*degrees, 360.0);
    if (d < 0)
        d += 360;
    return kPoints[static_cast<int>(std::floor(d / 22.5 + 0.5)) % 16];
}

std::wstring dailyTable(const WeatherReport& report) {
    std::wstring table;
    for (const DayWeather& day : report.days) {
        const std::wstring condition = conditionText(day.code);
        table += recordRow({L"1", conditionIcon(day.code, true), number(day.high), number(day.low),
                            compassPoint(day.windDirection), number(day.windSpeed),
                            weekdayNumber(day.date), condition, shortDate(day.date), L"", L"",
                            condition, number(day.high), L"", L""});
    }
    return table;
}

std::wstring periodTable(const WeatherReport& report) {
    std::wstring table;
    for (const PeriodWeather& p : periodsOf(report)) {
        const std::wstring condition = conditionText(p.code);
        table += recordRow({L"1", conditionIcon(p.code, p.day), number(p.high), number(p.low),
                            compassPoint(p.direction), number(p.wind), weekdayNumber(p.date),
                            condition, shortDate(p.date), std::wstring(1, p.letter), L"", condition,
                            number(p.high), L"", L""});
    }
    return table;
}

std::wstring currentTable(const WeatherReport& report) {
    const CurrentWeather& now = report.current;
    const std::wstring condition = conditionText(now.code);
    std::optional<double> low;
    if (!report.days.empty())
        low = report.days.front().low;
    std::wstring humidity = now.humidity ? L"Humidity " + number(now.humidity) + L"%" : L"";
    std::wstring observed = L"Observed " + text(now.time.substr(11, 5)) + L" local time";
    return recordRow({L"1", conditionIcon(now.code, now.day), number(now.temperature), number(low),
                      compassPoint(now.windDirection), number(now.windSpeed), number(now.pressure),
                      humidity, L"", text(report.timezone), number(now.apparent),
                      number(now.visibilityKm), condition, observed});
}

std::wstring outlookTable(const WeatherReport& report) {
    std::vector<PeriodWeather> periods = periodsOf(report);
    std::vector<std::wstring> fields = {L"1", L"the next two days", L""};
    for (int k = 0; k < 8; ++k) {
        if (k < static_cast<int>(periods.size())) {
            const PeriodWeather& p = periods[static_cast<std::size_t>(k)];
            fields.push_back(std::wstring(1, p.letter));
            fields.push_back(weekdayNumber(p.date));
            fields.push_back(rainBand(p.rain));
            fields.push_back(conditionText(p.code));
        } else {
            fields.insert(fields.end(), {L"", L"", L"", L"*"});
        }
    }
    fields.push_back(L"Chance of rain in percent by part of day");
    return recordRow(fields);
}

}  // namespace commsprogram
