#include "alarms/screens/day_boxes.h"

#include "core/language.h"
#include "gfx/display_metrics.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace alarms {

using namespace platform;

namespace {

constexpr int kMondayString = 621;
// Layout pixels: the rightmost box's centre lies this far from the right edge, and the
// boxes are this far apart.
constexpr int kRightInset = 17;
constexpr int kSpacing = 19;
constexpr int kBoxSize = 13;

}  // namespace

DayBoxes::DayBoxes() = default;

void DayBoxes::setMask(int mask) {
    mask_ = mask & 127;
    invalidate();
}

void DayBoxes::setSingleChoice(bool single) {
    singleChoice_ = single;
    invalidate();
}

Rect DayBoxes::boxRect(int box) const {
    int unit = ui::layoutUnit();
    int centreX = rect.right - (kRightInset + (7 - box) * kSpacing) * unit;
    int size = kBoxSize * unit;
    int bottom = rect.bottom - 2 * unit;
    return {centreX - size / 2, bottom - size, centreX - size / 2 + size, bottom};
}

void DayBoxes::toggle(int box) {
    if (box < 1 || box > 7 || !isEnabled)
        return;
    int bit = 1 << (box - 1);
    if (singleChoice_)
        mask_ = bit;
    else
        mask_ ^= bit;
    focusedBox_ = box;
    invalidate();
    if (owner)
        owner->controlChanged(*this);
}

void DayBoxes::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    for (int box = 1; box <= 7; ++box) {
        Rect b = boxRect(box);
        Rect name{b.left - 4 * unit, rect.top, b.right + 4 * unit, b.top - unit};
        // Two letters of the day's name fit over a box ("Mo", "Tu").
        std::wstring day = core::languageString(kMondayString + box - 1).substr(0, 2);
        ui::drawClippedText(dc, day, name, dt::Center | dt::Bottom | dt::SingleLine | dt::NoPrefix,
                            isEnabled ? t.textColour : ui::kDisabledTextColour, ui::smallFont());
        dc.fillRect(b, ui::kPanelColour);
        dc.frameRect(b, ui::kFrameColour);
        if (mask_ & (1 << (box - 1))) {
            Rect tick{b.left + 3 * unit, b.top + 3 * unit, b.right - 3 * unit, b.bottom - 3 * unit};
            dc.fillRect(tick, t.mainColour);
        }
        if (hasFocus() && box == focusedBox_) {
            Rect frame{b.left - 2 * unit, b.top - 2 * unit, b.right + 2 * unit,
                       b.bottom + 2 * unit};
            ui::drawFocusFrame(dc, frame, t);
        }
    }
}

bool DayBoxes::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Left && keyCode != vk::Right && keyCode != vk::Return)
        return false;
    if (message != wm::KeyDown)
        return true;
    if (keyCode == vk::Return) {
        toggle(focusedBox_);
        return true;
    }
    focusedBox_ = keyCode == vk::Right ? focusedBox_ % 7 + 1 : (focusedBox_ + 5) % 7 + 1;
    invalidate();
    return true;
}

bool DayBoxes::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown)
        return true;
    int unit = ui::layoutUnit();
    for (int box = 1; box <= 7; ++box) {
        Rect b = boxRect(box);
        // The whole column above a box (its name too) counts, with a little room around it.
        Rect hit{b.left - 3 * unit, rect.top, b.right + 3 * unit, rect.bottom};
        if (hit.contains(point)) {
            toggle(box);
            return true;
        }
    }
    return true;
}

}  // namespace alarms
