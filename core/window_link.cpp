#include "core/window_link.h"

#include <string>

#include "platform/api/device.h"
#include "platform/api/program.h"

namespace core {
namespace {

// Without windows a box is a line in the log; nobody chose a button, so it answers 0 as a box
// that could not be shown does.
int logBox(std::wstring_view text, std::wstring_view caption, std::uint32_t) {
    platform::logLine(platform::toUtf8(caption) + ": " + platform::toUtf8(text));
    return 0;
}

platform::WindowHandle noWindow(std::wstring_view, std::wstring_view) {
    return 0;
}

bool noPost(platform::WindowHandle, std::uint32_t, platform::WParam, platform::LParam) {
    return false;
}

void noRepaint(platform::WindowHandle) {}

void noQuit(int) {}

std::uint32_t noMessage(std::wstring_view) {
    return 0;
}

WindowLink& installed() {
    static WindowLink link{&logBox, &noWindow, &noPost, &noRepaint, &noQuit, &noMessage};
    return link;
}

}  // namespace

const WindowLink& windowLink() {
    return installed();
}

void setWindowLink(const WindowLink& link) {
    installed() = link;
}

}  // namespace core
