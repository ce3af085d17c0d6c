#pragma once
// Every option of the options pages: its setting, the rows its list offers (a label and the
// text stored when the row is chosen), its default and how the choice is stored. The option
// pages and `vorn options` read and change options only through this model, so a value is
// validated, stored and acted upon in one place.
//
// A stored value that none of the rows offers (written by hand or by an older version) reads
// as the option's default.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace updates {

// The option pages (and the main page, 109).
namespace page {
constexpr int Main = 109, General = 110, Themes = 111, Home = 112, Downloads = 113,
              AutomaticUpdates = 114;
}

// Where a list's rows come from.
enum class RowSource {
    Fixed,        // the option's own table of rows
    Languages,    // the language list "lang\lang.dat"
    ClockFaces,   // "*.tga" in "clocks\"
    Backgrounds,  // "automatic", then "*.jpg" in "backgrounds\"
    Colours,      // "automatic", then the sixteen colours
    Layouts,      // "*.xml" in "home\", as full device paths
    StartHours,   // no window, then the hours 0 to 23
    EndHours,     // the hours 0 to 23
    FilterBits,   // a check list: the stored value is the mask of the ticked rows' bits
};

// How a chosen row is stored.
enum class Storing {
    Value,       // the row's value
    Row,         // the row number, from 1
    RowLessOne,  // the row number less one
};

struct FixedRow {
    int label;                // language string
    std::wstring_view value;  // for Storing::Value; unused otherwise
};

// What a change does beyond storing the value; the screen acts on the flags it can.
namespace effect {
constexpr unsigned HomeReload = 0x1;       // OptHomeLayoutReload set: home screens rebuild
constexpr unsigned Reschedule = 0x2;       // scheduleNextUpdate ran
constexpr unsigned Docking = 0x4;          // setDockingUpdates ran
constexpr unsigned LookReload = 0x8;       // the theme must be loaded again with its pictures
constexpr unsigned LookRedraw = 0x10;      // the theme's colours changed: redraw
constexpr unsigned HomePreview = 0x20;     // the layout preview must be built again
constexpr unsigned LanguageChange = 0x40;  // the language changed (takes effect at next start)
constexpr unsigned TimeFormat = 0x80;      // clock format, units or labels changed
}  // namespace effect

struct OptionSpec {
    std::wstring_view name;  // the setting
    int page = page::General;
    RowSource source = RowSource::Fixed;
    Storing storing = Storing::Row;
    std::wstring_view defaultValue;  // stored text; for a layout, relative to the install folder
    std::span<const FixedRow> rows;  // for RowSource::Fixed
    int labelFormat = 0;             // a format string for built rows (with the name)
    unsigned effects = 0;
};

// One row of an option's list, labelled in the current language.
struct OptionChoice {
    std::wstring label;
    std::wstring stored;  // what the setting holds when this row is chosen (a bit for checks)
};

// Every option, page by page, in screen order.
std::span<const OptionSpec> optionSpecs();
// The option of that setting name, compared without regard to case; nullptr when none.
const OptionSpec* findOption(std::wstring_view name);

// The rows of an option's list; the install folder (with its trailing backslash) is where
// the built lists look.
std::vector<OptionChoice> optionChoices(const OptionSpec& spec, std::wstring_view mainPath);

// The option's default as stored text (a layout's default as a full path).
std::wstring optionDefault(const OptionSpec& spec, std::wstring_view mainPath);

// The stored value when one of the rows offers it (compared without regard to case, given
// back as the row stores it), else the default. For the filter, the stored mask when it has
// only the offered bits.
std::wstring optionValue(const OptionSpec& spec, std::wstring_view mainPath);
std::wstring optionValue(const OptionSpec& spec, std::wstring_view mainPath,
                         std::span<const OptionChoice> choices);

// The row (from 0) that shows the value; 0 when none does (for the clock faces the
// "default.tga" row first).
int rowOfValue(std::span<const OptionChoice> choices, std::wstring_view value);

// A filter mask as stored or typed: decimal digits only, at most nine, and only the offered
// bits; nothing otherwise.
std::optional<int> parseFilterMask(std::wstring_view text);

enum class SetResult { Stored, NotOffered, WriteFailed };
struct SetOutcome {
    SetResult result = SetResult::Stored;
    unsigned effects = 0;  // what was done or is left to the screen
};

// Validates and stores a value (as the row stores it, compared without regard to case), then
// does what the change asks for: the home reload flag, the language's download name,
// rescheduling (storing both window hours), the cradle registration. Nothing is stored when
// no row offers the value.
SetOutcome setOption(const OptionSpec& spec, std::wstring_view value, std::wstring_view mainPath);

}  // namespace updates
