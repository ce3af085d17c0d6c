#pragma once
// The main program's screens by module id. Screens name the ids they switch to; the program
// registers a screen for each id it builds (ui/screen_registry.h).

namespace ui {

namespace moduleId {
constexpr int Home = 10, Options = 11, SetupWizard = 13, WorldTime = 20, DaylightMap = 21,
              MeetingPlanner = 22, DialCodes = 23, Moon = 24, CurrentWeather = 31, WeatherMaps = 32,
              WeatherThird = 33, Alarms = 41, AlarmEdit = 42, Countdown = 43, Stopwatch = 44,
              Flights = 51, Codes = 52, Packing = 53, Itinerary = 54, Currency = 61,
              Temperature = 62, Speed = 63, Length = 64, Weight = 65, Clothes = 66, CityList = 98,
              Quit = 99;
}

// Ids 13 and 98 are told which module they were opened from, so they can return to it.
constexpr bool takesPreviousModule(int id) {
    return id == moduleId::SetupWizard || id == moduleId::CityList;
}

}  // namespace ui
