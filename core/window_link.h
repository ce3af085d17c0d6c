#pragma once
// What the shared core asks of the program's windows: a message box, the end of the message
// loop, and a word to another program's window. The core itself links no window system, so
// that command-line programs and the model libraries above it stay free of the display; a
// program with windows connects the link once at start (core/windows/windows_link.h). Until
// then boxes go to the device log and standard error, windows are never found and posts fail.

#include <cstdint>
#include <string_view>

#include "platform/api/window.h"

namespace core {

struct WindowLink {
    int (*messageBox)(std::wstring_view text, std::wstring_view caption, std::uint32_t flags);
    platform::WindowHandle (*findWindow)(std::wstring_view className, std::wstring_view title);
    bool (*postMessage)(platform::WindowHandle window, std::uint32_t id, platform::WParam wParam,
                        platform::LParam lParam);
    void (*repaintWindow)(platform::WindowHandle window);
    void (*quit)(int exitCode);
    std::uint32_t (*registerMessage)(std::wstring_view name);
};

// The link in use: the connected one, else the window-less default.
const WindowLink& windowLink();

// Connects the link; every member must be set.
void setWindowLink(const WindowLink& link);

}  // namespace core
