#include "travel/trip_agenda.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "core/format.h"
#include "core/language.h"
#include "platform/api/locale.h"
#include "travel/trip_time.h"

namespace travel {
namespace {

constexpr int kTodayString = 260, kTomorrowString = 261;

std::wstring hoursMinutes(const platform::SystemTime& t) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d:%02d", static_cast<int>(t.hour), static_cast<int>(t.minute));
    return text;
}

// The event's text by its kind, from the entry's fields.
std::wstring eventText(const TripEntry& e, bool end, const AirlineCodes& airlines,
                       const TextSource& texts) {
    auto f = [&](int n) -> const std::wstring& { return e.text(n); };
    using core::formatText;
    switch (e.kind) {
        case EntryKind::Flight: {
            const std::wstring code = airlines.codeFor(f(9));
            return end ? formatText(texts(263), code, f(5), f(11), f(12))
                       : formatText(texts(262), code, f(5), f(8), f(10));
        }
        case EntryKind::Car:
            return end ? formatText(texts(265), f(5), f(9)) : formatText(texts(264), f(5), f(8));
        case EntryKind::Hotel:
            return formatText(texts(end ? 267 : 266), f(5), f(8));
        case EntryKind::Journey:
            return end ? formatText(texts(269), f(9)) : formatText(texts(268), f(5), f(8));
        case EntryKind::Meeting:
            return end ? formatText(texts(271), f(10)) : formatText(texts(270), f(5), f(8), f(9));
        case EntryKind::Note:
            return formatText(texts(272), f(5), f(8));
    }
    return {};
}

AgendaRow eventRow(const TripEntry& e, int number, bool end, const AirlineCodes& airlines,
                   const TextSource& texts) {
    AgendaRow row;
    row.entry = number;
    row.kind = static_cast<int>(e.kind);
    const platform::SystemTime& when = end ? e.end : e.start;
    row.time = hoursMinutes(when);
    row.text = eventText(e, end, airlines, texts);
    row.reminder = e.reminder > 0;
    row.julian = julianDay(when);
    row.appointment = end && e.endAppointment ? e.endAppointment : e.startAppointment;
    row.isEnd = end;
    return row;
}

// The Julian day number of the midnight that starts the date of a Julian day.
double dayStart(double julian) {
    return std::floor(julian - 0.5) + 0.5;
}

std::wstring headingText(double midnight, double today, const TextSource& texts) {
    auto date = fromJulianDay(midnight);
    std::wstring text =
        date ? platform::formatDate(*date, platform::longDatePicture()).value_or(L"") : L"";
    if (midnight == today)
        return core::formatText(texts(kTodayString), text);
    if (midnight == today + 1)
        return core::formatText(texts(kTomorrowString), text);
    return text;
}

}  // namespace

TextSource languageTexts() {
    return [](int number) { return core::languageString(number); };
}

AirlineCodes AirlineCodes::load(std::wstring_view mainPath) {
    AirlineCodes codes;
    core::RecordTable table(2);
    table.load(core::joinDevicePath(mainPath, L"travel\\"), L"airlines.dat", L'~', true);
    for (int row = 1; row <= table.rowCount(); ++row)
        codes.add(table.fieldText(row, 1), table.fieldText(row, 2));
    return codes;
}

void AirlineCodes::add(std::wstring_view name, std::wstring_view code) {
    if (!name.empty() && !code.empty())
        codes_.emplace(std::wstring(name), std::wstring(code));
}

std::wstring AirlineCodes::codeFor(std::wstring_view name) const {
    auto found = codes_.find(name);
    return found != codes_.end() ? found->second : std::wstring(name);
}

std::vector<AgendaRow> buildAgenda(const Trip& trip, const platform::SystemTime& today,
                                   const AirlineCodes& airlines, const TextSource& texts) {
    std::vector<AgendaRow> events;
    events.reserve(trip.entries.size() * 2);
    for (std::size_t i = 0; i < trip.entries.size(); ++i) {
        const TripEntry& e = trip.entries[i];
        const int number = static_cast<int>(i) + 1;
        events.push_back(eventRow(e, number, false, airlines, texts));
        if (e.hasEndEvent())
            events.push_back(eventRow(e, number, true, airlines, texts));
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const AgendaRow& a, const AgendaRow& b) { return a.julian < b.julian; });

    platform::SystemTime midnight = today;
    midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
    const double todayStart = julianDay(midnight);
    std::vector<AgendaRow> rows;
    rows.reserve(events.size() + events.size() / 2 + 1);
    double heading = -1;
    for (AgendaRow& event : events) {
        const double start = dayStart(event.julian);
        if (start != heading) {
            heading = start;
            AgendaRow row;
            row.julian = start;
            row.text = headingText(start, todayStart, texts);
            rows.push_back(std::move(row));
        }
        rows.push_back(std::move(event));
    }
    return rows;
}

core::RecordTable agendaTable(const std::vector<AgendaRow>& rows) {
    core::RecordTable table(7);
    for (const AgendaRow& r : rows) {
        const int row = table.appendRow();
        table.setFieldInt(row, 1, r.entry);
        table.setFieldInt(row, 2, r.kind);
        table.setField(row, 3, r.time);
        table.setField(row, 4, r.text);
        table.setFieldInt(row, 5, r.reminder ? 1 : 0);
        table.setField(row, 6, julianDayText(r.julian));
        table.setField(row, 7, std::to_wstring(r.appointment));
    }
    return table;
}

}  // namespace travel
