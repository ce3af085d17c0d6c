#include "worldtime/screens/city_layouts.h"

#include "gfx/display_metrics.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"

namespace worldtime {

namespace {

using namespace cityControl;
using namespace cityLayoutType;
using ui::layoutType::EditField;
using ui::layoutType::Label;
using ui::layoutType::List;
using ui::layoutType::TextButton;
namespace dt = platform::dt;

constexpr std::uint32_t kLabelFormat = dt::Left | dt::VCenter | dt::SingleLine;
constexpr std::uint32_t kEditStyles = platform::es::AutoHScroll;

// Portrait: 240 x 268 below the task bar and above the menu bar.
const ui::LayoutRecord kPortrait[] = {
    {cityControl::Filter, EditField, 4, 4, 132, 20, 1, 0, kEditStyles, cityView::List},
    {Busy, BusyIndicator, 139, 4, 20, 20, 0, 0, 0, cityView::List},
    {Search, TextButton, 162, 3, 74, 22, 1, 603, 0, cityView::List},
    {cityControl::List, CityList, 4, 28, 232, 139, 1, 0, 0, cityView::List},
    {Details, DetailPanel, 4, 170, 232, 69, 1, 0, 0, cityView::List},
    {Favourite, TextButton, 4, 243, 232, 22, 1, 112, 0, cityView::List},

    {EditTitle, Label, 4, 2, 232, 20, 1, 703, kLabelFormat, cityView::Edit},
    {NameLabel, Label, 4, 22, 232, 16, 1, 704, kLabelFormat, cityView::Edit},
    {NameEdit, EditField, 4, 38, 232, 20, 1, 0, kEditStyles, cityView::Edit},
    {ZoneLabel, Label, 4, 62, 232, 16, 1, 705, kLabelFormat, cityView::Edit},
    {ZoneList, List, 4, 78, 232, 161, 1, 0, 0, cityView::Edit},
    {EditOk, TextButton, 4, 243, 114, 22, 1, 224, 0, cityView::Edit},
    {EditCancel, TextButton, 122, 243, 114, 22, 1, 18, 0, cityView::Edit},

    {ResultHeading, Label, 4, 2, 232, 20, 1, 604, kLabelFormat, cityView::Add},
    {Results, ResultList, 4, 24, 232, 215, 1, 0, 0, cityView::Add},
    {ResultAdd, TextButton, 4, 243, 114, 22, 1, 602, 0, cityView::Add},
    {ResultCancel, TextButton, 122, 243, 114, 22, 1, 18, 0, cityView::Add},
};

// Landscape: 320 x 188; the list on the left, the details and buttons on the right.
const ui::LayoutRecord kLandscape[] = {
    {cityControl::Filter, EditField, 4, 4, 184, 20, 1, 0, kEditStyles, cityView::List},
    {Busy, BusyIndicator, 192, 4, 20, 20, 0, 0, 0, cityView::List},
    {Search, TextButton, 214, 3, 102, 22, 1, 603, 0, cityView::List},
    {cityControl::List, CityList, 4, 28, 184, 156, 1, 0, 0, cityView::List},
    {Details, DetailPanel, 192, 28, 124, 128, 1, 0, 0, cityView::List},
    {Favourite, TextButton, 192, 162, 124, 22, 1, 112, 0, cityView::List},

    {EditTitle, Label, 4, 2, 150, 20, 1, 703, kLabelFormat, cityView::Edit},
    {NameLabel, Label, 4, 24, 150, 16, 1, 704, kLabelFormat, cityView::Edit},
    {NameEdit, EditField, 4, 40, 150, 20, 1, 0, kEditStyles, cityView::Edit},
    {ZoneLabel, Label, 160, 2, 156, 20, 1, 705, kLabelFormat, cityView::Edit},
    {ZoneList, List, 160, 24, 156, 160, 1, 0, 0, cityView::Edit},
    {EditOk, TextButton, 4, 136, 150, 22, 1, 224, 0, cityView::Edit},
    {EditCancel, TextButton, 4, 162, 150, 22, 1, 18, 0, cityView::Edit},

    {ResultHeading, Label, 4, 2, 312, 20, 1, 604, kLabelFormat, cityView::Add},
    {Results, ResultList, 4, 24, 220, 160, 1, 0, 0, cityView::Add},
    {ResultAdd, TextButton, 230, 24, 86, 22, 1, 602, 0, cityView::Add},
    {ResultCancel, TextButton, 230, 50, 86, 22, 1, 18, 0, cityView::Add},
};

// Square: 240 x 188; the details shrink to three lines: the coordinates, the local time and
// the next change of the clocks.
const ui::LayoutRecord kSquare[] = {
    {cityControl::Filter, EditField, 4, 4, 132, 20, 1, 0, kEditStyles, cityView::List},
    {Busy, BusyIndicator, 139, 4, 20, 20, 0, 0, 0, cityView::List},
    {Search, TextButton, 162, 3, 74, 22, 1, 603, 0, cityView::List},
    {cityControl::List, CityList, 4, 28, 232, 87, 1, 0, 0, cityView::List},
    {Details, DetailPanel, 4, 118, 232, 43, 1, 0, 0, cityView::List},
    {Favourite, TextButton, 4, 164, 232, 22, 1, 112, 0, cityView::List},

    {NameLabel, Label, 4, 2, 232, 16, 1, 704, kLabelFormat, cityView::Edit},
    {NameEdit, EditField, 4, 18, 232, 20, 1, 0, kEditStyles, cityView::Edit},
    {ZoneLabel, Label, 4, 40, 232, 16, 1, 705, kLabelFormat, cityView::Edit},
    {ZoneList, List, 4, 56, 232, 104, 1, 0, 0, cityView::Edit},
    {EditOk, TextButton, 4, 164, 114, 22, 1, 224, 0, cityView::Edit},
    {EditCancel, TextButton, 122, 164, 114, 22, 1, 18, 0, cityView::Edit},

    {ResultHeading, Label, 4, 2, 232, 18, 1, 604, kLabelFormat, cityView::Add},
    {Results, ResultList, 4, 22, 232, 138, 1, 0, 0, cityView::Add},
    {ResultAdd, TextButton, 4, 164, 114, 22, 1, 602, 0, cityView::Add},
    {ResultCancel, TextButton, 122, 164, 114, 22, 1, 18, 0, cityView::Add},
};

}  // namespace

std::span<const ui::LayoutRecord> cityScreenLayout() {
    if (gfx::displayMetrics().isSquare)
        return kSquare;
    if (gfx::isLandscape())
        return kLandscape;
    return kPortrait;
}

}  // namespace worldtime
