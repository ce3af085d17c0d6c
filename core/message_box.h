#pragma once
// Owner-less message boxes of the shared core. They go through one replaceable hook so that
// tests and fuzzing can watch them instead of waiting for a person to answer a modal box.

#include <cstdint>
#include <functional>
#include <string_view>

namespace core {

using MessageBoxHook =
    std::function<int(std::wstring_view text, std::wstring_view caption, std::uint32_t flags)>;

// Installs a hook and returns the previous one; an empty hook restores the box of the window
// link (core/window_link.h).
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows the box (flags as platform::mb) and answers the button chosen (platform::id).
int showMessageBox(std::wstring_view text, std::wstring_view caption, std::uint32_t flags);

// The usual failure report: OK button and the exclamation icon.
int showExclamation(std::wstring_view text, std::wstring_view caption);

}  // namespace core
