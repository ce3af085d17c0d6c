#include "worldtime/screens/planner_view.h"

#include <algorithm>
#include <cmath>

#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr Colour kWorkingHours = rgb(0, 255, 0);
constexpr int kWorkingAlpha = 128;
constexpr Colour kGridLine = rgb(192, 192, 192);
constexpr Colour kCellBackground = rgb(255, 255, 255);
// Layout pixels, scaled with the display.
constexpr int kRowHeight = 18;
constexpr int kColumnWidth = 78;

int scaledX(int value) {
    return gfx::scaleRect({0, 0, value, 0}).right;
}
int scaledY(int value) {
    return gfx::scaleRect({0, 0, 0, value}).bottom;
}

}  // namespace

void blendRect(DeviceContext& dc, const Rect& rect, Colour colour, int alpha) {
    Rect area = rect.intersect(dc.clip());
    const int r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            Colour under = dc.pixel(x, y);
            auto mix = [alpha](int over, int below) {
                return (over * alpha + below * (255 - alpha) + 127) / 255;
            };
            dc.setPixel(x, y,
                        rgb(mix(r, redOf(under)), mix(g, greenOf(under)), mix(b, blueOf(under))));
        }
    }
}

bool SmoothScroll::step() {
    const double third = (target_ - offset_) / 3.0;
    if (third > -1 && third < 1) {
        offset_ = target_;
        return false;
    }
    offset_ += static_cast<int>(third);
    return offset_ != target_;
}

PlannerView::PlannerView() {
    isFocusable = true;
}

void PlannerView::setGrid(PlannerGrid grid, int clockFormat, std::wstring midnight,
                          std::wstring noon, std::wstring deviceHeading) {
    grid_ = std::move(grid);
    deviceHeading_ = std::move(deviceHeading);
    texts_.assign(grid_.columns.size(), {});
    for (std::size_t c = 0; c < grid_.columns.size(); ++c) {
        for (const PlannerCell& cell : grid_.columns[c].cells)
            texts_[c].push_back(plannerCellText(cell.local, clockFormat, midnight, noon));
    }
    showFavouritesFrom(firstFavourite_);
    invalidate();
}

const std::wstring& PlannerView::cellText(int column, int row) const {
    static const std::wstring kNone;
    if (column < 0 || column >= static_cast<int>(texts_.size()) || row < 1 ||
        row > static_cast<int>(texts_[static_cast<std::size_t>(column)].size())) {
        return kNone;
    }
    return texts_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row - 1)];
}

int PlannerView::rowHeight() const {
    return scaledY(kRowHeight);
}

int PlannerView::columnWidth() const {
    // The columns share the width evenly, each at least its layout width.
    const int columns = std::max(1, rect.width() / std::max(1, scaledX(kColumnWidth)));
    return rect.width() / columns;
}

int PlannerView::visibleFavourites() const {
    return std::max(1, rect.width() / std::max(1, columnWidth()) - 1);
}

void PlannerView::showFavouritesFrom(int favourite) {
    const int count = static_cast<int>(grid_.columns.size()) - 1;
    const int last = std::max(1, count - visibleFavourites() + 1);
    firstFavourite_ = std::clamp(favourite, 1, last);
    invalidate();
}

int PlannerView::maxOffset() const {
    return std::max(0, kPlannerHours * rowHeight() - (rect.height() - rowHeight()));
}

int PlannerView::offsetShowing(int row) const {
    const int visible = rect.height() - rowHeight();
    const int top = (row - 1) * rowHeight();
    int offset = scroll_.target();
    if (top < offset)
        offset = top;
    else if (top + rowHeight() > offset + visible)
        offset = top + rowHeight() - visible;
    return std::clamp(offset, 0, maxOffset());
}

void PlannerView::select(int row, bool smooth) {
    selected_ = std::clamp(row, 1, kPlannerHours);
    const int target = offsetShowing(selected_);
    if (smooth) {
        scroll_.setTarget(target);
        if (scroll_.moving() && onScroll)
            onScroll();
    } else {
        scroll_.jump(target);
    }
    invalidate();
}

int PlannerView::rowAt(Point point) const {
    if (!rect.contains(point) || point.y < rect.top + rowHeight())
        return 0;
    const int row = (point.y - rect.top - rowHeight() + scroll_.offset()) / rowHeight() + 1;
    return row >= 1 && row <= kPlannerHours ? row : 0;
}

