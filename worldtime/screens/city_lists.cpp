#include "worldtime/screens/city_lists.h"

#include <algorithm>

#include "gfx/blend.h"
#include "gfx/drawing.h"
#include "gfx/graphics_state.h"
#include "gfx/resample.h"
#include "gfx/theme.h"
#include "ui/control_paint.h"
#include "ui/module.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr Colour kSecondLineColour = 0x606060;
constexpr std::uint32_t kOneLine =
    dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;

int fontHeight(bool bold) {
    auto* gs = gfx::graphicsState();
    if (!gs) {
        DeviceContext local;
        return gfx::textHeight(local, nullptr);
    }
    return gfx::textHeight(gs->drawingDc(), ui::smallFont(bold));
}

std::wstring picturePath(std::wstring_view mainPath, std::wstring_view file) {
    std::wstring path(mainPath);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + L"graphics2\\" + std::wstring(file);
}

constexpr std::uint32_t kWrapped = dt::Left | dt::WordBreak | dt::NoPrefix;

// The height of text broken into lines at the given width.
int wrappedHeight(DeviceContext& dc, std::wstring_view text, int width, const FontRef& font) {
    FontRef previous = dc.selectFont(font);
    Rect needed{0, 0, width, 0};
    dc.drawText(text, needed, kWrapped | dt::CalcRect);
    dc.selectFont(previous);
    return needed.height();
}

// The coordinates (the first two lines) side by side, then whatever follows them.
std::vector<std::wstring> coordinatesSideBySide(const std::vector<std::wstring>& lines) {
    if (lines.size() < 2)
        return lines;
    std::vector<std::wstring> out{lines[0] + L"   " + lines[1]};
    out.insert(out.end(), lines.begin() + 2, lines.end());
    return out;
}

std::wstring joinedLines(const std::vector<std::wstring>& lines) {
    std::wstring out;
    for (const auto& line : lines) out += (out.empty() ? L"" : L"\n") + line;
    return out;
}

}  // namespace

void RowMark::load(std::wstring_view devicePath) {
    source_.reset();
    size_ = 0;
    if (gfx::loadTarga(devicePath, source_) != gfx::TargaStatus::Loaded)
        source_.reset();
}

void RowMark::draw(DeviceContext& dc, int x, int y, int size, bool faded) {
    if (!source_ || size <= 0)
        return;
    if (size != size_) {
        full_ = gfx::resampleTarga(*source_, size, size);
        faded_ = full_;
        // resampleTarga answers four bytes a pixel; halving alpha halves the opacity.
        for (std::size_t i = 3; i < faded_.pixels.size(); i += 4) faded_.pixels[i] /= 2;
        size_ = size;
    }
    const gfx::TargaPixels& picture = faded ? faded_ : full_;
    if (picture.width > 0)
        gfx::drawTarga(dc, picture, x, y);
}

std::wstring cityTitle(std::wstring_view name, std::wstring_view country,
                       std::wstring_view region) {
    std::wstring title(name);
    if (!region.empty() && region != name) {
        title += L", ";
        title += region;
    }
    if (!country.empty()) {
        title += L", ";
        title += country;
    }
    return title;
}

int cityRowHeight() {
    return fontHeight(true) + fontHeight(false) + 6 * ui::layoutUnit();
}

void drawCityRow(DeviceContext& dc, const Rect& line, std::wstring_view title,
                 std::wstring_view zoneName, bool current, RowMark& mark, bool faded,
                 const gfx::Theme& theme) {
    int unit = ui::layoutUnit();
    if (current)
        dc.fillRect(line, theme.mainColour);
    int markSize = std::min(16 * unit, line.height() - 4 * unit);
    mark.draw(dc, line.left + 3 * unit, line.top + (line.height() - markSize) / 2, markSize, faded);
    int textLeft = line.left + 6 * unit + markSize;
    int top = line.top + 3 * unit;
    int firstHeight = fontHeight(true);
    Colour first = current ? theme.selectedTextColour : ui::kPanelTextColour;
    Colour second = current ? theme.selectedTextColour : kSecondLineColour;
    ui::drawClippedText(dc, title, Rect{textLeft, top, line.right - 2 * unit, top + firstHeight},
                        kOneLine, first, ui::smallFont(true));
    ui::drawClippedText(dc, zoneName,
                        Rect{textLeft, top + firstHeight, line.right - 2 * unit, line.bottom},
                        kOneLine, second, ui::smallFont(false));
}

void CityListModel::setDatabase(CityDatabase* database) {
    database_ = database;
    rowsChanged();
}

int CityListModel::rowCount() const {
    return database_ ? database_->shownCount() : 0;
}

std::wstring CityListModel::rowText(int row) const {
    if (!database_)
        return {};
    return cityTitle(database_->shownField(row, cityField::Name),
                     database_->shownField(row, cityField::Country));
}

int CityListModel::currentRow() const {
    return database_ ? database_->selection() : 0;
}

void CityListModel::setCurrentRow(int row) {
    if (database_)
        database_->setSelection(row);
}

CityListControl::CityListControl(std::wstring_view mainPath) {
    mark_.load(picturePath(mainPath, L"flag.tga"));
    setModel(&cities_);
}

void CityListControl::setDatabase(CityDatabase* database) {
    cities_.setDatabase(database);
    showRow(currentRow());
}

void CityListControl::refresh() {
    cities_.rowsChanged();
    showRow(currentRow());
}

int CityListControl::rowHeight() const {
    return cityRowHeight();
}

