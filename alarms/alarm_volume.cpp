#include "alarms/alarm_volume.h"

#include <algorithm>

#include "platform/api/registry.h"

namespace alarms {
namespace {

constexpr std::uint16_t kDefaultSystemVolume = 12288;

std::uint16_t levelOfStep(std::uint32_t step) {
    switch (step) {
        case 1:
            return 12288;
        case 2:
            return 24576;
        case 3:
            return 36864;
        case 4:
            return 45056;
        case 5:
            return 65535;
        default:
            return 0;
    }
}

// The device's own alarm volume, from its sound settings.
std::uint16_t systemAlarmVolume() {
    using platform::Hive;
    using platform::RegistryKey;
    if (auto alarm = RegistryKey::open(Hive::CurrentUser, L"ControlPanel\\SoundCategories\\Alarm"))
        return levelOfStep(alarm->queryDword(L"InitVol").value_or(1));
    auto volume = RegistryKey::open(Hive::CurrentUser, L"ControlPanel\\Volume");
    auto value = volume ? volume->queryDword(L"Volume") : std::nullopt;
    if (!value)
        return kDefaultSystemVolume;
    // The volume word carries a level per channel; the left one stands for both.
    return static_cast<std::uint16_t>(*value & 0xFFFF);
}

}  // namespace

std::uint16_t alarmVolumeLevel(int choice) {
    switch (choice) {
        case 0:
        case 1:
            return systemAlarmVolume();
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            return levelOfStep(static_cast<std::uint32_t>(choice - 1));
        default:
            return 0;
    }
}

std::uint16_t rampLevel(int step) {
    return static_cast<std::uint16_t>(std::clamp(step, 0, kRampSteps) * kRampStep);
}

}  // namespace alarms
