#pragma once
// The home layout model: what a layout file ("home\today_default.xml", or the file the
// setting OptHomeLayout names) says the home screen shows. A file defines fonts, tabs and
// named layouts; each layout is a panel holding positioned objects (clocks, city names, times,
// dates, the next alarm, weather values, fixed text). The Today plug-in, the home-mode screen
// and the options' layout preview all build this model from the same files.
//
// The lists keep the order the handheld's home screen builds them in: every new entry goes to
// the front, so each list runs from the last definition of the file to the first. That order
// decides which of two fonts with the same id wins (the later one), which layout a tab shows
// when several share a name, and the drawing order of a layout's objects.
//
// Lengths are scaled for the display (2.0 when the work area is wider than 320 pixels, else
// 1.0) and truncated. Object rectangles are relative to the item: their y includes the tab
// strip's height when the file defines tabs; without tabs their x includes the no-tab offset.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/xml_reader.h"
#include "platform/api/types.h"

namespace home {

enum class ObjectKind { Clock, Text, NextAlarm, Weather };

// Sub-kinds, with the numbers the handheld's home screen gives them.
namespace textKind {
constexpr int CityName = 2, Time = 3, Date = 4, FullCityName = 7, Static = 8;
}
namespace alarmKind {
constexpr int Relative = 1, Icon = 2, Name = 3, Time = 4;
}
namespace weatherKind {
constexpr int Current = 1, Forecast = 2, Station = 3;
}
// What a weather object shows.
namespace weatherStyle {
constexpr int Min = 1, Max = 2, Day = 3, Icon = 4, Date = 5, DayOrDate = 6, Comfort = 7,
              StationName = 8, ReportTime = 9, WindSpeed = 10, WindDirection = 11, Visibility = 12,
              Humidity = 13, Description = 14, WindInfo = 15;
}
// The style code of a style name; a missing or unknown name is the icon.
int weatherStyleOf(std::wstring_view name);

enum class Justify { Left, Center, Right };

struct LayoutObject {
    ObjectKind kind = ObjectKind::Text;
    int subKind = 0;
    platform::Rect rect;  // scaled, relative to the item
    int font = 0;         // font id
    Justify justify = Justify::Left;
    int city = 0;         // favourite relative to the current one: 1 current, 2 next, 0 none
    std::wstring text;    // static text
    std::wstring format;  // time or date picture; empty: the locale's
    std::wstring alarmOn = L"today_alarmon";
    std::wstring alarmOff = L"today_alarmoff";
    int style = weatherStyle::Icon;
    int day = 0;      // forecast day (forecast and current objects)
    int station = 0;  // station row (station objects); 0: the city's chosen station
    bool showUnit = false;
};

struct FontDefinition {
    int id = 0;
    int size = 0;       // points
    std::wstring face;  // as written; the face drawn is always Tahoma
    bool bold = false;
    bool clearType = true;
};

struct TabDefinition {
    std::wstring caption;
    std::wstring layout;  // name of the layout it shows
    int id = 0;
    int font = 0;
};

struct Layout {
    std::wstring name;
    int height = 0;  // scaled
    int width = 0;   // as written: the screen width in pixels the layout is made for
    // The screen the main program is asked to open (HomeStarting); a leading "*" is kept here
    // (see startRoamForced / startRoamScreen).
    std::wstring startRoam;
    // Seconds between steps to the next favourite; nothing for "auto" or absent (the rotation
    // setting decides).
    std::optional<int> rotateSeconds;
    // Last object of the file first: the drawing order.
    std::vector<LayoutObject> objects;

    bool startRoamForced() const { return !startRoam.empty() && startRoam.front() == L'*'; }
    std::wstring startRoamScreen() const;
};

class LayoutModel {
  public:
    // Newest definition first (see the top of this file).
    std::vector<FontDefinition> fonts;
    std::vector<TabDefinition> tabs;
    std::vector<Layout> layouts;