void PlannerView::paintCell(DeviceContext& dc, const Rect& cell, int column, int row) {
    const PlannerCell& data =
        grid_.columns[static_cast<std::size_t>(column)].cells[static_cast<std::size_t>(row - 1)];
    dc.fillRect(cell, kCellBackground);
    if (data.workingHour)
        blendRect(dc, cell, kWorkingHours, kWorkingAlpha);
    dc.fillRect({cell.left, cell.bottom - 1, cell.right, cell.bottom}, kGridLine);
    dc.fillRect({cell.right - 1, cell.top, cell.right, cell.bottom}, kGridLine);
    dc.setTextColour(rgb(0, 0, 0));
    Rect text{cell.left + 2, cell.top, cell.right - 2, cell.bottom};
    gfx::drawTextTransparent(dc, cellText(column, row), text,
                             dt::Center | dt::VCenter | dt::SingleLine | dt::EndEllipsis,
                             ui::smallFont(column == 0));
}

void PlannerView::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid) || grid_.columns.empty())
        return;
    const int rowH = rowHeight();
    const int colW = columnWidth();
    std::vector<int> shown{0};
    const int favourites = static_cast<int>(grid_.columns.size()) - 1;
    for (int f = firstFavourite_; f <= favourites && f < firstFavourite_ + visibleFavourites(); ++f)
        shown.push_back(f);

    const Rect body{rect.left, rect.top + rowH, rect.right, rect.bottom};
    dc.fillRect(body, kCellBackground);
    const Rect savedClip = dc.clip();
    dc.setClip(body.intersect(savedClip));
    const int firstRow = scroll_.offset() / rowH + 1;
    for (int row = firstRow; row <= kPlannerHours; ++row) {
        const int top = body.top + (row - 1) * rowH - scroll_.offset();
        if (top >= body.bottom)
            break;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const int left = rect.left + static_cast<int>(i) * colW;
            paintCell(dc, {left, top, left + colW, top + rowH}, shown[i], row);
        }
        if (row == grid_.presentRow)
            dc.fillRect({rect.left, top, rect.left + scaledX(3), top + rowH}, theme().mainColour);
        if (row == selected_) {
            const Rect frame{rect.left, top, rect.left + static_cast<int>(shown.size()) * colW,
                             top + rowH};
            blendRect(dc, frame, theme().mainColour, 48);
            dc.frameRect(frame, theme().mainColour);
            dc.frameRect({frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1},
                         theme().mainColour);
        }
    }
    dc.setClip(savedClip);

    // The heading row: "Here" over the device's column, the city names over the others.
    const Rect heading{rect.left, rect.top, rect.right, rect.top + rowH};
    gfx::gradientBar(dc, heading.left, heading.top, heading.right, heading.bottom,
                     theme().mainColour);
    dc.setTextColour(theme().selectedTextColour);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int left = rect.left + static_cast<int>(i) * colW;
        const std::wstring& text = shown[i] == 0
                                       ? deviceHeading_
                                       : grid_.columns[static_cast<std::size_t>(shown[i])].heading;
        gfx::drawTextTransparent(dc, text, {left + 2, heading.top, left + colW - 2, heading.bottom},
                                 dt::Center | dt::VCenter | dt::SingleLine | dt::EndEllipsis,
                                 ui::smallFont(true));
    }
    // Arrows where more favourites lie to either side.
    if (firstFavourite_ > 1)
        gfx::drawTextTransparent(
            dc, L"\u25C0",
            {rect.left + colW - scaledX(9), heading.top, rect.left + colW, heading.bottom},
            dt::Left | dt::VCenter | dt::SingleLine, ui::smallFont());
    if (shown.size() > 1 && shown.back() < favourites)
        gfx::drawTextTransparent(dc, L"\u25B6",
                                 {rect.right - scaledX(9), heading.top, rect.right, heading.bottom},
                                 dt::Left | dt::VCenter | dt::SingleLine, ui::smallFont());
}

bool PlannerView::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown)
        return rect.contains(point);
    if (point.y < rect.top + rowHeight() && rect.contains(point)) {
        // A tap on the heading pages the favourites: left half back, right half on.
        const bool forward = point.x >= rect.left + rect.width() / 2;
        showFavouritesFrom(firstFavourite_ + (forward ? 1 : -1));
        return true;
    }
    const int row = rowAt(point);
    if (row == 0)
        return false;
    select(row, true);
    if (onSelect)
        onSelect(row);
    return true;
}

bool PlannerView::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Up && keyCode != vk::Down && keyCode != vk::Left && keyCode != vk::Right)
        return false;
    if (message != wm::KeyDown)
        return true;
    if (keyCode == vk::Left || keyCode == vk::Right) {
        showFavouritesFrom(firstFavourite_ + (keyCode == vk::Right ? 1 : -1));
        return true;
    }
    select(selected_ + (keyCode == vk::Down ? 1 : -1), true);
    if (onSelect)
        onSelect(selected_);
    return true;
}

}  // namespace worldtime
