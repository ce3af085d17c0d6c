#include "ui/list_control.h"

#include <algorithm>

#include "gfx/drawing.h"
#include "gfx/graphics_state.h"
#include "ui/auto_repeat.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace ui {

using namespace platform;

namespace {

constexpr wchar_t kNoData[] = L"No list data...";
constexpr int kScrollBarWidth = 13;  // layout pixels
constexpr WParam kLeftButton = 0x0001;

}  // namespace

ListControl::ListControl(ListOptions options) : options_(options) {}

ListControl::~ListControl() {
    setModel(nullptr);
    if (zone_ && autoRepeatState().zone == zone_)
        stopAutoRepeat();
    if (owner && owner->captureControl() == this)
        owner->setCaptureControl(nullptr);
}

void ListControl::setModel(ListModel* model) {
    if (model_ == model)
        return;
    if (model_)
        std::erase(model_->views_, this);
    model_ = model;
    if (model_)
        model_->views_.push_back(this);
    first_ = 1;
    if (currentRow() > 0)
        showRow(currentRow());
    invalidate();
}

void ListControl::setTable(core::RecordTable* table) {
    setModel(nullptr);
    tableModel_.setTable(table);
    setModel(&tableModel_);
}

void ListControl::adoptTable(std::unique_ptr<core::RecordTable> table) {
    setModel(nullptr);
    tableModel_.adoptTable(std::move(table));
    setModel(&tableModel_);
}

core::RecordTable* ListControl::table() const {
    return model_ == &tableModel_ ? tableModel_.table() : nullptr;
}

void ListControl::setDisplayField(int field) {
    tableModel_.setField(field);
    invalidate();
}

int ListControl::rowHeight() const {
    auto* gs = gfx::graphicsState();
    DeviceContext local;
    int text = gs ? gfx::textHeight(gs->drawingDc(), smallFont()) : gfx::textHeight(local, nullptr);
    return text + 4 * layoutUnit();
}

int ListControl::visibleRowCount() const {
    return std::max(1, rowsRect().height() / std::max(1, rowHeight()));
}

bool ListControl::hasScrollBar() const {
    return rowCount() > visibleRowCount();
}

// The frame, with room for the focus mark drawn over it.
int ListControl::inset() const {
    return 2 * layoutUnit();
}

Rect ListControl::rowsRect() const {
    int in = inset();
    Rect r{rect.left + in, rect.top + in, rect.right - in, rect.bottom - in};
    // Whether the bar shows depends on the rows that fit, which do not depend on the bar.
    int fit = std::max(1, r.height() / std::max(1, rowHeight()));
    if (rowCount() > fit)
        r.right -= kScrollBarWidth * layoutUnit();
    return r;
}

ScrollBarGeometry ListControl::scrollBar() const {
    int in = inset();
    Rect bar{rect.right - in - kScrollBarWidth * layoutUnit(), rect.top + in, rect.right - in,
             rect.bottom - in};
    return scrollBarGeometry(bar, rowCount(), visibleRowCount(), first_);
}

void ListControl::scrollTo(int firstRow) {
    int last = std::max(1, rowCount() - visibleRowCount() + 1);
    int clamped = std::clamp(firstRow, 1, last);
    if (clamped == first_)
        return;
    first_ = clamped;
    invalidate();
}

bool ListControl::selectRow(int row, bool notify) {
    if (!model_ || row < 1 || row > model_->rowCount())
        return false;
    bool moved = model_->currentRow() != row;
    model_->setCurrentRow(row);
    showRow(row);
    if (moved) {
        invalidate();
        if (notify)
            selectionChanged(row);
    }
    return true;
}

void ListControl::showRow(int row) {
    if (row < 1)
        return;
    if (row < first_)
        scrollTo(row);
    if (row >= first_ + visibleRowCount())
        scrollTo(row - visibleRowCount() + 1);
}

void ListControl::modelChanged() {
    int was = currentRow();
    int valid = std::clamp(was, 0, rowCount());
    if (valid != was)
        model_->setCurrentRow(valid);
    // A shorter model may leave the view beyond its end.
    scrollTo(first_);
    invalidate();
    int now = currentRow();
    if (now != was) {
        showRow(now);
        selectionChanged(now);
    }
}

void ListControl::selectionChanged(int row) {
    if (onSelectionChange)
        onSelectionChange(*this, row);
    else if (options_.notify && owner)
        owner->controlChanged(*this);
}

bool ListControl::activate() {
    if (onActivate)
        return onActivate(*this, currentRow());
    return owner && owner->controlPressed(*this);
}

void ListControl::place(const Rect& r, DeviceContext* dc) {
    Control::place(r, dc);
    // A new size may show more rows: keep the view filled.
    scrollTo(first_);
}

void ListControl::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const gfx::Theme& t = theme();
    if (current)
        dc.fillRect(line, t.mainColour);
    Rect text{line.left + 3 * layoutUnit(), line.top, line.right - 2 * layoutUnit(), line.bottom};
    drawClippedText(dc, model_->rowText(row), text,
                    dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis,
                    current ? t.selectedTextColour : kPanelTextColour, smallFont());
}

void ListControl::drawRows(DeviceContext& dc) {
    ClipScope clip(dc, rowsRect());
    Rect rows = rowsRect();
    int h = rowHeight();
    // The row partly shown below the last whole one is drawn too, clipped.
    int last = std::min(rowCount(), first_ + visibleRowCount());
    for (int row = first_; row <= last; ++row) {
        Rect line{rows.left, rows.top + (row - first_) * h, rows.right,
                  rows.top + (row - first_ + 1) * h};
        drawRow(dc, line, row, row == currentRow());
    }
}

