// Message boxes: modal boxes drawn as screen layers that take all input while open. The
// stylus answers by releasing on the button it pressed; keys move between the buttons and
// answer with Enter, Back, or the first letter of Yes, No and OK.

#include <optional>
#include <string>
#include <vector>

#include "platform/shell/message_box_icons.h"
#include "platform/shell/message_box_layout.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

struct OpenBox {
    std::wstring text;
    std::wstring caption;
    std::uint32_t flags = 0;
    MessageBoxLayout layout;
    Size layoutScreen;  // the screen size the layout was made for
    int focus = 0;      // the button Enter answers
    int pressed = -1;   // the button the stylus went down on
    bool pressedInside = false;
    std::optional<int> answer;
    HeldInput held;
};

std::vector<OpenBox*>& openBoxes() {
    static auto* boxes = new std::vector<OpenBox*>();
    return *boxes;
}

// Lays the box out again after a rotation.
void refreshLayout(OpenBox& box) {
    if (box.layoutScreen == screenSize())
        return;
    box.layoutScreen = screenSize();
    box.layout = layOutMessageBox(box.text, box.flags);
}

int buttonAt(const OpenBox& box, Point p) {
    for (std::size_t i = 0; i < box.layout.buttons.size(); ++i) {
        if (box.layout.buttons[i].rect.contains(p))
            return static_cast<int>(i);
    }
    return -1;
}

bool hasAnswer(const OpenBox& box, int answer) {
    for (const auto& b : box.layout.buttons) {
        if (b.answer == answer)
            return true;
    }
    return false;
}

// Back answers the button that declines: Cancel, else No, else OK.
int declineAnswer(const OpenBox& box) {
    if (hasAnswer(box, id::Cancel))
        return id::Cancel;
    if (hasAnswer(box, id::No))
        return id::No;
    return id::Ok;
}

void answerIfPresent(OpenBox& box, int answer) {
    if (hasAnswer(box, answer))
        box.answer = answer;
}

void onKey(OpenBox& box, std::uint32_t key) {
    int count = static_cast<int>(box.layout.buttons.size());
    switch (key) {
        case vk::Left:
        case vk::Up:
            box.focus = (box.focus + count - 1) % count;
            break;
        case vk::Right:
        case vk::Down:
        case vk::Tab:
            box.focus = (box.focus + 1) % count;
            break;
        case vk::Return:
            box.answer = box.layout.buttons[static_cast<std::size_t>(box.focus)].answer;
            break;
        case vk::Escape:
            box.answer = declineAnswer(box);
            break;
        case vk::LetterA + ('Y' - 'A'):
            answerIfPresent(box, id::Yes);
            break;
        case vk::LetterA + ('N' - 'A'):
            answerIfPresent(box, id::No);
            break;
        case vk::LetterA + ('O' - 'A'):
            answerIfPresent(box, id::Ok);
            break;
        default:
            break;
    }
}

void onPointer(OpenBox& box, const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    int at = buttonAt(box, e.position);
    if (e.kind == Kind::PointerDown) {
        box.pressed = at;
        box.pressedInside = at >= 0;
        if (at >= 0)
            box.focus = at;
    } else if (e.kind == Kind::PointerMove) {
        box.pressedInside = box.pressed >= 0 && at == box.pressed;
    } else {
        if (box.pressed >= 0 && at == box.pressed) {
            box.answer = box.layout.buttons[static_cast<std::size_t>(at)].answer;
        }
        box.pressed = -1;
        box.pressedInside = false;
    }
}

bool onInput(OpenBox& box, const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    if (box.answer) {
        box.held.hold(e);
        return true;
    }
    if (box.held.isOwnKeyFollowUp(e))
        return true;
    refreshLayout(box);
    switch (e.kind) {
        case Kind::KeyDown:
            onKey(box, e.key);
            break;
        case Kind::PointerDown:
        case Kind::PointerMove:
        case Kind::PointerUp:
            onPointer(box, e);
            break;
        case Kind::CloseRequest:
            return false;  // the windows hear of it; the box stays until answered
        default:
            break;  // key releases and characters stop here too
    }
    gui::markScreenChanged(box.layout.box);
    return true;
}