void CityListControl::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const CityDatabase* database = cities_.database();
    if (!database)
        return;
    std::wstring zone = zoneDisplayName(readInt(database->shownField(row, cityField::Zone)));
    drawCityRow(dc, line, cities_.rowText(row), zone, current, mark_,
                !database->shownIsFavourite(row), theme());
}

ResultListControl::ResultListControl(std::wstring_view mainPath) {
    ticked_.load(picturePath(mainPath, L"checkbox_on.tga"));
    unticked_.load(picturePath(mainPath, L"checkbox_off.tga"));
}

bool ResultListControl::toggle(int row) {
    core::RecordTable* results = table();
    if (!results || row < 1 || row > results->rowCount())
        return false;
    results->setField(row, cityField::Favourite, isTicked(*results, row) ? L"0" : L"1");
    invalidate();
    return true;
}

int ResultListControl::rowHeight() const {
    return cityRowHeight();
}

int ResultListControl::tickBoxRight() const {
    return rowsRect().left + 6 * ui::layoutUnit() + 16 * ui::layoutUnit();
}

bool ResultListControl::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (keyCode == vk::Return || keyCode == vk::Space) {
        if (message == wm::KeyDown)
            toggle(currentRow());
        return rowCount() > 0;
    }
    return ui::ListControl::key(message, keyCode, flags);
}

bool ResultListControl::pointer(std::uint32_t message, WParam keys, Point point) {
    int was = currentRow();
    bool onRows = message == wm::LButtonDown && rowCount() > 0 && rowsRect().contains(point) &&
                  !(hasScrollBar() && scrollBar().zoneAt(point) != ui::scrollZone::None);
    bool handled = ui::ListControl::pointer(message, keys, point);
    if (onRows && (point.x < tickBoxRight() || currentRow() == was))
        toggle(currentRow());
    return handled;
}

void ResultListControl::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const core::RecordTable& results = *table();
    std::wstring title = rowTitle(row);
    std::wstring zone = zoneDisplayName(cityZone(results, row));
    bool on = isTicked(results, row);
    drawCityRow(dc, line, title, zone, current, on ? ticked_ : unticked_, false, theme());
}

std::wstring ResultListControl::rowTitle(int row) const {
    if (!table() || row < 1 || row > table()->rowCount())
        return {};
    const core::RecordTable& results = *table();
    std::wstring_view code = results.fieldText(row, cityField::Code);
    return cityTitle(results.fieldText(row, cityField::Name),
                     results.fieldText(row, cityField::Country),
                     database_ && !code.empty() ? database_->region(code) : std::wstring_view());
}

void CityDetailPanel::setTexts(std::wstring title, std::vector<std::wstring> lines) {
    if (title == title_ && lines == lines_)
        return;
    title_ = std::move(title);
    lines_ = std::move(lines);
    invalidate();
}

void CityDetailPanel::paint(DeviceContext& dc, const Rect&) {
    int unit = ui::layoutUnit();
    dc.fillRect(rect, ui::kPanelColour);
    dc.frameRect(rect, ui::kFrameColour);
    Rect inner{rect.left + 4 * unit, rect.top + 2 * unit, rect.right - 4 * unit,
               rect.bottom - 2 * unit};
    if (title_.empty() && lines_.empty())
        return;
    ui::ClipScope clip(dc, inner);
    // The name over the lines, each wrapped to the panel's width; when they do not fit, the
    // coordinates share a line.
    const int boldHeight = fontHeight(true);
    const FontRef& font = ui::smallFont(false);
    for (const auto& lines : {lines_, coordinatesSideBySide(lines_)}) {
        std::wstring body = joinedLines(lines);
        if (boldHeight + wrappedHeight(dc, body, inner.width(), font) > inner.height())
            continue;
        ui::drawClippedText(dc, title_,
                            Rect{inner.left, inner.top, inner.right, inner.top + boldHeight},
                            kOneLine, ui::kPanelTextColour, ui::smallFont(true));
        ui::drawClippedText(dc, body,
                            Rect{inner.left, inner.top + boldHeight, inner.right, inner.bottom},
                            kWrapped, ui::kPanelTextColour, font);
        return;
    }
    // Still too low: one line each without the name, which the list shows anyway.
    const int lineHeight = fontHeight(false);
    int top = inner.top;
    for (const auto& line : coordinatesSideBySide(lines_)) {
        ui::drawClippedText(dc, line, Rect{inner.left, top, inner.right, top + lineHeight},
                            kOneLine, ui::kPanelTextColour, font);
        top += lineHeight;
    }
}

BusyIndicator::BusyIndicator(std::wstring_view mainPath) : mainPath_(mainPath) {
    isFocusable = false;
    for (int i = 0; i < 4; ++i) {
        frames_[static_cast<std::size_t>(i)].load(
            gfx::themePath(mainPath_, L"scheduler" + std::to_wstring(i + 1) + L".tga"));
    }
}

void BusyIndicator::animate(bool busy, std::uintptr_t timerId, std::uint32_t intervalMs) {
    reset();
    show(busy, true);
    ui::ModuleHost* owner = host();
    platform::WindowHandle window = owner ? owner->mainWindow() : 0;
    if (!window)
        return;
    if (busy)
        platform::setTimer(window, timerId, intervalMs);
    else
        platform::killTimer(window, timerId);
}

void BusyIndicator::step() {
    frame_ = (frame_ + 1) % 4;
    invalidate();
}

void BusyIndicator::paint(DeviceContext& dc, const Rect&) {
    int size = std::min(rect.width(), rect.height());
    frames_[static_cast<std::size_t>(frame_)].draw(dc, rect.left + (rect.width() - size) / 2,
                                                   rect.top + (rect.height() - size) / 2, size,
                                                   false);
}

}  // namespace worldtime
