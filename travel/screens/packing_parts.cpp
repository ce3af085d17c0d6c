#include "travel/screens/packing_parts.h"

#include <algorithm>

#include "core/language.h"
#include "core/record_table.h"
#include "core/text_case.h"
#include "ui/control_paint.h"

namespace travel {

using namespace platform;

namespace {

namespace text {
constexpr int Items = 561, Packed = 564, ToPack = 565, Marked = 566;
}

// Layout pixels.
constexpr int kTitleHeight = 30;
constexpr int kSummaryHeight = 28;
constexpr int kIconSize = 24;
constexpr int kIconGap = 5;
constexpr Colour kSummaryColour = 0xFFFFFF;
constexpr Colour kSummaryLabelColour = 0x505050;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;

std::wstring iconPath(const std::wstring& mainPath, const std::wstring& file) {
    if (file.empty() || file.find_first_of(L"\\/") != std::wstring::npos)
        return {};
    return core::joinDevicePath(mainPath, L"listicons\\" + file);
}

}  // namespace

PackingHeading::PackingHeading(std::wstring mainPath) : mainPath_(std::move(mainPath)) {
    isFocusable = false;
}

int PackingHeading::heightFor(bool withSummary) {
    return kTitleHeight + (withSummary ? kSummaryHeight : 0);
}

void PackingHeading::set(std::wstring title, std::wstring icon,
                         std::optional<PackingSummary> summary) {
    if (icon != iconFile_) {
        iconFile_ = std::move(icon);
        icon_ = {};
        if (auto path = iconPath(mainPath_, iconFile_); !path.empty())
            icon_.load(path);
    }
    title_ = std::move(title);
    summary_ = summary;
    invalidate();
}

void PackingHeading::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    Rect band{rect.left, rect.top, rect.right, rect.top + kTitleHeight * unit};
    dc.fillRect(band, t.mainColour);
    int size = kIconSize * unit;
    int left = band.left + 4 * unit;
    if (!iconFile_.empty()) {
        icon_.draw(dc, left, band.top + (band.height() - size) / 2, size, false);
        left += size + 6 * unit;
    }
    ui::drawClippedText(dc, title_, {left, band.top, band.right - 4 * unit, band.bottom},
                        dt::Left | kLine, t.selectedTextColour, ui::smallFont(true));
    if (!summary_)
        return;
    // Four cells: the label small above its number.
    Rect cells{rect.left, band.bottom, rect.right, band.bottom + kSummaryHeight * unit};
    dc.fillRect(cells, kSummaryColour);
    dc.fillRect({cells.left, cells.bottom - unit, cells.right, cells.bottom}, t.mainColour);
    const int labels[4] = {text::Items, text::Packed, text::ToPack, text::Marked};
    const int values[4] = {summary_->items, summary_->packed, summary_->items - summary_->packed,
                           summary_->marked};
    int width = cells.width() / 4;
    int middle = cells.top + cells.height() / 2;
    for (int i = 0; i < 4; ++i) {
        int x = cells.left + i * width;
        Rect label{x + 2 * unit, cells.top + unit, x + width - 2 * unit, middle};
        Rect value{x + 2 * unit, middle, x + width - 2 * unit, cells.bottom - 2 * unit};
        ui::drawClippedText(dc, core::languageString(labels[i]), label, dt::Center | kLine,
                            kSummaryLabelColour, ui::smallFont());
        ui::drawClippedText(dc, std::to_wstring(values[i]), value, dt::Center | kLine,
                            ui::kPanelTextColour, ui::smallFont(true));
    }
}

IconChooser::IconChooser(std::wstring mainPath) : mainPath_(std::move(mainPath)) {}

void IconChooser::setIcons(std::vector<std::wstring> icons) {
    icons_ = std::move(icons);
    for (const std::wstring& icon : icons_) {
        auto [it, added] = marks_.try_emplace(icon);
        if (added)
            it->second.load(iconPath(mainPath_, icon));
    }
    chosen_ = std::clamp(chosen_, 0, std::max(0, static_cast<int>(icons_.size()) - 1));
    invalidate();
}

void IconChooser::choose(std::wstring_view file) {
    chosen_ = 0;
    for (std::size_t i = 0; i < icons_.size(); ++i) {
        if (core::equalsIgnoringCase(icons_[i], file))
            chosen_ = static_cast<int>(i);
    }
    invalidate();
}

std::wstring IconChooser::chosen() const {
    return icons_.empty() ? std::wstring() : icons_[static_cast<std::size_t>(chosen_)];
}

Rect IconChooser::iconRect(int index) const {
    int unit = ui::layoutUnit();
    int step = (kIconSize + 2 * kIconGap) * unit;
    int perRow = std::max(1, rect.width() / step);
    int x = rect.left + (index % perRow) * step;
    int y = rect.top + (index / perRow) * step;
    return {x, y, x + step, y + step};
}

void IconChooser::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    int size = kIconSize * unit;
    for (std::size_t i = 0; i < icons_.size(); ++i) {
        Rect cell = iconRect(static_cast<int>(i));
        if (cell.bottom > rect.bottom)
            break;
        bool chosen = static_cast<int>(i) == chosen_;
        dc.fillRect(cell, chosen ? t.mainColour : ui::kPanelColour);
        if (chosen && hasFocus())
            ui::drawFocusFrame(dc, cell, t);
        else
            ui::drawThickFrame(dc, cell, chosen ? t.mainColour : ui::kFrameColour, unit);
        marks_[icons_[i]].draw(dc, cell.left + (cell.width() - size) / 2,
                               cell.top + (cell.height() - size) / 2, size, false);
    }
}

bool IconChooser::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (message != wm::KeyDown || icons_.empty())
        return false;
    int count = static_cast<int>(icons_.size());
    if (keyCode == vk::Left)
        chosen_ = (chosen_ + count - 1) % count;
    else if (keyCode == vk::Right)
        chosen_ = (chosen_ + 1) % count;
    else
        return false;
    invalidate();
    return true;
}

bool IconChooser::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown)
        return false;
    for (std::size_t i = 0; i < icons_.size(); ++i) {
        if (iconRect(static_cast<int>(i)).contains(point)) {
            chosen_ = static_cast<int>(i);
            invalidate();
            return true;
        }
    }
    return false;
}

}  // namespace travel
