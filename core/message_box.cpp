#include "core/message_box.h"

#include <utility>

#include "core/window_link.h"
#include "platform/api/shell.h"

namespace core {
namespace {

MessageBoxHook& installedHook() {
    static MessageBoxHook hook;
    return hook;
}

}  // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(installedHook(), std::move(hook));
}

int showMessageBox(std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
    // Copied first, so a hook that replaces itself while running stays alive until it returns.
    MessageBoxHook hook = installedHook();
    if (hook)
        return hook(text, caption, flags);
    return windowLink().messageBox(text, caption, flags);
}

int showExclamation(std::wstring_view text, std::wstring_view caption) {
    return showMessageBox(text, caption, platform::mb::Ok | platform::mb::IconExclamation);
}

}  // namespace core
