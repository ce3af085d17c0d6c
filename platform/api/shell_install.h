#pragma once
// Start-up of the shell inside one program: the task bar, the menu bar, the soft-key and
// Back-key handling and the input panel become layers of the program's screen. Program
// start-up calls it once; further calls do nothing.

namespace platform {

void installShell();

}  // namespace platform
