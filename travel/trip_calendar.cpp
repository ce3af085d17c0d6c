#include "travel/trip_calendar.h"

#include <exception>

#include "core/format.h"

namespace travel {
namespace {

struct Mirror {
    int subject;
    int location;  // the entry's field, or 0 when `locationString` formats it
    int body;
};

// Subject, location and body of the start (and end) appointment of each kind.
struct KindMirror {
    bool twoAppointments;
    Mirror start;
    Mirror end;
};

KindMirror kindMirror(EntryKind kind) {
    switch (kind) {
        case EntryKind::Flight:
            return {false, {300, 11, 301}, {}};
        case EntryKind::Car:
            return {true, {296, 8, 297}, {298, 9, 299}};
        case EntryKind::Hotel:
            return {true, {285, 8, 286}, {287, 8, 288}};
        case EntryKind::Journey:
            return {true, {292, 8, 293}, {294, 9, 295}};
        case EntryKind::Meeting:
            return {false, {289, 0, 291}, {}};
        case EntryKind::Note:
            return {false, {279, 8, 0}, {}};
    }
    return {false, {279, 8, 0}, {}};
}

constexpr int kMeetingLocationString = 290;

void mirrorInCalendar(std::wstring_view tripName, TripEntry& entry, const TextSource& texts);

std::wstring bounded(std::wstring text, std::size_t limit) {
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

platform::Appointment makeAppointment(std::wstring_view tripName, const TripEntry& entry,
                                      const Mirror& m, const platform::SystemTime& start,
                                      const platform::SystemTime& end, const TextSource& texts) {
    const std::wstring& title = entry.text(entryField::Title);
    platform::Appointment a;
    a.start = start;
    a.end = end;
    if (entry.kind == EntryKind::Note)
        a.subject = texts(m.subject) + L" " + title;
    else
        a.subject = core::formatText(texts(m.subject), title);
    a.location = m.location ? entry.text(m.location)
                            : core::formatText(texts(kMeetingLocationString),
                                               entry.text(entryField::Location));
    if (m.body)
        a.note = core::formatText(texts(m.body), title);
    a.subject = bounded(a.subject, platform::kMaxAppointmentSubject);
    a.location = bounded(a.location, platform::kMaxAppointmentLocation);
    a.note = bounded(a.note, platform::kMaxAppointmentNote);
    a.categories = bounded(std::wstring(tripName), platform::kMaxAppointmentCategories);
    a.reminderSet = entry.reminder > 0;
    a.reminderMinutes = entry.reminder;
    return a;
}

// Updates the appointment with that id when it still exists and belongs to the trip, else
// adds a new one (an id written into the file by hand never changes another appointment);
// the id that now stands for it (0 when the calendar refused it).
platform::AppointmentId store(platform::AppointmentId id, platform::Appointment a) {
    auto existing = platform::appointment(id);
    if (existing && existing->categories == a.categories) {
        a.id = id;
        if (platform::updateAppointment(a))
            return id;
    }
    a.id = 0;
    return platform::addAppointment(a);
}

}  // namespace

std::vector<platform::Appointment> entryAppointments(std::wstring_view tripName,
                                                     const TripEntry& entry,
                                                     const TextSource& texts) {
    const KindMirror k = kindMirror(entry.kind);
    if (!k.twoAppointments)
        return {makeAppointment(tripName, entry, k.start, entry.start, entry.end, texts)};
    return {makeAppointment(tripName, entry, k.start, entry.start, entry.start, texts),
            makeAppointment(tripName, entry, k.end, entry.end, entry.end, texts)};
}

void mirrorEntry(std::wstring_view tripName, TripEntry& entry, const TextSource& texts) {
    const TripEntry before = entry;
    try {
        mirrorInCalendar(tripName, entry, texts);
    } catch (const std::exception&) {
        // The calendar could not be opened: the entry is saved as it is, keeping the ids of
        // appointments made before so that a later save updates them.
        entry.startAppointment = before.startAppointment;
        entry.endAppointment = before.endAppointment;
    }
}

void removeEntryAppointments(TripEntry& entry) {
    for (platform::AppointmentId* id : {&entry.startAppointment, &entry.endAppointment}) {
        try {
            if (*id != 0)
                platform::removeAppointment(*id);
        } catch (const std::exception&) {
            // A calendar that cannot be opened keeps what it has; the entry lets go of it.
        }
        *id = 0;
    }
}

namespace {

void mirrorInCalendar(std::wstring_view tripName, TripEntry& entry, const TextSource& texts) {
    auto wanted = entryAppointments(tripName, entry, texts);
    if (entry.endAppointment == entry.startAppointment)
        entry.endAppointment = 0;
    entry.startAppointment = store(entry.startAppointment, wanted[0]);
    if (wanted.size() > 1) {
        entry.endAppointment = store(entry.endAppointment, wanted[1]);
    } else if (entry.endAppointment != 0) {
        platform::removeAppointment(entry.endAppointment);
        entry.endAppointment = 0;
    }
}

}  // namespace

void removeTripAppointments(Trip& trip) {
    for (TripEntry& entry : trip.entries) removeEntryAppointments(entry);
}

}  // namespace travel
