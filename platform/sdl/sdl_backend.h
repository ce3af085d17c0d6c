#pragma once
// The windowed display: the device screen in an SDL window, the mouse as the stylus and the
// keyboard as the device keys (F1 and F2 the soft keys, Esc Back, arrows the d-pad, Enter
// action). Screens 320 pixels wide or less are shown at twice their size (VORN_ZOOM overrides).

#include <memory>

#include "platform/gui/screen.h"

namespace platform::sdl {

// Nothing when no display can be opened.
std::unique_ptr<gui::DisplayBackend> createBackend();

}  // namespace platform::sdl
