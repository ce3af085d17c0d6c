#pragma once
// What the Today item needs from the Today screen that hosts it: timers, painting, colours,
// the selection, a pop-up menu and starting programs. Words to other programs' windows go
// through core::windowLink, which the plug-in connects to the host as well. The plug-in's entry
// points implement it over the host's C table (c_host.h); tests implement it to drive the item
// without a host.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/types.h"

namespace todayplugin {

// The colours the item asks the host for.
enum class HostColour { Text, HighlightedText, Highlight, Lines };

struct MenuEntry {
    std::uint32_t command = 0;  // 0 with an empty text: a separator
    std::wstring text;
};

class ItemHost {
  public:
    virtual ~ItemHost() = default;
    virtual void setTimer(std::uint32_t id, std::uint32_t intervalMs) = 0;
    virtual void killTimer(std::uint32_t id) = 0;
    virtual void invalidate() = 0;
    // The item window's client rectangle, and the screen's work area.
    virtual platform::Rect clientRect() = 0;
    virtual platform::Rect workArea() = 0;
    virtual platform::Colour colour(HostColour which) = 0;
    // The item took the Today screen's selection by a tap.
    virtual void tookSelection() = 0;
    // Paints the Today screen's background into part of the bitmap.
    virtual void drawWatermark(platform::Bitmap& target, const platform::Rect& area) = 0;
    // Shows a pop-up menu at a point of the item; the chosen command, 0 when dismissed.
    virtual std::uint32_t popupMenu(platform::Point at, const std::vector<MenuEntry>& entries) = 0;
    virtual bool startProgram(const std::wstring& devicePath, const std::wstring& arguments) = 0;
};

}  // namespace todayplugin
