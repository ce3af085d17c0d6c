#include "gfx/colours.h"

#include <algorithm>
#include <map>

namespace gfx {
namespace {

int lightenChannel(int value, int amount) {
    return value < 232 ? std::clamp(value + amount, 0, 255) : value;
}

int scaleChannel(int value, double factor) {
    return std::clamp(static_cast<int>(value * factor), 0, 255);
}

// The handheld's stock scheme: a blue selection and caption with white selected text.
std::map<int, platform::Colour>& systemColours() {
    static std::map<int, platform::Colour> colours = {
        {ColourActiveCaption, 0x00C56A31},
        {ColourHighlight, 0x00C56A31},
        {ColourHighlightText, 0x00FFFFFF},
    };
    return colours;
}

}  // namespace

platform::Colour lightenColour(platform::Colour colour, int amount) {
    return platform::rgb(lightenChannel(platform::redOf(colour), amount),
                         lightenChannel(platform::greenOf(colour), amount),
                         lightenChannel(platform::blueOf(colour), amount));
}

platform::Colour scaleColour(platform::Colour colour, double factor) {
    return platform::rgb(scaleChannel(platform::redOf(colour), factor),
                         scaleChannel(platform::greenOf(colour), factor),
                         scaleChannel(platform::blueOf(colour), factor));
}

const std::array<NamedColour, 16> kColourTable = {{
    {L"White", 0xFFFFFF},
    {L"Silver", 0xC0C0C0},
    {L"Gray", 0x808080},
    {L"Black", 0x000000},
    {L"Red", 0x0000FF},
    {L"Maroon", 0x000080},
    {L"Green", 0x008000},
    {L"Lime", 0x00FF00},
    {L"Blue", 0xFF0000},
    {L"Navy", 0x800000},
    {L"Fuchsia", 0xFF00FF},
    {L"Purple", 0x800080},
    {L"Yellow", 0x00FFFF},
    {L"Olive", 0x008080},
    {L"Aqua", 0xFFFF00},
    {L"Teal", 0x808000},
}};

platform::Colour systemColour(int index) {
    const auto& colours = systemColours();
    const auto found = colours.find(index);
    return found == colours.end() ? 0 : found->second;
}

void setSystemColour(int index, platform::Colour colour) {
    systemColours()[index] = colour & 0xFFFFFF;
}

}  // namespace gfx
