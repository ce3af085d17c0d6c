// Message box geometry: a box nearly as wide as the screen, centred over the desktop, with a
// caption bar, an optional icon beside word-wrapped text, and a centred row of buttons.

#include <algorithm>

#include "platform/api/shell.h"
#include "platform/shell/message_box_layout.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

// Metrics at scale 1.
constexpr int kSideMargin = 8;
constexpr int kCaptionHeight = 22;
constexpr int kPadding = 10;
constexpr int kIconSize = 32;
constexpr int kButtonHeight = 24;
constexpr int kButtonMinWidth = 64;
constexpr int kButtonGap = 10;

std::vector<MessageBoxButton> buttonsFor(std::uint32_t flags) {
    switch (flags & 0xF) {
        case mb::OkCancel:
            return {{id::Ok, L"OK", {}}, {id::Cancel, L"Cancel", {}}};
        case 0x3:  // Yes, No and Cancel
            return {{id::Yes, L"Yes", {}}, {id::No, L"No", {}}, {id::Cancel, L"Cancel", {}}};
        case mb::YesNo:
            return {{id::Yes, L"Yes", {}}, {id::No, L"No", {}}};
        default:
            return {{id::Ok, L"OK", {}}};
    }
}

}  // namespace

MessageBoxLayout layOutMessageBox(std::wstring_view text, std::uint32_t flags) {
    MessageBoxLayout l;
    Size screen = screenSize();
    int bar = shellBarHeight();
    int width = screen.width - 2 * scaled(kSideMargin);
    bool hasIcon = (flags & 0xF0) != 0;
    int iconSize = hasIcon ? scaled(kIconSize) : 0;
    int textLeft = scaled(kPadding) + (hasIcon ? iconSize + scaled(kPadding) : 0);
    int textWidth = width - textLeft - scaled(kPadding);

    DeviceContext dc;
    dc.selectFont(shellFont(12));
    Rect measured{0, 0, textWidth, 0};
    dc.drawText(text, measured, dt::WordBreak | dt::NoPrefix | dt::CalcRect);
    // A box taller than the space between the bars keeps its buttons and cuts the text.
    int room = screen.height - 2 * bar - 2 * scaled(kPadding);
    int fixed = scaled(kCaptionHeight) + 3 * scaled(kPadding) + scaled(kButtonHeight) + 2;
    int contentHeight = std::min(std::max(measured.height(), iconSize), room - fixed);
    int height = fixed + contentHeight;

    int left = (screen.width - width) / 2;
    int top = bar + std::max(0, (screen.height - 2 * bar - height) / 2);
    l.box = rectOfSize(left, top, width, height);
    l.caption = {left + 1, top + 1, left + width - 1, top + 1 + scaled(kCaptionHeight)};
    int contentTop = l.caption.bottom + scaled(kPadding);
    if (hasIcon)
        l.icon = rectOfSize(left + scaled(kPadding), contentTop, iconSize, iconSize);
    // Short text sits level with the middle of the icon.
    int textTop = contentTop + std::max(0, (iconSize - measured.height()) / 2);
    l.text = {left + textLeft, textTop, left + textLeft + textWidth,
              std::min(textTop + measured.height(), contentTop + contentHeight)};

    l.buttons = buttonsFor(flags);
    dc.selectFont(shellFont(12, true));
    int buttonWidth = scaled(kButtonMinWidth);
    for (const auto& b : l.buttons) {
        buttonWidth = std::max(buttonWidth, dc.textExtent(b.label).width + scaled(20));
    }
    int count = static_cast<int>(l.buttons.size());
    int rowWidth = count * buttonWidth + (count - 1) * scaled(kButtonGap);
    int x = left + (width - rowWidth) / 2;
    int y = contentTop + contentHeight + scaled(kPadding);
    for (auto& b : l.buttons) {
        b.rect = rectOfSize(x, y, buttonWidth, scaled(kButtonHeight));
        x += buttonWidth + scaled(kButtonGap);
    }
    return l;
}

}  // namespace platform::shell
