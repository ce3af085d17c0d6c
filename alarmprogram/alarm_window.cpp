#include "alarmprogram/alarm_window.h"

namespace alarmprogram {

using namespace platform;

AlarmWindow::AlarmWindow(AlarmWindowEvents events) : events_(std::move(events)) {}

AlarmWindow::~AlarmWindow() {
    close();
}

bool AlarmWindow::create(const AlarmWindowOptions& options) {
    WindowClass cls;
    cls.name = std::wstring(kWindowClass);
    cls.proc = [this](WindowHandle w, std::uint32_t m, WParam wp, LParam lp) {
        return proc(w, m, wp, lp);
    };
    if (!registerWindowClass(cls))
        return false;

    const Rect desk = sipInfo().visibleDesktop;
    if (options.visible) {
        const ScreenFacts facts = currentScreenFacts();
        scene_ = std::make_unique<AlarmScene>(
            options.installFolder, Size{desk.width(), desk.height()}, alarmLayout(facts));
        scene_->drawBackground(options.texts);
    }
    embeddedMessage_ = registerWindowMessage(kEmbeddedMessageName);

    WindowCreate create;
    create.className = std::wstring(kWindowClass);
    create.title = std::wstring(kWindowTitle);
    create.x = desk.left;
    create.y = desk.top;
    create.width = desk.width();
    create.height = desk.height();
    create.visible = false;
    window_ = createWindow(create);
    if (!window_)
        return false;
    setTimer(window_, kAnimationTimer, kAnimationPeriodMs);
    if (!options.visible)
        return true;

    createMenuBar(options.texts);
    // The window ends where the menu bar begins.
    Rect r = windowRect(window_);
    r.bottom = std::max(r.top + 1, desk.bottom - shellBarHeight());
    moveWindow(window_, r, false);
    showWindow(window_, true);
    updateWindow(window_);
    setTimer(window_, kForegroundTimer, kForegroundDelayMs);
    return true;
}

void AlarmWindow::createMenuBar(const SceneTexts& texts) {
    menuBar_ = platform::createMenuBar(
        window_, {SoftKeyKind::Button, SoftKeyKind::Button, kDismissCommand, kSnoozeCommand});
    if (!menuBar_)
        return;
    setSoftKeyText(menuBar_, 0, texts.dismiss);
    setSoftKeyText(menuBar_, 1, texts.snooze);
    showMenuBar(menuBar_, true);
}

void AlarmWindow::setMessage(std::wstring_view message) {
    message_ = std::wstring(message);
    if (window_ && scene_)
        invalidateRect(window_, nullptr, false);
}

void AlarmWindow::close() {
    if (window_ && isWindow(window_))
        destroyWindow(window_);
    window_ = 0;
}

LResult AlarmWindow::proc(WindowHandle window, std::uint32_t message, WParam wParam,
                          LParam lParam) {
    if (embeddedMessage_ && message == embeddedMessage_) {
        if (events_.embedded)
            events_.embedded(wParam);
        return 0;
    }
    switch (message) {
        case wm::Paint:
            paint();
            return 0;
        case wm::EraseBackground:
            return 1;  // every paint covers the whole window
        case wm::Timer:
            if (wParam == kAnimationTimer) {
                animate();
            } else if (wParam == kForegroundTimer) {
                killTimer(window, kForegroundTimer);
                setForegroundWindow(window);
                lastFront_ = tickCount();
            }
            return 0;
        case wm::LButtonUp:
            penReleased(pointFromLParam(lParam));
            return 0;
        case wm::LButtonDown:
        case wm::MouseMove:
        case wm::KeyDown:
        case wm::KeyUp:
        case wm::Char:
            return 0;
        case wm::Command: {
            const auto command = static_cast<std::uint32_t>(wParam & 0xFFFF);
            if (command == kDismissCommand && events_.dismiss)
                events_.dismiss();
            else if (command == kSnoozeCommand && events_.snooze)
                events_.snooze();
            return 0;
        }
        case wm::Close:
            close();
            return 0;
        case wm::Destroy:
            killTimer(window, kAnimationTimer);
            killTimer(window, kForegroundTimer);
            if (menuBar_)
                destroyMenuBar(menuBar_);
            menuBar_ = 0;
            window_ = 0;
            postQuitMessage(0);
            return 0;
        default:
            return defWindowProc(window, message, wParam, lParam);
    }
}

void AlarmWindow::paint() {
    PaintSession session(window_);
    if (!scene_)
        return;
    const Bitmap& frame = scene_->composeFrame(bellFrame_, message_);
    const Rect client = clientRect(window_);
    session.dc().drawBitmap(client, frame, {0, 0});
    if (!painted_) {
        painted_ = true;
        if (events_.firstPaint)
            events_.firstPaint();
    }
}

void AlarmWindow::animate() {
    if (!scene_)
        return;
    bellFrame_ = bellFrame_ % kBellFrames + 1;
    invalidateRect(window_, &scene_->layout().bell, false);
    // The message shares no pixels with the bell, but it is redrawn with the frame; only the
    // bell's part has to reach the screen.
    const std::uint32_t now = tickCount();
    if (now - lastFront_ >= kRefrontPeriodMs && isWindowVisible(window_)) {
        setForegroundWindow(window_);
        lastFront_ = now;
    }
}

void AlarmWindow::penReleased(Point point) {
    if (!scene_)
        return;
    const AlarmLayout& layout = scene_->layout();
    if (layout.snooze.contains(point)) {
        if (events_.snooze)
            events_.snooze();
    } else if (layout.dismiss.contains(point)) {
        if (events_.dismiss)
            events_.dismiss();
    }
}

}  // namespace alarmprogram
