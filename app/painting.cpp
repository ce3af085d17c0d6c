// Painting of the main window: everything is drawn into the back buffer, then the invalid
// part is copied to the screen.

#include <cstdlib>
#include <string>
#include <string_view>

#include "app/application.h"
#include "app/main_menu.h"
#include "core/language.h"
#include "gfx/blend.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/fonts.h"
#include "gfx/graphics_state.h"
#include "gfx/image.h"

namespace app {

using namespace platform;

namespace {

constexpr wchar_t kProductName[] = L"Vorn Roamer";

// For start-up measurements: VORN_EXIT_AFTER_FIRST_FRAME=1 ends the program once its first
// screen (after the splash) has been painted.
bool exitAfterFirstFrame() {
    static const bool enabled = [] {
        const char* v = std::getenv("VORN_EXIT_AFTER_FIRST_FRAME");
        return v && std::string_view(v) == "1";
    }();
    return enabled;
}
constexpr wchar_t kProductVersion[] = L"Version 3.0";

}  // namespace

void Application::invalidateArea(const Rect& inclusive) {
    Rect r{inclusive.left, inclusive.top, inclusive.right + 1, inclusive.bottom + 1};
    invalidateRect(window_, &r, true);
}

void Application::invalidateAll(bool redrawNow) {
    invalidateRect(window_, nullptr, true);
    if (redrawNow)
        updateWindow(window_);
}

void Application::paintWindow() {
    PaintSession paint(window_);
    Rect invalid = paint.invalidRect();
    if (invalid.isEmpty())
        return;
    if (!backBuffer_) {
        drawEverything(paint.dc(), invalid);
        return;
    }
    backDc_->setClip(invalid);
    drawEverything(*backDc_, invalid);
    backDc_->clearClip();
    paint.dc().blit(invalid, *backDc_, {invalid.left, invalid.top});
    if (!splashShown_ && currentModule_ && exitAfterFirstFrame())
        postQuitMessage(0);
}

void Application::drawEverything(DeviceContext& dc, const Rect& invalid) {
    Rect client = clientRect(window_);
    if (splashShown_) {
        dc.fillRect(client, 0xFFFFFF);
        if (splashLogo_ && splashLogo_->width > 0) {
            int x = (client.width() - splashLogo_->width) / 2;
            int y = (client.height() - splashLogo_->height) / 2;
            gfx::drawTarga(dc, *splashLogo_, x, y);
        }
        return;
    }
    bool menuOpen = mainMenu_ && mainMenu_->isOpen();
    if (!menuOpen) {
        drawBackground(dc);
        if (currentModule_)
            currentModule_->paint(dc, invalid);
    }
    if (menuOpen)
        mainMenu_->paint(dc, invalid);
    if (popupOverlay_ && !menuOpen)
        popupOverlay_->paint(dc, invalid);
    if (aboutShown_)
        drawAboutBox(dc);
}

void Application::drawBackground(DeviceContext& dc) {
    Rect client = clientRect(window_);
    const gfx::Image* image = theme_.backgroundImage;
    if (!image || !image->bitmap) {
        // Without a background the class background shows: white.
        dc.fillRect(client, 0xFFFFFF);
        return;
    }
    // The background covers the whole screen; the window shows its part of it.
    Rect screen = windowRect(window_);
    dc.drawBitmap(client, *image->bitmap, {screen.left, screen.top});
}

void Application::drawAboutBox(DeviceContext& dc) {
    const auto& m = gfx::displayMetrics();
    Rect client = clientRect(window_);
    int width = static_cast<int>(180 * m.scaleX);
    int height = static_cast<int>(210 * m.scaleY);
    Rect box =
        rectOfSize((client.width() - width) / 2, (client.height() - height) / 2, width, height);
    dc.fillRect(box, 0xFFFFFF);
    dc.frameRect(box, theme_.mainColour);
    int logoBottom = box.top;
    if (splashLogo_ && splashLogo_->width > 0) {
        int x = box.left + (box.width() - splashLogo_->width) / 2;
        int y = box.top + static_cast<int>(8 * m.scaleY);
        gfx::drawTarga(dc, *splashLogo_, x, y);
        logoBottom = y + splashLogo_->height;
    }
    auto font = gfx::createFont(7, gfx::FontWeightBold);
    dc.setTextColour(0x000000);
    std::wstring text = std::wstring(kProductName) + L"\n" + kProductVersion;
    gfx::drawTextTransparent(dc, text, Rect{box.left, logoBottom, box.right, box.bottom},
                             dt::Center | dt::WordBreak, font);
    gfx::deleteFont(font);
}

}  // namespace app
