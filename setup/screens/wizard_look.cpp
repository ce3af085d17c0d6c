// The wizard's look step: the clock face, the background and the two colours, each written
// to its setting as soon as it is chosen so that the screen shows the new look at once.

#include "core/format.h"
#include "core/language.h"
#include "core/settings.h"
#include "gfx/settings_keys.h"
#include "gfx/theme_choices.h"
#include "setup/screens/setup_wizard.h"
#include "setup/screens/wizard_layouts.h"
#include "ui/option_list.h"

namespace setup {

namespace {

// String numbers of the lists' labels: the automatic entry's, then the format of the others.
struct LookList {
    std::uint16_t control;
    int automaticLabel;
    int label;
};
constexpr LookList kClockFaces{wizardControl::ClockFaces, 0, 403};
constexpr LookList kBackgrounds{wizardControl::Backgrounds, 404, 405};
constexpr LookList kTextColours{wizardControl::TextColours, 406, 407};
constexpr LookList kMainColours{wizardControl::MainColours, 408, 409};

void fill(ui::OptionList& list, const gfx::ThemeChoiceList& choices, const LookList& strings) {
    for (const gfx::ThemeChoice& choice : choices.entries) {
        std::wstring label =
            choice.automatic && strings.automaticLabel
                ? core::languageString(strings.automaticLabel)
                : core::formatText(core::languageString(strings.label), choice.name);
        list.addOption(label, choice.value);
    }
    if (!choices.entries.empty())
        list.selectValue(choices.entries[static_cast<std::size_t>(choices.selected)].value);
}

}  // namespace

void SetupWizard::buildLookLists() {
    namespace keys = gfx::keys;
    const std::wstring& mainPath = host_.mainPath();
    auto list = [this](const LookList& strings) {
        return findControl<ui::OptionList>(strings.control);
    };
    fill(*list(kClockFaces), gfx::clockFaceChoices(mainPath, core::settings::read(keys::OptClock)),
         kClockFaces);
    fill(*list(kBackgrounds), gfx::backgroundChoices(mainPath, core::settings::read(keys::OptSkin)),
         kBackgrounds);
    fill(*list(kTextColours), gfx::colourChoices(core::settings::read(keys::OptTextColor)),
         kTextColours);
    fill(*list(kMainColours), gfx::colourChoices(core::settings::read(keys::OptColor)),
         kMainColours);
}

void SetupWizard::lookChosen(ui::OptionList& list) {
    std::wstring value(list.currentValue());
    if (value.empty())
        return;
    namespace keys = gfx::keys;
    switch (list.id) {
        case wizardControl::ClockFaces:
            core::settings::write(keys::OptClock, value);
            break;
        case wizardControl::Backgrounds:
            core::settings::write(keys::OptSkin, value);
            break;
        case wizardControl::TextColours:
            core::settings::write(keys::OptTextColor, value);
            break;
        case wizardControl::MainColours:
            core::settings::write(keys::OptColor, value);
            break;
        default:
            return;
    }
    host_.applyLookSettings();
}

}  // namespace setup
