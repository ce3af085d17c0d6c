// The item's objects: their data gathered through the home data, and the picture painted by
// the home layout painter over the Today screen's background, into a bitmap that the host
// copies to the screen in one piece.

#include "platform/api/clock.h"
#include "todayplugin/home_item.h"

namespace todayplugin {

void HomeItem::refreshObjects(bool force) {
    const home::Layout* layout = currentLayout();
    if (!layout) {
        content_.clear();
        return;
    }
    content_ = data_.gather(*layout, platform::deviceUtcFileTime(), force);
}

void HomeItem::paint(platform::Bitmap& target) {
    platform::Rect client{0, 0, target.width(), target.height()};
    host_.drawWatermark(target, client);
    const home::Layout* layout = currentLayout();
    if (!layout || content_.size() != layout->objects.size())
        return;  // an empty item shows the Today screen alone
    platform::DeviceContext dc;
    dc.selectBitmap(std::shared_ptr<platform::Bitmap>(&target, [](platform::Bitmap*) {}));
    home::PaintState state;
    state.currentTab = currentTab_;
    state.mode = static_cast<int>(mode_);
    state.focused = focus_;
    state.busyFrame = busyFrame_;
    state.clockFace = clockFace_;
    painter_.paint(dc, client, model_, *layout_, content_, state, colours_,
                   platform::deviceUtcFileTime());
    dc.selectBitmap(nullptr);
}

}  // namespace todayplugin
