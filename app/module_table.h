#pragma once
// The screens of the main program by module id: their menu icons and labels, and the screen
// mode each one records when it is opened.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace app {

namespace moduleId {
constexpr int Home = 10, Options = 11, SetupWizard = 13, WorldTime = 20, DaylightMap = 21,
              MeetingPlanner = 22, DialCodes = 23, Moon = 24, CurrentWeather = 31,
              WeatherMaps = 32, WeatherThird = 33, Alarms = 41, AlarmEdit = 42, Countdown = 43,
              Stopwatch = 44, Flights = 51, Codes = 52, Packing = 53, Itinerary = 54,
              Currency = 61, Temperature = 62, Speed = 63, Length = 64, Weight = 65,
              Clothes = 66, CityList = 98, Quit = 99;
}

// Where opening a screen records it: a settings-file key or a registry value.
enum class ModeStore { None, SettingsFile, Registry };

struct ModuleInfo {
    int id = 0;
    std::wstring_view icon;   // under "graphics2\", empty when not in the main menu
    int labelString = 0;      // 0 when not in the main menu
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

// Ids 13 and 98 are told which module they were opened from, so they can return to it.
constexpr bool takesPreviousModule(int id) {
    return id == moduleId::SetupWizard || id == moduleId::CityList;
}

}  // namespace app
