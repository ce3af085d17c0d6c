#include "ui/layout.h"

#include "gfx/display_metrics.h"
#include "gfx/graphics_state.h"
#include "platform/api/shell.h"
#include "ui/bar.h"
#include "ui/date_time_picker.h"
#include "ui/drop_down.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/list_control.h"
#include "ui/module.h"
#include "ui/picture_button.h"
#include "ui/picture_panel.h"
#include "ui/speech_bubble.h"
#include "ui/text_button.h"
#include "ui/toggle.h"

namespace ui {

std::unique_ptr<Control> createToolkitControl(const LayoutRecord& r, Module& module) {
    ModuleHost& host = module.host();
    int first = static_cast<int>(r.first);
    switch (r.type) {
        case layoutType::Label:
            return std::make_unique<Label>(first, r.second);
        case layoutType::PicturePanel:
            return std::make_unique<PicturePanel>(static_cast<platform::Colour>(r.first));
        case layoutType::DropDown:
            return std::make_unique<DropDown>();
        case layoutType::TextButton:
            return std::make_unique<TextButton>(first);
        case layoutType::List:
            return std::make_unique<ListControl>();
        case layoutType::PictureButton:
            return std::make_unique<PictureButton>();
        case layoutType::EditField:
            return std::make_unique<EditField>(host, r.second);
        case layoutType::DateTimePicker:
            return std::make_unique<DateTimePicker>(host, first);
        case layoutType::Bar:
            return std::make_unique<Bar>(first);
        case layoutType::SpeechBubble:
            return std::make_unique<SpeechBubble>(host, first);
        case layoutType::Toggle:
            return std::make_unique<Toggle>(host, r.first != 0);
        default:
            return nullptr;
    }
}

Control* buildLayout(Module& module, std::span<const LayoutRecord> records,
                     const OwnControls& ownControls) {
    platform::setWaitCursor(true);
    auto* gs = gfx::graphicsState();
    platform::DeviceContext* dc = gs ? &gs->drawingDc() : nullptr;
    Control* firstFocusable = nullptr;
    for (const LayoutRecord& r : records) {
        bool toolkit = r.type >= layoutType::Label && r.type <= layoutType::Toggle;
        std::unique_ptr<Control> made = ownControls ? ownControls(r) : nullptr;
        if (!made)
            made = toolkit ? createToolkitControl(r, module) : module.host().createControl(r);
        if (!made)
            continue;
        made->page = r.page;
        made->id = r.id;
        Control& control = module.addControl(std::move(made));
        control.place(gfx::scaleRect(platform::rectOfSize(r.x, r.y, r.width, r.height)), dc);
        control.show(r.visible != 0, false);
        control.placed();
        if (!firstFocusable && control.canTakeFocus())
            firstFocusable = &control;
    }
    module.rebuildIdIndex();
    platform::setWaitCursor(false);
    return firstFocusable;
}

}  // namespace ui
