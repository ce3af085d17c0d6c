// Reading and writing trip files. A file comes from the user's device and may have been
// edited by hand or cut short, so every line is read on its own: a line without a known kind
// or a start time is dropped (and counted), anything else is kept with its faults put right.

#include "travel/trip_file.h"

#include <algorithm>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "travel/trip_time.h"

namespace travel {
namespace {

constexpr std::wstring_view kExtension = L".trp";
constexpr std::wstring_view kForbiddenInNames = L"\\/:*?\"<>|~";
// String: "The end of this entry is before its start."
constexpr int kEndBeforeStartString = 860;

std::wstring fileName(std::wstring_view name) {
    return std::wstring(name) + std::wstring(kExtension);
}

// Text as a field can hold it: the separator and quotes would split or vanish on reading, a
// line end would start a new line.
std::wstring fieldSafe(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c == L'~')
            c = L'-';
        else if (c == L'"')
            c = L'\'';
        else if (c == L'\r' || c == L'\n' || c == L'\t' || c == L'\0')
            c = L' ';
    }
    return out;
}

bool isReminderChoice(int minutes) {
    return std::find(kReminderChoices.begin(), kReminderChoices.end(), minutes) !=
           kReminderChoices.end();
}

platform::AppointmentId objectId(std::wstring_view text) {
    if (text.empty() || text.size() > 10)
        return 0;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return 0;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    return value <= 0x7FFFFFFF ? static_cast<platform::AppointmentId>(value) : 0;
}

std::optional<TripEntry> readEntry(const core::RecordTable& table, int row, bool& repaired) {
    const int kind = table.fieldInt(row, entryField::Kind);
    if (kind < kFirstEntryKind || kind > kLastEntryKind ||
        table.fieldText(row, entryField::Kind) != std::to_wstring(kind))
        return std::nullopt;
    auto start = parseTripTime(table.fieldText(row, entryField::Start));
    if (!start)
        return std::nullopt;
    TripEntry entry;
    entry.kind = static_cast<EntryKind>(kind);
    entry.start = *start;
    auto end = parseTripTime(table.fieldText(row, entryField::End));
    if (!end || *platform::toFileTime(*end) < *platform::toFileTime(*start)) {
        end = start;
        repaired = true;
    }
    entry.end = *end;
    const std::wstring_view reminder = table.fieldText(row, entryField::Reminder);
    entry.reminder = table.fieldInt(row, entryField::Reminder);
    if (!isReminderChoice(entry.reminder) ||
        (!reminder.empty() && reminder != std::to_wstring(entry.reminder))) {
        entry.reminder = 0;
        repaired = true;
    }
    entry.startAppointment = objectId(table.fieldText(row, entryField::StartAppointment));
    entry.endAppointment = objectId(table.fieldText(row, entryField::EndAppointment));
    entry.setText(entryField::Title, table.fieldText(row, entryField::Title));
    for (int f = entryField::Location; f <= kEntryFieldCount; ++f)
        entry.setText(f, table.fieldText(row, f));
    return entry;
}

void writeEntry(core::RecordTable& table, const TripEntry& entry) {
    const int row = table.appendRow();
    table.setFieldInt(row, entryField::Kind, static_cast<int>(entry.kind));
    table.setField(row, entryField::Start, formatTripTime(entry.start));
    table.setField(row, entryField::End, formatTripTime(entry.end));
    table.setFieldInt(row, entryField::Reminder, entry.reminder);
    table.setField(row, entryField::StartAppointment, std::to_wstring(entry.startAppointment));
    table.setField(row, entryField::EndAppointment, std::to_wstring(entry.endAppointment));
    table.setField(row, entryField::Title, fieldSafe(entry.text(entryField::Title)));
    for (int f = entryField::Location; f <= kEntryFieldCount; ++f)
        table.setField(row, f, fieldSafe(entry.text(f)));
}

// Keeps a copy of a damaged trip file before it is rewritten; false when that failed.
bool backUpDamagedFile(std::wstring_view folder, std::wstring_view name) {
    const std::wstring path = core::joinDevicePath(folder, fileName(name));
    const std::wstring backup = path + L".bak";
    if (platform::fileExists(backup) || !platform::fileExists(path))
        return true;
    auto bytes = platform::readFile(path);
    return bytes && platform::writeFileAtomic(backup, *bytes);
}

}  // namespace

void TripEntry::setText(int field, std::wstring_view value) {
    if (field == entryField::Title || (field >= entryField::Location && field <= kEntryFieldCount))
        texts.at(static_cast<std::size_t>(field)) = std::wstring(value);
}

