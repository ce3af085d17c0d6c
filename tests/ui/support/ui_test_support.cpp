#include "tests/ui/support/ui_test_support.h"

#include <cstdlib>
#include <filesystem>

#include "core/time_text.h"
#include "gfx/display_metrics.h"
#include "gfx/graphics_state.h"
#include "platform/api/controls.h"
#include "platform/api/shell_install.h"
#include "platform/gui/window_system.h"
#include "tests/platform/support/test_device.h"
#include "ui/control.h"

namespace ui::test {

using namespace platform;

namespace {

constexpr wchar_t kWindowClass[] = L"UiTestHost";
TestHost* g_host = nullptr;

// The device's install folder, a link to the project's data folder.
std::wstring useInstallFolder(const char* screen) {
    const auto& root = platform::test::useTestDevice(screen);
    const auto programFiles = root / "Program Files";
    std::filesystem::create_directories(programFiles);
    const auto link = programFiles / "Vorn Roamer";
    if (!std::filesystem::exists(link)) {
        std::filesystem::create_directory_symlink(std::filesystem::path(VORN_SOURCE_DIR) / "data",
                                                  link);
    }
    return L"\\Program Files\\Vorn Roamer\\";
}

}  // namespace

TestHost::TestHost(const char* screen) : mainPath_(useInstallFolder(screen)) {
    g_host = this;
    registerNativeControls();
    if (!isWindowClassRegistered(kWindowClass)) {
        WindowClass cls;
        cls.name = kWindowClass;
        cls.proc = &TestHost::windowProc;
        registerWindowClass(cls);
    }
    // The screen of an earlier test of this program may still be up.
    gui::applyScreenProfile();
    gfx::computeDisplayMetrics();
    gfx::createGraphicsState();
    theme_.textColour = 0xFFFFFF;
    theme_.selectedTextColour = 0xFFFFFF;
    theme_.mainColour = theme_.mainColourAlt = theme_.captionColour = 0xC56A31;
    WindowCreate create;
    create.className = kWindowClass;
    create.title = L"UiTest";
    window_ = createWindow(create);
    setForegroundWindow(window_);
    setFocus(window_);
    pump();
}

TestHost::~TestHost() {
    destroyWindow(window_);
    pump();
    gfx::destroyGraphicsState();
    g_host = nullptr;
}

LResult TestHost::windowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                             LParam lParam) {
    TestHost* host = g_host;
    if (!host || !host->module_)
        return defWindowProc(window, message, wParam, lParam);
    switch (message) {
        case wm::KeyDown:
        case wm::KeyUp:
            host->routeKey(message, static_cast<std::uint32_t>(wParam));
            return 0;
        case wm::Notify: {
            const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
            Control* c = header ? controlOfWindow(header->from) : nullptr;
            return c && c->nativeNotify(*header) ? 1 : 0;
        }
        case wm::Command: {
            Control* c = controlOfWindow(static_cast<WindowHandle>(lParam));
            if (c)
                c->nativeCommand(static_cast<std::uint32_t>(wParam >> 16));
            return 0;
        }
        case wm::Paint: {
            PaintSession paint(window);
            return 0;
        }
        default:
            return defWindowProc(window, message, wParam, lParam);
    }
}

void TestHost::invalidateArea(const Rect& inclusive) {
    ++invalidations;
    Rect r{inclusive.left, inclusive.top, inclusive.right + 1, inclusive.bottom + 1};
    invalidateRect(window_, &r, true);
}

void TestHost::invalidateAll(bool) {
    ++invalidations;
    invalidateRect(window_, nullptr, true);
}

void TestHost::setMenuBar(std::span<const MenuEntry> entries) {
    menu.assign(entries.begin(), entries.end());
}

std::unique_ptr<Control> TestHost::createControl(const LayoutRecord& record) {
    return factory.create(record, *this);
}

void TestHost::openOverlay(Overlay& overlay) {
    overlay_ = &overlay;
    if (module_)
        module_->coverNativeControls(true);
    setMenuBar(overlay.menuEntries());
}

void TestHost::closeOverlay(Overlay& overlay) {
    if (overlay_ != &overlay)
        return;
    overlay_ = nullptr;
    if (module_)
        module_->coverNativeControls(false);
    menu.clear();
}

