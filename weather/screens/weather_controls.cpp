#include "weather/screens/weather_controls.h"

#include <algorithm>

#include "gfx/theme.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace weather {

using namespace platform;

namespace {

constexpr std::uint32_t kLine =
    dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;
constexpr std::uint32_t kWrapped = dt::Left | dt::WordBreak | dt::NoPrefix;
constexpr Colour kChosenColour = 0xFFE8C8;
constexpr Colour kMapBackground = 0xF4F4F4;

Rect shrink(const Rect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// The largest rectangle of the picture's shape that fits inside the area, centred.
Rect fitInside(const Rect& area, int width, int height) {
    if (width <= 0 || height <= 0 || area.isEmpty())
        return {};
    long long w = area.width();
    long long h = w * height / width;
    if (h > area.height()) {
        h = area.height();
        w = h * width / height;
    }
    int left = area.left + static_cast<int>((area.width() - w) / 2);
    int top = area.top + static_cast<int>((area.height() - h) / 2);
    return rectOfSize(left, top, static_cast<int>(w), static_cast<int>(h));
}

}  // namespace

// ModeButton

void ModeButton::setPictures(std::wstring_view picture, std::wstring_view overlay) {
    picture_.load(picture);
    overlay_.load(overlay);
}

void ModeButton::setChosen(bool chosen) {
    if (chosen == chosen_)
        return;
    chosen_ = chosen;
    invalidate();
}

void ModeButton::focus(bool gained, bool redraw) {
    ui::Control::focus(gained, redraw);
    if (gained && onFocus)
        onFocus(*this);
}

void ModeButton::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    ui::drawButtonFace(dc, rect, t, isPressed());
    if (chosen_)
        dc.fillRect(shrink(rect, 2 * ui::layoutUnit()), kChosenColour);
    int size = std::min(rect.width(), rect.height()) - 4 * ui::layoutUnit();
    int x = rect.left + (rect.width() - size) / 2;
    int y = rect.top + (rect.height() - size) / 2;
    picture_.draw(dc, x, y, size, false);
    overlay_.draw(dc, x, y, size, false);
    if (chosen_)
        ui::drawThickFrame(dc, rect, t.mainColour, ui::layoutUnit());
    if (hasFocus())
        ui::drawFocusFrame(dc, rect, t);
}

// ForecastRows

void ForecastRows::setRows(std::vector<ForecastRow> rows) {
    rows_ = std::move(rows);
    current_ = rows_.empty() ? 0 : 1;
    rowsChanged();
}

const ForecastRow* ForecastRows::row(int number) const {
    if (number < 1 || number > rowCount())
        return nullptr;
    return &rows_[static_cast<std::size_t>(number - 1)];
}

std::wstring ForecastRows::rowText(int number) const {
    const ForecastRow* r = row(number);
    return r ? r->temperature + L"  " + r->label : std::wstring();
}

// ForecastList

ForecastList::ForecastList() : ui::ListControl({.notify = true}) {
    setModel(&rows_);
}

void ForecastList::setRows(std::vector<ForecastRow> rows) {
    rows_.setRows(std::move(rows));
    scrollTo(1);
    invalidate();
}

void ForecastList::setEmptyText(std::wstring text) {
    emptyText_ = std::move(text);
    invalidate();
}

int ForecastList::rowHeight() const {
    return 21 * ui::layoutUnit();
}

RowMark& ForecastList::mark(const std::wstring& path) {
    auto [it, added] = marks_.try_emplace(path);
    if (added)
        it->second.load(path);
    return it->second;
}

void ForecastList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const ForecastRow* r = rows_.row(row);
    if (!r)
        return;
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    if (current)
        dc.fillRect(line, t.mainColour);
    int size = line.height() - 2 * unit;
    mark(r->iconPath).draw(dc, line.left + 2 * unit, line.top + unit, size, false);
    Colour colour = current ? t.selectedTextColour : ui::kPanelTextColour;
    int left = line.left + size + 6 * unit;
    int split = left + std::max(40 * unit, (line.width() - size) * 2 / 5);
    ui::drawClippedText(dc, r->temperature, {left, line.top, split, line.bottom}, kLine, colour,
                        ui::smallFont(true));
    ui::drawClippedText(dc, r->label, {split + 2 * unit, line.top, line.right - unit, line.bottom},
                        kLine, colour, ui::smallFont());
}

void ForecastList::paint(DeviceContext& dc, const Rect& invalid) {
    if (rowCount() > 0 || emptyText_.empty()) {
        ui::ListControl::paint(dc, invalid);
        return;
    }
    // No rows: the reason in place of the toolkit's own "no data" line.
    dc.fillRect(rect, ui::kPanelColour);
    Rect inner = shrink(rect, 4 * ui::layoutUnit());
    ui::drawClippedText(dc, emptyText_, inner, dt::Center | dt::WordBreak | dt::NoPrefix,
                        ui::kDisabledTextColour, ui::smallFont());
    dc.frameRect(rect, ui::kFrameColour);
    if (hasFocus())
        ui::drawFocusFrame(dc, rect, theme());
}

// SummaryLine

void SummaryLine::setText(std::wstring_view text) {
    if (text == text_)
        return;
    text_ = text;
    invalidate();
}

