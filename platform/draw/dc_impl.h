#pragma once
// Private access to a device context's state for the drawing code in this folder.

#include "platform/api/draw.h"
#include "platform/draw/raster.h"

namespace platform {

struct DeviceContext::Impl {
    // The bitmap, origin and effective clip (user clip within the base clip, within the
    // bitmap) a context draws with.
    static drawing::Surface surface(const DeviceContext& dc);
    // The same bitmap and origin, with the area a blit may read from: the whole drawable area
    // (a source's clip does not limit what is copied out of it).
    static drawing::Surface readableSurface(const DeviceContext& dc);
};

}  // namespace platform
