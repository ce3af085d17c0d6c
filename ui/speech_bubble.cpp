#include "ui/speech_bubble.h"

#include <algorithm>

#include "core/language.h"
#include "gfx/theme.h"
#include "ui/control_paint.h"
#include "ui/module_host.h"

namespace ui {

using namespace platform;

SpeechBubble::SpeechBubble(ModuleHost& host, int stringNumber)
    : host_(host),
      figure_(host.mainPath(), gfx::graphicsPicture(L"vorn"), true),
      bubble_(host.mainPath(), gfx::graphicsPicture(L"bubble1"), true) {
    isFocusable = false;
    if (stringNumber > 0)
        text_ = core::languageString(stringNumber);
}

SpeechBubble::~SpeechBubble() {
    if (step_ > 0)
        killTimer(host_.mainWindow(), kAnimationTimer);
}

void SpeechBubble::setText(std::wstring_view text) {
    if (text == text_)
        return;
    text_.assign(text);
    invalidate();
}

void SpeechBubble::placed() {
    step_ = kAnimationSteps;
    setTimer(host_.mainWindow(), kAnimationTimer, kAnimationIntervalMs);
}

bool SpeechBubble::timer(std::uintptr_t id) {
    if (id != kAnimationTimer)
        return false;
    if (step_ > 0 && --step_ == 0)
        killTimer(host_.mainWindow(), kAnimationTimer);
    invalidate();
    return true;
}

void SpeechBubble::paint(DeviceContext& dc, const Rect&) {
    ClipScope clip(dc, rect);
    // The figure stands at the bottom left; the bubble fills the rest above and to the right,
    // with its tail pointing down at the figure.
    int figureHeight = std::min(rect.height(), figure_.height());
    int figureWidth =
        figure_.height() > 0 ? figure_.frameWidth() * figureHeight / figure_.height() : 0;
    Rect figure = rectOfSize(rect.left, rect.bottom - figureHeight, figureWidth, figureHeight);
    Rect bubble{figure.right - figureWidth / 4, rect.top, rect.right,
                std::max(rect.top + 1, rect.bottom - figureHeight / 3)};
    bubble_.drawOver(dc, bubble, 0);
    figure_.drawOver(dc, figure, figureFrame());
    // The text sits inside the bubble's body, above its tail.
    int unit = layoutUnit();
    Rect body{bubble.left + 6 * unit, bubble.top + 4 * unit, bubble.right - 6 * unit,
              bubble.top + bubble.height() * 7 / 10};
    drawClippedText(dc, text_, body, dt::Center | dt::VCenter | dt::WordBreak | dt::NoPrefix,
                    kPanelTextColour, smallFont(false));
}

}  // namespace ui
