#include "worldtime/screens/world_clock_list.h"

#include <algorithm>

#include "gfx/blend.h"
#include "gfx/colours.h"
#include "ui/control_paint.h"
#include "worldtime/screens/analog_clock.h"

namespace worldtime {

using namespace platform;

namespace {

// Layout pixels.
constexpr int kRowHeight = 40;
constexpr int kClockMargin = 3;
constexpr int kButtonSize = 22;
constexpr int kMarkSize = 10;
constexpr int kWeatherSize = 26;
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kSecondaryTextColour = 0x505050;

}  // namespace

void ClockListModel::setRows(std::vector<ClockListRow> rows) {
    rows_ = std::move(rows);
    rowsChanged();
}

WorldClockList::WorldClockList() {
    setModel(&clocks_);
}

void WorldClockList::setRows(std::vector<ClockListRow> rows, int currentFavourite) {
    currentFavourite_ = currentFavourite;
    clocks_.setRows(std::move(rows));
    if (currentRow() == 0 && rowCount() > 0)
        selectRow(1, false);
    invalidate();
}

void WorldClockList::setPictures(gfx::TargaPixels face, gfx::TargaPixels moveUp,
                                 gfx::TargaPixels mark) {
    face_ = std::move(face);
    moveUp_ = std::move(moveUp);
    mark_ = std::move(mark);
    invalidate();
}

int WorldClockList::rowHeight() const {
    return kRowHeight * ui::layoutUnit();
}

int WorldClockList::clockSize() const {
    return rowHeight() - 2 * kClockMargin * ui::layoutUnit();
}

int WorldClockList::weatherIconSize() const {
    return kWeatherSize * ui::layoutUnit();
}

Rect WorldClockList::weatherRectIn(const Rect& line, int row) const {
    if (row < 1 || row > rowCount() || clocks_.row(row).weather.width <= 0)
        return {};
    const int unit = ui::layoutUnit();
    int right = line.right - 4 * unit;
    if (row == currentRow() && row > 1)
        right = moveUpRectIn(line).left - 3 * unit;
    const int size = weatherIconSize();
    return rectOfSize(right - size, line.top + (rowHeight() - size) / 2, size, size);
}

Rect WorldClockList::weatherRect(int row) const {
    Rect line = rowRect(row);
    if (line.height() < rowHeight())
        return {};
    return weatherRectIn(line, row);
}

Rect WorldClockList::rowRect(int row) const {
    Rect rows = rowsRect();
    if (row < firstVisibleRow() || row > rowCount())
        return {};
    int top = rows.top + (row - firstVisibleRow()) * rowHeight();
    Rect line{rows.left, top, rows.right, top + rowHeight()};
    return line.intersect(rows);
}

Rect WorldClockList::moveUpRectIn(const Rect& line) const {
    int unit = ui::layoutUnit();
    int size = kButtonSize * unit;
    int top = line.top + (rowHeight() - size) / 2;
    return rectOfSize(line.right - size - 3 * unit, top, size, size);
}

Rect WorldClockList::moveUpRect(int row) const {
    if (row < 2 || row != currentRow())
        return {};
    Rect line = rowRect(row);
    if (line.height() < rowHeight())
        return {};  // only a whole row shows its button
    return moveUpRectIn(line);
}

void WorldClockList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    if (row < 1 || row > rowCount())
        return;
    const ClockListRow& r = clocks_.row(row);
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    if (current) {
        dc.fillRect(line, t.mainColour);
    } else {
        dc.fillRect(Rect{line.left + 4 * unit, line.bottom - 1, line.right - 4 * unit, line.bottom},
                    kSeparatorColour);
    }
    int size = clockSize();
    Rect clock =
        rectOfSize(line.left + kClockMargin * unit, line.top + kClockMargin * unit, size, size);
    drawAnalogClock(dc, face_, clock, r.clock.local);

    int right = line.right - 4 * unit;
    if (current && row > 1) {
        Rect button = moveUpRectIn(line);
        right = button.left - 3 * unit;
        if (moveUp_.width > 0) {
            gfx::drawTarga(dc, moveUp_, button.left + (button.width() - moveUp_.width) / 2,
                           button.top + (button.height() - moveUp_.height) / 2);
        } else {
            ui::drawArrow(dc, button, ui::ArrowDirection::Up, t.selectedTextColour);
        }
    }
    const Rect weather = weatherRectIn(line, row);
    if (weather.width() > 0) {
        gfx::drawTarga(dc, r.weather, weather.left + (weather.width() - r.weather.width) / 2,
                       weather.top + (weather.height() - r.weather.height) / 2);
        right = weather.left - 3 * unit;
    }
    int left = clock.right + 5 * unit;
    int middle = line.top + line.height() / 2;
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;

    // The name line, with the current favourite's mark at its end.
    Rect name{left, line.top + 2 * unit, right, middle};
    if (row == currentFavourite_ && mark_.width > 0) {
        int markSize = kMarkSize * unit;
        gfx::drawTarga(dc, mark_, name.right - markSize, name.top + (name.height() - markSize) / 2);
        name.right -= markSize + 3 * unit;
    }
    ui::drawClippedText(dc, r.clock.label, name, dt::Left | dt::VCenter | kLine, main,
                        ui::smallFont(true));

    // Time on the left, date on the right.
    Rect times{left, middle, right, line.bottom - 2 * unit};
    ui::drawClippedText(dc, r.time, times, dt::Left | dt::VCenter | kLine, secondary,
                        ui::smallFont());
    ui::drawClippedText(dc, r.date, times, dt::Right | dt::VCenter | kLine, secondary,
                        ui::smallFont());
}

bool WorldClockList::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (keyCode == vk::Right) {
        // Right moves the favourite up instead of paging; on the first row it does nothing.
        if (message == wm::KeyDown && currentRow() > 1 && onMoveUp)
            onMoveUp(currentRow());
        return true;
    }
    return ui::ListControl::key(message, keyCode, flags);
}

bool WorldClockList::pointer(std::uint32_t message, WParam keys, Point point) {
    if (message == wm::LButtonDown && moveUpRect(currentRow()).contains(point)) {
        movePressed_ = true;
        if (onMoveUp)
            onMoveUp(currentRow());
        return true;
    }
    if (movePressed_) {
        // The rest of a tap on the button is the button's, not a row press.
        if (message == wm::LButtonUp)
            movePressed_ = false;
        return true;
    }
    return ui::ListControl::pointer(message, keys, point);
}

}  // namespace worldtime
