#pragma once
// Docking updates: the comms program starts whenever the device is put in its cradle, through
// a state notification on HKLM\System\State\Hardware "Cradled" becoming 1.

#include <string_view>

namespace updates {

constexpr std::wstring_view kDockingNotificationName = L"VornRoamerCradled";
constexpr std::wstring_view kCradleKey = L"System\\State\\Hardware";
constexpr std::wstring_view kCradleValue = L"Cradled";
// The argument of the serial-connection event records that older devices used instead.
constexpr std::wstring_view kDockingEventArguments = L"AppRunAtRs232Detect";

// Makes the docking registration what OptSchedDocking asks for: registered when it is 1, else
// none, and no older event records. A registration that is already as asked is left alone.
// Called at every start of the main program and whenever the option changes. True when the
// registry state matches the option afterwards.
bool setDockingUpdates();

// Removes every docking registration (the state notification and the older event records);
// the installer's clean-up and setDockingUpdates share it.
void clearDockingUpdates();

// True while the docking registration exists.
bool dockingUpdatesRegistered();

}  // namespace updates
