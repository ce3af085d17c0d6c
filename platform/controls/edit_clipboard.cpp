// The edit field's clipboard commands, their keyboard shortcuts and its tap-and-hold menu.

#include "platform/api/clipboard.h"
#include "platform/api/shell.h"
#include "platform/controls/edit_state.h"

namespace platform::controls {
namespace {

constexpr std::uint32_t kMenuCut = 1, kMenuCopy = 2, kMenuPaste = 3;

bool isPassword(const Edit& e) {
    return (e.style & es::Password) != 0;
}

std::wstring selectedText(const Edit& e) {
    std::size_t start = e.text.selectionStart();
    return e.text.text().substr(start, e.text.selectionEnd() - start);
}

}  // namespace

void copySelection(Edit& e) {
    if (e.text.hasSelection() && !isPassword(e))
        setClipboardText(selectedText(e));
}

bool cutSelection(Edit& e) {
    if (!e.text.hasSelection() || isPassword(e) || e.text.readOnly())
        return false;
    setClipboardText(selectedText(e));
    return e.text.replaceSelection({});
}

bool pasteClipboard(Edit& e) {
    if (e.text.readOnly())
        return false;
    auto text = clipboardText();
    if (!text)
        return false;
    std::wstring_view pasted = *text;
    if (!e.multiline())
        pasted = pasted.substr(0, pasted.find_first_of(L"\r\n"));
    return e.text.type(pasted);
}

bool clearSelection(Edit& e) {
    if (!e.text.hasSelection() || e.text.readOnly())
        return false;
    return e.text.replaceSelection({});
}

EditCommand editShortcut(Edit& e, wchar_t letter) {
    switch (letter) {
        case L'X':
        case 0x18:
            return cutSelection(e) ? EditCommand::TextChanged : EditCommand::Done;
        case L'C':
        case 0x03:
            copySelection(e);
            return EditCommand::Done;
        case L'V':
        case 0x16:
            return pasteClipboard(e) ? EditCommand::TextChanged : EditCommand::Done;
        case L'A':
        case 0x01:
            e.text.select(0, e.text.text().size());
            return EditCommand::Selected;
        default:
            return EditCommand::None;
    }
}

std::uint32_t editContextMenu(Edit& e, Point clientPoint) {
    bool selection = e.text.hasSelection() && !isPassword(e);
    bool writable = !e.text.readOnly();
    MenuHandle menu = createPopupMenu();
    appendMenu(menu, selection && writable ? mf::String : mf::Grayed, kMenuCut, L"Cut");
    appendMenu(menu, selection ? mf::String : mf::Grayed, kMenuCopy, L"Copy");
    appendMenu(menu, writable && clipboardText() ? mf::String : mf::Grayed, kMenuPaste, L"Paste");
    std::uint32_t chosen = trackPopupMenu(menu, clientToScreen(e.window, clientPoint), e.window);
    destroyMenu(menu);
    switch (chosen) {
        case kMenuCut:
            return wm::Cut;
        case kMenuCopy:
            return wm::Copy;
        case kMenuPaste:
            return wm::Paste;
        default:
            return 0;
    }
}

}  // namespace platform::controls
