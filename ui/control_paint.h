#pragma once
// Drawing shared by the toolkit's controls, so that every kind draws frames, focus, arrows
// and text the same way and in the theme's colours.

#include <string_view>

#include "gfx/theme.h"
#include "platform/api/draw.h"

namespace ui {

// Colours of the white areas inside controls (lists, fields).
constexpr platform::Colour kPanelColour = 0xFFFFFF;
constexpr platform::Colour kPanelTextColour = 0x000000;
constexpr platform::Colour kDisabledTextColour = 0x909090;
constexpr platform::Colour kFrameColour = 0x707070;

// One layout pixel: 1 at scale 1.0, 2 at 2.0.
int layoutUnit();

// The standard fonts of the graphics state (a default font when there is none).
const platform::FontRef& smallFont(bool bold = false);

// A frame of the given thickness inside the rectangle.
void drawThickFrame(platform::DeviceContext& dc, const platform::Rect& rect,
                    platform::Colour colour, int thickness);

// The focus mark: a frame in the theme's main colour, two layout pixels thick.
void drawFocusFrame(platform::DeviceContext& dc, const platform::Rect& rect,
                    const gfx::Theme& theme);

enum class ArrowDirection { Up, Down, Left, Right };
// A filled triangle centred in the rectangle, about half its size.
void drawArrow(platform::DeviceContext& dc, const platform::Rect& rect, ArrowDirection direction,
               platform::Colour colour);

// A raised button face: a light gradient in the theme's main colour, framed.
void drawButtonFace(platform::DeviceContext& dc, const platform::Rect& rect,
                    const gfx::Theme& theme, bool pressed);

// Text with a transparent background, clipped to the rectangle.
void drawClippedText(platform::DeviceContext& dc, std::wstring_view text,
                     const platform::Rect& rect, std::uint32_t format, platform::Colour colour,
                     const platform::FontRef& font);

// Restores the context's clip rectangle when it goes.
class ClipScope {
  public:
    ClipScope(platform::DeviceContext& dc, const platform::Rect& rect);
    ~ClipScope();
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

  private:
    platform::DeviceContext& dc_;
    platform::Rect previous_;
};

}  // namespace ui
