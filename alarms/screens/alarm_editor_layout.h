#pragma once
// The alarm editor's controls by id, and where they go on each display shape.

#include <cstdint>
#include <vector>

#include "ui/control.h"
#include "ui/layout.h"

namespace alarms {

namespace alarmEditId {
constexpr int Time = 1, TimeCaption = 2, Repeat = 3, DateCaption = 4, Days = 5, Date = 6,
              DayOfMonth = 7, Month = 8, CityCaption = 9, Name = 10, SoundCaption = 11,
              Message = 12, City = 14, Sound = 16, Today = 29, VolumeCaption = 31, Preview = 33,
              Volume = 35, RingCaption = 36, Ring = 37, SnoozeCaption = 38, Snooze = 39, Now = 41,
              ScrollBar = 50;
}

// The editor's own control types.
namespace alarmEditType {
constexpr std::uint16_t DayBoxes = 230, ScrollBar = 231;
}

struct EditorLayout {
    std::vector<ui::LayoutRecord> records;
    // The height the controls need (layout pixels); more than the screen's makes the editor
    // scroll, with the scroll bar of the records.
    int contentHeight = 0;
};

// The layout for the present display shape (portrait, landscape or square).
EditorLayout editorLayout();

}  // namespace alarms
