#pragma once
// Screens describe their controls in static tables of layout records, one table per display
// shape, with coordinates for a 240-pixel-wide screen; buildLayout creates the controls.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace ui {

class Control;
class Module;

struct LayoutRecord {
    std::uint16_t id = 0;
    std::uint16_t type = 0;  // layoutType below, or 209 to 247 for screen-specific controls
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint32_t visible = 1;
    // A language string for labels and buttons, a colour for panels, a value for bars, a
    // state for toggles, the kind for date/time pickers (1 time, 2 date).
    std::uint32_t first = 0;
    // Style flags: the edit styles of edit fields, the DrawText format of labels.
    std::uint32_t second = 0;
    std::uint16_t page = 99;
};

namespace layoutType {
constexpr std::uint16_t Label = 1, PicturePanel = 2, DropDown = 3, TextButton = 4, List = 5,
                        PictureButton = 6, EditField = 7, DateTimePicker = 8, Bar = 9,
                        SpeechBubble = 10, Toggle = 11, OptionList = 209, FirstScreenSpecific = 209,
                        LastScreenSpecific = 247;
}

// The toolkit's control for a record of type 1 to 11; none for other types.
std::unique_ptr<Control> createToolkitControl(const LayoutRecord& record, Module& module);

// A screen's makers of its own control types; none for a record of another type.
using OwnControls = std::function<std::unique_ptr<Control>(const LayoutRecord& record)>;

// Creates the module's controls from the records, in order: the screen's own types through
// ownControls when given, toolkit types here, types 209 to 247 through the host's control
// factory (a record nobody has a control for is skipped). Each control gets its id and page,
// is added to the module, placed at its record's rectangle times the display scale and shown
// or hidden without a redraw. Answers the first control that can take the focus.
Control* buildLayout(Module& module, std::span<const LayoutRecord> records,
                     const OwnControls& ownControls = {});

}  // namespace ui