std::wstring itineraryFolder(std::wstring_view mainPath) {
    return core::joinDevicePath(mainPath, L"itinerary\\");
}

bool isAcceptableTripName(std::wstring_view name) {
    if (name.empty() || name.size() > kMaxTripName || name[0] == L'.' || name[0] == L' ' ||
        name.back() == L' ' || name.back() == L'.')
        return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || c == 0x7F || kForbiddenInNames.find(c) != std::wstring_view::npos;
    });
}

int entryProblem(const TripEntry& entry) {
    auto start = platform::toFileTime(entry.start);
    auto end = platform::toFileTime(entry.end);
    if (!start || !end || !platform::isValidSystemTime(entry.start) ||
        !platform::isValidSystemTime(entry.end) || *end < *start)
        return kEndBeforeStartString;
    return 0;
}

std::optional<Trip> loadTrip(std::wstring_view folder, std::wstring_view name) {
    if (!isAcceptableTripName(name) || !tripExists(folder, name))
        return std::nullopt;
    core::RecordTable table(kEntryFieldCount);
    table.load(folder, fileName(name), L'~', true);
    Trip trip;
    trip.name = std::wstring(name);
    if (table.rowCount() >= 1) {
        const std::wstring_view title = table.fieldText(1, 1);
        const std::size_t colon = title.rfind(L':');
        if (colon != std::wstring_view::npos && colon + 1 < title.size())
            trip.icon = std::wstring(title.substr(colon + 1));
    }
    for (int row = 2; row <= table.rowCount(); ++row) {
        bool repaired = false;
        if (auto entry = readEntry(table, row, repaired)) {
            trip.entries.push_back(std::move(*entry));
            trip.repairedEntries += repaired ? 1 : 0;
        } else {
            ++trip.droppedLines;
        }
    }
    return trip;
}

std::optional<std::pair<platform::SystemTime, platform::SystemTime>> tripSpan(const Trip& trip) {
    std::optional<std::pair<platform::SystemTime, platform::SystemTime>> span;
    auto key = [](const platform::SystemTime& t) { return *platform::toFileTime(t); };
    for (const TripEntry& e : trip.entries) {
        const platform::SystemTime last = e.hasEndEvent() ? e.end : e.start;
        if (!span) {
            span.emplace(e.start, last);
            continue;
        }
        if (key(e.start) < key(span->first))
            span->first = e.start;
        if (key(last) > key(span->second))
            span->second = last;
    }
    return span;
}

bool saveTrip(std::wstring_view folder, const Trip& trip) {
    if (!isAcceptableTripName(trip.name))
        return false;
    if (trip.damaged() && !backUpDamagedFile(folder, trip.name))
        return false;
    if (!platform::folderExists(folder) && !platform::createFolder(folder))
        return false;
    // The header has three fields; entry lines twenty.
    core::RecordTable table(3);
    const int header = table.appendRow();
    table.setField(header, 1, trip.name + L":" + fieldSafe(trip.icon));
    const auto span = tripSpan(trip);
    table.setField(header, 2, span ? formatTripTime(span->first) : std::wstring(kNoTripTime));
    table.setField(header, 3, span ? formatTripTime(span->second) : std::wstring(kNoTripTime));
    table.widenTo(kEntryFieldCount);
    for (const TripEntry& entry : trip.entries) writeEntry(table, entry);
    return table.save(folder, fileName(trip.name));
}

bool tripExists(std::wstring_view folder, std::wstring_view name) {
    return isAcceptableTripName(name) &&
           platform::fileExists(core::joinDevicePath(folder, fileName(name)));
}

bool deleteTripFile(std::wstring_view folder, std::wstring_view name) {
    return tripExists(folder, name) &&
           platform::deleteFile(core::joinDevicePath(folder, fileName(name)));
}

std::vector<TripSummary> listTrips(std::wstring_view folder) {
    std::vector<TripSummary> trips;
    for (const platform::DirectoryEntry& file : platform::listFolder(folder, L"*.trp")) {
        TripSummary summary;
        summary.name = file.name.substr(0, file.name.size() - kExtension.size());
        if (!isAcceptableTripName(summary.name))
            continue;
        core::RecordTable header(3);
        header.load(folder, file.name, L'~', true);
        summary.title = std::wstring(header.fieldText(1, 1));
        if (summary.title.empty())
            summary.title = summary.name;
        summary.first = parseTripTime(header.fieldText(1, 2));
        summary.last = parseTripTime(header.fieldText(1, 3));
        trips.push_back(std::move(summary));
    }
    return trips;
}

}  // namespace travel
