// The main program with the demonstration screen in place of the home screen and the set-up
// wizard, and requests that let end-to-end tests read the screen's state.

#include "app/application.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "tests/ui/demo/demo_module.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/list_control.h"
#include "ui/module_ids.h"
#include "ui/option_list.h"

namespace {

ui::demo::DemoModule* liveDemo() {
    auto* app = app::theApplication();
    return app ? dynamic_cast<ui::demo::DemoModule*>(app->currentModule()) : nullptr;
}

void registerRequests() {
    platform::registerAppRequest("list-first", [](std::string_view) {
        auto* demo = liveDemo();
        if (!demo)
            return platform::ControlReply{false, "no demonstration screen"};
        auto* list = demo->findControl<ui::ListControl>(ui::demo::demoId::List);
        return platform::ControlReply{true, std::to_string(list->firstVisibleRow())};
    });
    platform::registerAppRequest("edit-text", [](std::string_view) {
        auto* demo = liveDemo();
        if (!demo)
            return platform::ControlReply{false, "no demonstration screen"};
        auto* edit = demo->findControl<ui::EditField>(ui::demo::demoId::Edit);
        return platform::ControlReply{true, platform::toUtf8(edit->text())};
    });
    platform::registerAppRequest("time", [](std::string_view) {
        auto* demo = liveDemo();
        if (!demo)
            return platform::ControlReply{false, "no demonstration screen"};
        auto* picker = demo->findControl<ui::DateTimePicker>(ui::demo::demoId::Time);
        auto t = picker->time();
        return platform::ControlReply{true, std::to_string(t.hour * 60 + t.minute)};
    });
    platform::registerAppRequest("date", [](std::string_view) {
        auto* demo = liveDemo();
        if (!demo)
            return platform::ControlReply{false, "no demonstration screen"};
        auto* picker = demo->findControl<ui::DateTimePicker>(ui::demo::demoId::Date);
        auto t = picker->time();
        std::string answer = std::to_string(t.year) + " " + std::to_string(t.month) + " " +
                             std::to_string(t.day) + " " + std::to_string(t.hour * 60 + t.minute);
        return platform::ControlReply{true, answer + (picker->calendarOpen() ? " open" : "")};
    });
    platform::registerAppRequest("option", [](std::string_view) {
        auto* demo = liveDemo();
        if (!demo)
            return platform::ControlReply{false, "no demonstration screen"};
        auto* options = demo->findControl<ui::OptionList>(ui::demo::demoId::Options);
        return platform::ControlReply{true, platform::toUtf8(options->currentValue())};
    });
    platform::registerAppRequest("control", [](std::string_view id) {
        auto* demo = liveDemo();
        ui::Control* c = demo ? demo->findControl(std::atoi(std::string(id).c_str())) : nullptr;
        if (!c)
            return platform::ControlReply{false, "no such control"};
        const auto& r = c->rect;
        return platform::ControlReply{true, std::to_string(r.left) + " " + std::to_string(r.top) +
                                                " " + std::to_string(r.right) + " " +
                                                std::to_string(r.bottom)};
    });
}

}  // namespace

int main(int argc, char** argv) {
    registerRequests();
    ui::ScreenRegistry screens;
    screens.addStartUp([](ui::ModuleHost&) {
        ui::demo::registerDemoControls(app::theApplication()->controlFactory());
        return true;
    });
    for (int id : {ui::moduleId::Home, ui::moduleId::SetupWizard}) {
        screens.add(id, [](ui::ModuleHost& host, int) {
            return std::make_unique<ui::demo::DemoModule>(host);
        });
    }
    return app::runMainProgram(argc, argv, std::move(screens));
}