void SummaryLine::paint(DeviceContext& dc, const Rect&) {
    dc.fillRect(rect, ui::kPanelColour);
    int unit = ui::layoutUnit();
    Rect inner{rect.left + 3 * unit, rect.top + unit, rect.right - 3 * unit, rect.bottom - unit};
    ui::drawClippedText(dc, text_, inner, kWrapped | dt::EndEllipsis, ui::kPanelTextColour,
                        ui::smallFont());
    dc.frameRect(rect, ui::kFrameColour);
    if (hasFocus())
        ui::drawFocusFrame(dc, rect, theme());
}

// ConditionsPanel

ConditionsPanel::ConditionsPanel(std::wstring_view mainPath) {
    std::wstring folder = std::wstring(mainPath) + L"graphics2\\";
    left_.load(folder + L"select_left.tga");
    right_.load(folder + L"select_right.tga");
}

void ConditionsPanel::setContent(std::wstring iconPath, std::vector<std::wstring> lines,
                                 bool canStep) {
    if (iconPath != iconPath_) {
        iconPath_ = std::move(iconPath);
        icon_.load(iconPath_);
    }
    lines_ = std::move(lines);
    canStep_ = canStep;
    invalidate();
}

Rect ConditionsPanel::leftArrow() const {
    int size = 16 * ui::layoutUnit();
    return rectOfSize(rect.left + 2, rect.bottom - size - 2, size, size);
}

Rect ConditionsPanel::rightArrow() const {
    int size = 16 * ui::layoutUnit();
    return rectOfSize(rect.right - size - 2, rect.bottom - size - 2, size, size);
}

bool ConditionsPanel::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Left && keyCode != vk::Right && keyCode != vk::Return)
        return false;
    if (!canStep_)
        return false;
    if (message == wm::KeyDown && onStep)
        onStep(keyCode == vk::Left ? -1 : 1);
    return true;
}

bool ConditionsPanel::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown || !canStep_ || !hasFocus() || !onStep)
        return false;
    if (leftArrow().contains(point)) {
        onStep(-1);
        return true;
    }
    if (rightArrow().contains(point)) {
        onStep(1);
        return true;
    }
    return false;
}

void ConditionsPanel::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    dc.fillRect(rect, ui::kPanelColour);
    Rect text = shrink(rect, 3 * unit);
    // The picture stands at the top left; the lines beside it move left once they are below it.
    int iconBottom = text.top;
    int iconRight = text.left;
    if (!iconPath_.empty()) {
        int size = std::min(32 * unit, std::min(rect.width(), rect.height()) / 2);
        icon_.draw(dc, text.left, text.top, size, false);
        iconBottom = text.top + size;
        iconRight = text.left + size + 4 * unit;
    }
    int top = text.top;
    for (std::size_t i = 0; i < lines_.size() && top < text.bottom; ++i) {
        Rect line{top < iconBottom ? iconRight : text.left, top, text.right, text.bottom};
        // The first line is the headline; the longest (pressure and wind) may take two lines.
        const platform::FontRef& font = ui::smallFont(i == 0);
        Rect need = line;
        dc.selectFont(font);
        dc.drawText(lines_[i], need, kWrapped | dt::CalcRect);
        line.bottom = std::min(text.bottom, line.top + need.height());
        ui::drawClippedText(dc, lines_[i], line, kWrapped | dt::EndEllipsis, ui::kPanelTextColour,
                            font);
        top = line.bottom;
    }
    dc.frameRect(rect, ui::kFrameColour);
    if (hasFocus()) {
        ui::drawFocusFrame(dc, rect, t);
        if (canStep_) {
            Rect l = leftArrow();
            Rect r = rightArrow();
            left_.draw(dc, l.left, l.top, l.width(), false);
            right_.draw(dc, r.left, r.top, r.width(), false);
        }
    }
}

// MapPanel

void MapPanel::setPicture(gfx::Dib picture, std::wstring caption) {
    picture_ = std::move(picture);
    text_ = std::move(caption);
    invalidate();
}

void MapPanel::setText(std::wstring text) {
    picture_.reset();
    text_ = std::move(text);
    invalidate();
}

Rect MapPanel::pictureRect() const {
    if (!picture_)
        return {};
    int captionHeight = 16 * ui::layoutUnit();
    Rect area{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - captionHeight};
    return fitInside(area, picture_->width(), picture_->height());
}

void MapPanel::paint(DeviceContext& dc, const Rect&) {
    dc.fillRect(rect, kMapBackground);
    int unit = ui::layoutUnit();
    if (picture_) {
        Rect target = pictureRect();
        DeviceContext source;
        source.selectBitmap(picture_);
        dc.stretchBlit(target, source, rectOfSize(0, 0, picture_->width(), picture_->height()));
        source.selectBitmap(nullptr);
        Rect caption{rect.left + 3 * unit, target.bottom, rect.right - 3 * unit, rect.bottom};
        ui::drawClippedText(dc, text_, caption, dt::Center | kLine, ui::kPanelTextColour,
                            ui::smallFont());
    } else {
        Rect inner = shrink(rect, 6 * unit);
        ui::drawClippedText(dc, text_, inner, dt::Center | kWrapped, ui::kPanelTextColour,
                            ui::smallFont());
    }
    dc.frameRect(rect, ui::kFrameColour);
}

}  // namespace weather
