#pragma once
// The geometry of message boxes, shared by their drawing, their input and tests that tap
// their buttons. Internal to the shell.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/types.h"

namespace platform::shell {

struct MessageBoxButton {
    int answer = 0;  // id::Ok, id::Cancel, id::Yes or id::No
    std::wstring label;
    Rect rect;  // screen coordinates
};

struct MessageBoxLayout {
    Rect box;  // the whole box, frame included
    Rect caption;
    Rect icon;  // empty without an icon
    Rect text;
    std::vector<MessageBoxButton> buttons;
};

// Lays out a box for the text and flags on the current screen.
MessageBoxLayout layOutMessageBox(std::wstring_view text, std::uint32_t flags);

// The buttons of the topmost open message box; empty when none is open.
std::vector<MessageBoxButton> openMessageBoxButtons();

}  // namespace platform::shell
