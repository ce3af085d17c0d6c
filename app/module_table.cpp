#include "app/module_table.h"

namespace app {
namespace {

using enum ModeStore;

constexpr ModuleInfo kModules[] = {
    {10, L"main_now_now.tga", 670},
    {98, L"main_now_city.tga", 671},
    {11, L"main_now_settings.tga", 672},
    {13, L"", 0},
    {20, L"main_int_worldtime.tga", 649, SettingsFile, L"internationalmode", 1},
    {21, L"main_int_daylight.tga", 650, SettingsFile, L"internationalmode", 2},
    {22, L"main_int_meetingplan.tga", 651, SettingsFile, L"internationalmode", 3},
    {23, L"main_int_dialcodes.tga", 652, SettingsFile, L"internationalmode", 4},
    {24, L"main_int_moon.tga", 653},
    {31, L"main_wea_current.tga", 654, SettingsFile, L"weathermode", 1},
    {32, L"main_wea_maps.tga", 655, SettingsFile, L"weathermode", 4},
    {33, L"main_wea_air.tga", 656, SettingsFile, L"weathermode", 3},
    {41, L"main_alm_alarm.tga", 657},
    {42, L"", 0},
    {43, L"main_alm_count.tga", 659, SettingsFile, L"countermode", 2},
    {44, L"main_alm_stop.tga", 658, SettingsFile, L"countermode", 1},
    {51, L"main_trv_flights.tga", 660},
    {52, L"main_trv_codes.tga", 661},
    {53, L"main_trv_packing.tga", 662},
    {54, L"main_trv_itin.tga", 663},
    {61, L"main_con_currency.tga", 664, Registry, L"ConversionMode", 1},
    {62, L"main_con_temp.tga", 665, Registry, L"ConversionMode", 2},
    {63, L"main_con_speed.tga", 666, Registry, L"ConversionMode", 3},
    {64, L"main_con_length.tga", 667, Registry, L"ConversionMode", 4},
    {65, L"main_con_weight.tga", 668, Registry, L"ConversionMode", 5},
    {66, L"main_con_clothes.tga", 669, Registry, L"ConversionMode", 6},
};

constexpr MenuGroup kGroups[] = {
    {L"main_roamer.tga", 643, {10, 98, 11}, 3},
    {L"main_international.tga", 644, {20, 21, 22, 23, 24}, 5},
    {L"main_weather.tga", 645, {31, 32, 33}, 3},
    {L"main_alarms.tga", 646, {41, 44, 43}, 3},
    {L"main_travelinfo.tga", 647, {51, 52, 53, 54}, 4},
    {L"main_conversion.tga", 648, {61, 62, 63, 64, 65, 66}, 6},
};

}  // namespace

std::optional<ModuleInfo> moduleInfo(int id) {
    for (const auto& m : kModules) {
        if (m.id == id)
            return m;
    }
    return std::nullopt;
}

std::span<const ModuleInfo> allModules() {
    return kModules;
}

std::span<const MenuGroup> menuGroups() {
    return kGroups;
}

}  // namespace app
