#pragma once
// The device's clipboard: one text that every program of the device shares, kept in the
// machine-state store so that what one program copies another can paste. Text only, as the
// system's controls exchange nothing else.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Replaces the clipboard's content (an empty text empties it).
void setClipboardText(std::wstring_view text);
// The clipboard's text; nothing when it is empty.
std::optional<std::wstring> clipboardText();
void clearClipboard();

}  // namespace platform
