#include "ui/screen_registry.h"

namespace ui {

void ScreenRegistry::add(int moduleId, ScreenFactory factory) {
    factories_[moduleId] = std::move(factory);
}

void ScreenRegistry::addStartUp(std::function<bool(ModuleHost& host)> hook) {
    startUp_.push_back(std::move(hook));
}

void ScreenRegistry::addShutDown(std::function<void()> hook) {
    shutDown_.push_back(std::move(hook));
}

std::unique_ptr<Module> ScreenRegistry::create(ModuleHost& host, int moduleId,
                                               int previousId) const {
    auto it = factories_.find(moduleId);
    if (it == factories_.end() || !it->second)
        return nullptr;
    return it->second(host, previousId);
}

bool ScreenRegistry::startUp(ModuleHost& host) const {
    for (const auto& hook : startUp_) {
        if (!hook(host))
            return false;
    }
    return true;
}

void ScreenRegistry::shutDown() const {
    for (const auto& hook : shutDown_) hook();
}

}  // namespace ui
