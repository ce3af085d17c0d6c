#pragma once
// The weather screen's controls for each display shape: one table each for portrait,
// landscape and square screens, in layout pixels of the 1.0 scale. Page 1 is the forecast
// (modes 1 to 3), page 2 the maps (mode 4) and page 3 the editor of the user map's source.

#include <cstdint>
#include <span>

#include "ui/layout.h"

namespace weather {

namespace weatherPage {
constexpr int Forecast = 1, Maps = 2, EditSource = 3;
}

namespace weatherControl {
constexpr std::uint16_t Heading = 1, Busy = 2, SevenDay = 3, TwoDay = 4, Current = 5, List = 6,
                        Summary = 7, Panel = 8, ForecastMap = 11, Satellite = 12, Radar = 13,
                        UserMap = 14, MapCaption = 15, Map = 16, EditTitle = 20, EditSource = 21,
                        EditHint = 22;
}

// The screen's own control types.
namespace weatherLayoutType {
constexpr std::uint16_t ModeButton = 240, ForecastList = 241, SummaryLine = 242,
                        ConditionsPanel = 243, MapPanel = 244, BusyIndicator = 245;
}

// The table for the display's shape.
std::span<const ui::LayoutRecord> weatherScreenLayout();

}  // namespace weather
