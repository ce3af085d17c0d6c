#pragma once
// Restoring the screen under a shell layer that shrank. Internal to the shell.

#include "platform/api/types.h"

namespace platform::shell {

// Clears a part of the screen and has the windows under it paint it again.
void exposeScreenArea(const Rect& area);

}  // namespace platform::shell
