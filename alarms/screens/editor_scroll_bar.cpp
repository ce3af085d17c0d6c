#include "alarms/screens/editor_scroll_bar.h"

#include <algorithm>

#include "ui/control_paint.h"

namespace alarms {

using namespace platform;

namespace {
constexpr int kStep = 10;  // layout pixels a "row" of the bar
}

EditorScrollBar::EditorScrollBar() {
    isFocusable = false;
}

void EditorScrollBar::setRange(int content, int view, int offset) {
    content_ = content;
    view_ = view;
    offset_ = offset;
    invalidate();
}

int EditorScrollBar::step() const {
    return kStep * ui::layoutUnit();
}

ui::ScrollBarGeometry EditorScrollBar::geometry() const {
    int s = step();
    int rows = (content_ + s - 1) / s;
    int visible = std::max(1, view_ / s);
    return ui::scrollBarGeometry(rect, rows, visible, offset_ / s + 1);
}

void EditorScrollBar::paint(DeviceContext& dc, const Rect&) {
    dc.fillRect(rect, ui::kPanelColour);
    ui::drawScrollBar(dc, geometry(), theme(), ui::scrollZone::None);
}

bool EditorScrollBar::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown || !onScroll)
        return true;
    int page = std::max(step(), view_ - 2 * step());
    switch (geometry().zoneAt(point)) {
        case ui::scrollZone::UpArrow:
            onScroll(-2 * step());
            break;
        case ui::scrollZone::DownArrow:
            onScroll(2 * step());
            break;
        case ui::scrollZone::PageUp:
            onScroll(-page);
            break;
        case ui::scrollZone::PageDown:
            onScroll(page);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace alarms
