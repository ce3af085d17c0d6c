#pragma once
// The shell's filter of keys and of stylus presses it answered itself. Internal to the shell.

namespace platform::shell {

// Drops the moves and the release of the stylus press in progress.
void swallowPointerUntilRelease();
void forgetBackOverridesOfDeadWindows();

}  // namespace platform::shell