    int hilite = 100;                // highlight opacity in percent, as written
    std::optional<bool> autoHeight;  // nothing: "auto" or absent, the setting decides
    int tabHeight = 0;               // scaled
    int noTabOffset = 0;             // scaled, already added to the objects' x
    double scale = 1.0;

    bool empty() const { return layouts.empty() && tabs.empty() && fonts.empty(); }
    int tabCount() const { return static_cast<int>(tabs.size()); }
    bool hasTabs() const { return !tabs.empty(); }

    // The index (into layouts) of the first layout the file defined; nothing without layouts.
    std::optional<std::size_t> firstLayout() const;
    // The font definition for an id (the later of two with the same id); null when none.
    const FontDefinition* font(int id) const;
    // The tab with that id (the later of two with the same id); null when none.
    const TabDefinition* tab(int id) const;
    // The layout tab `tabId` shows on a screen `screenWidth` pixels wide: among the layouts of
    // the tab's name the one made for that width, else the last one of that name in the list.
    // Without a tab of that id (or no layout of its name): the first layout in the list made
    // for the width, else the list's first. Nothing without layouts.
    std::optional<std::size_t> layoutForTab(int tabId, int screenWidth) const;
    // The layout after `current` in the list that is made for the screen width (wrapping
    // round once), else the list's first. Nothing without layouts.
    std::optional<std::size_t> nextLayout(std::size_t current, int screenWidth) const;
    // The tallest layout.
    int maxLayoutHeight() const;
};

// The rotation through the favourites that the setting OptHomeRotate chooses: 1 each
// layout's own rotatespeed, 2 none, 3 to 6 every 10, 20, 30 or 60 seconds; any other value
// keeps the previous choice.
struct Rotation {
    bool perLayout = true;
    int seconds = 0;
};
Rotation rotationFor(int optHomeRotate, Rotation previous);
// Seconds between steps for a layout; 0 means none ("auto" in the layout means none).
int rotationSeconds(const Rotation& rotation, const Layout& layout);

// The display scale layouts are drawn at for a work area of that width.
double layoutScale(int workAreaWidth);

// The height of the home item showing a layout of the model (nothing: no layout): the tab
// strip and, with automatic height, that layout's own height, else the tallest layout's. An
// item without anything to show keeps 16 units. autoHeightSetting is OptHomeAutoHt's choice;
// the layout file's own choice wins over it.
int itemHeight(const LayoutModel& model, std::optional<std::size_t> layout, bool autoHeightSetting,
               int scale);

// Builds the model from a parsed document (the element path "xml", then "homescreen"). A
// document without that element gives an empty model.
LayoutModel buildLayoutModel(const core::XmlElement& document, double scale);
// Reads and builds a layout file; an unreadable or unparsable file gives an empty model.
LayoutModel readLayoutFile(std::wstring_view devicePath, double scale);
// The same from the file's bytes (UTF-8).
LayoutModel parseLayout(std::span<const std::uint8_t> bytes, double scale);

// The model of the layout file read last. Reading the same bytes at the same scale again keeps
// the model: the plug-in is told to reload after changes of favourites or units too, which
// leave the layout file as it was.
class LayoutCache {
  public:
    // True when the model was built anew (the file, its content or the scale changed). A file
    // that cannot be read gives an empty model.
    bool load(std::wstring_view devicePath, double scale);
    const LayoutModel& model() const { return model_; }

  private:
    std::wstring path_;
    double scale_ = 0.0;
    std::optional<std::vector<std::uint8_t>> bytes_;
    bool loaded_ = false;
    LayoutModel model_;
};

// The layout file to read: the setting OptHomeLayout when present, else mainPath +
// "home\today_default.xml".
std::wstring layoutFilePath(std::wstring_view mainPath);

// Number attributes as layouts write them: double quotes removed, then the locale-tolerant
// integer; a value that does not start with a digit or a sign (a single-quoted one, a word)
// reads as 0, and nothing when the attribute is absent.
std::optional<int> layoutNumber(const core::XmlElement& element, std::wstring_view name);

}  // namespace home
