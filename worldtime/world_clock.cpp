#include "worldtime/world_clock.h"

#include <cmath>

#include "core/format.h"
#include "core/language.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/date_helpers.h"
#include "worldtime/settings_keys.h"
#include "worldtime/zones.h"

namespace worldtime {

HandAngles clockHandAngles(const platform::SystemTime& local) {
    int hourPosition = (local.hour % 12) * 5 + local.minute / 12;
    return {6.0 * hourPosition, 6.0 * local.minute};
}

bool showCountry() {
    return core::settings::read(keys::OptShowCountry) == 1;
}

std::wstring cityLabel(const core::RecordTable& cities, int row, bool withCountry) {
    std::wstring label(cities.fieldText(row, cityField::Name));
    if (withCountry) {
        label += L", ";
        label += cities.fieldText(row, cityField::Country);
    }
    return label;
}

std::vector<WorldClockRow> worldClockRows(const core::RecordTable& favourites,
                                          std::int64_t utcTicks, bool withCountry) {
    std::vector<WorldClockRow> rows;
    for (int row = 1; row <= favourites.rowCount(); ++row) {
        WorldClockRow out;
        out.label = cityLabel(favourites, row, withCountry);
        out.zone = cityZone(favourites, row);
        const CityClock clock = cityClock(favourites, row, utcTicks);
        out.daylightSaving = clock.daylight;
        out.local = clock.local;
        rows.push_back(std::move(out));
    }
    return rows;
}

int moveFavouriteUp(core::RecordTable& favourites, std::wstring_view folder, int row) {
    if (row < 2 || row > favourites.rowCount())
        return 0;
    int current = favourites.currentRow();
    favourites.setCurrentRow(row);
    favourites.swapWithPrevious();
    // The current favourite is a city, not a row number: when the swap moved it, follow it.
    if (current == row) {
        current = row - 1;
    } else if (current == row - 1) {
        current = row;
    }
    favourites.setCurrentRow(current);
    favourites.save(folder, L"mycities.dat");
    if (current > 0)
        core::settings::write(keys::FavCity, current);
    requestHomeLayoutReload();
    return row - 1;
}

bool MinuteCheck::changed(const platform::SystemTime& local) {
    int minuteOfDay = local.hour * 60 + local.minute;
    if (minuteOfDay == lastMinuteOfDay_)
        return false;
    lastMinuteOfDay_ = minuteOfDay;
    return true;
}

std::wstring coordinateText(double value) {
    // Minutes, rounded; 59.5 minutes and up carry into the next degree.
    long totalMinutes = std::isfinite(value) ? std::lround(std::fabs(value) * 60) : 0;
    std::wstring degrees = formatInt(totalMinutes / 60, false);
    wchar_t minutes[8];
    std::swprintf(minutes, 8, L"%02ld", totalMinutes % 60);
    return core::formatText(L"%s\u00B0 %s'", degrees, std::wstring(minutes));
}

std::wstring longitudeLine(double longitude) {
    return core::formatText(core::languageString(118), coordinateText(longitude),
                            core::languageString(longitude >= 0 ? 122 : 123));
}

std::wstring latitudeLine(double latitude) {
    return core::formatText(core::languageString(119), coordinateText(latitude),
                            core::languageString(latitude >= 0 ? 120 : 121));
}

std::wstring mapCoordinates(double latitude, double longitude) {
    return core::formatText(core::languageString(244), coordinateText(longitude),
                            core::languageString(longitude >= 0 ? 245 : 246),
                            coordinateText(latitude),
                            core::languageString(latitude >= 0 ? 247 : 248));
}

SunLines sunLines(const SunTimes& times, std::wstring_view polarDayText,
                  std::wstring_view polarNightText) {
    switch (times.kind) {
        case DaylightKind::PolarDay:
            return {std::wstring(polarDayText), std::wstring(polarDayText)};
        case DaylightKind::PolarNight:
            return {std::wstring(polarNightText), std::wstring(polarNightText)};
        case DaylightKind::Normal:
            break;
    }
    return {core::formatText(core::languageString(242), times.sunrise.hour, times.sunrise.minute),
            core::formatText(core::languageString(243), times.sunset.hour, times.sunset.minute)};
}

CityPanel cityPanel(const core::RecordTable& favourites, int row, std::int64_t utcTicks,
                    bool withCountry) {
    CityPanel panel;
    if (row < 1 || row > favourites.rowCount())
        return panel;
    panel.label = cityLabel(favourites, row, withCountry);
    const CityClock clock = cityClock(favourites, row, utcTicks);
    panel.daylightSaving = clock.daylight;
    panel.local = clock.local;
    panel.change = nextClockShift(clock);
    double latitude = cityLatitude(favourites, row);
    double longitude = cityLongitude(favourites, row);
    panel.coordinates = mapCoordinates(latitude, longitude);
    SunTimes times = sunriseSunset(panel.local.year, panel.local.month, panel.local.day, latitude,
                                   longitude, clock.offsetMinutes / 60.0);
    panel.sun = sunLines(times, core::languageString(697), core::languageString(698));
    return panel;
}

}  // namespace worldtime
