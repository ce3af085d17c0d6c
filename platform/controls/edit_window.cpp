// The edit field's window: messages, keys, the stylus and scrolling around EditText.

#include <algorithm>
#include <map>
#include <memory>

#include "platform/api/controls.h"
#include "platform/api/shell.h"
#include "platform/controls/edit_state.h"
#include "platform/controls/native_controls.h"
#include "platform/gui/window_system.h"

namespace platform::controls {
namespace {

std::map<WindowHandle, std::unique_ptr<Edit>>& edits() {
    static auto* all = new std::map<WindowHandle, std::unique_ptr<Edit>>();
    return *all;
}

Edit* editOf(WindowHandle window) {
    auto it = edits().find(window);
    return it == edits().end() ? nullptr : it->second.get();
}

void setFont(Edit& e, FontRef font) {
    e.font = std::move(font);
    e.measuring.selectFont(e.font);
}

// The window's title follows the text, so windowText() answers it too. Child windows are not
// looked up by title across programs, so the device-wide window table is left alone.
void syncTitle(Edit& e) {
    if (auto* w = gui::findLocal(e.window))
        w->title = e.text.text();
}

// Scrolls so that the caret is inside the text area.
void revealCaret(Edit& e) {
    auto lines = e.lines();
    std::size_t line = lineOf(lines, e.text.caret());
    if (e.multiline()) {
        std::size_t visible = e.visibleLines();
        if (line < e.firstLine)
            e.firstLine = line;
        if (line >= e.firstLine + visible)
            e.firstLine = line + 1 - visible;
        e.scrollX = 0;
        return;
    }
    int width = e.textArea().width();
    int x = xOfPosition(e.text.text(), lines[line], e.text.caret(), e.measurer());
    if (x - e.scrollX > width - 1)
        e.scrollX = x - width + 1 + width / 4;
    if (x < e.scrollX)
        e.scrollX = std::max(0, x - width / 4);
    int total = e.measure(e.text.text());
    e.scrollX = std::clamp(e.scrollX, 0, std::max(0, total - width + 1));
}

void notifyParent(Edit& e, std::uint32_t code) {
    WindowHandle parent = parentWindow(e.window);
    if (!parent)
        return;
    WParam wParam = static_cast<WParam>(controlId(e.window) & 0xFFFF) | (WParam{code} << 16);
    sendMessage(parent, wm::Command, wParam, static_cast<LParam>(e.window));
}

void changed(Edit& e, bool textChanged) {
    revealCaret(e);
    invalidateRect(e.window, nullptr, true);
    if (textChanged) {
        syncTitle(e);
        notifyParent(e, en::Change);
    }
}

std::size_t positionAt(Edit& e, Point p) {
    Rect area = e.textArea();
    auto lines = e.lines();
    std::size_t line = 0;
    if (e.multiline()) {
        int row = p.y < area.top ? -1 : (p.y - area.top) / e.lineHeight();
        long long index = static_cast<long long>(e.firstLine) + row;
        line = static_cast<std::size_t>(
            std::clamp<long long>(index, 0, static_cast<long long>(lines.size()) - 1));
    }
    return positionAtX(e.text.text(), lines[line], p.x - area.left + e.scrollX, e.measurer());
}

// Up and Down in a multi-line field keep the caret's x on the neighbouring line.
void moveVertically(Edit& e, int direction) {
    auto lines = e.lines();
    std::size_t line = lineOf(lines, e.text.caret());
    if ((direction < 0 && line == 0) || (direction > 0 && line + 1 >= lines.size()))
        return;
    int x = xOfPosition(e.text.text(), lines[line], e.text.caret(), e.measurer());
    std::size_t target = direction < 0 ? line - 1 : line + 1;
    e.text.moveCaret(positionAtX(e.text.text(), lines[target], x, e.measurer()), e.shift);
}

bool keyDown(Edit& e, WParam key) {
    auto lines = e.lines();
    const auto& line = lines[lineOf(lines, e.text.caret())];
    switch (key) {
        case vk::Shift:
            e.shift = true;
            return false;
        case vk::Control:
            e.control = true;
            return false;
        case vk::Left:
            if (e.text.hasSelection() && !e.shift) {
                e.text.moveCaret(e.text.selectionStart(), false);
            } else {
                e.text.moveCaret(e.text.previousPosition(e.text.caret()), e.shift);
            }
            return true;
        case vk::Right:
            if (e.text.hasSelection() && !e.shift) {
                e.text.moveCaret(e.text.selectionEnd(), false);
            } else {
                e.text.moveCaret(e.text.nextPosition(e.text.caret()), e.shift);
            }
            return true;
        case vk::Home:
            e.text.moveCaret(line.start, e.shift);
            return true;
        case vk::End:
            e.text.moveCaret(line.end, e.shift);
            return true;
        case vk::Up:
        case vk::Down:
            if (!e.multiline())
                return false;
            moveVertically(e, key == vk::Up ? -1 : 1);
            return true;
        case vk::Delete:
            if (e.text.eraseNext())
                changed(e, true);
            return false;
        case vk::Escape:
            // The handheld's Back key erases inside a text field.
            if (e.text.erasePrevious())
                changed(e, true);
            return false;
        default:
            if (e.control && key >= vk::LetterA && key <= vk::LetterA + 25) {
                EditCommand done = editShortcut(e, static_cast<wchar_t>(key));
                if (done == EditCommand::TextChanged)
                    changed(e, true);
                return done == EditCommand::Selected;
            }
            return false;
    }
}

void character(Edit& e, wchar_t c) {
    // With Ctrl held the letters were commands (handled as keys); the characters some
    // keyboards send for those commands are taken here when Ctrl was not seen.
    if (e.control)
        return;
    if (c == 0x01 || c == 0x03 || c == 0x16 || c == 0x18) {
        EditCommand done = editShortcut(e, c);
        if (done != EditCommand::None)
            changed(e, done == EditCommand::TextChanged);
        return;
    }
    bool done = false;
    if (c == L'\b') {
        done = e.text.erasePrevious();
    } else if (c == L'\r' || c == L'\n') {
        done = e.multiline() && e.text.type(L"\r\n");
    } else {
        done = e.text.type(std::wstring_view(&c, 1));
    }
    if (done)
        changed(e, true);
}

// A press: the caret goes under the stylus, unless the press is on the selection, which a
// tap-and-hold there should find intact for its context menu. Holding opens the menu; the
// chosen command comes back to the window as its message. The menu's modal loop may destroy
// the field, so it is looked up again afterwards.
void press(WindowHandle window, Point p) {
    Edit* e = editOf(window);
    if (focusWindow() != window)
        setFocus(window);
    std::size_t at = positionAt(*e, p);
    bool onSelection =
        e->text.hasSelection() && at >= e->text.selectionStart() && at <= e->text.selectionEnd();
    if (!onSelection) {
        e->text.moveCaret(at, e->shift);
        changed(*e, false);
    }
    if (recognizeGesture(window, p) == GestureContextMenu) {
        std::uint32_t command = editContextMenu(*e, p);
        if (command && editOf(window))
            sendMessage(window, command);
        return;
    }
    e = editOf(window);
    if (!e)
        return;
    if (onSelection)
        e->text.moveCaret(at, e->shift);
    e->dragging = true;
    setCapture(window);
    changed(*e, false);
}

void pointer(Edit& e, std::uint32_t message, Point p) {
    if (message == wm::LButtonDown) {
        press(e.window, p);
        return;
    } else if (message == wm::MouseMove && e.dragging) {
        e.text.moveCaret(positionAt(e, p), true);
    } else if (message == wm::LButtonUp && e.dragging) {
        e.text.moveCaret(positionAt(e, p), true);
        e.dragging = false;
        if (captureWindow() == e.window)
            releaseCapture();
    } else {
        return;
    }
    changed(e, false);
}

LResult getSelection(Edit& e, WParam wParam, LParam lParam) {
    auto start = static_cast<std::uint32_t>(e.text.selectionStart());
    auto end = static_cast<std::uint32_t>(e.text.selectionEnd());
    if (wParam)
        *reinterpret_cast<std::uint32_t*>(wParam) = start;
    if (lParam)
        *reinterpret_cast<std::uint32_t*>(lParam) = end;
    return static_cast<LResult>(std::min<std::uint32_t>(start, 0xFFFF) |
                                (std::min<std::uint32_t>(end, 0xFFFF) << 16));
}

void setSelection(Edit& e, WParam wParam, LParam lParam) {
    auto start = static_cast<std::int64_t>(static_cast<std::int32_t>(wParam));
    auto end = static_cast<std::int64_t>(static_cast<std::int32_t>(lParam));
    std::size_t size = e.text.text().size();
    if (start < 0) {
        e.text.moveCaret(e.text.caret(), false);
    } else {
        std::size_t to = end < 0 ? size : static_cast<std::size_t>(end);
        e.text.select(static_cast<std::size_t>(start), to);
    }
    changed(e, false);
}

LResult getText(Edit& e, WParam size, LParam buffer) {
    if (!buffer || size == 0)
        return 0;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::size_t n = std::min<std::size_t>(e.text.text().size(), size - 1);
    std::copy_n(e.text.text().data(), n, out);
    out[n] = 0;
    return static_cast<LResult>(n);
}

void create(WindowHandle window, LParam lParam) {
    auto e = std::make_unique<Edit>();
    e->window = window;
    if (lParam) {
        const auto* cs = reinterpret_cast<const WindowCreate*>(lParam);
        e->style = cs->style;
        e->text.setText(cs->title);
    }
    e->text.setReadOnly(e->style & es::ReadOnly);
    e->text.setDigitsOnly(e->style & es::Number);
    e->text.setMultiline(e->multiline());
    setFont(*e, Font::create(FontSpec{}));
    edits()[window] = std::move(e);
}

LResult editProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (message == wm::Create) {
        create(window, lParam);
        return 0;
    }
    Edit* e = editOf(window);
    if (!e)
        return defWindowProc(window, message, wParam, lParam);
    switch (message) {
        case wm::Destroy:
            edits().erase(window);
            return 0;
        case wm::Paint:
            paintEdit(*e);
            return 0;
        case wm::EraseBackground:
            return 1;
        case wm::Size:
        case wm::Enable:
            changed(*e, false);
            return 0;
        case wm::SetFocus:
        case wm::KillFocus:
            e->shift = false;
            e->control = false;
            invalidateRect(window, nullptr, true);
            notifyParent(*e, message == wm::SetFocus ? en::SetFocus : en::KillFocus);
            return 0;
        case wm::SetFont:
            if (wParam)
                setFont(*e, *reinterpret_cast<const FontRef*>(wParam));
            changed(*e, false);
            return 0;
        case wm::SetText:
            e->text.setText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            e->scrollX = 0;
            e->firstLine = 0;
            changed(*e, true);
            return 1;
        case wm::GetText:
            return getText(*e, wParam, lParam);
        case wm::GetTextLength:
            return static_cast<LResult>(e->text.text().size());
        case wm::KeyDown:
            if (keyDown(*e, wParam))
                changed(*e, false);
            return 0;
        case wm::KeyUp:
            if (wParam == vk::Shift)
                e->shift = false;
            if (wParam == vk::Control)
                e->control = false;
            return 0;
        case wm::Cut:
            if (cutSelection(*e))
                changed(*e, true);
            return 0;
        case wm::Copy:
            copySelection(*e);
            return 0;
        case wm::Paste:
            if (pasteClipboard(*e))
                changed(*e, true);
            return 0;
        case wm::Clear:
            if (clearSelection(*e))
                changed(*e, true);
            return 0;
        case wm::Char:
            character(*e, static_cast<wchar_t>(wParam));
            return 0;
        case wm::LButtonDown:
        case wm::MouseMove:
        case wm::LButtonUp:
            pointer(*e, message, pointFromLParam(lParam));
            return 0;
        case em::GetSel:
            return getSelection(*e, wParam, lParam);
        case em::SetSel:
            setSelection(*e, wParam, lParam);
            return 0;
        case em::ReplaceSel:
            if (!e->text.readOnly() &&
                e->text.replaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"")) {
                changed(*e, true);
            }
            return 0;
        case em::LimitText:
            e->text.setLimit(static_cast<std::size_t>(wParam));
            return 0;
        case em::SetReadOnly:
            e->text.setReadOnly(wParam != 0);
            e->style = wParam ? (e->style | es::ReadOnly) : (e->style & ~es::ReadOnly);
            if (auto* w = gui::findLocal(window))
                w->style = e->style;
            changed(*e, false);
            return 1;
        case em::SetInputMode:
            e->inputMode = lParam;
            e->text.setNumbersOnly(lParam == eim::Numbers);
            return 1;
        case em::GetInputMode:
            return e->inputMode;
        case em::GetLineCount:
            return static_cast<LResult>(e->lines().size());
        case em::LineFromChar: {
            auto at = static_cast<std::int64_t>(static_cast<std::int32_t>(wParam));
            std::size_t pos = at < 0 ? e->text.caret() : static_cast<std::size_t>(at);
            return static_cast<LResult>(lineOf(e->lines(), pos));
        }
        case em::GetFirstVisibleLine:
            return static_cast<LResult>(e->firstLine);
        case em::ScrollCaret:
            changed(*e, false);
            return 1;
        default:
            return defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

WindowClass editWindowClass() {
    WindowClass cls;
    cls.name = std::wstring(kEditClass);
    cls.proc = editProc;
    cls.background = std::nullopt;
    return cls;
}

}  // namespace platform::controls
