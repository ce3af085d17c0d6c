#pragma once
// What the entry editor shows for each kind: the label of the title, the location and the
// kind's own fields, and the reminder rows. Kept apart from the screen so that the labels and
// the reading and writing of an entry are tested without pixels.

#include <cstdint>
#include <optional>
#include <vector>

#include "travel/trip_file.h"

namespace travel {

// A text field of the editor: the entry field it edits and its label's language string.
struct EditorField {
    int field;
    int label;
};

// The title (field 5), the location (field 8), then the kind's own fields from field 9.
std::vector<EditorField> editorFields(EntryKind kind);

// Most text fields of one kind.
constexpr int kMaxEditorFields = 7;

// The reminder rows: strings 302 to 306 for none, 15, 30, 45 and 60 minutes.
constexpr int kFirstReminderString = 302;
int reminderRow(int minutes);  // 1 to 5; 1 for anything but a choice
int reminderMinutes(int row);  // 0 for row 1 or a row out of range

// A new entry of the kind: starting at the minute `now`, ending an hour later.
TripEntry newEntry(EntryKind kind, const platform::SystemTime& now);

// The kind a "new entry" command asks for (120 flight, 124 car, 122 hotel, 123 journey,
// 121 meeting, 125 note); nothing for any other command.
std::optional<EntryKind> kindOfNewCommand(std::uint32_t command);

}  // namespace travel
