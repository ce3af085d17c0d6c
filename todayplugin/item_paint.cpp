// Painting the item: the Today background, the selection highlight, the home icon or the busy
// animation, the tab strip and the current layout's objects, into a bitmap that the host copies
// to the screen in one piece.

#include <algorithm>

#include "gfx/blend.h"
#include "todayplugin/home_item.h"

namespace todayplugin {

using platform::Point;
using platform::Rect;

Rect HomeItem::panelRect() const {
    Rect client = host_.clientRect();
    if (model_.hasTabs())
        client.top = std::min(client.bottom, model_.tabHeight);
    return client;
}

// The highlight at hilite x 0.7 percent: none when negative, solid above 100.
void HomeItem::paintHighlight(platform::Bitmap& target, const Rect& area) const {
    double percent = model_.hilite * 0.7;
    if (model_.hilite < 0 || area.isEmpty())
        return;
    int alpha = model_.hilite > 100 ? 255 : static_cast<int>(percent * 255.0 / 100.0);
    gfx::tintDib(&target, highlight_, area.left, area.top, area.width(), area.height(),
                 std::clamp(alpha, 0, 255), false);
}

void HomeItem::paintTabs(platform::DeviceContext& dc, Point origin) {
    int count = model_.tabCount();
    bool lit = highlighted();
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    for (int i = 0; i < count; ++i) {
        Rect r = tabRect(i).offset(origin.x, origin.y);
        // Tabs are listed newest first; tab i + 1 is the one whose id says so.
        const home::TabDefinition* tab = model_.tab(i + 1);
        bool current = i + 1 == currentTab_;
        if (current && lit)
            paintHighlight(*dc.bitmap(), r);
        dc.line(r.left, r.top, r.left, r.bottom, lines_);
        if (i + 1 < count)
            dc.line(r.right - 1, r.top, r.right - 1, r.bottom, lines_);
        if (!current)
            dc.line(r.left, r.bottom - 1, r.right, r.bottom - 1, lines_);
        if (!tab)
            continue;
        dc.selectFont(fontFor(tab->font));
        dc.setTextColour(current && lit ? highlightedText_ : text_);
        dc.drawText(tab->caption, r,
                    platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine |
                        platform::dt::EndEllipsis);
    }
}

void HomeItem::paint(platform::Bitmap& target) {
    Rect client{0, 0, target.width(), target.height()};
    host_.drawWatermark(target, client);
    platform::DeviceContext dc;
    auto shared = std::shared_ptr<platform::Bitmap>(&target, [](platform::Bitmap*) {});
    dc.selectBitmap(shared);
    Point origin{client.left, client.top};
    if (highlighted())
        paintHighlight(target, panelRect());
    const gfx::TargaPixels* icon =
        busyFrame_ > 0 && busyFrame_ <= static_cast<int>(busyImages_.size())
            ? busyImages_[busyFrame_ - 1].get()
            : homeIcon_.get();
    if (icon)
        gfx::drawTarga(dc, *icon, origin.x + scale_, origin.y + scale_);
    if (model_.hasTabs())
        paintTabs(dc, origin);
    paintObjects(dc, origin);
    dc.selectBitmap(nullptr);
}

}  // namespace todayplugin
