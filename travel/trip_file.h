#pragma once
// Trips: one file per trip in "itinerary\" under the install folder, named after the trip with
// ".trp". The file is a "~"-separated table: a header line (the title "NAME:ICON", then the
// first and the last event time, "??" when there is none), then one line of 20 fields per
// entry. The header is rebuilt from the entries whenever the trip is saved.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/calendar.h"
#include "platform/api/clock.h"

namespace travel {

// The six kinds of entry.
enum class EntryKind { Flight = 1, Car = 2, Hotel = 3, Journey = 4, Meeting = 5, Note = 6 };
constexpr int kFirstEntryKind = 1, kLastEntryKind = 6;
constexpr int kEntryFieldCount = 20;

// Field numbers of an entry line.
namespace entryField {
constexpr int Kind = 1, Start = 2, End = 3, Reminder = 4, Title = 5, StartAppointment = 6,
              EndAppointment = 7, Location = 8, FirstExtra = 9;
}

// Minutes a reminder may be set before an event; 0 is none.
constexpr std::array<int, 5> kReminderChoices{0, 15, 30, 45, 60};

struct TripEntry {
    EntryKind kind = EntryKind::Note;
    platform::SystemTime start{};
    platform::SystemTime end{};
    int reminder = 0;  // one of kReminderChoices
    platform::AppointmentId startAppointment = 0;
    platform::AppointmentId endAppointment = 0;
    // Texts by field number (5 the title, 8 the location, 9 to 20 the kind's own); the other
    // numbers stay empty.
    std::array<std::wstring, kEntryFieldCount + 1> texts;

    const std::wstring& text(int field) const { return texts.at(static_cast<std::size_t>(field)); }
    void setText(int field, std::wstring_view value);
    // True for the kinds that have an end event (all but notes).
    bool hasEndEvent() const { return kind != EntryKind::Note; }
    friend bool operator==(const TripEntry&, const TripEntry&) = default;
};

struct Trip {
    std::wstring name;
    std::wstring icon = L"list_travel.tga";
    std::vector<TripEntry> entries;
    // Lines of the file that could not be read as entries (an unknown kind, no start time),
    // and entries read with a fault put right (a bad end time or reminder).
    int droppedLines = 0;
    int repairedEntries = 0;
    bool damaged() const { return droppedLines > 0 || repairedEntries > 0; }
};

// "itinerary\" under the install folder (which ends with a backslash).
std::wstring itineraryFolder(std::wstring_view mainPath);

// Longest trip name, in characters.
constexpr std::size_t kMaxTripName = 64;
// A trip name is a file name of its own: not empty, no longer than kMaxTripName, no leading
// "." or space, none of \ / : * ? " < > | ~ and no control characters.
bool isAcceptableTripName(std::wstring_view name);

// What is wrong with an entry that the editor must not save: 0 when nothing is, else the
// language string that says it (an end before the start, an invalid time).
int entryProblem(const TripEntry& entry);

// Reads the trip NAME from the folder: nothing when the name is unacceptable or there is no
// such file. Lines that are not entries are dropped and counted; missing fields read empty.
std::optional<Trip> loadTrip(std::wstring_view folder, std::wstring_view name);
// Writes the trip (header first) beside its file and renames it over it. A file that loaded
// damaged is first copied to "NAME.trp.bak", once, so that what was dropped is not lost.
bool saveTrip(std::wstring_view folder, const Trip& trip);
bool tripExists(std::wstring_view folder, std::wstring_view name);
bool deleteTripFile(std::wstring_view folder, std::wstring_view name);

// A trip as the trip list shows it, from its header alone.
struct TripSummary {
    std::wstring name;  // the file name without ".trp"
    std::wstring title;
    std::optional<platform::SystemTime> first;
    std::optional<platform::SystemTime> last;
};
// Every "*.trp" file of the folder, sorted by name.
std::vector<TripSummary> listTrips(std::wstring_view folder);

// The first and last event time of the trip's entries; nothing when it has none.
std::optional<std::pair<platform::SystemTime, platform::SystemTime>> tripSpan(const Trip& trip);

}  // namespace travel
