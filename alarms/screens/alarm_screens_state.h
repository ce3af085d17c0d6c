#pragma once
// What the alarm list and the alarm editor share for the whole run: the alarm store (whose
// selected alarm tells the editor what to edit: none for a new alarm), the list's selected
// row, the favourites whose cities alarms may keep, and the list's rows in words for those
// who drive the program from outside ("vorndev ctl app alarms").

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "alarms/alarm_store.h"
#include "worldtime/favourites.h"

namespace alarms {

struct AlarmScreensState {
    explicit AlarmScreensState(std::shared_ptr<worldtime::Favourites> favouriteCities)
        : favourites(std::move(favouriteCities)) {}

    // Made when a screen first needs it, once the device is up.
    AlarmStore& store() {
        if (!store_)
            store_.emplace();
        return *store_;
    }
    // 1 the new-alarm row, N + 1 alarm N.
    int listRow = 1;
    std::shared_ptr<worldtime::Favourites> favourites;
    std::wstring readout;

  private:
    std::optional<AlarmStore> store_;
};

// Timers of the alarm screens.
constexpr std::uintptr_t kRefreshTimer = 4001;
constexpr std::uint32_t kRefreshTimerMs = 5000;
constexpr std::uintptr_t kPreviewTimer = 4002;
constexpr std::uint32_t kPreviewTimerMs = 200;

}  // namespace alarms
