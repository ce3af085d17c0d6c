// The options screen's layout, made from the option model so that every option of a page has
// its list: one column in portrait, and in landscape and square the extras of a page (the
// check list, the status box, the preview) beside or below the lists.

#include "updates/screens/options_layout.h"

#include "gfx/display_metrics.h"
#include "platform/api/draw.h"
#include "updates/option_model.h"

namespace updates {
namespace {

using namespace optionsControl;
namespace dt = platform::dt;
namespace type = ui::layoutType;

constexpr std::uint32_t kTitleFormat = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kButtonLabelFormat = dt::Center | dt::WordBreak;
constexpr std::uint32_t kStatusFormat = dt::Left | dt::WordBreak;

struct Shape {
    int width;
    int height;
    bool portrait;
};

Shape currentShape() {
    if (gfx::isLandscape())
        return {320, 188, false};
    if (gfx::displayMetrics().isSquare)
        return {240, 188, false};
    return {240, 268, true};
}

std::int16_t n(int v) {
    return static_cast<std::int16_t>(v);
}

void addMainPage(std::vector<ui::LayoutRecord>& out, const Shape& s) {
    // Portrait: three rows of two; otherwise two rows of three.
    int columns = s.portrait ? 2 : 3;
    int rows = kButtons / columns;
    int cellW = (s.width - 8) / columns;
    int cellH = (s.height - 28) / rows;
    int picture = std::min(48, cellH - 30);
    for (int i = 0; i < kButtons; ++i) {
        int x = 4 + (i % columns) * cellW;
        int y = 26 + (i / columns) * cellH;
        out.push_back({static_cast<std::uint16_t>(FirstButton + i), optionsLayoutType::PageButton,
                       n(x + (cellW - picture) / 2), n(y + 2), n(picture), n(picture), 1, 0, 0,
                       page::Main});
        out.push_back({static_cast<std::uint16_t>(FirstButtonLabel + i), type::Label, n(x + 1),
                       n(y + picture + 4), n(cellW - 2), n(cellH - picture - 4), 1,
                       static_cast<std::uint32_t>(368 + i), kButtonLabelFormat, page::Main});
    }
}

void addOptionPage(std::vector<ui::LayoutRecord>& out, const Shape& s, int pageId) {
    // Pages with an extra part give it the right-hand column when the screen is wide.
    bool hasExtra =
        pageId == page::Downloads || pageId == page::AutomaticUpdates || pageId == page::Home;
    bool besides = hasExtra && s.width > 240 && pageId != page::AutomaticUpdates;
    int listW = besides ? 156 : s.width - 8;
    int rowH = s.portrait ? 24 : 23;
    int y = 26;
    const auto specs = optionSpecs();
    for (std::size_t k = 0; k < specs.size(); ++k) {
        if (specs[k].page != pageId || specs[k].source == RowSource::FilterBits)
            continue;
        out.push_back({static_cast<std::uint16_t>(FirstList + k), type::OptionList, 4, n(y),
                       n(listW), 22, 1, 0, 0, static_cast<std::uint16_t>(pageId)});
        y += rowH;
    }
    if (!hasExtra)
        return;
    int x = besides ? 4 + listW + 4 : 4;
    int top = besides ? 26 : y + 2;
    int w = besides ? s.width - x - 4 : s.width - 8;
    int h = s.height - top - 2;
    auto p = static_cast<std::uint16_t>(pageId);
    if (pageId == page::Downloads) {
        out.push_back(
            {FilterList, optionsLayoutType::FilterList, n(x), n(top), n(w), n(h), 1, 0, 0, p});
    } else if (pageId == page::AutomaticUpdates) {
        out.push_back({StatusBox, type::Label, n(x), n(top), n(w), n(h), 1, 0, kStatusFormat, p});
    } else {
        out.push_back({Preview, optionsLayoutType::Preview, n(x), n(top), n(w), n(h), 1, 0, 0, p});
    }
}

}  // namespace

std::vector<ui::LayoutRecord> optionsLayout() {
    Shape s = currentShape();
    std::vector<ui::LayoutRecord> out;
    out.push_back({Title, type::Label, 4, 2, n(s.width - 8), 22, 1, 0, kTitleFormat, 99});
    addMainPage(out, s);
    for (int p :
         {page::General, page::Themes, page::Home, page::Downloads, page::AutomaticUpdates}) {
        addOptionPage(out, s, p);
    }
    return out;
}

}  // namespace updates
