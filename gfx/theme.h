#pragma once
// The look of the main program: text and main colours, the clock face, and the background
// skin (a picture from "backgrounds\", or an automatic one made from the main colour). The
// application holds one Theme; after loadTheme or reloadSkin report a changed skin, it tells
// the live screen (with its redraw flag), then invalidates and updates the main window.

#include <optional>
#include <string>
#include <string_view>

#include "gfx/decoration_pictures.h"
#include "gfx/image.h"
#include "platform/api/types.h"

namespace gfx {

constexpr std::wstring_view kAutomatic = L"automatic";

struct Theme {
    platform::Colour textColour = 0;
    platform::Colour selectedTextColour = 0;
    platform::Colour mainColour = 0;
    platform::Colour mainColourAlt = 0;
    platform::Colour captionColour = 0;
    std::wstring clockFaceName;  // a file in "clocks\"
    std::wstring skinName;       // a file in "backgrounds\", or "automatic"
    // References held by the theme, given back when it goes.
    Image* backgroundImage = nullptr;
    Image* decorImage = nullptr;  // blended into an automatic background

    Theme() = default;
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;
};

// mainPath (when not empty) + "themes\" + the settings file's "theme" (default "default") +
// "\" + fileName.
std::wstring themePath(std::wstring_view mainPath, std::wstring_view fileName);

// "graphics\" + name + "_vga.jpg" on a VGA screen, else + ".jpg".
std::wstring graphicsPicture(std::wstring_view name);

struct ThemeUpdate {
    bool clockFaceChanged = false;  // the clock-face object must be reloaded
    bool skinChanged = false;       // the background was rebuilt
};

// Reads the colours, clock face and skin from the settings (OptTextColor, OptColor, OptClock,
// OptSkin; "automatic" follows the device's colours) and, with reloadBackground, rebuilds the
// background.
ThemeUpdate loadTheme(Theme& theme, DecorationPictures& decorations, bool reloadBackground);

// Rebuilds the background for the current screen: the skin file (its "land_" variant first
// in landscape), stretched to the screen, or the automatic background. explicitPath replaces
// the skin's path (relative to the install folder). Returns true (the skin changed).
bool reloadSkin(Theme& theme, DecorationPictures& decorations,
                std::optional<std::wstring_view> explicitPath = std::nullopt);

}  // namespace gfx
