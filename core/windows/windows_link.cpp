#include "core/windows/windows_link.h"

#include "core/window_link.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"

namespace core {
namespace {

int ownerlessBox(std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
    return platform::messageBox(0, text, caption, flags);
}

void repaint(platform::WindowHandle window) {
    platform::invalidateRect(window, nullptr, true);
}

}  // namespace

void linkWindows() {
    setWindowLink({&ownerlessBox, &platform::findWindow, &platform::postMessage, &repaint,
                   &platform::postQuitMessage, &platform::registerWindowMessage});
}

}  // namespace core
