#include "alarms/screens/alarm_editor_layout.h"

#include "gfx/display_metrics.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"

namespace alarms {

namespace {

using namespace alarmEditId;
using ui::LayoutRecord;
namespace type = ui::layoutType;

constexpr std::uint32_t kCaption = platform::dt::Left | platform::dt::VCenter |
                                   platform::dt::SingleLine | platform::dt::EndEllipsis;
constexpr std::uint32_t kEntry = platform::es::AutoHScroll;
constexpr std::uint32_t kTimeKind = 1, kDateKind = 2;

namespace text {
constexpr std::uint32_t Today = 35, Now = 36, Play = 37, Time = 39, Date = 40, City = 41,
                        Sound = 42, Volume = 43, RingFor = 104, Snooze = 105;
}

LayoutRecord at(int id, std::uint16_t kind, int x, int y, int w, int h, std::uint32_t first = 0,
                std::uint32_t second = 0) {
    return {static_cast<std::uint16_t>(id),
            kind,
            static_cast<std::int16_t>(x),
            static_cast<std::int16_t>(y),
            static_cast<std::int16_t>(w),
            static_cast<std::int16_t>(h),
            1,
            first,
            second,
            ui::kEveryPage};
}

// Portrait, 240 x 268: one column, the captions on the left. The date picker shares its row
// with the day boxes; whichever the repeat kind does not use is hidden.
std::vector<LayoutRecord> portrait(int right) {
    int cx = 58, cw = right - cx;
    return {
        at(Name, type::EditField, 4, 4, right - 4, 20, 0, kEntry),
        at(Message, type::EditField, 4, 27, right - 4, 20, 0, kEntry),
        at(Repeat, type::DropDown, 4, 50, right - 4, 20),
        at(TimeCaption, type::Label, 4, 73, 52, 20, text::Time, kCaption),
        at(Time, type::DateTimePicker, cx, 73, cw - 62, 20, kTimeKind),
        at(Now, type::TextButton, right - 58, 73, 58, 20, text::Now),
        at(DateCaption, type::Label, 4, 101, 52, 20, text::Date, kCaption),
        at(Days, alarmEditType::DayBoxes, cx, 96, cw, 30),
        at(Date, type::DateTimePicker, cx, 101, cw - 62, 20, kDateKind),
        at(Today, type::TextButton, right - 58, 101, 58, 20, text::Today),
        at(DayOfMonth, type::DropDown, cx, 129, 60, 20),
        at(Month, type::DropDown, cx + 64, 129, cw - 64, 20),
        at(CityCaption, type::Label, 4, 152, 52, 20, text::City, kCaption),
        at(City, type::DropDown, cx, 152, cw, 20),
        at(SoundCaption, type::Label, 4, 175, 52, 20, text::Sound, kCaption),
        at(Sound, type::DropDown, cx, 175, cw - 56, 20),
        at(Preview, type::TextButton, right - 52, 175, 52, 20, text::Play),
        at(VolumeCaption, type::Label, 4, 198, 52, 20, text::Volume, kCaption),
        at(Volume, type::DropDown, cx, 198, cw, 20),
        at(RingCaption, type::Label, 4, 221, 52, 20, text::RingFor, kCaption),
        at(Ring, type::DropDown, cx, 221, cw, 20),
        at(SnoozeCaption, type::Label, 4, 244, 52, 20, text::Snooze, kCaption),
        at(Snooze, type::DropDown, cx, 244, cw, 20),
    };
}
constexpr int kPortraitHeight = 268;

// Landscape, 320 x 188: the alarm's name, repeat and time on the left, its city and sound
// on the right with the captions above the lists.
std::vector<LayoutRecord> landscape() {
    constexpr int cx = 46, right = 200, cw = right - cx;
    constexpr int rx = 208, rw = 316 - rx;
    return {
        at(Name, type::EditField, 4, 3, right - 4, 19, 0, kEntry),
        at(Message, type::EditField, 4, 25, right - 4, 19, 0, kEntry),
        at(Repeat, type::DropDown, 4, 47, right - 4, 19),
        at(TimeCaption, type::Label, 4, 69, 40, 19, text::Time, kCaption),
        at(Time, type::DateTimePicker, cx, 69, cw - 54, 19, kTimeKind),
        at(Now, type::TextButton, right - 50, 69, 50, 19, text::Now),
        at(DateCaption, type::Label, 4, 96, 40, 19, text::Date, kCaption),
        at(Days, alarmEditType::DayBoxes, cx, 91, cw, 29),
        at(Date, type::DateTimePicker, cx, 96, cw - 54, 19, kDateKind),
        at(Today, type::TextButton, right - 50, 96, 50, 19, text::Today),
        at(DayOfMonth, type::DropDown, cx, 123, 50, 19),
        at(Month, type::DropDown, cx + 54, 123, cw - 54, 19),
        at(CityCaption, type::Label, 4, 145, 40, 19, text::City, kCaption),
        at(City, type::DropDown, cx, 145, cw, 19),
        at(SoundCaption, type::Label, rx, 2, rw, 14, text::Sound, kCaption),
        at(Sound, type::DropDown, rx, 16, rw, 19),
        at(Preview, type::TextButton, rx, 38, rw, 19, text::Play),
        at(VolumeCaption, type::Label, rx, 60, rw, 14, text::Volume, kCaption),
        at(Volume, type::DropDown, rx, 74, rw, 19),
        at(RingCaption, type::Label, rx, 96, rw, 14, text::RingFor, kCaption),
        at(Ring, type::DropDown, rx, 110, rw, 19),
        at(SnoozeCaption, type::Label, rx, 132, rw, 14, text::Snooze, kCaption),
        at(Snooze, type::DropDown, rx, 146, rw, 19),
    };
}
constexpr int kLandscapeHeight = 188;

// Square, 240 x 188: the portrait column beside a scroll bar; the editor scrolls.
constexpr int kScrollBarWidth = 12;

}  // namespace

EditorLayout editorLayout() {
    if (gfx::isLandscape())
        return {landscape(), kLandscapeHeight};
    if (gfx::displayMetrics().isSquare) {
        std::vector<LayoutRecord> records = portrait(236 - kScrollBarWidth);
        records.push_back(at(ScrollBar, alarmEditType::ScrollBar, 240 - kScrollBarWidth, 0,
                             kScrollBarWidth, 188));
        return {std::move(records), kPortraitHeight};
    }
    return {portrait(236), kPortraitHeight};
}

}  // namespace alarms
