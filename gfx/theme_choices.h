#pragma once
// The entries of the look page's four lists (clock face, background, text colour, main
// colour) and which entry each starts on. Labels are left to the page, which formats them
// with its language strings.

#include <string>
#include <string_view>
#include <vector>

namespace gfx {

struct ThemeChoice {
    std::wstring value;  // what the setting stores
    std::wstring name;   // the file name without its extension, or the colour's name
    bool automatic = false;
};

struct ThemeChoiceList {
    std::vector<ThemeChoice> entries;
    int selected = 0;
};

// "*.tga" in "clocks\" except the "land_" variants; selects the entry equal to the setting without
// regard to case, else "default.tga", else the first.
ThemeChoiceList clockFaceChoices(std::wstring_view mainPath, std::wstring_view optClock);

// "automatic", then "*.jpg" in "backgrounds\" except the "land_" variants; selects the
// setting without regard to case, else the first.
ThemeChoiceList backgroundChoices(std::wstring_view mainPath, std::wstring_view optSkin);

// "automatic", then the sixteen colours with their COLORREF as decimal text; selects the
// setting, else the first.
ThemeChoiceList colourChoices(std::wstring_view setting);

// Width and height of the clock-face preview on the look page.
int clockPreviewSize();

}  // namespace gfx
