#pragma once
// Resizing Targa pictures with a tent filter in two passes (rows, then columns). Weights are
// worked out once per pass as 16.16 fixed point; the work per pixel is integer only.

#include <functional>

#include "gfx/targa.h"

namespace gfx {

// Told the progress in percent (0 to 50 for the row pass, 50 to 100 for the column pass);
// answering false cancels the resize.
using ResampleProgress = std::function<bool(int percent)>;

// A copy of source at width x height with 4 bytes per pixel (alpha 255 for a picture without
// alpha). An empty picture (size 0, no pixels) when the size asked for is not positive, the
// source is empty, memory runs out, or the progress callback cancels.
TargaPixels resampleTarga(const TargaPixels& source, int width, int height,
                          const ResampleProgress& progress = {});

}  // namespace gfx
