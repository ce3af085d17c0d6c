#include "updates/screens/filter_check_list.h"

#include <algorithm>

#include "gfx/blend.h"
#include "gfx/display_metrics.h"
#include "ui/control_paint.h"
#include "ui/module.h"
#include "updates/screens/page_button.h"

namespace updates {
namespace {

constexpr int kRowHeight = 18;  // layout pixels; rows shrink to fit down to kMinRowHeight
constexpr int kMinRowHeight = 16;

int scaled(int v) {
    return static_cast<int>(v * gfx::displayMetrics().scaleX);
}

}  // namespace

FilterCheckList::FilterCheckList(std::wstring_view mainPath)
    : on_(loadPicture(mainPath, L"graphics2\\checkbox_on.tga")),
      off_(loadPicture(mainPath, L"graphics2\\checkbox_off.tga")) {}

void FilterCheckList::setRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    focusRow_ = std::clamp(focusRow_, 0, std::max(0, static_cast<int>(rows_.size()) - 1));
    invalidate();
}

void FilterCheckList::setMask(int mask) {
    mask_ = mask;
    invalidate();
}

void FilterCheckList::toggle(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    mask_ ^= rows_[row].bit;
    focusRow_ = row;
    invalidate();
    if (owner)
        owner->controlChanged(*this);
}

// As many rows as fit one above the other; the rest go into further columns.
int FilterCheckList::rowsPerColumn() const {
    int count = std::max(1, static_cast<int>(rows_.size()));
    int fit = std::max(1, rect.height() / scaled(kMinRowHeight));
    int columns = (count + fit - 1) / fit;
    return (count + columns - 1) / columns;
}

platform::Rect FilterCheckList::rowRect(int row) const {
    int perColumn = rowsPerColumn();
    int columns = (static_cast<int>(rows_.size()) + perColumn - 1) / perColumn;
    int width = rect.width() / std::max(1, columns);
    int height = std::min(scaled(kRowHeight), rect.height() / perColumn);
    int left = rect.left + (row / perColumn) * width;
    int top = rect.top + (row % perColumn) * height;
    return {left, top, left + width, top + height};
}

void FilterCheckList::paint(platform::DeviceContext& dc, const platform::Rect&) {
    const gfx::Theme& look = theme();
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        platform::Rect r = rowRect(i);
        int box = std::min(r.height() - scaled(2), scaled(14));
        platform::Rect boxRect{r.left + scaled(2), r.top + (r.height() - box) / 2,
                               r.left + scaled(2) + box, r.top + (r.height() - box) / 2 + box};
        const auto& picture = (mask_ & rows_[i].bit) ? on_ : off_;
        if (picture) {
            gfx::drawTargaScaled(dc, *picture, boxRect.left, boxRect.top, box, box);
        } else {
            dc.frameRect(boxRect, look.textColour);
            if (mask_ & rows_[i].bit)
                dc.fillRect({boxRect.left + scaled(3), boxRect.top + scaled(3),
                             boxRect.right - scaled(3), boxRect.bottom - scaled(3)},
                            look.textColour);
        }
        platform::Rect text{boxRect.right + scaled(4), r.top, r.right - scaled(2), r.bottom};
        ui::drawClippedText(dc, rows_[i].label, text,
                            platform::dt::Left | platform::dt::VCenter | platform::dt::SingleLine |
                                platform::dt::EndEllipsis | platform::dt::NoPrefix,
                            look.textColour, ui::smallFont(false));
        if (hasFocus() && i == focusRow_)
            ui::drawFocusFrame(dc, r, look);
    }
}

bool FilterCheckList::key(std::uint32_t message, std::uint32_t keyCode, platform::LParam) {
    if (message != platform::wm::KeyDown)
        return false;
    int last = static_cast<int>(rows_.size()) - 1;
    switch (keyCode) {
        case platform::vk::Up:
            if (focusRow_ <= 0)
                return false;
            --focusRow_;
            invalidate();
            return true;
        case platform::vk::Down:
            if (focusRow_ >= last)
                return false;
            ++focusRow_;
            invalidate();
            return true;
        case platform::vk::Return:
            toggle(focusRow_);
            return true;
        default:
            return false;
    }
}

bool FilterCheckList::pointer(std::uint32_t message, platform::WParam, platform::Point point) {
    if (message != platform::wm::LButtonDown)
        return false;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        if (rowRect(i).contains(point)) {
            toggle(i);
            return true;
        }
    }
    return false;
}

}  // namespace updates
