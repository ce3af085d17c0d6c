// Building an option's rows, reading its validated value and storing a change with what it
// sets off.

#include "updates/option_model.h"

#include "core/format.h"
#include "core/language.h"
#include "core/record_table.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/text_case.h"
#include "core/time_text.h"
#include "gfx/settings_keys.h"
#include "gfx/theme_choices.h"
#include "platform/api/locale.h"
#include "updates/docking.h"
#include "updates/schedule.h"
#include "updates/settings_keys.h"

namespace updates {
namespace {

std::wstring formatted(int format, std::wstring_view name) {
    return core::formatText(core::languageString(format), name);
}

std::wstring hourText(int hour) {
    platform::SystemTime t{2000, 1, 6, 1, static_cast<std::uint16_t>(hour), 0, 0, 0};
    return platform::formatTime(t, core::withoutSeconds(platform::timePicture())).value_or(L"");
}

void addLanguages(std::vector<OptionChoice>& out, const OptionSpec& spec,
                  std::wstring_view mainPath) {
    core::RecordTable list(9);
    list.load(core::joinDevicePath(mainPath, L"lang"), L"lang.dat");
    for (int row = 1; row <= list.rowCount(); ++row) {
        auto code = list.fieldText(row, core::languageListField::Code);
        if (code.empty())
            continue;
        out.push_back(
            {formatted(spec.labelFormat, list.fieldText(row, core::languageListField::Name)),
             std::wstring(code)});
    }
}

void addThemeChoices(std::vector<OptionChoice>& out, const OptionSpec& spec,
                     const gfx::ThemeChoiceList& list) {
    for (const auto& entry : list.entries) {
        if (!entry.automatic)
            out.push_back({formatted(spec.labelFormat, entry.name), entry.value});
    }
}

void addLayouts(std::vector<OptionChoice>& out, const OptionSpec& spec,
                std::wstring_view mainPath) {
    std::wstring folder = std::wstring(mainPath) + L"home";
    for (const auto& file : platform::listFolder(folder, L"*.xml")) {
        out.push_back({formatted(spec.labelFormat, file.name), folder + L"\\" + file.name});
    }
}

bool isNumberText(std::wstring_view text) {
    if (text.empty() || text.size() > 9)
        return false;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
    }
    return true;
}

std::optional<std::wstring> readStored(const OptionSpec& spec) {
    return core::readSetting(spec.name, core::byteLimit::Path);
}

// The language's download name for OptLangDownload.
void storeLanguageDownload(std::wstring_view mainPath, std::wstring_view code) {
    core::RecordTable list(9);
    list.load(core::joinDevicePath(mainPath, L"lang"), L"lang.dat");
    int row = list.find(core::languageListField::Code, code, true);
    if (row > 0)
        core::settings::write(core::keys::OptLangDownload,
                              list.fieldText(row, core::languageListField::DownloadName));
}

// Both window hours are stored as the page shows them, so that a value left absent (which
// scheduling would read as "no window") never disagrees with what the page shows.
void storeWindowHours(std::wstring_view mainPath) {
    for (std::wstring_view name : {keys::OptSchedStartTime.name, keys::OptSchedEndTime.name}) {
        const OptionSpec* hour = findOption(name);
        core::writeSetting(hour->name, optionValue(*hour, mainPath));
    }
}

}  // namespace

std::optional<int> parseFilterMask(std::wstring_view text) {
    if (!isNumberText(text))
        return std::nullopt;
    long mask = std::stol(std::wstring(text));
    if ((mask & ~static_cast<long>(keys::kFilterBits)) != 0)
        return std::nullopt;
    return static_cast<int>(mask);
}

const OptionSpec* findOption(std::wstring_view name) {
    for (const auto& spec : optionSpecs()) {
        if (core::equalsIgnoringCase(spec.name, name))
            return &spec;
    }
    return nullptr;
}

