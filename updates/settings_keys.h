#pragma once
// The settings of scheduled and docking updates and of the options screen. The comms program
// reads the update choices and writes ScheduledUpdateLastDisp and ErrorUpdate, so the values
// keep their stored form: decimal text, handles as their number.

#include "core/settings_key.h"

namespace updates::keys {

using core::settings::NumberKey;
using core::settings::OutOfRange;
using core::settings::TextKey;

// Hours between scheduled updates (0, 1, 2, 4, 6, 12, 24, 48 or 168); 0 is off. Values outside
// that list read as 0 through the option model.
constexpr NumberKey OptScheduler{L"OptScheduler", 0, 0, 168, OutOfRange::UseDefault};
// The daily window of scheduled updates, whole hours. A start of -1 means no window; a value
// that is absent reads as no window (start) and midnight (end) when scheduling.
constexpr NumberKey OptSchedStartTime{L"OptSchedStartTime", -1, -1, 23, OutOfRange::UseDefault};
constexpr NumberKey OptSchedEndTime{L"OptSchedEndTime", 0, 0, 23, OutOfRange::UseDefault};
// What scheduled updates fetch: bits 0x1 to 0x10 and 0x100 to 0x800.
constexpr int kFilterBits = 0x1 | 0x2 | 0x4 | 0x8 | 0x10 | 0x100 | 0x200 | 0x400 | 0x800;
constexpr NumberKey OptSchedFilter{L"OptSchedFilter", 14, 0, kFilterBits, OutOfRange::UseDefault};
// Start the comms program when the device is cradled: 1 on, 2 off (the installer writes 0,
// which is off too).
constexpr NumberKey OptSchedDocking{L"OptSchedDocking", 1, 0, 2, OutOfRange::UseDefault};
// Docking updates: 1 checks the connection first (docked without one, the update ends
// quietly), 2 goes ahead and reports the failure.
constexpr NumberKey OptSchedDockCheck{L"OptSchedDockCheck", 1, 1, 2, OutOfRange::UseDefault};
constexpr int kCheckConnectionFirst = 1;
// Minutes after a failed scheduled or docking update before one retry (0, 15, 30, 60 or 120;
// 0 none).
constexpr NumberKey OptSchedRetry{L"OptSchedRetry", 0, 0, 120, OutOfRange::UseDefault};
// The pending scheduled notification and one the comms program set after an error; 0 none.
constexpr NumberKey ScheduledUpdate{L"ScheduledUpdate", 0, 0, 0x7FFFFFFF, OutOfRange::UseDefault};
constexpr NumberKey ErrorUpdate{L"ErrorUpdate", 0, 0, 0x7FFFFFFF, OutOfRange::UseDefault};
// Display texts of the next and the last update (the last written by the comms program).
constexpr TextKey ScheduledUpdateNextDisp{L"ScheduledUpdateNextDisp", L"", core::byteLimit::Long};
constexpr TextKey ScheduledUpdateLastDisp{L"ScheduledUpdateLastDisp", L"", core::byteLimit::Long};
// The options page last opened from the main page: 10 to 14 for the pages, 15 the wizard.
constexpr NumberKey OptionsScreen{L"OptionsScreen", 10, 10, 15, OutOfRange::UseDefault};

}  // namespace updates::keys
