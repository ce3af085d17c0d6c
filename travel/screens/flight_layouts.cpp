#include "travel/screens/flight_layouts.h"

#include "gfx/display_metrics.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"
#include "platform/api/window.h"
#include "travel/screens/flight_screen.h"

namespace travel {

namespace {

using namespace flightId;
using flightLayoutType::BusyIndicator;
using flightLayoutType::DetailView;
using flightLayoutType::SavedList;
using ui::layoutType::DropDown;
using ui::layoutType::EditField;
using ui::layoutType::Label;
using ui::layoutType::TextButton;

constexpr std::uint32_t kLabel = platform::dt::Left | platform::dt::SingleLine |
                                 platform::dt::VCenter | platform::dt::EndEllipsis;
constexpr std::uint32_t kEdit = platform::es::AutoHScroll;
constexpr std::uint16_t kEvery = ui::kEveryPage, kForm = flightPage::Form,
                        kDetail = flightPage::Detail;
constexpr std::uint32_t kAirline = 846, kNumber = 847, kDay = 848, kQuery = 191;

const ui::LayoutRecord kPortrait[] = {
    {flightId::List, SavedList, 0, 0, 240, 78, 1, 0, 0, kEvery},
    {AirlineLabel, Label, 6, 84, 228, 14, 1, kAirline, kLabel, kForm},
    {Airline, DropDown, 6, 100, 228, 20, 1, 0, 0, kForm},
    {NumberLabel, Label, 6, 126, 110, 14, 1, kNumber, kLabel, kForm},
    {DayLabel, Label, 124, 126, 110, 14, 1, kDay, kLabel, kForm},
    {Number, EditField, 6, 142, 110, 20, 1, 0, kEdit, kForm},
    {Day, DropDown, 124, 142, 110, 20, 1, 0, 0, kForm},
    {QueryButton, TextButton, 70, 176, 100, 24, 1, kQuery, 0, kForm},
    {DataTime, Label, 4, 82, 208, 14, 1, 0, kLabel, kDetail},
    {Detail, DetailView, 0, 98, 240, 170, 1, 0, 0, kDetail},
    {Busy, BusyIndicator, 216, 80, 20, 20, 0, 0, 0, kEvery},
};

const ui::LayoutRecord kLandscape[] = {
    {flightId::List, SavedList, 0, 0, 128, 188, 1, 0, 0, kEvery},
    {AirlineLabel, Label, 134, 4, 182, 14, 1, kAirline, kLabel, kForm},
    {Airline, DropDown, 134, 20, 182, 20, 1, 0, 0, kForm},
    {NumberLabel, Label, 134, 46, 88, 14, 1, kNumber, kLabel, kForm},
    {DayLabel, Label, 228, 46, 88, 14, 1, kDay, kLabel, kForm},
    {Number, EditField, 134, 62, 88, 20, 1, 0, kEdit, kForm},
    {Day, DropDown, 228, 62, 88, 20, 1, 0, 0, kForm},
    {QueryButton, TextButton, 174, 96, 100, 24, 1, kQuery, 0, kForm},
    {DataTime, Label, 132, 2, 164, 14, 1, 0, kLabel, kDetail},
    {Detail, DetailView, 128, 18, 192, 170, 1, 0, 0, kDetail},
    {Busy, BusyIndicator, 298, 0, 20, 20, 0, 0, 0, kEvery},
};

const ui::LayoutRecord kSquare[] = {
    {flightId::List, SavedList, 0, 0, 240, 52, 1, 0, 0, kEvery},
    {AirlineLabel, Label, 6, 56, 228, 14, 1, kAirline, kLabel, kForm},
    {Airline, DropDown, 6, 70, 228, 20, 1, 0, 0, kForm},
    {NumberLabel, Label, 6, 94, 110, 14, 1, kNumber, kLabel, kForm},
    {DayLabel, Label, 124, 94, 110, 14, 1, kDay, kLabel, kForm},
    {Number, EditField, 6, 108, 110, 20, 1, 0, kEdit, kForm},
    {Day, DropDown, 124, 108, 110, 20, 1, 0, 0, kForm},
    {QueryButton, TextButton, 70, 138, 100, 24, 1, kQuery, 0, kForm},
    {DataTime, Label, 4, 54, 208, 14, 1, 0, kLabel, kDetail},
    {Detail, DetailView, 0, 68, 240, 120, 1, 0, 0, kDetail},
    {Busy, BusyIndicator, 216, 52, 20, 20, 0, 0, 0, kEvery},
};

}  // namespace

std::span<const ui::LayoutRecord> flightLayout() {
    if (gfx::displayMetrics().isSquare)
        return kSquare;
    if (gfx::isLandscape())
        return kLandscape;
    return kPortrait;
}

}  // namespace travel
