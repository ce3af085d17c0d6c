#include "travel/screens/packing_view.h"

#include <algorithm>

#include "core/record_table.h"
#include "gfx/drawing.h"
#include "ui/control_paint.h"

namespace travel {

using namespace platform;

namespace {

// Layout pixels.
constexpr int kOverviewRowHeight = 34;
constexpr int kItemRowHeight = 22;
constexpr int kIconSize = 24;
constexpr int kMarkSize = 14;
constexpr int kFlagColumn = 22;
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kHeadingColour = 0xF0F0F0;
constexpr Colour kSecondaryTextColour = 0x505050;
constexpr Colour kPackedTextColour = 0x808080;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;

}  // namespace

void PackingRowModel::setRows(std::vector<PackingViewRow> rows) {
    rows_ = std::move(rows);
    if (selected_ > rowCount())
        selected_ = rowCount();
    rowsChanged();
}

PackingView::PackingView(std::wstring mainPath)
    : ui::ListControl({.pressOnReselect = true}), mainPath_(std::move(mainPath)) {
    tick_.load(core::joinDevicePath(mainPath_, L"graphics2\\tick.tga"));
    box_.load(core::joinDevicePath(mainPath_, L"graphics2\\checkbox_off.tga"));
    flag_.load(core::joinDevicePath(mainPath_, L"graphics2\\flag.tga"));
    setModel(&model_);
}

void PackingView::setRows(std::vector<PackingViewRow> rows, bool overview, bool greyTicked) {
    overview_ = overview;
    greyTicked_ = greyTicked;
    model_.setRows(std::move(rows));
    if (currentRow() == 0 && rowCount() > 0)
        selectRow(1, false);
    invalidate();
}

int PackingView::rowOfItem(int index) const {
    for (int row = 1; row <= model_.rowCount(); ++row) {
        const PackingViewRow& r = model_.row(row);
        if (r.kind == PackingViewRow::Kind::Item && r.index == index)
            return row;
    }
    return 0;
}

int PackingView::rowHeight() const {
    return (overview_ ? kOverviewRowHeight : kItemRowHeight) * ui::layoutUnit();
}

Rect PackingView::rowRect(int row) const {
    Rect rows = rowsRect();
    int top = rows.top + (row - firstVisibleRow()) * rowHeight();
    Rect line{rows.left, top, rows.right, top + rowHeight()};
    if (row < firstVisibleRow() || row > rowCount() || line.top >= rows.bottom)
        return {};
    line.bottom = std::min(line.bottom, rows.bottom);
    return line;
}

Rect PackingView::tickZone(const Rect& line) const {
    return {line.left, line.top, line.left + kFlagColumn * ui::layoutUnit(), line.bottom};
}

Rect PackingView::flagZone(const Rect& line) const {
    return {line.right - kFlagColumn * ui::layoutUnit(), line.top, line.right, line.bottom};
}

bool PackingView::pointer(std::uint32_t message, WParam keys, Point point) {
    if (message == wm::LButtonDown && !overview_ && onMark) {
        for (int row = firstVisibleRow(); row <= rowCount(); ++row) {
            Rect line = rowRect(row);
            if (line.isEmpty())
                break;
            if (!line.contains(point) || model_.row(row).kind != PackingViewRow::Kind::Item)
                continue;
            bool onTick = tickZone(line).contains(point);
            bool onFlag = flagZone(line).contains(point);
            if (!onTick && !onFlag)
                break;
            selectRow(row, true);
            onMark(row, onFlag);
            return true;
        }
    }
    return ui::ListControl::pointer(message, keys, point);
}

bool PackingView::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    bool handled = ui::ListControl::key(message, keyCode, flags);
    if (!handled || overview_ || message != wm::KeyDown ||
        (keyCode != vk::Up && keyCode != vk::Down))
        return handled;
    int row = currentRow();
    if (row < 1 || model_.row(row).kind != PackingViewRow::Kind::Heading)
        return handled;
    // Past a heading in the direction of travel; at the top, back to the first item.
    int next = keyCode == vk::Down || row == 1 ? row + 1 : row - 1;
    if (next >= 1 && next <= rowCount())
        selectRow(next, true);
    return handled;
}

worldtime::RowMark& PackingView::icon(const std::wstring& file) {
    auto [it, added] = icons_.try_emplace(file);
    if (added && !file.empty() && file.find_first_of(L"\\/") == std::wstring::npos)
        it->second.load(core::joinDevicePath(mainPath_, L"listicons\\" + file));
    return it->second;
}

void PackingView::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const PackingViewRow& r = model_.row(row);
    if (r.kind == PackingViewRow::Kind::Overview)
        drawOverviewRow(dc, line, r, current);
    else
        drawItemRow(dc, line, r, current);
}

void PackingView::drawOverviewRow(DeviceContext& dc, const Rect& line, const PackingViewRow& r,
                                  bool current) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    dc.fillRect(line, current ? t.mainColour : ui::kPanelColour);
    dc.fillRect({line.left, line.bottom - 1, line.right, line.bottom}, kSeparatorColour);
    int size = kIconSize * unit;
    int left = line.left + 4 * unit;
    icon(r.icon).draw(dc, left, line.top + (line.height() - size) / 2, size, false);
    left += size + 6 * unit;
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    int middle = line.top + line.height() / 2;
    if (r.detail.empty()) {
        ui::drawClippedText(dc, r.title, {left, line.top, line.right - 3 * unit, line.bottom},
                            dt::Left | kLine, main, ui::smallFont(true));
        return;
    }
    ui::drawClippedText(dc, r.title, {left, line.top + 2 * unit, line.right - 3 * unit, middle},
                        dt::Left | kLine, main, ui::smallFont(true));
    ui::drawClippedText(dc, r.detail, {left, middle, line.right - 3 * unit, line.bottom - 2 * unit},
                        dt::Left | kLine, secondary, ui::smallFont());
}

void PackingView::drawItemRow(DeviceContext& dc, const Rect& line, const PackingViewRow& r,
                              bool current) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    bool heading = r.kind == PackingViewRow::Kind::Heading;
    Colour background = current ? t.mainColour : heading ? kHeadingColour : ui::kPanelColour;
    dc.fillRect(line, background);
    dc.fillRect({line.left, line.bottom - 1, line.right, line.bottom}, kSeparatorColour);
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    if (heading) {
        ui::drawClippedText(dc, r.title, {line.left + 4 * unit, line.top, line.right, line.bottom},
                            dt::Left | kLine, current ? main : t.mainColour, ui::smallFont(true));
        return;
    }
    int mark = kMarkSize * unit;
    Rect tick = tickZone(line);
    int markLeft = tick.left + (tick.width() - mark) / 2;
    int markTop = line.top + (line.height() - mark) / 2;
    // The empty box stays under the tick, so a packed item reads as a ticked box.
    box_.draw(dc, markLeft, markTop, mark, false);
    if (r.ticked)
        tick_.draw(dc, markLeft, markTop, mark, false);
    Rect flag = flagZone(line);
    if (r.flagged)
        flag_.draw(dc, flag.left + (flag.width() - mark) / 2, markTop, mark, false);
    Colour text = current || !r.ticked || !greyTicked_ ? main : kPackedTextColour;
    ui::drawClippedText(dc, r.title, {tick.right + 2 * unit, line.top, flag.left, line.bottom},
                        dt::Left | kLine, text, ui::smallFont(r.flagged));
}

}  // namespace travel
