#include "weather/screens/weather_layouts.h"

#include "gfx/display_metrics.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"

namespace weather {

namespace {

using namespace weatherControl;
using namespace weatherLayoutType;
using ui::layoutType::EditField;
using ui::layoutType::Label;
namespace dt = platform::dt;

constexpr std::uint32_t kHeadingFormat = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kWrapped = dt::Left | dt::WordBreak;
constexpr std::uint32_t kSourceStyles =
    platform::es::Multiline | platform::es::AutoVScroll | platform::es::WantReturn;
constexpr int kEvery = 99;
constexpr int kForecast = weatherPage::Forecast, kMaps = weatherPage::Maps,
              kEdit = weatherPage::EditSource;

// Portrait: 240 x 268 below the task bar and above the menu bar. The mode buttons run along
// the top, the list below them, then the summary line and the current conditions.
const ui::LayoutRecord kPortrait[] = {
    {Heading, Label, 4, 0, 210, 22, 1, 0, kHeadingFormat, kEvery},
    {Busy, BusyIndicator, 216, 1, 20, 20, 0, 0, 0, kEvery},
    {SevenDay, ModeButton, 4, 24, 76, 34, 1, 0, 0, kForecast},
    {TwoDay, ModeButton, 82, 24, 76, 34, 1, 0, 0, kForecast},
    {Current, ModeButton, 160, 24, 76, 34, 1, 0, 0, kForecast},
    {List, ForecastList, 4, 62, 232, 88, 1, 0, 0, kForecast},
    {Summary, SummaryLine, 4, 152, 232, 28, 1, 0, 0, kForecast},
    {Panel, ConditionsPanel, 4, 182, 232, 84, 1, 0, 0, kForecast},

    {ForecastMap, ModeButton, 4, 24, 55, 34, 1, 0, 0, kMaps},
    {Satellite, ModeButton, 63, 24, 55, 34, 1, 0, 0, kMaps},
    {Radar, ModeButton, 122, 24, 55, 34, 1, 0, 0, kMaps},
    {UserMap, ModeButton, 181, 24, 55, 34, 1, 0, 0, kMaps},
    {MapCaption, Label, 4, 60, 232, 16, 1, 590, kHeadingFormat, kMaps},
    {Map, MapPanel, 4, 78, 232, 188, 1, 0, 0, kMaps},

    {EditTitle, Label, 4, 24, 232, 18, 1, 0, kHeadingFormat, kEdit},
    {EditSource, EditField, 4, 44, 232, 100, 1, 0, kSourceStyles, kEdit},
    {EditHint, Label, 4, 148, 232, 60, 1, 581, kWrapped, kEdit},
};

// Landscape: 320 x 188; the buttons stand in a column at the left, the current conditions
// at the right.
const ui::LayoutRecord kLandscape[] = {
    {Heading, Label, 4, 0, 290, 20, 1, 0, kHeadingFormat, kEvery},
    {Busy, BusyIndicator, 296, 0, 20, 20, 0, 0, 0, kEvery},
    {SevenDay, ModeButton, 4, 22, 40, 34, 1, 0, 0, kForecast},
    {TwoDay, ModeButton, 4, 60, 40, 34, 1, 0, 0, kForecast},
    {Current, ModeButton, 4, 98, 40, 34, 1, 0, 0, kForecast},
    {List, ForecastList, 48, 22, 140, 124, 1, 0, 0, kForecast},
    {Summary, SummaryLine, 48, 148, 140, 38, 1, 0, 0, kForecast},
    {Panel, ConditionsPanel, 192, 22, 124, 164, 1, 0, 0, kForecast},

    {ForecastMap, ModeButton, 4, 22, 40, 38, 1, 0, 0, kMaps},
    {Satellite, ModeButton, 4, 63, 40, 38, 1, 0, 0, kMaps},
    {Radar, ModeButton, 4, 104, 40, 38, 1, 0, 0, kMaps},
    {UserMap, ModeButton, 4, 145, 40, 38, 1, 0, 0, kMaps},
    {MapCaption, Label, 48, 22, 268, 16, 1, 590, kHeadingFormat, kMaps},
    {Map, MapPanel, 48, 40, 268, 146, 1, 0, 0, kMaps},

    {EditTitle, Label, 4, 22, 312, 18, 1, 0, kHeadingFormat, kEdit},
    {EditSource, EditField, 4, 42, 312, 80, 1, 0, kSourceStyles, kEdit},
    {EditHint, Label, 4, 126, 312, 58, 1, 581, kWrapped, kEdit},
};

// Square: 240 x 188; the buttons in a column, the list beside them, the conditions at the
// right and the summary line across the bottom.
const ui::LayoutRecord kSquare[] = {
    {Heading, Label, 4, 0, 210, 20, 1, 0, kHeadingFormat, kEvery},
    {Busy, BusyIndicator, 216, 0, 20, 20, 0, 0, 0, kEvery},
    {SevenDay, ModeButton, 4, 22, 34, 34, 1, 0, 0, kForecast},
    {TwoDay, ModeButton, 4, 60, 34, 34, 1, 0, 0, kForecast},
    {Current, ModeButton, 4, 98, 34, 34, 1, 0, 0, kForecast},
    {List, ForecastList, 42, 22, 100, 112, 1, 0, 0, kForecast},
    {Summary, SummaryLine, 4, 138, 232, 48, 1, 0, 0, kForecast},
    {Panel, ConditionsPanel, 146, 22, 90, 112, 1, 0, 0, kForecast},

    {ForecastMap, ModeButton, 4, 22, 55, 30, 1, 0, 0, kMaps},
    {Satellite, ModeButton, 63, 22, 55, 30, 1, 0, 0, kMaps},
    {Radar, ModeButton, 122, 22, 55, 30, 1, 0, 0, kMaps},
    {UserMap, ModeButton, 181, 22, 55, 30, 1, 0, 0, kMaps},
    {MapCaption, Label, 4, 54, 232, 14, 1, 590, kHeadingFormat, kMaps},
    {Map, MapPanel, 4, 70, 232, 116, 1, 0, 0, kMaps},

    {EditTitle, Label, 4, 22, 232, 18, 1, 0, kHeadingFormat, kEdit},
    {EditSource, EditField, 4, 42, 232, 70, 1, 0, kSourceStyles, kEdit},
    {EditHint, Label, 4, 116, 232, 70, 1, 581, kWrapped, kEdit},
};

}  // namespace

std::span<const ui::LayoutRecord> weatherScreenLayout() {
    if (gfx::displayMetrics().isSquare)
        return kSquare;
    if (gfx::isLandscape())
        return kLandscape;
    return kPortrait;
}

}  // namespace weather
