#include "ui/drop_down.h"

#include "gfx/colours.h"
#include "ui/control_paint.h"
#include "ui/module.h"
#include "ui/popup_list.h"

namespace ui {

using namespace platform;

DropDown::DropDown() = default;

DropDown::~DropDown() = default;

void DropDown::setTable(core::RecordTable* table) {
    // The pop-up shows the table being replaced; it must not outlive it.
    if (popup_)
        popup_->tableReplaced();
    ownedTable_.reset();
    table_ = table;
    invalidate();
}

void DropDown::adoptTable(std::unique_ptr<core::RecordTable> table) {
    setTable(table.get());
    ownedTable_ = std::move(table);
}

std::wstring DropDown::shownText() const {
    if (!table_ || table_->currentRow() == 0)
        return kPlaceholder;
    return std::wstring(table_->fieldText(table_->currentRow(), labelField_));
}

bool DropDown::isPopupOpen() const {
    return popup_ && popup_->isOpen();
}

void DropDown::openPopup() {
    if (!isEnabled || !owner || !table_ || table_->rowCount() == 0 || isPopupOpen())
        return;
    if (!popup_)
        popup_ = std::make_unique<PopupList>(*this);
    popup_->show();
}

void DropDown::pressed() {
    if (owner && owner->controlPressed(*this))
        return;
    openPopup();
}

void DropDown::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    dc.fillRect(rect, kPanelColour);
    int button = std::min(rect.height(), 16 * layoutUnit());
    Rect arrow{rect.right - button, rect.top, rect.right, rect.bottom};
    dc.fillRect(arrow, gfx::lightenColour(t.mainColour, 60));
    drawArrow(dc, arrow, ArrowDirection::Down, 0xFFFFFF);
    bool placeholder = !table_ || table_->currentRow() == 0;
    Rect text{rect.left + 3 * layoutUnit(), rect.top, arrow.left - 2 * layoutUnit(), rect.bottom};
    drawClippedText(dc, shownText(), text,
                    dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis,
                    placeholder || !isEnabled ? kDisabledTextColour : kPanelTextColour,
                    smallFont());
    dc.frameRect(rect, kFrameColour);
    if (hasFocus())
        drawFocusFrame(dc, rect, t);
}

bool DropDown::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Return)
        return false;
    if (message == wm::KeyDown && isEnabled)
        pressed();
    return true;
}

bool DropDown::pointer(std::uint32_t message, WParam, Point) {
    if (message != wm::LButtonUp || !isEnabled)
        return message == wm::LButtonDown;
    pressed();
    return true;
}

}  // namespace ui
