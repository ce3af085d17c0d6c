#include "travel/screens/flight_detail_view.h"

#include "ui/control_paint.h"

namespace travel {

using namespace platform;

namespace {

constexpr int kLineHeight = 13;  // layout pixels
constexpr int kLabelWidth = 78;
constexpr Colour kHeadingBand = 0xE8E8E8;
constexpr Colour kLabelColour = 0x505050;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;

}  // namespace

FlightDetailView::FlightDetailView() {
    isFocusable = false;
}

void FlightDetailView::setFile(FlightFile file) {
    file_ = std::move(file);
    flight_ = 0;
    scroll_ = 0;
    loaded_ = true;
    lines_ = flightDetail(file_, flight_);
    invalidate();
}

void FlightDetailView::clear() {
    file_ = FlightFile{};
    lines_.clear();
    flight_ = scroll_ = 0;
    loaded_ = false;
    invalidate();
}

bool FlightDetailView::step(int by) {
    const int count = file_.flightCount();
    if (count < 2)
        return false;
    flight_ = ((flight_ + by) % count + count) % count;
    scroll_ = 0;
    lines_ = flightDetail(file_, flight_);
    invalidate();
    return true;
}

int FlightDetailView::lineHeight() const {
    return kLineHeight * ui::layoutUnit();
}

int FlightDetailView::totalLines() const {
    return static_cast<int>(lines_.size()) + (file_.flightCount() > 0 ? 1 : 0);
}

int FlightDetailView::linesFitting() const {
    return std::max(1, rect.height() / lineHeight());
}

void FlightDetailView::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid) || !loaded_)
        return;
    const gfx::Theme& t = theme();
    const int unit = ui::layoutUnit();
    const int height = lineHeight();
    dc.fillRect(rect, ui::kPanelColour);
    ui::ClipScope clip(dc, rect);

    // The title line, then the detail lines, from the scrolled-to line on.
    std::vector<const FlightDetailLine*> shown;
    FlightDetailLine title{flightTitle(file_, flight_), {}, true};
    if (file_.flightCount() > 0)
        shown.push_back(&title);
    for (const FlightDetailLine& line : lines_) shown.push_back(&line);
    int y = rect.top;
    for (std::size_t i = static_cast<std::size_t>(scroll_); i < shown.size(); ++i) {
        if (y + height > rect.bottom)
            break;
        const FlightDetailLine& line = *shown[i];
        Rect row{rect.left + 4 * unit, y, rect.right - 4 * unit, y + height};
        if (&line == &title) {
            ui::drawClippedText(dc, line.label, row, dt::Center | kLine, t.mainColour,
                                ui::smallFont(true));
            if (file_.flightCount() > 1) {
                ui::drawArrow(dc, Rect{row.left, row.top, row.left + height, row.bottom},
                              ui::ArrowDirection::Left, t.mainColour);
                ui::drawArrow(dc, Rect{row.right - height, row.top, row.right, row.bottom},
                              ui::ArrowDirection::Right, t.mainColour);
            }
        } else if (line.heading) {
            dc.fillRect(Rect{rect.left, y, rect.right, y + height}, kHeadingBand);
            ui::drawClippedText(dc, line.label, row, dt::Left | kLine, ui::kPanelTextColour,
                                ui::smallFont(true));
        } else if (line.label.empty()) {
            ui::drawClippedText(dc, line.value, row, dt::Left | kLine, ui::kPanelTextColour,
                                ui::smallFont(true));
        } else {
            Rect label{row.left, row.top, row.left + kLabelWidth * unit, row.bottom};
            Rect value{label.right, row.top, row.right, row.bottom};
            ui::drawClippedText(dc, line.label, label, dt::Left | kLine, kLabelColour,
                                ui::smallFont());
            ui::drawClippedText(dc, line.value, value, dt::Left | kLine, ui::kPanelTextColour,
                                ui::smallFont());
        }
        y += height;
    }
    if (scroll_ + linesFitting() < totalLines() || scroll_ > 0) {
        Rect mark{rect.right - 10 * unit, rect.bottom - 10 * unit, rect.right - 2 * unit,
                  rect.bottom - 2 * unit};
        ui::drawArrow(dc, mark,
                      scroll_ > 0 && scroll_ + linesFitting() >= totalLines()
                          ? ui::ArrowDirection::Up
                          : ui::ArrowDirection::Down,
                      t.mainColour);
    }
}

bool FlightDetailView::pointer(std::uint32_t message, WParam, Point point) {
    if (!rect.contains(point))
        return false;
    if (message != wm::LButtonDown)
        return true;
    const int height = lineHeight();
    // The arrows of the title line step through the flights.
    if (scroll_ == 0 && point.y < rect.top + height && file_.flightCount() > 1) {
        if (point.x < rect.left + 2 * height)
            step(-1);
        else if (point.x > rect.right - 2 * height)
            step(1);
        return true;
    }
    // Elsewhere a tap shows the lines that did not fit, and then the top again.
    const int fitting = linesFitting();
    if (totalLines() > fitting) {
        scroll_ = scroll_ + fitting >= totalLines()
                      ? 0
                      : std::min(scroll_ + fitting - 1, totalLines() - fitting);
        invalidate();
    }
    return true;
}

bool SavedFlightList::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if ((keyCode == vk::Left || keyCode == vk::Right) && onSideways) {
        if (message == wm::KeyDown)
            onSideways(keyCode == vk::Right ? 1 : -1);
        return true;
    }
    return ui::ListControl::key(message, keyCode, flags);
}

}  // namespace travel
