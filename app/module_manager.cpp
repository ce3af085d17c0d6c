// The module manager: one live screen module at a time, created by module id, with the
// navigation history that Back walks.

#include "app/application.h"
#include "app/main_menu.h"
#include "app/module_table.h"
#include "app/placeholder_module.h"
#include "core/settings.h"
#include "core/settings_file.h"
#include "core/trace.h"
#include "platform/api/shell.h"

namespace app {

using namespace platform;

void Application::recordScreenMode(int id) {
    auto info = moduleInfo(id);
    if (!info)
        return;
    if (info->store == ModeStore::SettingsFile) {
        core::setIniNumber(info->modeKey, info->modeValue);
    } else if (info->store == ModeStore::Registry) {
        core::writeNumberSetting(info->modeKey, info->modeValue);
    }
}

std::unique_ptr<ui::Module> Application::createModule(int id, int previousId) {
    std::unique_ptr<ui::Module> module = screens_.create(*this, id, previousId);
    if (!module)
        module = std::make_unique<PlaceholderModule>(*this, id, previousId);
    module->build();
    if (carriedState_.has_value()) {
        module->restoreState(carriedState_);
        carriedState_.reset();
    }
    return module;
}

void Application::switchModule(int id, std::unique_ptr<ui::Module> ready, SwitchOptions options) {
    core::traceLabel("  starting " + std::to_string(id));
    // An overlay belongs to a control of the live module; it closes before anything changes.
    if (popupOverlay_ && (ready || id != currentModuleId_))
        closeOverlay(*popupOverlay_);
    if (options.resetMenuPictures) {
        if (mainMenu_)
            mainMenu_->freePictures();
    } else if (mainMenu_ && mainMenu_->isOpen()) {
        showMainMenu(false);
    }
    core::traceLabel("ready");

    if (ready) {
        if (options.saveOld && currentModuleId_ >= 1)
            history_.push_back(currentModuleId_);
        if (currentModule_) {
            currentModule_->activationChanged(true);
            currentModule_->show(false, false);
            // The caller that made the ready module owns the one it replaces.
            currentModule_.release();
        }
        currentModule_ = std::move(ready);
        id = -1;
    } else {
        if (id == currentModuleId_)
            return;
        setWaitCursor(true);
        if (options.saveOld && currentModuleId_ >= 1)
            history_.push_back(currentModuleId_);
        int previousId = options.openedFrom > 0 ? options.openedFrom : currentModuleId_;
        openedFrom_ = previousId;
        if (currentModule_) {
            core::traceLabel("old module remove");
            currentModule_->show(false, false);
            if (options.deleteOld) {
                currentModule_.reset();
            } else {
                currentModule_.release();
            }
        }
        if (id == moduleId::Quit) {
            currentModuleId_ = id;
            saveState();
            setWaitCursor(false);
            postQuitMessage(0);
            return;
        }
        recordScreenMode(id);
        currentModule_ = createModule(id, previousId);
    }
    currentModuleId_ = id;
    setWaitCursor(false);
    core::traceLabel("new module created");
    if (!options.noRedraw && currentModule_) {
        // A main menu left open over the new module keeps its own soft keys.
        if (!isMainMenuOpen())
            setMenuBar(currentModule_->menuEntries());
        currentModule_->show(true, true);
        currentModule_->isActive = true;
        currentModule_->startTimers();
        core::traceLabel("ready for update");
        invalidateAll(true);
    }
}

void Application::rebuildCurrentModule(bool resetMenuPictures) {
    int id = currentModuleId_;
    if (id <= 0)
        return;
    // Switching to the same id does nothing, so the old module goes first.
    if (currentModule_) {
        carriedState_ = currentModule_->saveState();
        currentModule_->show(false, false);
        currentModule_.reset();
    }
    currentModuleId_ = 0;
    // The rebuilt screen still returns where the old one would have.
    switchModule(id, {.saveOld = false,
                      .deleteOld = true,
                      .noRedraw = false,
                      .resetMenuPictures = resetMenuPictures,
                      .openedFrom = openedFrom_});
    carriedState_.reset();
}

bool Application::back() {
    if (popupOverlay_) {
        popupOverlay_->cancel();
        return true;
    }
    if (mainMenu_ && mainMenu_->isOpen()) {
        showMainMenu(false);
        return true;
    }
    if (currentModule_) {
        if (currentModule_->command(ui::command::Back, 0))
            return true;
        ui::Control* focused = currentModule_->focusedControl();
        if (focused && focused->key(wm::KeyDown, vk::Escape, 0))
            return true;
    }
    if (history_.empty())
        return false;
    int id = history_.back();
    history_.pop_back();
    if (id == 0)
        return true;
    switchModule(id, {.saveOld = false, .deleteOld = true});
    return true;
}

void Application::requestModule(int id) {
    applicationCommand(ui::command::SwitchModule, id);
}

void Application::replaceModuleLater(int id) {
    platform::postMessage(window_, kReplaceModuleMessage, static_cast<WParam>(id), 0);
}

void Application::quit() {
    // Without saveState: the program ends as if it had not run.
    platform::postQuitMessage(0);
}

void Application::requestModuleLater(int id) {
    platform::postMessage(window_, changeModuleMessage_, static_cast<WParam>(id), 0);
}

void Application::showMainMenu(bool open) {
    if (!mainMenu_)
        return;
    coverModule(open);
    if (open) {
        mainMenu_->open();
        static const ui::MenuEntry kMenuKeys[] = {
            {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 544},
            {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 18},
        };
        setMenuBar(kMenuKeys);
    } else {
        mainMenu_->close();
        if (currentModule_)
            setMenuBar(currentModule_->menuEntries());
    }
    if (currentModule_) {
        ui::Control* focused = currentModule_->focusedControl();
        if (focused)
            focused->mainMenuShown(open);
        if (!open && focused && focused == currentModule_->focusedControl()) {
            focused->focus(true, false);
        }
    }
    invalidateAll(false);
}

bool Application::isMainMenuOpen() const {
    return mainMenu_ && mainMenu_->isOpen();
}

void Application::setFullScreen(bool on) {
    if (on) {
        if (visibleBar_)
            showMenuBar(menuBars_[visibleBar_ - 101], false);
        bool changed = !fullScreen_;
        shFullScreen(window_, shfs::HideTaskBar | shfs::HideSipButton | shfs::HideStartIcon);
        if (changed) {
            Size screen = screenSize();
            moveWindow(window_, Rect{0, 0, screen.width, screen.height}, true);
        }
    } else {
        // The menu bar comes back below the window.
        Rect desk = sipInfo().visibleDesktop;
        desk.bottom -= shellBarHeight();
        if (visibleBar_)
            showMenuBar(menuBars_[visibleBar_ - 101], true);
        shFullScreen(window_, shfs::ShowTaskBar | shfs::ShowSipButton | shfs::ShowStartIcon);
        if (fullScreen_)
            moveWindow(window_, desk, true);
    }
    fullScreen_ = on;
    invalidateAll(false);
}

}  // namespace app
