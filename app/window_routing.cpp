// Routing of the main window's messages to the main menu, the about box, the live module and
// its controls, and the window's own handling of size, activation and settings changes.

#include "app/application.h"
#include "app/main_menu.h"
#include "core/settings.h"
#include "gfx/display_metrics.h"
#include "gfx/image_cache.h"
#include "platform/api/controls.h"
#include "platform/api/power.h"
#include "ui/control.h"

namespace app {

using namespace platform;

namespace {

constexpr std::uint32_t kSbLineUp = 0, kSbLineDown = 1, kSbPageUp = 2, kSbPageDown = 3,
                        kSbThumbPosition = 4, kSbThumbTrack = 5;
constexpr int kLineScroll = 20;

}  // namespace

LResult Application::windowMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                                   LParam lParam) {
    if (message == changeModuleMessage_ && changeModuleMessage_ != 0) {
        switchModule(static_cast<int>(wParam), {.saveOld = true, .deleteOld = true});
        return 1;
    }
    if (message == kReplaceModuleMessage) {
        switchModule(static_cast<int>(wParam), {.saveOld = false, .deleteOld = true});
        return 1;
    }
    if (message == commsMessage_ && commsMessage_ != 0) {
        return currentModule_ ? currentModule_->commsMessage(window, message, wParam, lParam) : 0;
    }
    if (message == embeddedMessage_ && embeddedMessage_ != 0) {
        return currentModule_ ? currentModule_->embeddedMessage(window, message, wParam, lParam)
                              : 0;
    }
    switch (message) {
        case wm::KeyDown:
        case wm::KeyUp:
            routeKey(message, wParam, lParam);
            return 0;
        case wm::MouseMove:
        case wm::LButtonDown:
        case wm::LButtonUp:
            routePointer(message, wParam, lParam);
            return 0;
        case wm::Paint:
            paintWindow();
            return 0;
        case wm::Activate:
            if (wParam == wa::Inactive) {
                releaseBackBuffer();
                gfx::trimImageCache();
            } else {
                if (!backBuffer_)
                    createBackBuffer();
                if (orientationChanged()) {
                    createBackBuffer();
                    reloadSkin(false);
                    rebuildCurrentModule(false);
                }
            }
            if (currentModule_)
                currentModule_->activationChanged(wParam == wa::Inactive);
            return 0;
        case wm::Size:
            if (!resizingItself_ && window_) {
                bool rotated = orientationChanged();
                gfx::computeDisplayMetrics();
                createBackBuffer();
                if (rotated) {
                    reloadSkin(false);
                    rebuildCurrentModule(true);
                    if (currentModule_)
                        currentModule_->startTimers();
                }
                invalidateAll(false);
            }
            return 0;
        case wm::EraseBackground:
            return 1;  // everything comes from the back buffer
        case wm::Command: {
            if (controlCommand(wParam, lParam))
                return 0;
            auto id = static_cast<std::uint32_t>(wParam & 0xFFFF);
            // Application commands carry their data (a module id) in lParam.
            if (id == ui::command::SwitchModule) {
                applicationCommand(id, static_cast<std::intptr_t>(lParam));
            } else {
                command(id);
            }
            return 0;
        }
        case wm::SettingChange:
            settingChanged(wParam);
            return 0;
        case wm::VScroll:
            if (currentModule_) {
                std::uint32_t code = static_cast<std::uint32_t>(wParam & 0xFFFF);
                int page = clientRect(window).height();
                int dy = 0;
                if (code == kSbLineUp)
                    dy = -kLineScroll;
                if (code == kSbLineDown)
                    dy = kLineScroll;
                if (code == kSbPageUp)
                    dy = -page;
                if (code == kSbPageDown)
                    dy = page;
                if (code == kSbThumbPosition || code == kSbThumbTrack) {
                    dy = hiWord(wParam) - currentModule_->scrollY;
                }
                currentModule_->scrollBy(dy);
            }
            return 0;
        case wm::Timer:
            if (wParam == kAutoRepeatTimer) {
                if (currentModule_ && currentModule_->captureControl()) {
                    currentModule_->captureControl()->autoRepeat();
                }
            } else if (wParam == kKeepAwakeTimer) {
                systemIdleTimerReset();
            } else if (currentModule_) {
                currentModule_->timer(wParam);
            }
            return 0;
        case wm::CtlColorEdit:
            if (LResult answer = controlColour(wParam, lParam))
                return answer;
            return defWindowProc(window, message, wParam, lParam);
        case wm::Notify:
            if (controlNotify(lParam))
                return 0;
            return defWindowProc(window, message, wParam, lParam);
        case wm::HotKey:
            // The hardware Back key: native text fields take it as a backspace; everywhere
            // else it is the Back action.
            if (hiWord(static_cast<std::uint64_t>(lParam)) == static_cast<int>(vk::Escape)) {
                bool keyUp = (lParam & 0x1000) != 0;
                WindowHandle focus = focusWindow();
                bool textField = focus && focus != window_ && !popupOverlay_ && !isMainMenuOpen() &&
                                 windowClassName(focus) == kEditClass;
                if (textField) {
                    sendBackToFocusWindow(message, wParam, lParam);
                } else if (!keyUp) {
                    applicationCommand(ui::command::Back, 0);
                }
            }
            return 0;
        default:
            return defWindowProc(window, message, wParam, lParam);
    }
}

