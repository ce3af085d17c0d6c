#include "ui/control_factory.h"

#include "ui/control.h"
#include "ui/option_list.h"

namespace ui {

ControlFactory::ControlFactory() {
    add(layoutType::OptionList,
        [](const LayoutRecord&, ModuleHost& host) { return std::make_unique<OptionList>(host); });
}

void ControlFactory::add(int type, ControlMaker maker) {
    if (type < layoutType::FirstScreenSpecific || type > layoutType::LastScreenSpecific)
        return;
    makers_[type] = std::move(maker);
}

std::unique_ptr<Control> ControlFactory::create(const LayoutRecord& record,
                                                ModuleHost& host) const {
    auto it = makers_.find(record.type);
    if (it == makers_.end())
        return nullptr;
    return it->second(record, host);
}

}  // namespace ui
