#include "conversions/screens/conversion_list.h"

#include "gfx/blend.h"
#include "ui/control_paint.h"

namespace conversions {

using namespace platform;

namespace {

constexpr int kValueRowHeight = 30, kChartRowHeight = 17, kChooserRowHeight = 20;
constexpr Colour kSeparatorColour = 0xD8D8D8;
constexpr Colour kSecondaryTextColour = 0x606060;
constexpr Colour kHeadingColour = 0xE8E8E8;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;

}  // namespace

void ConversionListModel::showValues(std::vector<ListRow> rows, bool temperature) {
    shows_ = ListShows::Values;
    temperature_ = temperature;
    values_ = std::move(rows);
    current_ = values_.empty() ? 0 : 1;
    rowsChanged();
}

void ConversionListModel::showChart(std::vector<ChartRow> rows) {
    shows_ = ListShows::Chart;
    chart_ = std::move(rows);
    current_ = chart_.size() > 1 ? 2 : (chart_.empty() ? 0 : 1);
    rowsChanged();
}

void ConversionListModel::showChooser(std::vector<ChooserRow> rows) {
    shows_ = ListShows::Chooser;
    chooser_ = std::move(rows);
    current_ = chooser_.empty() ? 0 : 1;
    rowsChanged();
}

int ConversionListModel::rowCount() const {
    switch (shows_) {
        case ListShows::Values:
            return static_cast<int>(values_.size());
        case ListShows::Chart:
            return static_cast<int>(chart_.size());
        case ListShows::Chooser:
            return static_cast<int>(chooser_.size());
    }
    return 0;
}

std::wstring ConversionListModel::rowText(int row) const {
    auto i = static_cast<std::size_t>(row - 1);
    switch (shows_) {
        case ListShows::Values:
            return values_[i].value + L" " + values_[i].symbol;
        case ListShows::Chart:
            return chart_[i][0];
        case ListShows::Chooser:
            return chooser_[i].key;
    }
    return {};
}

ConversionList::ConversionList() : ui::ListControl(ui::ListOptions{}) {
    setModel(&model_);
}

void ConversionList::setPictures(gfx::TargaPixels ticked, gfx::TargaPixels unticked) {
    ticked_ = std::move(ticked);
    unticked_ = std::move(unticked);
}

int ConversionList::rowHeight() const {
    int height = kValueRowHeight;
    if (model_.shows() == ListShows::Chart)
        height = kChartRowHeight;
    else if (model_.shows() == ListShows::Chooser)
        height = kChooserRowHeight;
    return height * ui::layoutUnit();
}

bool ConversionList::pointer(std::uint32_t message, WParam keys, Point point) {
    bool handled = ui::ListControl::pointer(message, keys, point);
    if (message != wm::LButtonDown || !onEdgeTap || model_.shows() == ListShows::Chart)
        return handled;
    Rect rows = rowsRect();
    int row = currentRow();
    if (!rows.contains(point) || row < 1)
        return handled;
    if (point.x < rows.left + rowHeight())
        onEdgeTap(row, true);
    else if (point.x >= rows.right - rowHeight() && model_.shows() == ListShows::Values)
        onEdgeTap(row, false);
    return true;
}

void ConversionList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    if (row < 1 || row > model_.rowCount())
        return;
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    bool heading = model_.shows() == ListShows::Chart && row == 1;
    if (current && !heading) {
        dc.fillRect(line, t.mainColour);
    } else if (heading) {
        dc.fillRect(line, kHeadingColour);
    } else {
        dc.fillRect(Rect{line.left + 4 * unit, line.bottom - 1, line.right - 4 * unit, line.bottom},
                    kSeparatorColour);
    }
    auto i = static_cast<std::size_t>(row - 1);
    switch (model_.shows()) {
        case ListShows::Values:
            drawValue(dc, line, model_.values()[i], current);
            break;
        case ListShows::Chart:
            drawChartRow(dc, line, row, current);
            break;
        case ListShows::Chooser:
            drawChooserRow(dc, line, model_.chooser()[i], current);
            break;
    }
}

void ConversionList::drawValue(DeviceContext& dc, const Rect& line, const ListRow& row,
                               bool current) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    int middle = line.top + line.height() / 2;
    // The keypad's corner on the left, the chooser's arrow on the right.
    int edge = rowHeight();
    // A small keypad: three rows of three keys.
    Colour keys = current ? t.selectedTextColour : t.mainColour;
    int cell = 4 * unit, gap = 1 * unit;
    int padLeft = line.left + (edge - 3 * cell - 2 * gap) / 2;
    int padTop = line.top + (line.height() - 3 * cell - 2 * gap) / 2;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            int x = padLeft + c * (cell + gap), y = padTop + r * (cell + gap);
            dc.fillRect(Rect{x, y, x + cell, y + cell}, keys);
        }
    }
    int right = line.right;
    if (!model_.temperature()) {
        Rect arrow{line.right - edge + 9 * unit, middle - 5 * unit, line.right - 9 * unit,
                   middle + 5 * unit};
        ui::drawArrow(dc, arrow, ui::ArrowDirection::Right, secondary);
        right = line.right - edge;
    }
    int left = line.left + edge;
    Rect top{left, line.top + 1 * unit, right, middle};
    Rect bottom{left, middle, right, line.bottom - 1 * unit};
    ui::drawClippedText(dc, row.value + L" " + row.symbol, top, dt::Left | kLine, main,
                        ui::smallFont(true));
    std::wstring below = model_.temperature() ? row.name : row.key + L" - " + row.name;
    ui::drawClippedText(dc, below, bottom, dt::Left | kLine, secondary, ui::smallFont());
}

void ConversionList::drawChartRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const ChartRow& sizes = model_.chart()[static_cast<std::size_t>(row - 1)];
    bool heading = row == 1;
    Colour colour = current && !heading ? theme().selectedTextColour : ui::kPanelTextColour;
    // A chart keeps its column count from its heading row.
    const ChartRow& head = model_.chart().front();
    int columns = 0;
    for (const std::wstring& size : head) columns += size.empty() ? 0 : 1;
    if (columns == 0)
        columns = 1;
    int width = line.width() / columns;
    for (int c = 0; c < columns; ++c) {
        Rect cell{line.left + c * width, line.top, line.left + (c + 1) * width, line.bottom};
        ui::drawClippedText(dc, sizes[static_cast<std::size_t>(c)], cell, dt::Center | kLine,
                            colour, ui::smallFont(heading));
    }
}

void ConversionList::drawChooserRow(DeviceContext& dc, const Rect& line, const ChooserRow& row,
                                    bool current) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    int box = 12 * unit;
    int edge = rowHeight();
    Rect tick{line.left + (edge - box) / 2, line.top + (line.height() - box) / 2, 0, 0};
    tick.right = tick.left + box;
    tick.bottom = tick.top + box;
    const gfx::TargaPixels& picture = row.ticked ? ticked_ : unticked_;
    if (picture.width > 0) {
        gfx::drawTargaScaled(dc, picture, tick.left, tick.top, box, box);
    } else {
        dc.fillRect(tick, 0xFFFFFF);
        if (row.ticked)
            dc.fillRect(Rect{tick.left + 3 * unit, tick.top + 3 * unit, tick.right - 3 * unit,
                             tick.bottom - 3 * unit},
                        0x202020);
    }
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Rect text{line.left + edge, line.top, line.right - 2 * unit, line.bottom};
    ui::drawClippedText(dc, row.key + L" - " + row.name, text, dt::Left | kLine, main,
                        ui::smallFont(row.ticked));
}

}  // namespace conversions
