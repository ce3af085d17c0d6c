#include "travel/trip_editor_fields.h"

namespace travel {
namespace {

// The first label of each kind's block of editor labels (309 to 345).
int firstLabel(EntryKind kind) {
    switch (kind) {
        case EntryKind::Flight:
            return 309;
        case EntryKind::Car:
            return 316;
        case EntryKind::Hotel:
            return 323;
        case EntryKind::Journey:
            return 330;
        case EntryKind::Meeting:
            return 337;
        case EntryKind::Note:
            return 344;
    }
    return 344;
}

}  // namespace

std::vector<EditorField> editorFields(EntryKind kind) {
    const int first = firstLabel(kind);
    std::vector<EditorField> fields{{entryField::Title, first}, {entryField::Location, first + 1}};
    if (kind == EntryKind::Note)
        return fields;
    for (int i = 0; i < kMaxEditorFields - 2; ++i)
        fields.push_back({entryField::FirstExtra + i, first + 2 + i});
    return fields;
}

int reminderRow(int minutes) {
    for (std::size_t i = 0; i < kReminderChoices.size(); ++i) {
        if (kReminderChoices[i] == minutes)
            return static_cast<int>(i) + 1;
    }
    return 1;
}

int reminderMinutes(int row) {
    if (row < 1 || row > static_cast<int>(kReminderChoices.size()))
        return 0;
    return kReminderChoices[static_cast<std::size_t>(row - 1)];
}

TripEntry newEntry(EntryKind kind, const platform::SystemTime& now) {
    TripEntry e;
    e.kind = kind;
    e.start = now;
    e.start.second = e.start.milliseconds = 0;
    const auto hour = static_cast<platform::FileTime>(3600) * platform::kFileTimeTicksPerSecond;
    e.end = platform::toSystemTime(*platform::toFileTime(e.start) + hour).value_or(e.start);
    return e;
}

std::optional<EntryKind> kindOfNewCommand(std::uint32_t command) {
    switch (command) {
        case 120:
            return EntryKind::Flight;
        case 124:
            return EntryKind::Car;
        case 122:
            return EntryKind::Hotel;
        case 123:
            return EntryKind::Journey;
        case 121:
            return EntryKind::Meeting;
        case 125:
            return EntryKind::Note;
        default:
            return std::nullopt;
    }
}

}  // namespace travel
