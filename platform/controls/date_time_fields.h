#pragma once
// The fields of a date/time picture ("HH':'mm", "dddd, d MMMM yyyy"): which part of the time
// each one shows, its text for a time, and how Up and Down change it. No windows here.

#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"

namespace platform::controls {

enum class FieldKind { Literal, Day, Weekday, Month, Year, Hour12, Hour24, Minute, Second, AmPm };

struct DateTimeField {
    FieldKind kind = FieldKind::Literal;
    std::wstring picture;  // the letters (or the literal text)
    bool editable() const { return kind != FieldKind::Literal; }
};

// Splits a picture into fields; quoted text and other characters become literals.
std::vector<DateTimeField> parsePicture(std::wstring_view picture);

// The text a field shows for a time (in the device's language).
std::wstring fieldText(const DateTimeField& field, const SystemTime& time);

// Steps a field up (+1) or down (-1). Each field wraps within its own range without carrying
// into the next (59 minutes go to 0 and the hour stays), as the handheld's picker does; a day
// that the new month or year lacks becomes the month's last day. The weekday field moves the
// day. dayOfWeek is kept right.
SystemTime stepField(const SystemTime& time, FieldKind kind, int direction);

// Puts a typed number into a field: the hour, minute, day and so on become the number when it
// is in range; answers false (and leaves the time) when it is not.
bool setFieldNumber(SystemTime& time, FieldKind kind, int value);

}  // namespace platform::controls
