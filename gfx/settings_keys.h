#pragma once
// The settings of the look: the theme's colours, the clock face and the background picture,
// each "automatic" (the device's colours, the default face, the plain background) unless the
// options screen chose one.

#include "core/settings_key.h"
#include "gfx/theme.h"

namespace gfx::keys {

using core::settings::TextKey;

// Colours as the decimal text of a COLORREF.
constexpr TextKey OptTextColor{L"OptTextColor", kAutomatic, core::byteLimit::Short};
constexpr TextKey OptColor{L"OptColor", kAutomatic, core::byteLimit::Short};
// File names under "clocks\" and "backgrounds\".
constexpr TextKey OptClock{L"OptClock", kAutomatic, core::byteLimit::Text};
constexpr TextKey OptSkin{L"OptSkin", kAutomatic, core::byteLimit::Text};

}  // namespace gfx::keys
