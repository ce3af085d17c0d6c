#pragma once
// Colour arithmetic, the colours offered on the look page, and the device's system colours
// that "automatic" choices follow.

#include <array>
#include <string_view>

#include "platform/api/types.h"

namespace gfx {

// Each channel below 232 is raised by amount (up to 255); brighter channels stay.
platform::Colour lightenColour(platform::Colour colour, int amount);

// Each channel times factor, truncated and kept within 0 ... 255.
platform::Colour scaleColour(platform::Colour colour, double factor);

struct NamedColour {
    std::wstring_view name;
    platform::Colour colour;
};

// The sixteen colours of the look page, in the order shown.
extern const std::array<NamedColour, 16> kColourTable;

// System colour indexes, with the handheld's numbers.
enum SystemColourIndex : int {
    ColourActiveCaption = 2,
    ColourHighlight = 13,
    ColourHighlightText = 14,
};

// The device's colour for an index (black for indexes the table does not hold).
platform::Colour systemColour(int index);
// Changes a system colour for this process (tests and device set-ups use it).
void setSystemColour(int index, platform::Colour colour);

}  // namespace gfx
