#include "platform/controls/date_time_fields.h"

#include <algorithm>

#include "platform/api/locale.h"

namespace platform::controls {
namespace {

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 9999;

FieldKind kindOf(wchar_t letter) {
    switch (letter) {
        case L'd':
            return FieldKind::Day;
        case L'M':
            return FieldKind::Month;
        case L'y':
            return FieldKind::Year;
        case L'h':
            return FieldKind::Hour12;
        case L'H':
            return FieldKind::Hour24;
        case L'm':
            return FieldKind::Minute;
        case L's':
            return FieldKind::Second;
        case L't':
            return FieldKind::AmPm;
        default:
            return FieldKind::Literal;
    }
}

void appendLiteral(std::vector<DateTimeField>& fields, std::wstring_view text) {
    if (text.empty())
        return;
    if (!fields.empty() && fields.back().kind == FieldKind::Literal) {
        fields.back().picture += text;
    } else {
        fields.push_back({FieldKind::Literal, std::wstring(text)});
    }
}

int wrap(int value, int low, int high) {
    int span = high - low + 1;
    return low + ((value - low) % span + span) % span;
}

void fixDay(SystemTime& t) {
    t.day = static_cast<std::uint16_t>(std::min<int>(t.day, daysInMonth(t.year, t.month)));
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
}

}  // namespace

std::vector<DateTimeField> parsePicture(std::wstring_view picture) {
    std::vector<DateTimeField> fields;
    std::size_t i = 0;
    while (i < picture.size()) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted literal; '' inside stands for one quote.
            std::wstring text;
            ++i;
            while (i < picture.size()) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        text += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += picture[i++];
            }
            appendLiteral(fields, text);
            continue;
        }
        FieldKind kind = kindOf(c);
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (kind == FieldKind::Literal) {
            appendLiteral(fields, picture.substr(i, run));
        } else {
            if (kind == FieldKind::Day && run >= 3)
                kind = FieldKind::Weekday;
            fields.push_back({kind, std::wstring(picture.substr(i, run))});
        }
        i += run;
    }
    return fields;
}

std::wstring fieldText(const DateTimeField& field, const SystemTime& time) {
    switch (field.kind) {
        case FieldKind::Literal:
            return field.picture;
        case FieldKind::Day:
        case FieldKind::Weekday:
        case FieldKind::Month:
        case FieldKind::Year:
            return formatDate(time, field.picture).value_or(L"");
        default:
            return formatTime(time, field.picture).value_or(L"");
    }
}

SystemTime stepField(const SystemTime& time, FieldKind kind, int direction) {
    SystemTime t = time;
    auto set = [](std::uint16_t& slot, int v) { slot = static_cast<std::uint16_t>(v); };
    switch (kind) {
        case FieldKind::Day:
        case FieldKind::Weekday:
            set(t.day, wrap(t.day + direction, 1, daysInMonth(t.year, t.month)));
            break;
        case FieldKind::Month:
            set(t.month, wrap(t.month + direction, 1, 12));
            break;
        case FieldKind::Year:
            set(t.year, std::clamp(t.year + direction, kFirstYear, kLastYear));
            break;
        case FieldKind::Hour24:
            set(t.hour, wrap(t.hour + direction, 0, 23));
            break;
        case FieldKind::Hour12:
            // Within the same half of the day.
            set(t.hour, (t.hour / 12) * 12 + wrap(t.hour % 12 + direction, 0, 11));
            break;
        case FieldKind::Minute:
            set(t.minute, wrap(t.minute + direction, 0, 59));
            break;
        case FieldKind::Second:
            set(t.second, wrap(t.second + direction, 0, 59));
            break;
        case FieldKind::AmPm:
            set(t.hour, (t.hour + 12) % 24);
            break;
        case FieldKind::Literal:
            break;
    }
    fixDay(t);
    return t;
}

bool setFieldNumber(SystemTime& time, FieldKind kind, int value) {
    if (value < 0)
        return false;
    SystemTime t = time;
    auto set = [](std::uint16_t& slot, int v) { slot = static_cast<std::uint16_t>(v); };
    switch (kind) {
        case FieldKind::Day:
            if (value < 1 || value > daysInMonth(t.year, t.month))
                return false;
            set(t.day, value);
            break;
        case FieldKind::Month:
            if (value < 1 || value > 12)
                return false;
            set(t.month, value);
            break;
        case FieldKind::Year:
            if (value < kFirstYear || value > kLastYear)
                return false;
            set(t.year, value);
            break;
        case FieldKind::Hour24:
            if (value > 23)
                return false;
            set(t.hour, value);
            break;
        case FieldKind::Hour12:
            if (value < 1 || value > 12)
                return false;
            set(t.hour, (t.hour / 12) * 12 + value % 12);
            break;
        case FieldKind::Minute:
        case FieldKind::Second:
            if (value > 59)
                return false;
            set(kind == FieldKind::Minute ? t.minute : t.second, value);
            break;
        default:
            return false;
    }
    fixDay(t);
    time = t;
    return true;
}

}  // namespace platform::controls
