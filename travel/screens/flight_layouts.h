#pragma once
// The flight status screen's layouts, one per display shape, in layout pixels of a
// 240-pixel-wide screen.

#include <span>

#include "ui/layout.h"

namespace travel {

namespace flightLayoutType {
constexpr std::uint16_t DetailView = 230, BusyIndicator = 231, SavedList = 232;
}

std::span<const ui::LayoutRecord> flightLayout();

}  // namespace travel
