#pragma once
// The set-up wizard's controls for each display shape: one table each for portrait,
// landscape and square screens, in layout pixels of the 1.0 scale. The page of a control is
// the wizard step it belongs to: 4 the agreement, 0 the cities, 1 the look, 2 the last page.

#include <cstdint>
#include <span>

#include "ui/layout.h"

namespace setup {

namespace wizardStep {
constexpr int Cities = 0, Look = 1, LastPage = 2, Agreement = 4;
}

namespace wizardControl {
constexpr std::uint16_t Title = 1, Busy = 2, Instruction = 12, CityEntry = 13, Results = 14,
                        Chosen = 15, LastText = 30, LastHeading = 31, Agreement = 40,
                        AgreementHeading = 41, ClockFaces = 50, Backgrounds = 51, TextColours = 52,
                        MainColours = 53, LookText = 55, ClockPreview = 56, AgreementPicture = 60,
                        CitiesPicture = 61, LookPicture = 62, LastPicture = 63;
}

// The wizard's own control types: its picture (first: 0 small, 1 large) and the clock-face
// preview; the search results and the busy indicator are the city screen's.
namespace wizardLayoutType {
constexpr std::uint16_t Picture = 240, ClockPreview = 241, ResultList = 245, BusyIndicator = 247;
}

// The table for the display's shape.
std::span<const ui::LayoutRecord> wizardLayout();

}  // namespace setup
