#pragma once
// Message box icons. Internal to the shell.

#include <cstdint>

#include "platform/api/draw.h"

namespace platform::shell {

// Draws the icon the flags ask for (mb::Icon*, and 0x10 for an error) filling r.
void drawMessageBoxIcon(DeviceContext& dc, const Rect& r, std::uint32_t flags);

}  // namespace platform::shell
