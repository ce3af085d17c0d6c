#include "ui/scroll_bar.h"

#include <algorithm>

#include "gfx/colours.h"
#include "ui/control_paint.h"

namespace ui {

using platform::Point;
using platform::Rect;

int ScrollBarGeometry::zoneAt(Point p) const {
    if (!bar.contains(p))
        return scrollZone::None;
    if (upArrow.contains(p))
        return scrollZone::UpArrow;
    if (p.y < thumb.top && track.contains(p))
        return scrollZone::PageUp;
    if (thumb.contains(p))
        return scrollZone::Thumb;
    if (p.y >= thumb.bottom && track.contains(p))
        return scrollZone::PageDown;
    if (downArrow.contains(p))
        return scrollZone::DownArrow;
    return scrollZone::None;
}

ScrollBarGeometry scrollBarGeometry(const Rect& bar, int rows, int visible, int first) {
    ScrollBarGeometry g;
    g.bar = bar;
    int arrow = std::min(bar.width(), bar.height() / 3);
    g.upArrow = {bar.left, bar.top, bar.right, bar.top + arrow};
    g.downArrow = {bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    g.track = {bar.left, g.upArrow.bottom, bar.right, g.downArrow.top};
    int trackHeight = g.track.height();
    int scrollable = std::max(0, rows - visible);
    if (rows <= 0 || scrollable == 0) {
        g.thumb = g.track;
        return g;
    }
    // Never smaller than a square, so the stylus can take it.
    int minimum = std::min(trackHeight, std::max(bar.width(), 6));
    int thumbHeight = std::clamp(trackHeight * visible / rows, minimum, trackHeight);
    int offset =
        (trackHeight - thumbHeight) * (std::clamp(first, 1, scrollable + 1) - 1) / scrollable;
    g.thumb = {bar.left, g.track.top + offset, bar.right, g.track.top + offset + thumbHeight};
    return g;
}

int firstRowForThumb(const ScrollBarGeometry& g, int rows, int visible, int thumbTop) {
    int scrollable = std::max(0, rows - visible);
    int room = g.track.height() - g.thumb.height();
    if (scrollable == 0 || room <= 0)
        return 1;
    int offset = std::clamp(thumbTop - g.track.top, 0, room);
    // Rounded to the nearest row, so the thumb snaps where the user let it go.
    return 1 + (offset * scrollable + room / 2) / room;
}

void drawScrollBar(platform::DeviceContext& dc, const ScrollBarGeometry& g, const gfx::Theme& theme,
                   int pressedZone) {
    platform::Colour track = gfx::lightenColour(theme.mainColour, 170);
    platform::Colour face = gfx::lightenColour(theme.mainColour, 60);
    platform::Colour pressed = theme.mainColour;
    platform::Colour edge = gfx::scaleColour(theme.mainColour, 0.8);
    dc.fillRect(g.track, track);
    if (pressedZone == scrollZone::PageUp) {
        dc.fillRect({g.track.left, g.track.top, g.track.right, g.thumb.top},
                    gfx::lightenColour(theme.mainColour, 120));
    }
    if (pressedZone == scrollZone::PageDown) {
        dc.fillRect({g.track.left, g.thumb.bottom, g.track.right, g.track.bottom},
                    gfx::lightenColour(theme.mainColour, 120));
    }
    int unit = layoutUnit();
    auto button = [&](const Rect& r, bool down, ArrowDirection direction) {
        dc.fillRect(r, down ? pressed : face);
        dc.frameRect(r, edge);
        drawArrow(dc, r, direction, 0xFFFFFF);
    };
    button(g.upArrow, pressedZone == scrollZone::UpArrow, ArrowDirection::Up);
    button(g.downArrow, pressedZone == scrollZone::DownArrow, ArrowDirection::Down);
    Rect thumb{g.thumb.left + unit, g.thumb.top + unit, g.thumb.right - unit,
               g.thumb.bottom - unit};
    dc.fillRect(thumb, pressedZone == scrollZone::Thumb ? pressed : face);
    dc.frameRect(thumb, edge);
    dc.fillRect({g.bar.left, g.bar.top, g.bar.left + 1, g.bar.bottom}, edge);
}

}  // namespace ui
