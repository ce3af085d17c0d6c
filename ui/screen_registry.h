#pragma once
// The screens a program shows, by module id. Each subsystem registers its own screens, and
// what they share for the whole run, with one call from the program's entry point; the host
// asks the registry for the screen of an id and shows a placeholder for ids nobody registered.

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/module.h"
#include "ui/module_host.h"

namespace ui {

// Makes the screen of one module id; previousId is the module it was opened from.
using ScreenFactory = std::function<std::unique_ptr<Module>(ModuleHost& host, int previousId)>;

class ScreenRegistry {
  public:
    // The screen of a module id; a later registration of the same id replaces the earlier.
    void add(int moduleId, ScreenFactory factory);
    // Runs once the main window exists, before the first screen (a subsystem loads its
    // files); a hook that answers false ends the program.
    void addStartUp(std::function<bool(ModuleHost& host)> hook);
    // Runs when the program ends normally (its window is destroyed or it quits): a subsystem
    // stores what it keeps between runs. Never from a destructor, so never after the state
    // store is gone.
    void addShutDown(std::function<void()> hook);

    bool has(int moduleId) const { return factories_.contains(moduleId); }
    // The screen, not yet built; none when the id has no factory or the factory made none.
    std::unique_ptr<Module> create(ModuleHost& host, int moduleId, int previousId) const;
    // Runs the start-up hooks in registration order; false at the first that fails.
    bool startUp(ModuleHost& host) const;
    void shutDown() const;

  private:
    std::map<int, ScreenFactory> factories_;
    std::vector<std::function<bool(ModuleHost&)>> startUp_;
    std::vector<std::function<void()>> shutDown_;
};

}  // namespace ui
