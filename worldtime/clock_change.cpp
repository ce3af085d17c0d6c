#include "worldtime/clock_change.h"

#include "core/format.h"
#include "core/language.h"
#include "platform/api/locale.h"
#include "worldtime/date_helpers.h"

namespace worldtime {

namespace {
namespace text {
constexpr int Forward = 714, Back = 715, Hours = 716, Minutes = 717;
}
}  // namespace

std::optional<ClockShift> nextClockShift(const CityClock& clock) {
    if (!clock.next)
        return std::nullopt;
    const int minutes = clock.next->offsetMinutesAfter - clock.offsetMinutes;
    // Until the change the city keeps its present offset, so the moment before it reads as
    // the present offset's wall time.
    auto wall = fromFileTicks(clock.next->utcTicks + clock.offsetMinutes * kTicksPerMinute);
    if (minutes == 0 || !wall)
        return std::nullopt;
    return ClockShift{*wall, minutes};
}

ClockChangeWords languageClockChangeWords() {
    return {core::languageString(text::Forward), core::languageString(text::Back),
            core::languageString(text::Hours), core::languageString(text::Minutes)};
}

std::wstring shiftAmountText(int minutes, const ClockChangeWords& words) {
    const int magnitude = minutes < 0 ? -minutes : minutes;
    std::wstring out;
    if (magnitude >= 60)
        out = core::formatText(words.hours, magnitude / 60);
    if (magnitude % 60 != 0) {
        if (!out.empty())
            out += L' ';
        out += core::formatText(words.minutes, magnitude % 60);
    }
    return out;
}

std::wstring clockChangeText(const ClockShift& shift, const ClockChangeWords& words,
                             const DateTimeText& date, const DateTimeText& time) {
    return core::formatText(shift.minutes > 0 ? words.forward : words.back,
                            shiftAmountText(shift.minutes, words), date(shift.wallTime),
                            time(shift.wallTime));
}

std::wstring clockChangeLine(const std::optional<ClockShift>& shift, const DateTimeText& userDate,
                             const DateTimeText& userTime) {
    if (!shift)
        return {};
    auto date = [&](const platform::SystemTime& t) {
        return platform::abbreviatedDayName(t.dayOfWeek) + L' ' + userDate(t);
    };
    return clockChangeText(*shift, languageClockChangeWords(), date, userTime);
}

}  // namespace worldtime
