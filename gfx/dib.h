#pragma once
// The system's 24-bit device-independent bitmaps (bottom-up rows of B, G, R, padded to 4
// bytes). Every DIB made here is counted while it lives, so tests and the debug log can see
// leaks; the count drops when the last reference to the bitmap goes.

#include <memory>

#include "platform/api/draw.h"

namespace gfx {

using Dib = std::shared_ptr<platform::Bitmap>;

// A black width x height DIB; null when either size is not positive.
Dib createDib24(int width, int height);

// DIBs made by createDib24 that are still alive.
int liveDibCount();

// The process-wide scratch DIB used for blending, with a memory context that has it
// selected. It is kept while the size asked for stays the same and re-made otherwise.
struct Scratch {
    platform::Bitmap& dib;
    platform::DeviceContext& dc;
};
Scratch scratchDib(int width, int height);

// Drops the scratch DIB (the graphics state does this when it goes).
void releaseScratchDib();

}  // namespace gfx
