// The main window's side of the controls: the control factory for screen-specific layout
// types, the pop-up overlay, the messages of the native controls' child windows, and the
// requests `vorndev ctl app` asks the program.

#include <sstream>

#include "app/application.h"
#include "app/main_menu.h"
#include "core/settings_file.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "ui/edit_field.h"

namespace app {

using namespace platform;

std::unique_ptr<ui::Control> Application::createControl(const ui::LayoutRecord& record) {
    return controlFactory_.create(record, *this);
}

void Application::coverModule(bool covered) {
    if (currentModule_)
        currentModule_->coverNativeControls(covered);
}

void Application::openOverlay(ui::Overlay& overlay) {
    if (popupOverlay_ == &overlay)
        return;
    popupOverlay_ = &overlay;
    coverModule(true);
    setMenuBar(overlay.menuEntries());
    invalidateAll(false);
}

void Application::closeOverlay(ui::Overlay& overlay) {
    if (popupOverlay_ != &overlay)
        return;
    popupOverlay_ = nullptr;
    if (currentModule_) {
        if (currentModule_->captureControl())
            currentModule_->setCaptureControl(nullptr);
        setMenuBar(currentModule_->menuEntries());
        coverModule(mainMenu_ && mainMenu_->isOpen());
        if (ui::Control* focused = currentModule_->focusedControl())
            focused->focus(true, false);
    }
    invalidateAll(false);
}

LResult Application::controlColour(WParam dc, LParam child) {
    // Screen-specific edit fields (212) get the theme's text colour on their own colour;
    // other fields keep their defaults.
    auto* edit =
        dynamic_cast<ui::EditField*>(ui::controlOfWindow(static_cast<WindowHandle>(child)));
    if (!edit || edit->kind != ui::controlKind::ColouredEdit || !dc)
        return 0;
    auto* context = reinterpret_cast<DeviceContext*>(dc);
    context->setTextColour(theme_.textColour);
    context->setBackgroundColour(edit->fieldColour());
    return brushAnswer(edit->fieldColour());
}

bool Application::controlNotify(LParam header) {
    if (!header)
        return false;
    const auto& h = *reinterpret_cast<const NotifyHeader*>(header);
    if (h.code != DtnDateTimeChange)
        return false;
    ui::Control* control = ui::controlOfWindow(h.from);
    if (!control || !ui::controlKind::isPicker(control->kind))
        return false;
    return control->nativeNotify(h);
}

bool Application::controlCommand(WParam wParam, LParam child) {
    // Control notifications carry their code in the high word and the child in lParam;
    // menu and soft-key commands have neither.
    auto code = static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF);
    if (code == 0 || child <= 0 || parentWindow(static_cast<WindowHandle>(child)) != window_) {
        return false;
    }
    ui::Control* control = ui::controlOfWindow(static_cast<WindowHandle>(child));
    return control && control->nativeCommand(code);
}

void Application::registerAppRequests() {
    registerAppRequest("module", [this](std::string_view) {
        return ControlReply{true, std::to_string(currentModuleId_)};
    });
    registerAppRequest("history", [this](std::string_view) {
        std::ostringstream out;
        for (std::size_t i = 0; i < history_.size(); ++i) out << (i ? " " : "") << history_[i];
        return ControlReply{true, out.str()};
    });
    // A settings-file value as the program holds it (the file is written only when a screen
    // saves the list).
    registerAppRequest("ini", [](std::string_view key) {
        std::wstring name = fromUtf8(key);
        std::wstring value = core::iniText(name, L"\x01");
        if (value == L"\x01")
            return ControlReply{false, "no settings-file key " + std::string(key)};
        return ControlReply{true, toUtf8(value)};
    });
    registerAppRequest("menu", [this](std::string_view) {
        if (!mainMenu_ || !mainMenu_->isOpen())
            return ControlReply{true, "closed"};
        return ControlReply{true, "open " + std::to_string(mainMenu_->chosenGroup()) + " " +
                                      std::to_string(mainMenu_->highlightedModule())};
    });
}

}  // namespace app