void drawButton(DeviceContext& dc, const MessageBoxButton& b, bool focused, bool pressed) {
    if (pressed) {
        fillVerticalGradient(dc, b.rect, rgb(50, 120, 210), colour::Highlight);
    } else {
        fillVerticalGradient(dc, b.rect, rgb(252, 252, 252), rgb(218, 222, 230));
    }
    dc.frameRect(b.rect, focused ? colour::Highlight : rgb(120, 124, 136));
    if (focused) {
        Rect inner{b.rect.left + 1, b.rect.top + 1, b.rect.right - 1, b.rect.bottom - 1};
        dc.frameRect(inner, pressed ? rgb(120, 170, 235) : rgb(110, 160, 225));
    }
    dc.setTextColour(pressed ? colour::HighlightText : colour::Text);
    dc.drawText(b.label, b.rect, dt::SingleLine | dt::Center | dt::VCenter | dt::NoPrefix);
}

void paintBox(DeviceContext& dc, const OpenBox& box) {
    const MessageBoxLayout& l = box.layout;
    dc.fillRect(l.box, colour::PanelFace);
    dc.frameRect(l.box, colour::PanelFrame);
    fillBar(dc, l.caption);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    FontRef oldFont = dc.selectFont(shellFont(12, true));
    dc.setTextColour(colour::BarText);
    Rect captionText{l.caption.left + scaled(6), l.caption.top, l.caption.right - scaled(6),
                     l.caption.bottom};
    dc.drawText(box.caption, captionText,
                dt::SingleLine | dt::VCenter | dt::NoPrefix | dt::EndEllipsis);
    drawMessageBoxIcon(dc, l.icon, box.flags);
    dc.selectFont(shellFont(12));
    dc.setTextColour(colour::Text);
    Rect text = l.text;
    Rect oldClip = dc.clip();
    dc.setClip(text.intersect(oldClip));
    dc.drawText(box.text, text, dt::WordBreak | dt::NoPrefix);
    dc.setClip(oldClip);
    dc.selectFont(shellFont(12, true));
    for (std::size_t i = 0; i < l.buttons.size(); ++i) {
        int index = static_cast<int>(i);
        drawButton(dc, l.buttons[i], index == box.focus, index == box.pressed && box.pressedInside);
    }
    dc.selectFont(oldFont);
}

}  // namespace

std::vector<MessageBoxButton> openMessageBoxButtons() {
    if (openBoxes().empty())
        return {};
    refreshLayout(*openBoxes().back());
    return openBoxes().back()->layout.buttons;
}

}  // namespace platform::shell

namespace platform {

using namespace shell;

int messageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption,
               std::uint32_t flags) {
    (void)owner;  // boxes are owner-less: they stay over every window until answered
    OpenBox box;
    box.text = text;
    box.caption = caption;
    box.flags = flags;
    refreshLayout(box);
    openBoxes().push_back(&box);
    // The program waits for the user now, not for itself: the busy indicator would only
    // cover the box.
    bool wasBusy = isWaitCursorShown();
    if (wasBusy)
        setWaitCursor(false);

    gui::ScreenLayer layer;
    layer.z = z::MessageBoxes + static_cast<int>(openBoxes().size());
    layer.paint = [&box](DeviceContext& dc) {
        refreshLayout(box);
        paintBox(dc, box);
    };
    layer.input = [&box](const gui::InputEvent& e) { return onInput(box, e); };
    layer.area = [&box] {
        refreshLayout(box);
        return box.layout.box;
    };
    int layerId = gui::addScreenLayer(std::move(layer));

    bool running = runModal([&box] { return box.answer.has_value(); });
    int answer = running ? *box.answer : declineAnswer(box);

    gui::removeScreenLayer(layerId);
    std::erase(openBoxes(), &box);
    if (wasBusy)
        setWaitCursor(true);
    box.held.putBack();
    return answer;
}

}  // namespace platform
