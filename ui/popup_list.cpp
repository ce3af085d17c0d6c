#include "ui/popup_list.h"

#include "gfx/colours.h"
#include "gfx/drawing.h"
#include "ui/control_paint.h"
#include "ui/drop_down.h"
#include "ui/module.h"

namespace ui {

using namespace platform;

PopupList::PopupList(DropDown& dropDown)
    : Overlay(*dropDown.host()),
      dropDown_(dropDown),
      list_(std::make_unique<ListControl>(ListOptions{false, false, true})) {
    // The list lives outside the module's control list but paints, captures the stylus and
    // repeats through the module like its controls.
    list_->owner = dropDown.owner;
    list_->onActivate = [this](ListControl&, int) {
        confirm();
        return true;
    };
}

PopupList::~PopupList() {
    // The list goes before the overlay closes; it must not hold the stylus any more.
    if (list_->owner && list_->owner->captureControl() == list_.get()) {
        list_->owner->setCaptureControl(nullptr);
    }
}

Rect PopupList::listArea() const {
    Rect client = clientRect(host().mainWindow());
    int margin = 4 * layoutUnit();
    return {client.left + margin, client.top + margin, client.right - margin,
            client.bottom - margin};
}

void PopupList::show() {
    core::RecordTable* table = dropDown_.table();
    rowWhenOpened_ = table ? table->currentRow() : 0;
    list_->setTable(table);
    list_->place(listArea(), nullptr);
    list_->setDisplayField(dropDown_.labelField());
    list_->show(true, false);
    if (rowWhenOpened_ == 0 && list_->rowCount() > 0)
        list_->selectRow(1, false);
    open();
    host().invalidateAll(false);
}

void PopupList::paint(DeviceContext& dc, const Rect&) {
    Rect client = clientRect(host().mainWindow());
    const gfx::Theme& t = host().theme();
    gfx::gradientBar(dc, client.left, client.top, client.right, client.bottom,
                     gfx::lightenColour(t.mainColour, 40));
    list_->paint(dc, client);
    drawThickFrame(dc, list_->rect, t.mainColour, layoutUnit());
}

void PopupList::key(std::uint32_t message, std::uint32_t keyCode) {
    if (keyCode == vk::Tab)
        keyCode = vk::Down;
    list_->key(message, keyCode, 0);
}

void PopupList::pointer(std::uint32_t message, WParam keys, Point point) {
    bool captured = list_->owner && list_->owner->captureControl() == list_.get();
    if (captured || list_->rect.contains(point))
        list_->pointer(message, keys, point);
}

void PopupList::cancel() {
    if (core::RecordTable* table = dropDown_.table())
        table->setCurrentRow(rowWhenOpened_);
    closeList();
    dropDown_.invalidate();
}

void PopupList::confirm() {
    closeList();
    dropDown_.invalidate();
    if (dropDown_.owner)
        dropDown_.owner->controlChanged(dropDown_);
}

void PopupList::tableReplaced() {
    closeList();
}

void PopupList::closeList() {
    close();
    if (list_->owner && list_->owner->captureControl() == list_.get())
        list_->owner->setCaptureControl(nullptr);
    list_->setModel(nullptr);
}

}  // namespace ui
