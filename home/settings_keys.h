#pragma once
// The settings of the home screen and the Today plug-in. The main program's options write
// them; the plug-in and the home-mode screen read them.

#include "core/settings_key.h"

namespace home::keys {

using core::settings::NumberKey;
using core::settings::OutOfRange;
using core::settings::TextKey;

// The full device path of the layout file; absent: "home\today_default.xml" in the install
// folder.
constexpr TextKey OptHomeLayout{L"OptHomeLayout", L"", core::byteLimit::Path};
// Not 2: the item's height follows the current layout (unless the layout file says).
constexpr NumberKey OptHomeAutoHt{L"OptHomeAutoHt", 1};
// Weather "day/date" objects: 1 the date, 2 the day name.
constexpr NumberKey OptHomeDayDate{L"OptHomeDayDate", 1};
// Rotation through the favourites: 1 per layout, 2 none, 3 10 s, 4 20 s, 5 30 s, 6 60 s.
constexpr NumberKey OptHomeRotate{L"OptHomeRotate", 1};
// The action key: 0 steps to the next favourite, 1 starts the main program.
constexpr NumberKey OptHomeAction{L"OptHomeAction", 0};
// Not 0 while the user paused the rotation.
constexpr NumberKey HomePaused{L"HomePaused", 0};
// The tab shown last.
constexpr NumberKey OptLayout_LastTab{L"OptLayout_LastTab", 1};
// Set by another program to have the plug-in fetch its data again.
constexpr NumberKey PluginUpdateData{L"PluginUpdateData", 0};

}  // namespace home::keys
