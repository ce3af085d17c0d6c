#include "gfx/theme_choices.h"

#include <algorithm>

#include "core/text_case.h"
#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/theme.h"
#include "platform/api/device.h"

namespace gfx {
namespace {

std::wstring withoutExtension(std::wstring_view fileName) {
    return std::wstring(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

int indexOf(const ThemeChoiceList& list, std::wstring_view value) {
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (core::equalsIgnoringCase(list.entries[i].value, value))
            return static_cast<int>(i);
    }
    return -1;
}

bool startsWithLand(std::wstring_view name) {
    return name.size() >= 5 && core::equalsIgnoringCase(name.substr(0, 5), L"land_");
}

}  // namespace

ThemeChoiceList clockFaceChoices(std::wstring_view mainPath, std::wstring_view optClock) {
    ThemeChoiceList list;
    for (const auto& file : platform::listFolder(std::wstring(mainPath) + L"clocks", L"*.tga")) {
        // Landscape faces go with the screen's orientation, never chosen by the user.
        if (startsWithLand(file.name))
            continue;
        list.entries.push_back({file.name, withoutExtension(file.name)});
    }
    int index = indexOf(list, optClock);
    if (index < 0)
        index = indexOf(list, L"default.tga");
    list.selected = std::max(index, 0);
    return list;
}

ThemeChoiceList backgroundChoices(std::wstring_view mainPath, std::wstring_view optSkin) {
    ThemeChoiceList list;
    list.entries.push_back({std::wstring(kAutomatic), std::wstring(kAutomatic), true});
    const auto files = platform::listFolder(std::wstring(mainPath) + L"backgrounds", L"*.jpg");
    for (const auto& file : files) {
        // Landscape variants are picked by the screen's orientation, never by the user.
        if (startsWithLand(file.name))
            continue;
        list.entries.push_back({file.name, withoutExtension(file.name)});
    }
    list.selected = std::max(indexOf(list, optSkin), 0);
    return list;
}

ThemeChoiceList colourChoices(std::wstring_view setting) {
    ThemeChoiceList list;
    list.entries.push_back({std::wstring(kAutomatic), std::wstring(kAutomatic), true});
    for (const NamedColour& colour : kColourTable) {
        list.entries.push_back({std::to_wstring(colour.colour), std::wstring(colour.name)});
    }
    list.selected = std::max(indexOf(list, setting), 0);
    return list;
}

int clockPreviewSize() {
    const DisplayMetrics& m = displayMetrics();
    int points = 100;
    if (m.displayModeFlag) {
        points = 60;
    } else if (isLandscape()) {
        points = 70;
    } else if (m.isSquare) {
        points = 60;
    }
    return static_cast<int>(points * m.scaleX);
}

}  // namespace gfx
