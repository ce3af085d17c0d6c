// The input panel: a small on-screen keyboard above the menu bar. Its keys type through the
// program's input queue, as a hardware keyboard would.

#include <cwctype>
#include <string>
#include <vector>

#include "platform/gui/window_system.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

enum class KeyAction { Character, Backspace, Enter, Shift };

struct PanelKey {
    std::wstring label;
    KeyAction action = KeyAction::Character;
    wchar_t character = 0;
    int halfUnits = 2;  // widths in half keys; every row is 22 half keys wide
};

const std::vector<std::vector<PanelKey>>& keyRows() {
    static const auto* rows = [] {
        auto* r = new std::vector<std::vector<PanelKey>>(4);
        auto letters = [](std::vector<PanelKey>& row, std::wstring_view chars) {
            for (wchar_t c : chars) row.push_back({std::wstring(1, c), KeyAction::Character, c, 2});
        };
        letters((*r)[0], L"1234567890");
        (*r)[0].push_back({L"\u2190", KeyAction::Backspace, 0, 2});
        letters((*r)[1], L"qwertyuiop.");
        letters((*r)[2], L"asdfghjkl");
        (*r)[2].push_back({L"\u21b5", KeyAction::Enter, 0, 4});
        (*r)[3].push_back({L"\u21e7", KeyAction::Shift, 0, 3});
        letters((*r)[3], L"zxcvbnm,");
        (*r)[3].push_back({L"", KeyAction::Character, L' ', 3});
        return r;
    }();
    return *rows;
}

struct PanelState {
    int layer = 0;
    bool shift = false;
    bool tracking = false;  // the stylus went down on the panel and is not up yet
    int pressedRow = -1, pressedKey = -1;
    bool pressedInside = false;
};

PanelState& state() {
    static auto* s = new PanelState();
    return *s;
}

Rect keyRect(int row, int index) {
    Rect panel = sipInfo().sipRect;
    const auto& keys = keyRows()[static_cast<std::size_t>(row)];
    int rowTop = panel.top + panel.height() * row / 4;
    int rowBottom = panel.top + panel.height() * (row + 1) / 4;
    int before = 0;
    for (int i = 0; i < index; ++i) before += keys[static_cast<std::size_t>(i)].halfUnits;
    int after = before + keys[static_cast<std::size_t>(index)].halfUnits;
    return {panel.left + panel.width() * before / 22, rowTop,
            panel.left + panel.width() * after / 22, rowBottom};
}

std::pair<int, int> keyAt(Point p) {
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < static_cast<int>(keyRows()[static_cast<std::size_t>(row)].size());
             ++i) {
            if (keyRect(row, i).contains(p))
                return {row, i};
        }
    }
    return {-1, -1};
}

void paintPanel(DeviceContext& dc) {
    auto& st = state();
    Rect panel = sipInfo().sipRect;
    dc.fillRect(panel, rgb(200, 206, 218));
    dc.setBackgroundMode(BackgroundMode::Transparent);
    FontRef oldFont = dc.selectFont(shellFont(11));
    for (int row = 0; row < 4; ++row) {
        const auto& keys = keyRows()[static_cast<std::size_t>(row)];
        for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
            const PanelKey& key = keys[static_cast<std::size_t>(i)];
            Rect r = keyRect(row, i);
            Rect face{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            bool lit = (row == st.pressedRow && i == st.pressedKey && st.pressedInside) ||
                       (key.action == KeyAction::Shift && st.shift);
            dc.fillRect(face, lit ? colour::Highlight : rgb(250, 250, 252));
            dc.frameRect(face, rgb(140, 146, 160));
            std::wstring label = key.label;
            if (st.shift && key.action == KeyAction::Character) {
                for (auto& c : label) c = static_cast<wchar_t>(std::towupper(c));
            }
            dc.setTextColour(lit ? colour::HighlightText : colour::Text);
            dc.drawText(label, face, dt::SingleLine | dt::Center | dt::VCenter | dt::NoPrefix);
        }
    }
    dc.selectFont(oldFont);
}

void typeKey(const PanelKey& key) {
    auto& st = state();
    auto press = [](std::uint32_t code) {
        gui::injectInput({gui::InputEvent::Kind::KeyDown, {}, code, 0});
        gui::injectInput({gui::InputEvent::Kind::KeyUp, {}, code, 0});
    };
    switch (key.action) {
        case KeyAction::Character: {
            wchar_t c =
                st.shift ? static_cast<wchar_t>(std::towupper(key.character)) : key.character;
            gui::injectInput({gui::InputEvent::Kind::Char, {}, 0, c});
            st.shift = false;
            break;
        }
        case KeyAction::Backspace:
            press(vk::Back);  // the message loop turns the key into its character
            break;
        case KeyAction::Enter:
            press(vk::Return);
            break;
        case KeyAction::Shift:
            st.shift = !st.shift;
            break;
    }
}

bool onInput(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    auto& st = state();
    Rect panel = sipInfo().sipRect;
    auto [row, index] = keyAt(e.position);
    switch (e.kind) {
        case Kind::PointerDown:
            if (!panel.contains(e.position))
                return false;
            st.tracking = true;
            st.pressedRow = row;
            st.pressedKey = index;
            st.pressedInside = row >= 0;
            break;
        case Kind::PointerMove:
            if (!st.tracking)
                return false;
            st.pressedInside = row == st.pressedRow && index == st.pressedKey;
            break;
        case Kind::PointerUp: {
            if (!st.tracking)
                return false;
            st.tracking = false;
            bool same = row >= 0 && row == st.pressedRow && index == st.pressedKey;
            st.pressedRow = st.pressedKey = -1;
            st.pressedInside = false;
            if (same) {
                typeKey(keyRows()[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)]);
            }
            break;
        }
        default:
            return false;
    }
    gui::markScreenChanged(panel);
    return true;
}

void setPanelLayer(bool shown) {
    auto& st = state();
    if (shown && !st.layer) {
        gui::ScreenLayer layer;
        layer.z = z::InputPanel;
        layer.paint = paintPanel;
        layer.input = onInput;
        layer.area = [] { return sipInfo().sipRect; };
        st.layer = gui::addScreenLayer(std::move(layer));
    } else if (!shown && st.layer) {
        gui::removeScreenLayer(st.layer);
        st = PanelState{};
    }
}

}  // namespace

}  // namespace platform::shell

namespace platform {

void showSip(bool show) {
    if (gui::sipIsShown() == show)
        return;
    gui::setSipShown(show);
    shell::setPanelLayer(show);
    shell::markMenuBarChanged();
    // Every window hears of it, so that it can fit itself to the new visible desktop.
    std::vector<WindowHandle> windows = gui::windowSystem().zOrder;
    for (WindowHandle h : windows) {
        if (isOwnWindow(h))
            sendMessage(h, wm::SettingChange, SpiSetSipInfo, 0);
    }
}

}  // namespace platform