void ListControl::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    dc.fillRect(rect, kPanelColour);
    if (rowCount() == 0) {
        drawClippedText(dc, kNoData, rowsRect(),
                        dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix,
                        kDisabledTextColour, smallFont());
    } else {
        drawRows(dc);
        if (hasScrollBar())
            drawScrollBar(dc, scrollBar(), t, zone_);
    }
    dc.frameRect(rect, kFrameColour);
    if (hasFocus())
        drawFocusFrame(dc, rect, t);
}

bool ListControl::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (message != wm::KeyDown) {
        return keyCode == vk::Return;
    }
    int page = visibleRowCount();
    int row = currentRow();
    switch (keyCode) {
        case vk::Up:
            // At the top the key moves the focus on instead.
            return row > 1 && selectRow(row - 1, true);
        case vk::Down:
            if (row == 0)
                return selectRow(1, true);
            return row < rowCount() && selectRow(row + 1, true);
        case vk::Left:
        case vk::PageUp:
            return rowCount() > 0 && selectRow(std::max(1, row - page), true);
        case vk::Right:
        case vk::PageDown:
            return rowCount() > 0 && selectRow(std::min(rowCount(), row + page), true);
        case vk::Return:
            if (rowCount() == 0)
                return false;
            return activate();
        default:
            return false;
    }
}

int ListControl::rowAt(int y) const {
    int row = (y - rowsRect().top) / std::max(1, rowHeight()) + first_;
    return std::clamp(row, 1, std::max(1, rowCount()));
}

void ListControl::actOnZone(int zone) {
    int page = visibleRowCount();
    switch (zone) {
        case scrollZone::UpArrow:
            scrollTo(first_ - 1);
            break;
        case scrollZone::DownArrow:
            scrollTo(first_ + 1);
            break;
        case scrollZone::PageUp:
            scrollTo(first_ - page);
            break;
        case scrollZone::PageDown:
            scrollTo(first_ + page);
            break;
        default:
            break;
    }
}

void ListControl::pressDown(Point p) {
    if (rowCount() == 0)
        return;
    if (hasScrollBar()) {
        ScrollBarGeometry bar = scrollBar();
        int zone = bar.zoneAt(p);
        if (zone != scrollZone::None) {
            zone_ = zone;
            if (owner)
                owner->setCaptureControl(this);
            if (zone == scrollZone::Thumb) {
                thumbGrab_ = p.y - bar.thumb.top;
            } else {
                actOnZone(zone);
                if (owner)
                    startAutoRepeat(owner->host().mainWindow(), zone, p);
            }
            invalidate();
            return;
        }
    }
    if (!rowsRect().contains(p))
        return;
    rowPress_ = true;
    if (owner)
        owner->setCaptureControl(this);
    int was = currentRow();
    int row = rowAt(p.y);
    selectRow(row, true);
    if (row == was && options_.pressOnReselect)
        activate();
}

void ListControl::moveWhileHeld(Point p) {
    if (zone_ == scrollZone::Thumb) {
        ScrollBarGeometry bar = scrollBar();
        scrollTo(firstRowForThumb(bar, rowCount(), visibleRowCount(), p.y - thumbGrab_));
        return;
    }
    if (zone_ != scrollZone::None) {
        autoRepeatState().lastPoint = p;
        if (scrollBar().zoneAt(p) != zone_) {
            // Leaving the zone ends the repeat for this press.
            stopAutoRepeat();
            zone_ = scrollZone::None;
            invalidate();
        } else if (replaying_) {
            actOnZone(zone_);
        }
        return;
    }
    if (!rowPress_)
        return;
    Rect rows = rowsRect();
    if (p.y < rows.top) {
        scrollTo(first_ - 1);
        selectRow(first_, true);
    } else if (p.y >= rows.top + visibleRowCount() * rowHeight()) {
        scrollTo(first_ + 1);
        selectRow(std::min(rowCount(), first_ + visibleRowCount() - 1), true);
    } else {
        selectRow(rowAt(p.y), true);
    }
}

void ListControl::releaseCapture() {
    if (owner && owner->captureControl() == this)
        owner->setCaptureControl(nullptr);
}

void ListControl::release() {
    bool wasRowPress = rowPress_;
    bool hadZone = zone_ != scrollZone::None;
    releaseCapture();
    if (hadZone || autoRepeatState().zone)
        stopAutoRepeat();
    zone_ = scrollZone::None;
    rowPress_ = false;
    if (hadZone)
        invalidate();
    // Only a press on the rows is an entry; lifting off the scroll bar chooses nothing. The
    // row itself was reported as it became current.
    if (wasRowPress && options_.enterOnRelease)
        key(wm::KeyDown, vk::Return, 0);
}

bool ListControl::pointer(std::uint32_t message, WParam, Point p) {
    switch (message) {
        case wm::LButtonDown:
            pressDown(p);
            return true;
        case wm::MouseMove:
            moveWhileHeld(p);
            return true;
        case wm::LButtonUp:
            if (zone_ != scrollZone::None || rowPress_)
                release();
            return true;
        default:
            return false;
    }
}

void ListControl::autoRepeat() {
    if (zone_ == scrollZone::None) {
        stopAutoRepeat();
        return;
    }
    Point p = autoRepeatTick();
    replaying_ = true;
    pointer(wm::MouseMove, kLeftButton, p);
    replaying_ = false;
}

}  // namespace ui
