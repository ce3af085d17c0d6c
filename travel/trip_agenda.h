#pragma once
// A trip's agenda: one row per start and end event of its entries, sorted by time (events of
// the same minute keep the order of their entries), with a heading row before the first event
// of each date.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "travel/trip_file.h"

namespace travel {

// The kind of an agenda row that heads a date.
constexpr int kDayHeadingKind = 99;

struct AgendaRow {
    int entry = 0;  // the entry's number in the trip, from 1; 0 for a heading
    int kind = kDayHeadingKind;
    std::wstring time;  // "HH:MM"; empty for a heading
    std::wstring text;
    bool reminder = false;
    double julian = 0;  // the event time as a Julian day (a heading: its date's midnight)
    platform::AppointmentId appointment = 0;
    bool isEnd = false;  // the end event of its entry
    bool isHeading() const { return kind == kDayHeadingKind; }
};

// Language strings by number (the loaded language file in the programs).
using TextSource = std::function<std::wstring(int)>;
TextSource languageTexts();

// Airline names to their codes, for the flight events' texts ("VR" for "Vorn Air").
class AirlineCodes {
  public:
    // Reads "travel\airlines.dat" under the install folder (field 1 name, field 2 code).
    static AirlineCodes load(std::wstring_view mainPath);
    void add(std::wstring_view name, std::wstring_view code);
    // The code of the airline with exactly that name; the name itself when there is none.
    std::wstring codeFor(std::wstring_view name) const;

  private:
    std::map<std::wstring, std::wstring, std::less<>> codes_;
};

// The date text of a heading: the long date, after "Today, " or "Tomorrow, " (strings 260 and
// 261) when the date is the device's today or tomorrow.
std::vector<AgendaRow> buildAgenda(const Trip& trip, const platform::SystemTime& today,
                                   const AirlineCodes& airlines, const TextSource& texts);

// The agenda as the record table the screen lists: entry, kind, time, text, reminder flag
// (1 or 0), Julian day with six decimals, appointment.
core::RecordTable agendaTable(const std::vector<AgendaRow>& rows);

}  // namespace travel