std::vector<OptionChoice> optionChoices(const OptionSpec& spec, std::wstring_view mainPath) {
    std::vector<OptionChoice> out;
    int number = 1;
    for (const auto& row : spec.rows) {
        std::wstring stored = spec.storing == Storing::Value        ? std::wstring(row.value)
                              : spec.storing == Storing::RowLessOne ? std::to_wstring(number - 1)
                                                                    : std::to_wstring(number);
        out.push_back({core::languageString(row.label), stored});
        ++number;
    }
    switch (spec.source) {
        case RowSource::Languages:
            addLanguages(out, spec, mainPath);
            break;
        case RowSource::ClockFaces:
            addThemeChoices(out, spec, gfx::clockFaceChoices(mainPath, L""));
            break;
        case RowSource::Backgrounds:
            addThemeChoices(out, spec, gfx::backgroundChoices(mainPath, L""));
            break;
        case RowSource::Colours:
            addThemeChoices(out, spec, gfx::colourChoices(L""));
            break;
        case RowSource::Layouts:
            addLayouts(out, spec, mainPath);
            break;
        case RowSource::StartHours:
            for (int h = 0; h <= 23; ++h)
                out.push_back({formatted(spec.labelFormat, hourText(h)), std::to_wstring(h)});
            break;
        case RowSource::EndHours:
            for (int h = 1; h <= 23; ++h)
                out.push_back({formatted(spec.labelFormat, hourText(h)), std::to_wstring(h)});
            break;
        case RowSource::Fixed:
        case RowSource::FilterBits:
            break;
    }
    return out;
}

std::wstring optionDefault(const OptionSpec& spec, std::wstring_view mainPath) {
    if (spec.source == RowSource::Layouts)
        return std::wstring(mainPath) + std::wstring(spec.defaultValue);
    return std::wstring(spec.defaultValue);
}

int rowOfValue(std::span<const OptionChoice> choices, std::wstring_view value) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (core::equalsIgnoringCase(choices[i].stored, value))
            return static_cast<int>(i);
    }
    return 0;
}

std::wstring optionValue(const OptionSpec& spec, std::wstring_view mainPath) {
    return optionValue(spec, mainPath, optionChoices(spec, mainPath));
}

std::wstring optionValue(const OptionSpec& spec, std::wstring_view mainPath,
                         std::span<const OptionChoice> choices) {
    auto stored = readStored(spec);
    if (spec.source == RowSource::FilterBits) {
        auto mask = stored ? parseFilterMask(*stored) : std::nullopt;
        return mask ? std::to_wstring(*mask) : optionDefault(spec, mainPath);
    }
    if (stored) {
        for (const auto& choice : choices) {
            if (core::equalsIgnoringCase(choice.stored, *stored))
                return choice.stored;
        }
    }
    // The clock face falls back to the default face, else to the first one offered.
    std::wstring fallback = optionDefault(spec, mainPath);
    if (spec.source == RowSource::ClockFaces && !choices.empty()) {
        for (const auto& choice : choices) {
            if (core::equalsIgnoringCase(choice.stored, fallback))
                return choice.stored;
        }
        return choices.front().stored;
    }
    return fallback;
}

SetOutcome setOption(const OptionSpec& spec, std::wstring_view value, std::wstring_view mainPath) {
    SetOutcome outcome;
    std::wstring stored;
    if (spec.source == RowSource::FilterBits) {
        auto mask = parseFilterMask(value);
        if (!mask) {
            outcome.result = SetResult::NotOffered;
            return outcome;
        }
        stored = std::to_wstring(*mask);
    } else {
        auto choices = optionChoices(spec, mainPath);
        for (const auto& choice : choices) {
            if (core::equalsIgnoringCase(choice.stored, value))
                stored = choice.stored;
        }
        if (stored.empty()) {
            outcome.result = SetResult::NotOffered;
            return outcome;
        }
    }
    if (!core::writeSetting(spec.name, stored)) {
        outcome.result = SetResult::WriteFailed;
        return outcome;
    }
    outcome.effects = spec.effects;
    if (spec.effects & effect::HomeReload)
        core::settings::write(core::keys::OptHomeLayoutReload, 1);
    if (spec.effects & effect::LanguageChange)
        storeLanguageDownload(mainPath, stored);
    if (spec.name == gfx::keys::OptColor.name && stored == L"automatic")
        outcome.effects = (outcome.effects & ~effect::LookRedraw) | effect::LookReload;
    if (spec.effects & effect::Reschedule) {
        storeWindowHours(mainPath);
        scheduleNextUpdate();
    }
    if (spec.effects & effect::Docking)
        setDockingUpdates();
    return outcome;
}

}  // namespace updates
