#include "setup/screens/wizard_layouts.h"

#include "gfx/display_metrics.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"

namespace setup {

namespace {

using namespace wizardControl;
using ui::layoutType::EditField;
using ui::layoutType::Label;
using ui::layoutType::OptionList;
using wizardLayoutType::BusyIndicator;
using wizardLayoutType::Picture;
using wizardLayoutType::ResultList;
namespace dt = platform::dt;
namespace es = platform::es;

constexpr std::uint32_t kTitleFormat = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kTextFormat = dt::Left | dt::WordBreak;
constexpr std::uint32_t kCentredText = dt::Center | dt::WordBreak;
constexpr std::uint32_t kEntryStyles = es::AutoHScroll;
// A read-only text of many lines that scrolls up and down.
constexpr std::uint32_t kAgreementStyles =
    es::Multiline | es::AutoVScroll | es::ReadOnly | platform::ws::VScroll;
constexpr std::uint16_t kEvery = 99;
constexpr std::uint16_t A = wizardStep::Agreement, C = wizardStep::Cities, L = wizardStep::Look,
                        Z = wizardStep::LastPage;
constexpr std::uint16_t kPreview = wizardLayoutType::ClockPreview;

// Portrait: 240 x 268 below the task bar and above the menu bar. The small picture sits at
// the top right beside the title and the page's text.
const ui::LayoutRecord kPortrait[] = {
    {Title, Label, 4, 4, 158, 20, 1, 0, kTitleFormat, kEvery},

    {AgreementPicture, Picture, 166, 2, 70, 74, 1, 0, 0, A},
    {AgreementHeading, Label, 4, 26, 158, 50, 1, 0, kTextFormat, A},
    {wizardControl::Agreement, EditField, 4, 80, 232, 184, 1, 0, kAgreementStyles, A},

    {CitiesPicture, Picture, 166, 2, 70, 74, 1, 0, 0, C},
    {Instruction, Label, 4, 26, 158, 50, 1, 608, kTextFormat, C},
    {CityEntry, EditField, 4, 80, 206, 20, 1, 0, kEntryStyles, C},
    {Busy, BusyIndicator, 214, 80, 20, 20, 0, 0, 0, C},
    {Results, ResultList, 4, 106, 232, 158, 0, 0, 0, C},
    {Chosen, Label, 4, 106, 232, 158, 1, 0, kTextFormat, C},

    {LookPicture, Picture, 166, 2, 70, 74, 1, 0, 0, L},
    {LookText, Label, 4, 26, 158, 46, 1, 610, kTextFormat, L},
    {ClockFaces, OptionList, 4, 74, 232, 22, 1, 0, 0, L},
    {Backgrounds, OptionList, 4, 98, 232, 22, 1, 0, 0, L},
    {TextColours, OptionList, 4, 122, 232, 22, 1, 0, 0, L},
    {MainColours, OptionList, 4, 146, 232, 22, 1, 0, 0, L},
    {ClockPreview, kPreview, 70, 168, 100, 100, 1, 0, 0, L},

    {LastPicture, Picture, 54, 26, 131, 135, 1, 1, 0, Z},
    {LastHeading, Label, 4, 166, 232, 36, 1, 612, kCentredText, Z},
    {LastText, Label, 4, 204, 232, 60, 1, 613, kCentredText, Z},
};

// Landscape: 320 x 188; the agreement and the results take the whole width below the title.
const ui::LayoutRecord kLandscape[] = {
    {Title, Label, 4, 4, 238, 20, 1, 0, kTitleFormat, kEvery},

    {AgreementPicture, Picture, 246, 2, 70, 74, 1, 0, 0, A},
    {AgreementHeading, Label, 4, 26, 238, 48, 1, 0, kTextFormat, A},
    {wizardControl::Agreement, EditField, 4, 78, 312, 106, 1, 0, kAgreementStyles, A},

    {CitiesPicture, Picture, 246, 2, 70, 74, 1, 0, 0, C},
    {Instruction, Label, 4, 26, 238, 48, 1, 608, kTextFormat, C},
    {CityEntry, EditField, 4, 78, 208, 20, 1, 0, kEntryStyles, C},
    {Busy, BusyIndicator, 216, 78, 20, 20, 0, 0, 0, C},
    {Results, ResultList, 4, 102, 312, 82, 0, 0, 0, C},
    {Chosen, Label, 4, 102, 312, 82, 1, 0, kTextFormat, C},

    {LookPicture, Picture, 246, 2, 70, 74, 1, 0, 0, L},
    {LookText, Label, 4, 26, 238, 46, 1, 610, kTextFormat, L},
    {ClockFaces, OptionList, 4, 76, 220, 22, 1, 0, 0, L},
    {Backgrounds, OptionList, 4, 100, 220, 22, 1, 0, 0, L},
    {TextColours, OptionList, 4, 124, 220, 22, 1, 0, 0, L},
    {MainColours, OptionList, 4, 148, 220, 22, 1, 0, 0, L},
    {ClockPreview, kPreview, 236, 96, 80, 80, 1, 0, 0, L},

    {LastPicture, Picture, 4, 26, 100, 104, 1, 1, 0, Z},
    {LastHeading, Label, 112, 30, 204, 36, 1, 612, kTextFormat, Z},
    {LastText, Label, 112, 70, 204, 100, 1, 613, kTextFormat, Z},
};

// Square: 240 x 188; as landscape, narrower.
const ui::LayoutRecord kSquare[] = {
    {Title, Label, 4, 4, 158, 20, 1, 0, kTitleFormat, kEvery},

    {AgreementPicture, Picture, 166, 2, 70, 74, 1, 0, 0, A},
    {AgreementHeading, Label, 4, 26, 158, 48, 1, 0, kTextFormat, A},
    {wizardControl::Agreement, EditField, 4, 78, 232, 106, 1, 0, kAgreementStyles, A},

    {CitiesPicture, Picture, 166, 2, 70, 74, 1, 0, 0, C},
    {Instruction, Label, 4, 26, 158, 48, 1, 608, kTextFormat, C},
    {CityEntry, EditField, 4, 78, 206, 20, 1, 0, kEntryStyles, C},
    {Busy, BusyIndicator, 214, 78, 20, 20, 0, 0, 0, C},
    {Results, ResultList, 4, 102, 232, 82, 0, 0, 0, C},
    {Chosen, Label, 4, 102, 232, 82, 1, 0, kTextFormat, C},

    {LookPicture, Picture, 166, 2, 70, 74, 1, 0, 0, L},
    {LookText, Label, 4, 26, 158, 46, 1, 610, kTextFormat, L},
    {ClockFaces, OptionList, 4, 76, 166, 22, 1, 0, 0, L},
    {Backgrounds, OptionList, 4, 100, 166, 22, 1, 0, 0, L},
    {TextColours, OptionList, 4, 124, 166, 22, 1, 0, 0, L},
    {MainColours, OptionList, 4, 148, 166, 22, 1, 0, 0, L},
    {ClockPreview, kPreview, 174, 96, 62, 64, 1, 0, 0, L},

    {LastPicture, Picture, 4, 26, 100, 104, 1, 1, 0, Z},
    {LastHeading, Label, 110, 30, 126, 50, 1, 612, kTextFormat, Z},
    {LastText, Label, 110, 84, 126, 100, 1, 613, kTextFormat, Z},
};

}  // namespace

std::span<const ui::LayoutRecord> wizardLayout() {
    if (gfx::displayMetrics().isSquare)
        return kSquare;
    if (gfx::isLandscape())
        return kLandscape;
    return kPortrait;
}

}  // namespace setup
