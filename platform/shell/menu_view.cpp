// Drawing and placing pop-up menu panels: a white panel with a dark frame, items of one line,
// a check column on the left and a sub-menu arrow on the right.

#include <algorithm>

#include "platform/shell/menu_model.h"
#include "platform/shell/menu_view.h"

namespace platform::shell {
namespace {

// Metrics at scale 1.
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kFrame = 1;
constexpr int kPadding = 2;  // between the frame and the first and last items
constexpr int kCheckColumn = 18;
constexpr int kTextRightGap = 10;
constexpr int kArrowColumn = 10;
constexpr int kMinimumWidth = 80;
constexpr int kFontSize = 12;

Size measure(MenuHandle menu, std::vector<int>& heights) {
    const auto* items = menuItems(menu);
    DeviceContext dc;
    dc.selectFont(shellFont(kFontSize));
    int textWidth = 0;
    bool anyPopup = false;
    int height = 2 * scaled(kFrame + kPadding);
    for (const MenuItem& item : items ? *items : std::vector<MenuItem>{}) {
        int h = scaled(item.isSeparator() ? kSeparatorHeight : kItemHeight);
        heights.push_back(h);
        height += h;
        if (item.isSeparator())
            continue;
        Rect r{0, 0, 10000, 1000};
        dc.drawText(item.text, r, dt::SingleLine | dt::CalcRect);
        textWidth = std::max(textWidth, r.width());
        anyPopup = anyPopup || item.isPopup();
    }
    int width = scaled(kFrame + kCheckColumn) + textWidth + scaled(kTextRightGap + kFrame) +
                (anyPopup ? scaled(kArrowColumn) : 0);
    int maxWidth = screenSize().width;
    return {std::clamp(width, scaled(kMinimumWidth), maxWidth), height};
}

MenuPanel layOut(MenuHandle menu, Point topLeft) {
    std::vector<int> heights;
    Size size = measure(menu, heights);
    MenuPanel panel;
    panel.menu = menu;
    panel.rect = rectOfSize(topLeft.x, topLeft.y, size.width, size.height);
    int y = topLeft.y + scaled(kFrame + kPadding);
    for (int h : heights) {
        panel.itemRects.push_back(
            {topLeft.x + scaled(kFrame), y, topLeft.x + size.width - scaled(kFrame), y + h});
        y += h;
    }
    return panel;
}

// Keeps a coordinate range [start, start + length) inside [0, limit).
int fitInto(int start, int length, int limit) {
    return std::clamp(start, 0, std::max(0, limit - length));
}

void drawCheckMark(DeviceContext& dc, const Rect& column, Colour c) {
    double s = scale();
    double cx = column.left + column.width() / 2.0, cy = column.top + column.height() / 2.0;
    dc.antialiasedLine(cx - 4 * s, cy, cx - 1.5 * s, cy + 3 * s, c, 1.8 * s);
    dc.antialiasedLine(cx - 1.5 * s, cy + 3 * s, cx + 4 * s, cy - 3.5 * s, c, 1.8 * s);
}

void drawItem(DeviceContext& dc, const MenuItem& item, const Rect& r, bool highlighted) {
    if (item.isSeparator()) {
        int y = r.top + r.height() / 2;
        dc.fillRect(Rect{r.left + scaled(4), y, r.right - scaled(4), y + scale()},
                    colour::Separator);
        return;
    }
    if (highlighted)
        dc.fillRect(r, colour::Highlight);
    Colour text = !item.isEnabled() ? colour::GreyText
                  : highlighted     ? colour::HighlightText
                                    : colour::Text;
    if (item.isChecked()) {
        drawCheckMark(dc, Rect{r.left, r.top, r.left + scaled(kCheckColumn), r.bottom}, text);
    }
    dc.setTextColour(text);
    Rect textRect{r.left + scaled(kCheckColumn), r.top, r.right - scaled(kArrowColumn), r.bottom};
    dc.drawText(item.text, textRect, dt::SingleLine | dt::VCenter | dt::Left | dt::EndEllipsis);
    if (item.isPopup()) {
        fillTriangleRight(dc,
                          {r.right - scaled(kArrowColumn) / 2 - scale(), r.top + r.height() / 2},
                          scaled(4), text);
    }
}

}  // namespace

MenuPanel placeMenuPanel(MenuHandle menu, Point anchor, MenuAnchor corner) {
    MenuPanel panel = layOut(menu, {0, 0});
    Size size{panel.rect.width(), panel.rect.height()};
    Size screen = screenSize();
    int x = corner == MenuAnchor::BottomRight ? anchor.x - size.width : anchor.x;
    int y = corner == MenuAnchor::TopLeft ? anchor.y : anchor.y - size.height;
    // A context menu that would leave the screen opens towards the other side of the point.
    if (corner == MenuAnchor::TopLeft) {
        if (x + size.width > screen.width && anchor.x - size.width >= 0)
            x = anchor.x - size.width;
        if (y + size.height > screen.height && anchor.y - size.height >= 0) {
            y = anchor.y - size.height;
        }
    }
    x = fitInto(x, size.width, screen.width);
    y = fitInto(y, size.height, screen.height);
    return layOut(menu, {x, y});
}

MenuPanel placeSubMenuPanel(MenuHandle menu, const MenuPanel& parent, int item) {
    MenuPanel panel = layOut(menu, {0, 0});
    Size size{panel.rect.width(), panel.rect.height()};
    Size screen = screenSize();
    const Rect& from = parent.itemRects[static_cast<std::size_t>(item)];
    // Beside the parent, sharing its frame line, with the first item level with the opener;
    // on the left when the right side has no room.
    int x = parent.rect.right - scaled(kFrame);
    if (x + size.width > screen.width)
        x = parent.rect.left - size.width + scaled(kFrame);
    int y = from.top - scaled(kFrame + kPadding);
    x = fitInto(x, size.width, screen.width);
    y = fitInto(y, size.height, screen.height);
    panel = layOut(menu, {x, y});
    panel.openedFrom = item;
    return panel;
}

void paintMenuPanel(DeviceContext& dc, const MenuPanel& panel) {
    const auto* items = menuItems(panel.menu);
    dc.fillRect(panel.rect, colour::PanelFace);
    dc.frameRect(panel.rect, colour::PanelFrame);
    if (!items)
        return;
    dc.setBackgroundMode(BackgroundMode::Transparent);
    FontRef oldFont = dc.selectFont(shellFont(kFontSize));
    for (std::size_t i = 0; i < items->size() && i < panel.itemRects.size(); ++i) {
        drawItem(dc, (*items)[i], panel.itemRects[i], static_cast<int>(i) == panel.highlight);
    }
    dc.selectFont(oldFont);
}

int menuItemAt(const MenuPanel& panel, Point p) {
    for (std::size_t i = 0; i < panel.itemRects.size(); ++i) {
        if (panel.itemRects[i].contains(p))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace platform::shell
