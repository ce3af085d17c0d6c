#pragma once
// The state of one edit field window, shared by its message handling and its painting.

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/api/controls.h"
#include "platform/controls/edit_layout.h"
#include "platform/controls/edit_text.h"

namespace platform::controls {

struct Edit {
    WindowHandle window = 0;
    EditText text;
    std::uint32_t style = 0;
    LParam inputMode = eim::Spell;
    FontRef font;
    DeviceContext measuring;
    int scrollX = 0;            // single-line: pixels scrolled to the left
    std::size_t firstLine = 0;  // multi-line: the top visible line
    bool shift = false;
    bool control = false;  // Ctrl is held: letters are commands, not text
    bool dragging = false;

    bool multiline() const { return (style & es::Multiline) != 0; }
    int measure(std::wstring_view s) {
        if (style & es::Password)
            return measuring.textExtent(std::wstring(s.size(), L'*')).width;
        return measuring.textExtent(s).width;
    }
    MeasureText measurer() {
        return [this](std::wstring_view s) { return measure(s); };
    }
    int lineHeight() { return std::max(1, measuring.textMetrics().height); }
    int border() const { return (style & ws::Border) ? 1 : 0; }
    int padding() { return std::max(2, lineHeight() / 6); }
    // The area text is drawn in, in client coordinates.
    Rect textArea() {
        Rect client = clientRect(window);
        int inset = border() + padding();
        Rect r{client.left + inset, client.top + border(), client.right - inset,
               client.bottom - border()};
        if (multiline()) {
            r.top += padding() / 2;
        } else {
            // One line, centred vertically.
            int h = lineHeight();
            r.top = client.top + (client.height() - h) / 2;
            r.bottom = r.top + h;
        }
        return r;
    }
    std::vector<EditLine> lines() {
        return layoutLines(text.text(), multiline(), textArea().width(), measurer());
    }
    std::size_t visibleLines() {
        return static_cast<std::size_t>(std::max(1, textArea().height() / lineHeight()));
    }
};

// Paints the field: its colours asked of the parent, the visible lines, the selection and
// the caret.
void paintEdit(Edit& e);

// The clipboard commands on the field's selection; each answers whether the text changed.
// Copying and cutting give nothing out of a password field; cutting, pasting and clearing
// leave a read-only field alone. Pasting replaces the selection with the clipboard's text as
// if it were typed (the number modes filter it, the limit cuts it), a single-line field
// taking its first line only.
bool cutSelection(Edit& e);
void copySelection(Edit& e);
bool pasteClipboard(Edit& e);
bool clearSelection(Edit& e);
// Ctrl+X, C, V, A (given as virtual keys) and the control characters some keyboards send for
// them (0x18, 0x03, 0x16, 0x01). Answers what happened.
enum class EditCommand { None, Selected, TextChanged, Done };
EditCommand editShortcut(Edit& e, wchar_t letter);

// The context menu of a tap-and-hold at a client point: Cut, Copy and Paste as they apply.
// Answers the clipboard message chosen (wm::Cut, Copy, Paste) or 0.
std::uint32_t editContextMenu(Edit& e, Point clientPoint);

}  // namespace platform::controls
