#pragma once
// The drawing resources every screen shares, made once per main window: three memory device
// contexts, the four standard fonts and the stripe brush.

#include <memory>

#include "platform/api/draw.h"

namespace gfx {

class GraphicsState {
  public:
    // Computes the display metrics first when they have not been computed yet.
    GraphicsState();
    ~GraphicsState();
    GraphicsState(const GraphicsState&) = delete;
    GraphicsState& operator=(const GraphicsState&) = delete;

    // The drawing context, also used to measure text.
    platform::DeviceContext& drawingDc() { return drawingDc_; }
    platform::DeviceContext& pictureDc() { return pictureDc_; }
    platform::DeviceContext& spareDc() { return spareDc_; }

    // 8 pt normal (the default font of every text function), 8 pt bold, 9 pt, 9 pt bold.
    const platform::FontRef& smallFont() const { return smallFont_; }
    const platform::FontRef& smallBoldFont() const { return smallBoldFont_; }
    const platform::FontRef& mediumFont() const { return mediumFont_; }
    const platform::FontRef& mediumBoldFont() const { return mediumBoldFont_; }

    // Horizontal lines on every other row, as an 8 x 8 monochrome pattern.
    const platform::Brush& stripeBrush() const { return stripeBrush_; }

  private:
    platform::DeviceContext drawingDc_;
    platform::DeviceContext pictureDc_;
    platform::DeviceContext spareDc_;
    platform::FontRef smallFont_;
    platform::FontRef smallBoldFont_;
    platform::FontRef mediumFont_;
    platform::FontRef mediumBoldFont_;
    platform::Brush stripeBrush_;
};

// The process's graphics state; null before createGraphicsState.
GraphicsState* graphicsState();

// Replaces the process's graphics state by a new one (the main window does this when it is
// attached).
GraphicsState& createGraphicsState();

// Deletes the graphics state, its fonts and the scratch DIB.
void destroyGraphicsState();

}  // namespace gfx