void TestHost::attach(Module& module) {
    module_ = &module;
    module.show(true, true);
    module.isActive = true;
    pump();
}

void TestHost::routeKey(std::uint32_t message, std::uint32_t key) {
    if (overlay_) {
        overlay_->key(message, key);
        return;
    }
    if (!module_)
        return;
    if (key == vk::Tab)
        key = vk::Down;
    Control* focused = module_->focusedControl();
    if (focused && focused->isVisible && focused->key(message, key, 0))
        return;
    if (module_->key(message, key, 0))
        return;
    if (message == wm::KeyDown && (key == vk::Up || key == vk::Down)) {
        module_->moveFocus(key == vk::Down);
    }
}

// Keys go where the platform's focus is, as they would from the keyboard.
void TestHost::keyDown(std::uint32_t key) {
    WindowHandle target = focusWindow() ? focusWindow() : window_;
    sendMessage(target, wm::KeyDown, key, 1);
    pump();
}

void TestHost::keyUp(std::uint32_t key) {
    WindowHandle target = focusWindow() ? focusWindow() : window_;
    sendMessage(target, wm::KeyUp, key, static_cast<LParam>(0xC0000001u));
    pump();
}

void TestHost::pressKey(std::uint32_t key) {
    keyDown(key);
    keyUp(key);
}

void TestHost::typeText(std::wstring_view text) {
    for (wchar_t c : text) {
        WindowHandle target = focusWindow() ? focusWindow() : window_;
        sendMessage(target, wm::Char, static_cast<WParam>(c), 1);
    }
    pump();
}

void TestHost::down(Point p) {
    if (overlay_) {
        overlay_->pointer(wm::LButtonDown, 1, p);
    } else if (module_) {
        module_->pointer(wm::LButtonDown, 1, p);
    }
    pump();
}

void TestHost::move(Point p) {
    if (overlay_) {
        overlay_->pointer(wm::MouseMove, 1, p);
    } else if (module_) {
        module_->pointer(wm::MouseMove, 1, p);
    }
    pump();
}

void TestHost::up(Point p) {
    if (overlay_) {
        overlay_->pointer(wm::LButtonUp, 0, p);
    } else if (module_) {
        module_->pointer(wm::LButtonUp, 0, p);
    }
    pump();
}

void TestHost::tap(Point p) {
    down(p);
    up(p);
}

void TestHost::command(std::uint32_t commandId) {
    if (overlay_) {
        overlay_->command(commandId);
    } else if (module_) {
        module_->command(commandId, 0);
    }
    pump();
}

void TestHost::autoRepeatTick() {
    if (module_ && module_->captureControl())
        module_->captureControl()->autoRepeat();
    pump();
}

void TestHost::pump() {
    Message m;
    while (peekMessage(m, true)) {
        if (m.id == wm::Quit || m.id == wm::Timer)
            continue;
        translateMessage(m);
        dispatchMessage(m);
    }
}

std::shared_ptr<Bitmap> TestHost::render() {
    Rect client = clientRect(window_);
    auto bitmap = std::make_shared<Bitmap>(client.width(), client.height());
    DeviceContext dc;
    dc.selectBitmap(bitmap);
    dc.fillRect(client, 0x808080);
    if (module_)
        module_->paint(dc, client);
    if (overlay_)
        overlay_->paint(dc, client);
    dc.selectBitmap(nullptr);
    return bitmap;
}

int countNear(const Bitmap& bitmap, const Rect& area, Colour colour, int tolerance) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            Colour c = bitmap.pixel(x, y);
            if (std::abs(redOf(c) - redOf(colour)) <= tolerance &&
                std::abs(greenOf(c) - greenOf(colour)) <= tolerance &&
                std::abs(blueOf(c) - blueOf(colour)) <= tolerance) {
                ++count;
            }
        }
    }
    return count;
}

std::wstring TestHost::timeText(const platform::SystemTime& time) const {
    return core::clockTimeText(time, 1);
}

std::wstring TestHost::dateText(const platform::SystemTime& time) const {
    return core::shortDateText(time);
}

}  // namespace ui::test
