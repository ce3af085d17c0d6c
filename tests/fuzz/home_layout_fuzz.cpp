// Builds the layout model from arbitrary bytes at both display scales: every object lies in
// its layout's lists, rectangles are never inverted, tab and layout choice always answer an
// index inside the list, and the two scales agree on what the file holds.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "home/layout.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void inspect(const home::LayoutModel& model) {
    for (const auto& layout : model.layouts) {
        check(layout.height >= 0);
        for (const auto& object : layout.objects) {
            check(object.rect.right >= object.rect.left);
            check(object.rect.bottom >= object.rect.top);
            check(object.style >= 1 && object.style <= 15);
        }
    }
    for (int width : {240, 320, 480, 640}) {
        for (int tab = 0; tab <= model.tabCount() + 1; ++tab) {
            auto index = model.layoutForTab(tab, width);
            check(index.has_value() == !model.layouts.empty());
            if (index) {
                check(*index < model.layouts.size());
                auto next = model.nextLayout(*index, width);
                check(next && *next < model.layouts.size());
            }
        }
    }
    if (auto first = model.firstLayout())
        check(*first < model.layouts.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    home::LayoutModel narrow = home::parseLayout(bytes, 1.0);
    home::LayoutModel wide = home::parseLayout(bytes, 2.0);
    inspect(narrow);
    inspect(wide);
    check(narrow.layouts.size() == wide.layouts.size());
    check(narrow.tabs.size() == wide.tabs.size());
    check(narrow.fonts.size() == wide.fonts.size());
    return 0;
}
