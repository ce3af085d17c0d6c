#include "alarms/screens/counters_ticker.h"

namespace alarms {

using namespace platform;

namespace {

constexpr wchar_t kClassName[] = L"VornCounterTicker";
constexpr std::uintptr_t kTickerTimer = 1;

}  // namespace

CounterTicker::~CounterTicker() {
    stop();
}

bool CounterTicker::start(WindowHandle parent, std::uint32_t intervalMs,
                          std::function<void()> onTick) {
    stop();
    if (!isWindowClassRegistered(kClassName)) {
        WindowClass cls;
        cls.name = kClassName;
        cls.proc = &CounterTicker::proc;
        cls.background = std::nullopt;
        if (!registerWindowClass(cls))
            return false;
    }
    WindowCreate create;
    create.className = kClassName;
    create.parent = parent;
    create.x = create.y = create.width = create.height = 0;
    create.visible = false;
    window_ = createWindow(create);
    if (!window_)
        return false;
    onTick_ = std::move(onTick);
    setWindowUserData(window_, reinterpret_cast<std::intptr_t>(this));
    setTimer(window_, kTickerTimer, intervalMs);
    return true;
}

void CounterTicker::stop() {
    WindowHandle window = window_;
    window_ = 0;
    onTick_ = nullptr;
    if (window && isWindow(window)) {
        setWindowUserData(window, 0);
        killTimer(window, kTickerTimer);
        destroyWindow(window);
    }
}

LResult CounterTicker::proc(WindowHandle window, std::uint32_t message, WParam wParam,
                            LParam lParam) {
    auto* ticker = reinterpret_cast<CounterTicker*>(windowUserData(window));
    if (ticker && message == wm::Timer && wParam == kTickerTimer && ticker->onTick_) {
        // The call may stop the ticker, which forgets the function being run: run a copy.
        auto onTick = ticker->onTick_;
        onTick();
        return 0;
    }
    if (ticker && message == wm::Destroy) {
        // The main window goes, and its children with it.
        ticker->window_ = 0;
        ticker->onTick_ = nullptr;
    }
    return defWindowProc(window, message, wParam, lParam);
}

}  // namespace alarms
