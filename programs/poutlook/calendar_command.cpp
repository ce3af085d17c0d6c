#include "programs/poutlook/calendar_command.h"

#include <vector>

namespace poutlook {
namespace {

std::vector<std::wstring_view> words(std::wstring_view line) {
    std::vector<std::wstring_view> out;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == L' ') ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != L' ') ++end;
        if (end > at)
            out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int digits(std::wstring_view text) {
    int value = 0;
    for (wchar_t c : text) value = value * 10 + (c - L'0');
    return value;
}

std::optional<platform::SystemTime> parseDay(std::wstring_view text) {
    if (text.size() != 8)
        return std::nullopt;
    for (wchar_t c : text) {
        if (!isDigit(c))
            return std::nullopt;
    }
    const int year = digits(text.substr(0, 4));
    const int month = digits(text.substr(4, 2));
    const int day = digits(text.substr(6, 2));
    if (year < 1601 || month < 1 || month > 12 || day < 1 ||
        day > platform::daysInMonth(year, month))
        return std::nullopt;
    platform::SystemTime t{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                           static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day)),
                           static_cast<std::uint16_t>(day)};
    t.hour = t.minute = t.second = t.milliseconds = 0;
    return t;
}

// A decimal object id, 1 to 2147483647, without sign or leading zeros.
std::optional<std::uint32_t> parseObjectId(std::wstring_view text) {
    if (text.empty() || text.size() > 10 || text[0] == L'0')
        return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (value > 0x7FFFFFFF)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<CalendarCommand> parseCalendarCommand(std::wstring_view line,
                                                    const platform::SystemTime& today) {
    if (line.size() > kMaxCommandLine)
        return std::nullopt;
    CalendarCommand command;
    command.date = {today.year, today.month, today.dayOfWeek, today.day, 0, 0, 0, 0};
    const auto list = words(line);
    if (list.empty())
        return command;
    if (list[0] != L"calendar")
        return std::nullopt;
    bool viewGiven = false, dateGiven = false;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i] == L"-va" || list[i] == L"-new") {
            if (viewGiven)
                return std::nullopt;
            viewGiven = true;
            command.view = list[i] == L"-new" ? CalendarView::NewAppointment : CalendarView::Day;
        } else if (list[i] == L"-show") {
            if (viewGiven || i + 1 >= list.size())
                return std::nullopt;
            auto id = parseObjectId(list[++i]);
            if (!id)
                return std::nullopt;
            viewGiven = true;
            command.view = CalendarView::Appointment;
            command.appointment = *id;
        } else if (list[i] == L"-d") {
            if (dateGiven || i + 1 >= list.size())
                return std::nullopt;
            auto day = parseDay(list[++i]);
            if (!day)
                return std::nullopt;
            command.date = *day;
            dateGiven = true;
        } else {
            return std::nullopt;
        }
    }
    if (command.view == CalendarView::Appointment && dateGiven)
        return std::nullopt;
    return command;
}

std::optional<int> parseClockTime(std::wstring_view text) {
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos || colon < 1 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != colon && !isDigit(text[i]))
            return std::nullopt;
    }
    const int hour = digits(text.substr(0, colon));
    const int minute = digits(text.substr(colon + 1));
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

}  // namespace poutlook
