#include "gfx/drawing.h"

#include "gfx/colours.h"
#include "gfx/graphics_state.h"

namespace gfx {
namespace {

const platform::FontRef& orDefault(const platform::FontRef& font) {
    static const platform::FontRef none;
    if (font)
        return font;
    GraphicsState* state = graphicsState();
    return state ? state->smallFont() : none;
}

// Selects a font for the lifetime of the object and puts the previous one back.
class FontSelection {
  public:
    FontSelection(platform::DeviceContext& dc, const platform::FontRef& font)
        : dc_(dc), previous_(dc.selectFont(orDefault(font))) {}
    ~FontSelection() { dc_.selectFont(previous_); }
    FontSelection(const FontSelection&) = delete;
    FontSelection& operator=(const FontSelection&) = delete;

  private:
    platform::DeviceContext& dc_;
    platform::FontRef previous_;
};

}  // namespace

int textWidth(const platform::FontRef& font, std::wstring_view text, platform::Size* size) {
    GraphicsState* state = graphicsState();
    platform::DeviceContext local;
    platform::DeviceContext& dc = state ? state->drawingDc() : local;
    FontSelection selection(dc, font);
    const platform::Size extent = dc.textExtent(text);
    if (size)
        *size = extent;
    return extent.width;
}

int textHeight(platform::DeviceContext& dc, const platform::FontRef& font) {
    FontSelection selection(dc, font);
    return dc.textMetrics().height;
}

void drawTextTransparent(platform::DeviceContext& dc, std::wstring_view text,
                         const platform::Rect& rect, std::uint32_t format,
                         const platform::FontRef& font) {
    FontSelection selection(dc, font);
    const platform::BackgroundMode previous =
        dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.drawText(text, rect, format);
    dc.setBackgroundMode(previous);
}

void drawLine(platform::DeviceContext& dc, int x1, int y1, int x2, int y2, platform::Colour colour,
              int width) {
    const platform::Pen previous = dc.selectPen(platform::Pen{colour, width});
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
    dc.selectPen(previous);
}

void drawFrame(platform::DeviceContext& dc, int left, int top, int right, int bottom) {
    dc.moveTo(left, top);
    dc.lineTo(right, top);
    dc.lineTo(right, bottom);
    dc.lineTo(left, bottom);
    dc.lineTo(left, top);
}

void fillRectColour(platform::DeviceContext& dc, int left, int top, int right, int bottom,
                    platform::Colour colour) {
    dc.fillRect({left, top, right, bottom}, colour);
}

void gradientBar(platform::DeviceContext& dc, int left, int top, int right, int bottom,
                 platform::Colour colour) {
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return;
    const platform::Colour edge = scaleColour(colour, 0.55);
    const int middle = width / 2;
    platform::DeviceContext bar;
    bar.selectBitmap(std::make_shared<platform::Bitmap>(width, height));
    bar.gradientFillHorizontal({0, 0, middle, height}, edge, colour);
    bar.gradientFillHorizontal({middle, 0, width, height}, colour, edge);
    dc.blit({left, top, right, bottom}, bar, {0, 0});
}

}  // namespace gfx
