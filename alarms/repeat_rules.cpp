#include "alarms/repeat_rules.h"

#include <algorithm>

#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace alarms {
namespace {

using platform::SystemTime;
using worldtime::fileTicks;
using worldtime::fromFileTicks;
using worldtime::kTicksPerDay;

// How many candidates each kind tries before giving up. Monthly and yearly candidates always
// exist (the day is clamped to the month), so their bounds only guard against a fault.
int candidateBound(RepeatKind kind, RepeatCaller caller) {
    bool main = caller == RepeatCaller::MainProgram;
    switch (kind) {
        case RepeatKind::Daily:
            return main ? 8 : 10;
        case RepeatKind::Weekly:
            return 12;
        case RepeatKind::WorkingDays:
            return 12;
        case RepeatKind::Monthly:
            return 13;
        case RepeatKind::Yearly:
            return 5;
        case RepeatKind::Custom:
            return 10;
        default:
            return 0;
    }
}

// A calendar date the candidates walk through; always a real date.
struct Day {
    int year;
    int month;
    int day;
};

std::optional<SystemTime> atTime(const Day& d, const SystemTime& clock) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(d.year);
    t.month = static_cast<std::uint16_t>(d.month);
    t.day = static_cast<std::uint16_t>(d.day);
    t.hour = clock.hour;
    t.minute = clock.minute;
    auto ticks = fileTicks(t);
    return ticks ? fromFileTicks(*ticks) : std::nullopt;
}

std::optional<Day> addDays(const Day& d, int days) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(d.year);
    t.month = static_cast<std::uint16_t>(d.month);
    t.day = static_cast<std::uint16_t>(d.day);
    auto ticks = fileTicks(t);
    if (!ticks)
        return std::nullopt;
    auto moved = fromFileTicks(*ticks + days * kTicksPerDay);
    if (!moved)
        return std::nullopt;
    return Day{moved->year, moved->month, moved->day};
}

// The day of month clamped into the month, so a month without it rings on its last day.
Day clampedDay(int year, int month, int dayOfMonth) {
    int last = platform::daysInMonth(year, month);
    return Day{year, month, std::clamp(dayOfMonth, 1, last)};
}

int weekdayOf(const Day& d) {
    return platform::dayOfWeekOf(d.year, d.month, d.day);
}

bool isWorkingDay(int weekday) {
    return weekday >= 1 && weekday <= 5;
}

// The calendar date in the alarm's zone at a device-local moment. The zone's distance from
// the device is measured at that moment; an error of a day only costs one candidate.
std::optional<Day> zoneDateOf(const SystemTime& deviceLocal, int zone) {
    if (zone == kDeviceZone)
        return Day{deviceLocal.year, deviceLocal.month, deviceLocal.day};
    auto local = fileTicks(deviceLocal);
    auto asDevice = worldtime::zoneToDevice(deviceLocal, zone);
    if (!local || !asDevice)
        return std::nullopt;
    auto deviceTicks = fileTicks(*asDevice);
    if (!deviceTicks)
        return std::nullopt;
    auto inZone = fromFileTicks(*local - (*deviceTicks - *local));
    if (!inZone)
        return std::nullopt;
    return Day{inZone->year, inZone->month, inZone->day};
}

class Search {
  public:
    Search(const AlarmRecord& record, int zone, const SystemTime& clock, std::int64_t reference)
        : record_(record), zone_(zone), clock_(clock), reference_(reference) {}

    // The candidate at a zone-local date as device-local time, when it is later than the
    // reference.
    std::optional<SystemTime> accept(const Day& d) const {
        auto inZone = atTime(d, clock_);
        if (!inZone)
            return std::nullopt;
        std::optional<SystemTime> device =
            zone_ == kDeviceZone ? inZone : worldtime::zoneToDevice(*inZone, zone_);
        if (!device)
            return std::nullopt;
        auto ticks = fileTicks(*device);
        if (!ticks || *ticks <= reference_)
            return std::nullopt;
        auto normal = fromFileTicks(*ticks);
        return normal;
    }

