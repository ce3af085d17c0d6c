// The table of options: every setting of the option pages with its rows, default, storing and
// effects, in screen order. Each option names its setting through the key its readers use, so
// a setting's name is written down once.

#include "core/settings_keys.h"
#include "gfx/settings_keys.h"
#include "home/settings_keys.h"
#include "updates/option_model.h"
#include "updates/settings_keys.h"
#include "worldtime/settings_keys.h"

namespace updates {
namespace {

constexpr FixedRow kStartScreens[] = {
    {377, L"10"}, {378, L"20"}, {379, L"21"}, {380, L"22"}, {381, L"23"}, {382, L"24"},
    {383, L"31"}, {384, L"32"}, {385, L"33"}, {386, L"41"}, {387, L"44"}, {388, L"43"},
    {389, L"51"}, {390, L"52"}, {391, L"53"}, {392, L"54"}, {393, L"61"}};
constexpr FixedRow kTimeFormats[] = {{394, {}}, {395, {}}, {396, {}}};
constexpr FixedRow kTemperatures[] = {{397, {}}, {398, {}}};
constexpr FixedRow kWindSpeeds[] = {{399, {}}, {400, {}}};
constexpr FixedRow kNetworks[] = {{401, {}}};
constexpr FixedRow kCountry[] = {{441, {}}, {442, {}}};
constexpr FixedRow kRotation[] = {{411, {}}, {412, {}}, {413, {}}, {414, {}}, {415, {}}, {416, {}}};
constexpr FixedRow kAutoHeight[] = {{417, {}}, {418, {}}, {419, {}}};
constexpr FixedRow kDayDate[] = {{420, {}}, {421, {}}};
constexpr FixedRow kActionKey[] = {{438, {}}, {439, {}}};
constexpr FixedRow kDocking[] = {{482, {}}, {483, {}}};
constexpr FixedRow kDockCheck[] = {{484, {}}, {485, {}}};
constexpr FixedRow kRetry[] = {
    {486, L"0"}, {487, L"15"}, {488, L"30"}, {489, L"60"}, {490, L"120"}};
constexpr FixedRow kFilter[] = {{491, L"1"},   {492, L"2"},    {493, L"4"},
                                {494, L"8"},   {495, L"16"},   {496, L"256"},
                                {497, L"512"}, {498, L"1024"}, {499, L"2048"}};
constexpr FixedRow kIntervals[] = {{423, L"0"},  {424, L"1"},  {425, L"2"},
                                   {426, L"4"},  {427, L"6"},  {428, L"12"},
                                   {429, L"24"}, {430, L"48"}, {431, L"168"}};
// Built lists start with these rows.
constexpr FixedRow kBackgroundLabels[] = {{404, L"automatic"}};
constexpr FixedRow kTextColourLabels[] = {{406, L"automatic"}};
constexpr FixedRow kColourLabels[] = {{408, L"automatic"}};
constexpr FixedRow kNoWindow[] = {{432, L"-1"}};
constexpr FixedRow kMidnight[] = {{252, L"0"}};

using namespace effect;
using P = RowSource;
using S = Storing;

const OptionSpec kOptions[] = {
    {core::keys::OptStartScreen.name, page::General, P::Fixed, S::Value, L"10", kStartScreens},
    {core::keys::OptTimeFormat.name, page::General, P::Fixed, S::Row, L"1", kTimeFormats, 0,
     HomeReload | TimeFormat},
    {core::keys::OptTempFormat.name, page::General, P::Fixed, S::Row, L"1", kTemperatures, 0,
     HomeReload | TimeFormat},
    {core::keys::OptWindFormat.name, page::General, P::Fixed, S::Row, L"1", kWindSpeeds, 0,
     HomeReload | TimeFormat},
    {L"OptNetwork", page::General, P::Fixed, S::Row, L"1", kNetworks},
    {worldtime::keys::OptShowCountry.name, page::General, P::Fixed, S::Row, L"1", kCountry, 0,
     TimeFormat},
    {core::keys::OptLang.name,
     page::General,
     P::Languages,
     S::Value,
     L"0409",
     {},
     681,
     LanguageChange},
    {gfx::keys::OptClock.name,
     page::Themes,
     P::ClockFaces,
     S::Value,
     L"default.tga",
     {},
     403,
     LookRedraw},
    {gfx::keys::OptSkin.name, page::Themes, P::Backgrounds, S::Value, L"automatic",
     kBackgroundLabels, 405, LookReload},
    {gfx::keys::OptTextColor.name, page::Themes, P::Colours, S::Value, L"automatic",
     kTextColourLabels, 407, LookRedraw},
    {gfx::keys::OptColor.name, page::Themes, P::Colours, S::Value, L"automatic", kColourLabels, 409,
     LookRedraw},
    {home::keys::OptHomeLayout.name,
     page::Home,
     P::Layouts,
     S::Value,
     L"home\\today_default.xml",
     {},
     374,
     HomeReload | HomePreview},
    {home::keys::OptHomeRotate.name, page::Home, P::Fixed, S::Row, L"1", kRotation, 0, HomePreview},
    {home::keys::OptHomeAutoHt.name, page::Home, P::Fixed, S::Row, L"1", kAutoHeight, 0,
     HomePreview},
    {home::keys::OptHomeDayDate.name, page::Home, P::Fixed, S::Row, L"1", kDayDate, 0, HomeReload},
    {home::keys::OptHomeAction.name, page::Home, P::Fixed, S::RowLessOne, L"0", kActionKey, 0,
     HomeReload},
    {updates::keys::OptSchedDocking.name, page::Downloads, P::Fixed, S::Row, L"1", kDocking, 0,
     Docking},
    {updates::keys::OptSchedDockCheck.name, page::Downloads, P::Fixed, S::Row, L"1", kDockCheck},
    {updates::keys::OptSchedRetry.name, page::Downloads, P::Fixed, S::Value, L"0", kRetry},
    {updates::keys::OptSchedFilter.name, page::Downloads, P::FilterBits, S::Value, L"14", kFilter},
    {updates::keys::OptScheduler.name, page::AutomaticUpdates, P::Fixed, S::Value, L"0", kIntervals,
     0, Reschedule},
    {updates::keys::OptSchedStartTime.name, page::AutomaticUpdates, P::StartHours, S::Value, L"7",
     kNoWindow, 695, Reschedule},
    {updates::keys::OptSchedEndTime.name, page::AutomaticUpdates, P::EndHours, S::Value, L"23",
     kMidnight, 696, Reschedule},
};

}  // namespace

std::span<const OptionSpec> optionSpecs() {
    return kOptions;
}

}  // namespace updates
