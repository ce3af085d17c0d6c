#pragma once
// The geometry and look of a list's vertical scroll bar and its five zones, tested in this
// order: up arrow, the track above the thumb, the thumb, the track below it, down arrow.

#include "gfx/theme.h"
#include "platform/api/draw.h"

namespace ui {

namespace scrollZone {
constexpr int None = 0, UpArrow = 1, PageUp = 2, Thumb = 3, PageDown = 4, DownArrow = 5;
}

struct ScrollBarGeometry {
    platform::Rect bar;
    platform::Rect upArrow;
    platform::Rect track;  // between the arrows
    platform::Rect thumb;
    platform::Rect downArrow;

    // The zone under a point, None outside the bar.
    int zoneAt(platform::Point point) const;
};

// rows: the table's rows; visible: the rows that fit; first: the first row shown (from 1).
ScrollBarGeometry scrollBarGeometry(const platform::Rect& bar, int rows, int visible, int first);

// The first row that puts the thumb's top at trackY (for dragging the thumb).
int firstRowForThumb(const ScrollBarGeometry& geometry, int rows, int visible, int thumbTop);

void drawScrollBar(platform::DeviceContext& dc, const ScrollBarGeometry& geometry,
                   const gfx::Theme& theme, int pressedZone);

}  // namespace ui