    bool dayWanted(const Day& d) const {
        switch (record_.kind) {
            case RepeatKind::Weekly:
            case RepeatKind::Custom:
                return (record_.dayMask & dayBitOfWeekday(weekdayOf(d))) != 0;
            case RepeatKind::WorkingDays:
                return isWorkingDay(weekdayOf(d));
            default:
                return true;
        }
    }

    // The i-th candidate date from the first date.
    std::optional<Day> candidate(const Day& first, int i, std::optional<Day> previous) const {
        switch (record_.kind) {
            case RepeatKind::Monthly: {
                int months = first.month - 1 + i;
                int year = first.year + months / 12;
                return validYear(year)
                           ? std::optional(clampedDay(year, months % 12 + 1, record_.dayOfMonth))
                           : std::nullopt;
            }
            case RepeatKind::Yearly: {
                int year = first.year + i;
                int month = std::clamp(record_.month, 1, 12);
                return validYear(year) ? std::optional(clampedDay(year, month, record_.dayOfMonth))
                                       : std::nullopt;
            }
            case RepeatKind::WorkingDays: {
                if (!previous)
                    return first;
                auto next = addDays(*previous, 1);
                if (!next)
                    return std::nullopt;
                int weekday = weekdayOf(*next);
                if (weekday == 0)
                    return addDays(*next, 1);
                if (weekday == 6)
                    return addDays(*next, 2);
                return next;
            }
            default:
                return previous ? addDays(*previous, 1) : std::optional(first);
        }
    }

  private:
    static bool validYear(int year) { return year >= 1601 && year <= 30826; }

    const AlarmRecord& record_;
    int zone_;
    SystemTime clock_;
    std::int64_t reference_;
};

}  // namespace

RepeatResult getNextRepeatingTimeAt(const SystemTime& ringAt, const AlarmRecord& record, int zone,
                                    std::optional<SystemTime> base, const SystemTime& now,
                                    RepeatCaller caller) {
    RepeatResult result;
    SystemTime clock = ringAt;
    clock.second = 0;
    clock.milliseconds = 0;
    auto clockTicks = fileTicks(clock);
    auto nowTicks = fileTicks(now);
    if (!clockTicks || !nowTicks)
        return result;
    result.time = *fromFileTicks(*clockTicks);
    if (!isRepeating(record.kind)) {
        result.status = RepeatStatus::NotRepeating;
        return result;
    }
    // A base in the past (an alarm that was off for a while) would only yield past times.
    std::int64_t baseTicks = *nowTicks;
    if (base) {
        auto given = fileTicks(*base);
        if (!given)
            return result;
        baseTicks = std::max(baseTicks, *given);
    }
    SystemTime baseTime = *fromFileTicks(baseTicks);
    std::int64_t reference = caller == RepeatCaller::MainProgram ? baseTicks : *nowTicks;
    auto first = zoneDateOf(baseTime, zone);
    if (!first)
        return result;
    if (record.kind == RepeatKind::Monthly || record.kind == RepeatKind::Yearly)
        first->day = 1;

    Search search(record, zone, clock, reference);
    // A zone other than the device's may put the first candidate a day early.
    int bound = candidateBound(record.kind, caller) + (zone == kDeviceZone ? 0 : 1);
    std::optional<Day> day;
    for (int i = 0; i < bound; ++i) {
        day = search.candidate(*first, i, day);
        if (!day)
            break;
        if (!search.dayWanted(*day))
            continue;
        if (auto found = search.accept(*day)) {
            result.status = RepeatStatus::Found;
            result.time = *found;
            return result;
        }
    }
    result.status = RepeatStatus::Exhausted;
    return result;
}

RepeatResult getNextRepeatingTime(const SystemTime& ringAt, const AlarmRecord& record, int zone,
                                  std::optional<SystemTime> base, RepeatCaller caller) {
    return getNextRepeatingTimeAt(ringAt, record, zone, base, platform::deviceLocalTime(), caller);
}

std::optional<SystemTime> addToDateTime(const SystemTime& dateTime, int minutes, int hours,
                                        int days, int months, int years, bool skipWeekend) {
    return worldtime::shiftDateTime(dateTime, minutes, hours, days, months, years, skipWeekend);
}

}  // namespace alarms
