#pragma once
// The options screen's controls for the display's shape: the main page's six buttons with
// their labels, and on each option page its title and a list per option of the option model,
// the download filter's check list and the automatic-updates status box.

#include <cstdint>
#include <vector>

#include "ui/layout.h"

namespace updates {

namespace optionsControl {
constexpr std::uint16_t Title = 1;
// The main page's buttons and their labels, in page order (general ... wizard).
constexpr std::uint16_t FirstButton = 10, FirstButtonLabel = 20;
constexpr int kButtons = 6;
// The list of option k of the option model.
constexpr std::uint16_t FirstList = 100;
constexpr std::uint16_t FilterList = 200, StatusBox = 201, Preview = 202;
}  // namespace optionsControl

namespace optionsLayoutType {
constexpr std::uint16_t FilterList = 230, Preview = 231, PageButton = 232;
}

// The records for the current display shape, with coordinates for a 240-pixel-wide screen.
std::vector<ui::LayoutRecord> optionsLayout();

}  // namespace updates
