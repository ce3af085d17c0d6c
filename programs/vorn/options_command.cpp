// vorn options: the options of the option pages, listed, shown with their choices or set,
// through the option model the pages use.

#include <cstdio>

#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "updates/option_model.h"

namespace vorn {
namespace {

using updates::OptionChoice;
using updates::OptionSpec;

// The label of the row showing the value; for the filter, the ticked rows' labels.
std::string shownText(const OptionSpec& spec, const std::vector<OptionChoice>& choices,
                      const std::wstring& value) {
    if (spec.source != updates::RowSource::FilterBits)
        return utf8(choices.empty() ? L"" : choices[updates::rowOfValue(choices, value)].label);
    std::string ticked;
    long mask = std::stol(value);
    for (const auto& c : choices) {
        if (mask & std::stol(c.stored))
            ticked += (ticked.empty() ? "" : ", ") + utf8(c.label);
    }
    return ticked.empty() ? "nothing" : ticked;
}

bool isChosen(const OptionSpec& spec, const OptionChoice& c, const std::wstring& value) {
    if (spec.source == updates::RowSource::FilterBits)
        return (std::stol(value) & std::stol(c.stored)) != 0;
    return platform::toUtf8(c.stored) == platform::toUtf8(value);
}

int listAll(const Invocation& invocation) {
    Json json;
    json.beginObject().beginArray("options");
    for (const auto& spec : updates::optionSpecs()) {
        auto choices = updates::optionChoices(spec, invocation.mainPath);
        std::wstring value = updates::optionValue(spec, invocation.mainPath, choices);
        std::string shown = shownText(spec, choices, value);
        if (invocation.json) {
            json.beginObject()
                .field("name", utf8(spec.name))
                .field("page", spec.page)
                .field("value", utf8(value))
                .field("shown", shown)
                .endObject();
        } else {
            std::printf("%d  %-18s %-10s %s\n", spec.page, utf8(spec.name).c_str(),
                        utf8(value).c_str(), shown.c_str());
        }
    }
    if (invocation.json)
        writeOut(json.endArray().endObject().text() + "\n");
    return kExitOk;
}

int showOne(const Invocation& invocation, const OptionSpec& spec) {
    auto choices = updates::optionChoices(spec, invocation.mainPath);
    std::wstring value = updates::optionValue(spec, invocation.mainPath, choices);
    if (invocation.json) {
        Json json;
        json.beginObject().field("name", utf8(spec.name)).field("value", utf8(value));
        json.beginArray("choices");
        for (const auto& c : choices) {
            json.beginObject()
                .field("value", utf8(c.stored))
                .field("label", utf8(c.label))
                .endObject();
        }
        writeOut(json.endArray().endObject().text() + "\n");
        return kExitOk;
    }
    std::printf("%s = %s\n", utf8(spec.name).c_str(), utf8(value).c_str());
    for (const auto& c : choices) {
        std::printf("%c %-10s %s\n", isChosen(spec, c, value) ? '*' : ' ', utf8(c.stored).c_str(),
                    utf8(c.label).c_str());
    }
    return kExitOk;
}

int setOne(const Invocation& invocation, const OptionSpec& spec, const std::string& text) {
    auto outcome = updates::setOption(spec, platform::fromUtf8(text), invocation.mainPath);
    if (outcome.result == updates::SetResult::WriteFailed)
        return report(invocation, kExitFailure, "cannot store " + utf8(spec.name));
    if (outcome.result == updates::SetResult::NotOffered) {
        std::vector<std::string> offered;
        if (spec.source == updates::RowSource::FilterBits) {
            offered.push_back("a sum of these bits:");
        }
        for (const auto& c : updates::optionChoices(spec, invocation.mainPath))
            offered.push_back(utf8(c.stored) + "  " + utf8(c.label));
        return report(invocation, kExitUsage,
                      utf8(spec.name) + " does not offer \"" + text + "\"; it offers:", offered);
    }
    return showOne(invocation, spec);
}

}  // namespace

int runOptions(const Invocation& invocation) {
    if (invocation.arguments.size() > 2)
        return report(invocation, kExitUsage, "options takes at most NAME and VALUE");
    if (!openShownLanguage(invocation.mainPath)) {
        return report(invocation, kExitFailure,
                      "no language files in the install folder " + utf8(invocation.mainPath));
    }
    if (invocation.arguments.empty())
        return listAll(invocation);
    const std::string& name = invocation.arguments[0];
    const OptionSpec* spec = updates::findOption(platform::fromUtf8(name));
    if (!spec) {
        std::vector<std::string> names;
        for (const auto& s : updates::optionSpecs()) names.push_back(utf8(s.name));
        return report(invocation, kExitUsage,
                      "no option \"" + name + "\"; the options are:", names);
    }
    if (invocation.arguments.size() == 1)
        return showOne(invocation, *spec);
    return setOne(invocation, *spec, invocation.arguments[1]);
}

}  // namespace vorn
