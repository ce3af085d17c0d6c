#pragma once
// Alpha blending of Targa pictures onto 24-bit DIBs, and the other per-pixel mixes the
// screens use: two-picture cross fades and tinted rectangles.

#include "gfx/dib.h"
#include "gfx/targa.h"
#include "platform/api/types.h"

namespace gfx {

// Blends a picture onto a DIB by its alpha (a picture without alpha is opaque). x is the
// column of the picture's left edge; y is the memory row (row 0 = the bottom row) on which
// the picture's bottom row lands, as both are stored bottom-up. Parts outside the DIB are
// clipped. Opacity (0 to 1) weakens partly transparent pixels but never fully opaque ones;
// greyscale draws the picture in shades of grey. Returns 1 when drawn, 0 when there is no
// destination DIB.
int blendTarga(const TargaPixels& picture, platform::Bitmap* destination, int x, int y,
               bool greyscale, double opacity);

// Blends a picture onto a device context with its top-left corner at x, y: the rectangle
// below it is copied into the scratch DIB, blended there and copied back.
void drawTarga(platform::DeviceContext& dc, const TargaPixels& picture, int x, int y,
               bool greyscale = false, double opacity = 1.0);

// As drawTarga with the picture resized to width x height first.
void drawTargaScaled(platform::DeviceContext& dc, const TargaPixels& picture, int x, int y,
                     int width, int height);

// Mixes source over background into destination, all three the same size: a white source
// pixel is transparent (the destination keeps its pixel), a black one is copied, any other
// is mixed with the background at alpha (0 to 255). Returns 0 for mismatched sizes or an
// alpha out of range, else 1.
int blendDib(const platform::Bitmap& source, const platform::Bitmap& background,
             platform::Bitmap& destination, int alpha);

// Tints the rectangle at x, y (top-down: y = 0 is the top row) of width x height with a
// colour at alpha (0 to 255). With rounded, the five outermost rows and columns at each
// corner fade out so that the tinted area has smoothly rounded corners. Returns 0 when the
// DIB is missing or alpha is out of range, else 1.
int tintDib(platform::Bitmap* dib, platform::Colour colour, int x, int y, int width, int height,
            int alpha, bool rounded);

}  // namespace gfx