void Application::routeKey(std::uint32_t message, WParam key, LParam flags) {
    if (aboutShown_) {
        if (message == wm::KeyDown) {
            closeAbout();
            invalidateAll(false);
        }
        return;
    }
    if (mainMenu_ && mainMenu_->isOpen()) {
        mainMenu_->key(message, static_cast<std::uint32_t>(key));
        return;
    }
    if (popupOverlay_) {
        popupOverlay_->key(message, static_cast<std::uint32_t>(key));
        return;
    }
    std::uint32_t code = static_cast<std::uint32_t>(key);
    if (code == vk::Tab)
        code = vk::Down;
    if (!currentModule_)
        return;
    ui::Control* focused = currentModule_->focusedControl();
    if (focused && focused->isVisible && focused->key(message, code, flags))
        return;
    if (currentModule_->key(message, code, flags))
        return;
    if (message == wm::KeyDown && (code == vk::Up || code == vk::Down)) {
        currentModule_->moveFocus(code == vk::Down);
    }
}

void Application::routePointer(std::uint32_t message, WParam keys, LParam position) {
    if (aboutShown_) {
        if (message == wm::LButtonDown) {
            closeAbout();
            invalidateAll(false);
        }
        return;
    }
    Point p = pointFromLParam(position);
    if (mainMenu_ && mainMenu_->isOpen()) {
        mainMenu_->pointer(message, p);
        return;
    }
    if (popupOverlay_) {
        popupOverlay_->pointer(message, keys, p);
        return;
    }
    if (currentModule_)
        currentModule_->pointer(message, keys, p);
}

void Application::settingChanged(WParam wParam) {
    if (wParam == SpiSetSipInfo) {
        // The input panel moved: the window follows the visible desktop.
        Rect before = windowRect(window_);
        if (!fullScreen_) {
            Rect desk = sipInfo().visibleDesktop;
            desk.bottom = std::min(desk.bottom, sipInfo().sipRect.bottom);
            moveWindow(window_, desk, true);
        }
        invalidateAll(false);
        if (currentModule_) {
            int dy = windowRect(window_).height() - before.height();
            if (dy < 0)
                currentModule_->scrollFocusedIntoView();
        }
        return;
    }
    reloadTheme(false, true);
}

void Application::command(std::uint32_t commandId) {
    if (aboutShown_) {
        closeAbout();
        invalidateAll(false);
    }
    if (popupOverlay_) {
        // The right soft key cancels the overlay, any other command confirms it.
        popupOverlay_->command(commandId);
        return;
    }
    if (mainMenu_ && mainMenu_->isOpen()) {
        mainMenu_->command(commandId);
        return;
    }
    if (commandId == ui::command::Back || commandId == ui::command::SwitchModule) {
        applicationCommand(commandId, 0);
        return;
    }
    if (currentModule_)
        currentModule_->command(commandId, 0);
}

void Application::applicationCommand(std::uint32_t commandId, std::intptr_t data) {
    if (commandId == ui::command::SwitchModule) {
        switchModule(static_cast<int>(data), {.saveOld = true, .deleteOld = true});
    } else if (commandId == ui::command::Back) {
        back();
    }
}

}  // namespace app
