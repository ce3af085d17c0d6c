#pragma once
// The screens of the main program by module id (ui/module_ids.h): their menu icons and
// labels, and the screen mode each one records when it is opened.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/module_ids.h"

namespace app {

namespace moduleId = ui::moduleId;
using ui::takesPreviousModule;

// Where opening a screen records it: a settings-file key or a registry value.
enum class ModeStore { None, SettingsFile, Registry };

struct ModuleInfo {
    int id = 0;
    std::wstring_view icon;  // under "graphics2\", empty when not in the main menu
    int labelString = 0;     // 0 when not in the main menu
    ModeStore store = ModeStore::None;
    std::wstring_view modeKey = {};
    int modeValue = 0;
};

// Nothing for an id without an entry (such ids show the home screen).
std::optional<ModuleInfo> moduleInfo(int id);
std::span<const ModuleInfo> allModules();

struct MenuGroup {
    std::wstring_view icon;  // under "graphics2\"
    int labelString = 0;
    std::array<int, 6> entries{};
    int entryCount = 0;
};
std::span<const MenuGroup> menuGroups();

}  // namespace app
