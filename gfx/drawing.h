#pragma once
// Small text and shape helpers the screens draw with. Text functions use the given font, or
// the graphics state's small font when none is given, and leave the context's font as it was.

#include <string_view>

#include "platform/api/draw.h"

namespace gfx {

// Width of text in pixels, measured on the graphics state's drawing context; size (when
// given) receives width and height.
int textWidth(const platform::FontRef& font, std::wstring_view text,
              platform::Size* size = nullptr);

// Height of a font's character cell.
int textHeight(platform::DeviceContext& dc, const platform::FontRef& font);

// Draws text with a transparent background (format as platform::dt).
void drawTextTransparent(platform::DeviceContext& dc, std::wstring_view text,
                         const platform::Rect& rect, std::uint32_t format,
                         const platform::FontRef& font = nullptr);

// One segment with a solid pen; the context's pen is restored.
void drawLine(platform::DeviceContext& dc, int x1, int y1, int x2, int y2, platform::Colour colour,
              int width);

// A closed rectangle outline through the four corners, with the current pen.
void drawFrame(platform::DeviceContext& dc, int left, int top, int right, int bottom);

void fillRectColour(platform::DeviceContext& dc, int left, int top, int right, int bottom,
                    platform::Colour colour);

// A bar shaded from the colour darkened to 0.55 at both edges to the colour itself in the
// middle.
void gradientBar(platform::DeviceContext& dc, int left, int top, int right, int bottom,
                 platform::Colour colour);

}  // namespace gfx
