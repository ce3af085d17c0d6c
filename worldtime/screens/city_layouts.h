#pragma once
// The city screen's controls for each display shape: one table each for portrait, landscape
// and square screens, in layout pixels of the 1.0 scale. Page 1 is the list, page 2 the city
// editor, page 3 the search results.

#include <cstdint>
#include <span>

#include "ui/layout.h"

namespace worldtime {

namespace cityView {
constexpr int List = 1, Edit = 2, Add = 3;
}

namespace cityControl {
constexpr std::uint16_t Filter = 1, Busy = 2, Search = 3, List = 4, Details = 5, Favourite = 6,
                        EditTitle = 10, NameLabel = 11, NameEdit = 12, ZoneLabel = 13,
                        ZoneList = 14, EditOk = 15, EditCancel = 16, ResultHeading = 20,
                        Results = 21, ResultAdd = 22, ResultCancel = 23;
}

// The screen's own control types.
namespace cityLayoutType {
constexpr std::uint16_t CityList = 244, ResultList = 245, DetailPanel = 246, BusyIndicator = 247;
}

// The table for the display's shape.
std::span<const ui::LayoutRecord> cityScreenLayout();

}  // namespace worldtime
