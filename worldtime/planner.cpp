// The meeting planner's grid, its cell texts and the meeting a row books.

#include "worldtime/planner.h"

#include <cstdio>

#include "core/time_text.h"
#include "platform/api/locale.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/date_helpers.h"

namespace worldtime {
namespace {

bool isWorkingHour(const platform::SystemTime& local) {
    return local.hour >= kFirstWorkingHour && local.hour <= kLastWorkingHour;
}

// The device's local time at a UTC moment; the moment itself when the device cannot say.
platform::SystemTime deviceLocalAt(std::int64_t utcTicks) {
    auto local = platform::utcToLocal(static_cast<platform::FileTime>(utcTicks));
    auto time = local ? fromFileTicks(static_cast<std::int64_t>(*local)) : std::nullopt;
    return time ? *time : fromFileTicks(utcTicks).value_or(platform::SystemTime{});
}

}  // namespace

std::wstring plannerHeading(const core::RecordTable& favourites, int row) {
    std::wstring name(favourites.fieldText(row, cityField::Name));
    auto comma = name.find(L',');
    if (comma != std::wstring::npos)
        name.resize(comma);
    return name;
}

PlannerGrid plannerGrid(const core::RecordTable& favourites, const platform::SystemTime& date,
                        std::int64_t nowUtc) {
    PlannerGrid grid;
    platform::SystemTime midnight{date.year, date.month, 0, date.day, 0, 0, 0, 0};
    auto localTicks = fileTicks(midnight);
    if (!localTicks)
        return grid;
    auto firstUtc = platform::localToUtc(static_cast<platform::FileTime>(*localTicks));
    if (!firstUtc)
        return grid;
    for (int row = 0; row < kPlannerHours; ++row) {
        std::int64_t utc = static_cast<std::int64_t>(*firstUtc) + row * kTicksPerHour;
        grid.utcTicks.push_back(utc);
        if (nowUtc >= utc && nowUtc < utc + kTicksPerHour)
            grid.presentRow = row + 1;
    }

    const int favouriteCount = favourites.rowCount();
    grid.columns.resize(1 + static_cast<std::size_t>(favouriteCount));
    for (auto& column : grid.columns) column.cells.reserve(kPlannerHours);
    for (std::int64_t utc : grid.utcTicks) {
        platform::SystemTime device = deviceLocalAt(utc);
        grid.columns[0].cells.push_back({device, isWorkingHour(device)});
    }
    for (int favourite = 1; favourite <= favouriteCount; ++favourite) {
        PlannerColumn& column = grid.columns[static_cast<std::size_t>(favourite)];
        column.heading = plannerHeading(favourites, favourite);
        for (std::int64_t utc : grid.utcTicks) {
            platform::SystemTime local = cityClock(favourites, favourite, utc).local;
            column.cells.push_back({local, isWorkingHour(local)});
        }
    }
    return grid;
}

std::wstring plannerCellText(const platform::SystemTime& local, int clockFormat,
                             const std::wstring& midnight, const std::wstring& noon) {
    if (local.hour == 0 && local.minute == 0)
        return midnight;
    if (local.hour == 12 && local.minute == 0)
        return noon;
    int weekday = platform::dayOfWeekOf(local.year, local.month, local.day);
    return platform::abbreviatedDayName(weekday) + L" " + core::clockTimeText(local, clockFormat);
}

std::optional<platform::Appointment> plannedMeeting(const PlannerGrid& grid, int row,
                                                    const std::wstring& subject) {
    if (grid.columns.empty() || row < 1 || row > static_cast<int>(grid.columns[0].cells.size()))
        return std::nullopt;
    platform::Appointment meeting;
    meeting.subject = subject.substr(0, kMaxMeetingSubject);
    meeting.start = grid.columns[0].cells[static_cast<std::size_t>(row - 1)].local;
    meeting.start.minute = meeting.start.second = meeting.start.milliseconds = 0;
    auto startTicks = fileTicks(meeting.start);
    auto end = startTicks ? fromFileTicks(*startTicks + kTicksPerHour) : std::nullopt;
    if (!end)
        return std::nullopt;
    meeting.end = *end;
    return meeting;
}

std::wstring calendarCommandLine(const platform::SystemTime& date, bool newAppointment) {
    wchar_t text[48];
    std::swprintf(text, 48, L"calendar %ls -d %04d%02d%02d", newAppointment ? L"-new" : L"-va",
                  static_cast<int>(date.year), static_cast<int>(date.month),
                  static_cast<int>(date.day));
    return text;
}

}  // namespace worldtime
