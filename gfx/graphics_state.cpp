#include "gfx/graphics_state.h"

#include "gfx/dib.h"
#include "gfx/display_metrics.h"
#include "gfx/fonts.h"

namespace gfx {
namespace {

std::unique_ptr<GraphicsState>& currentState() {
    static std::unique_ptr<GraphicsState> state;
    return state;
}

}  // namespace

GraphicsState::GraphicsState() {
    if (displayMetrics().scaleX == 0.0)
        computeDisplayMetrics();
    smallFont_ = createFont(8, FontWeightNormal);
    smallBoldFont_ = createFont(8, FontWeightBold);
    mediumFont_ = createFont(9, FontWeightNormal);
    mediumBoldFont_ = createFont(9, FontWeightBold);
    const std::uint8_t stripes[8] = {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00};
    stripeBrush_ = platform::Brush::fromPattern(stripes);
}

GraphicsState::~GraphicsState() {
    // The contexts may still hold the fonts; let go of them first so the counts are exact.
    for (platform::DeviceContext* dc : {&drawingDc_, &pictureDc_, &spareDc_}) {
        dc->selectFont(nullptr);
        dc->selectBitmap(nullptr);
    }
    deleteFont(smallFont_);
    deleteFont(smallBoldFont_);
    deleteFont(mediumFont_);
    deleteFont(mediumBoldFont_);
}

GraphicsState* graphicsState() {
    return currentState().get();
}

GraphicsState& createGraphicsState() {
    currentState().reset();
    currentState() = std::make_unique<GraphicsState>();
    return *currentState();
}

void destroyGraphicsState() {
    currentState().reset();
    releaseScratchDib();
}

}  // namespace gfx
