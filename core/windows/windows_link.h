#pragma once
// Connects the shared core to the platform's windows: its message boxes become the platform's
// boxes, its posts and searches reach real windows, and its requests to quit end the message
// loop. Every program with windows calls it once at start; calling it again changes nothing.

namespace core {

void linkWindows();

}  // namespace core
