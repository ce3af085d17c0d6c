// The task bar at the top of the screen: a start flag, the title of the foreground window and
// the device time. Windows that ask for full screen hide it while they are in front.

#include <algorithm>
#include <cwchar>
#include <map>

#include "platform/api/clock.h"
#include "platform/gui/window_system.h"
#include "platform/shell/shell_internal.h"
#include "platform/shell/task_bar.h"

namespace platform::shell {
namespace {

struct FullScreenState {
    std::map<WindowHandle, std::uint32_t> hidden;  // shfs::Hide* bits per window
};

FullScreenState& fullScreen() {
    static auto* s = new FullScreenState();
    return *s;
}

std::uint32_t hiddenBits(WindowHandle window) {
    auto it = fullScreen().hidden.find(window);
    return it == fullScreen().hidden.end() ? 0 : it->second;
}

// The flag glyph drawn at scale 1 inside a 26-pixel square, then scaled.
void drawStartFlag(DeviceContext& dc, const Rect& bar) {
    int s = scale();
    int top = bar.top + (bar.height() - 26 * s) / 2;
    auto at = [&](int x, int y) { return Point{bar.left + x * s, top + y * s}; };
    Point pole = at(7, 5);
    dc.fillRect(rectOfSize(pole.x, pole.y, 2 * s, 17 * s), rgb(230, 230, 230));
    const Point cloth[] = {at(9, 6),   at(12, 5),  at(16, 7),  at(20, 6),
                           at(20, 14), at(16, 15), at(12, 13), at(9, 14)};
    Pen oldPen = dc.selectPen(Pen{rgb(150, 90, 10), 1, true});
    Brush oldBrush = dc.selectBrush(Brush::solid(rgb(255, 190, 60)));
    dc.polygon(cloth);
    dc.selectPen(oldPen);
    dc.selectBrush(oldBrush);
}

}  // namespace

std::wstring deviceClockText() {
    SystemTime now = deviceLocalTime();
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d:%02d", now.hour, now.minute);
    return text;
}

int millisecondsToNextMinute() {
    SystemTime now = deviceLocalTime();
    return (60 - now.second) * 1000 - now.milliseconds;
}

TaskBarLook currentTaskBarLook() {
    TaskBarLook look;
    look.hidden = isTaskBarHidden();
    look.flagHidden = startIconHidden();
    WindowHandle owner = barOwnerWindow();
    look.title = owner ? windowText(owner) : std::wstring();
    look.clock = deviceClockText();
    return look;
}

void paintTaskBar(DeviceContext& dc) {
    Rect bar = taskBarRect();
    if (bar.isEmpty())
        return;
    TaskBarLook look = currentTaskBarLook();
    fillBar(dc, bar);
    if (!startIconHidden())
        drawStartFlag(dc, bar);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.setTextColour(colour::BarText);
    FontRef oldFont = dc.selectFont(shellFont(12));
    int clockWidth = dc.textExtent(look.clock).width;
    Rect clock{bar.right - scaled(6) - clockWidth, bar.top, bar.right - scaled(6), bar.bottom};
    dc.drawText(look.clock, clock, dt::SingleLine | dt::VCenter | dt::Right | dt::NoPrefix);
    dc.selectFont(shellFont(12, true));
    Rect title{bar.left + scaled(26), bar.top, clock.left - scaled(6), bar.bottom};
    dc.drawText(look.title, title,
                dt::SingleLine | dt::VCenter | dt::Left | dt::NoPrefix | dt::EndEllipsis);
    dc.selectFont(oldFont);
}

Rect taskBarRect() {
    if (isTaskBarHidden())
        return {};
    return {0, 0, screenSize().width, shellBarHeight()};
}

void markTaskBarChanged() {
    gui::markScreenChanged({0, 0, screenSize().width, shellBarHeight()});
}

bool startIconHidden() {
    return (hiddenBits(barOwnerWindow()) & shfs::HideStartIcon) != 0;
}

bool hidesSipButton(WindowHandle window) {
    return (hiddenBits(window) & shfs::HideSipButton) != 0;
}

void forgetFullScreenOfDeadWindows() {
    std::erase_if(fullScreen().hidden, [](const auto& e) { return !gui::findLocal(e.first); });
}

}  // namespace platform::shell

namespace platform {

using namespace shell;

bool shFullScreen(WindowHandle window, std::uint32_t flags) {
    auto* w = gui::findLocal(window);
    if (!w || w->parent)
        return false;
    bool wasHidden = isTaskBarHidden();
    std::uint32_t bits = hiddenBits(window);
    const std::pair<std::uint32_t, std::uint32_t> pairs[] = {
        {shfs::HideTaskBar, shfs::ShowTaskBar},
        {shfs::HideSipButton, shfs::ShowSipButton},
        {shfs::HideStartIcon, shfs::ShowStartIcon}};
    for (auto [hide, show] : pairs) {
        if (flags & hide)
            bits |= hide;
        if (flags & show)
            bits &= ~hide;
    }
    if (bits) {
        fullScreen().hidden[window] = bits;
    } else {
        fullScreen().hidden.erase(window);
    }
    if (wasHidden != isTaskBarHidden()) {
        // What the bar covered (or what now lies under it) is drawn again.
        gui::invalidateScreen();
    }
    markTaskBarChanged();
    markMenuBarChanged();
    return true;
}

bool isTaskBarHidden() {
    return (hiddenBits(barOwnerWindow()) & shfs::HideTaskBar) != 0;
}

}  // namespace platform
