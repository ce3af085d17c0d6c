#include "alarms/screens/alarm_texts.h"

#include "core/format.h"
#include "core/language.h"

namespace alarms {

using platform::SystemTime;

namespace {

namespace text {
constexpr int Daily = 47, WorkingDays = 49, Monthly = 79, FirstOrdinal = 80, SecondOrdinal = 81,
              ThirdOrdinal = 82, OtherOrdinal = 83, TimeUnknown = 84, Tomorrow = 86, InDays = 87,
              InHours = 88, InMinutes = 89, Now = 90, NotSet = 91, Off = 98, Expired = 99,
              Monday = 621, EveryYear = 628, January = 629;
}

constexpr std::int64_t kTicksPerMinute = 60 * platform::kFileTimeTicksPerSecond;

// 1, 21 and 31 take the first ordinal; 2 and 22 the second; 3 and 23 the third.
int ordinalKind(int day) {
    if (day == 1 || day == 21 || day == 31)
        return 1;
    if (day == 2 || day == 22)
        return 2;
    if (day == 3 || day == 23)
        return 3;
    return 0;
}

}  // namespace

std::wstring dayListItem(int day) {
    static constexpr const wchar_t* kSuffix[] = {L"th", L"st", L"nd", L"rd"};
    return std::to_wstring(day) + kSuffix[ordinalKind(day)];
}

std::wstring ordinalDay(int day) {
    static constexpr int kFormat[] = {text::OtherOrdinal, text::FirstOrdinal, text::SecondOrdinal,
                                      text::ThirdOrdinal};
    return core::formatText(core::languageString(kFormat[ordinalKind(day)]), day);
}

std::wstring tickedDayNames(int dayMask) {
    std::wstring names;
    for (int bit = 0; bit < 7; ++bit) {
        if ((dayMask & (1 << bit)) == 0)
            continue;
        if (!names.empty())
            names += L",";
        names += core::languageString(text::Monday + bit);
    }
    return names.empty() ? std::wstring(L"N/A") : names;
}

std::optional<SystemTime> dateOf(const AlarmDate& date) {
    if (date.year < 1601 || date.year > 30827 || date.month < 1 || date.month > 12 ||
        date.day < 1 || date.day > platform::daysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    SystemTime at{static_cast<std::uint16_t>(date.year), static_cast<std::uint16_t>(date.month), 0,
                  static_cast<std::uint16_t>(date.day)};
    at.dayOfWeek =
        static_cast<std::uint16_t>(platform::dayOfWeekOf(date.year, date.month, date.day));
    return at;
}

std::wstring repeatText(const RepeatFields& fields, const DateText& dateText) {
    switch (fields.kind) {
        case 1: {
            std::optional<SystemTime> date = dateOf(fields.startDate);
            return date ? dateText(*date) : alarms::dateText(fields.startDate);
        }
        case 2:
            return core::languageString(text::Daily);
        case 5:
            return core::formatText(core::languageString(text::Monthly), fields.dayOfMonth);
        case 6: {
            std::wstring month = fields.month >= 1 && fields.month <= 12
                                     ? core::languageString(text::January + fields.month - 1)
                                     : std::wstring();
            return ordinalDay(fields.dayOfMonth) + L" " + month + L" " +
                   core::languageString(text::EveryYear);
        }
        // Working days ring Monday to Friday whatever is ticked; without a tick the kind
        // itself says when, rather than "N/A".
        case 4:
            if (fields.dayMask == 0)
                return core::languageString(text::WorkingDays);
            return tickedDayNames(fields.dayMask);
        case 3:
        case 7:
            return tickedDayNames(fields.dayMask);
        default:
            return {};
    }
}

std::wstring whenText(const std::optional<SystemTime>& start, bool startValid,
                      const SystemTime& now, const DateText& dateText) {
    if (!start)
        return core::languageString(text::NotSet);
    std::optional<platform::FileTime> startTime = platform::toFileTime(*start);
    std::optional<platform::FileTime> nowTime = platform::toFileTime(now);
    if (!startValid || !startTime || !nowTime)
        return core::languageString(text::TimeUnknown);
    if (*startTime <= *nowTime)
        return core::languageString(text::Now);
    if (start->year != now.year || start->month != now.month)
        return dateText(*start);
    int days = start->day - now.day;
    if (days == 1)
        return core::languageString(text::Tomorrow);
    if (days > 1)
        return core::formatText(core::languageString(text::InDays), days);
    auto minutes = static_cast<std::int64_t>((*startTime - *nowTime) / kTicksPerMinute);
    if (minutes >= 60)
        return core::formatText(core::languageString(text::InHours), minutes / 60);
    if (minutes >= 1)
        return core::formatText(core::languageString(text::InMinutes), minutes);
    return core::languageString(text::Now);
}

std::wstring stateSuffix(AlarmState state, std::wstring_view cityName) {
    switch (state) {
        case AlarmState::Off:
            return L" : " + core::languageString(text::Off);
        case AlarmState::Expired:
            return L" : " + core::languageString(text::Expired);
        case AlarmState::Armed:
            break;
    }
    return cityName.empty() ? std::wstring() : L" : " + std::wstring(cityName);
}

}  // namespace alarms
