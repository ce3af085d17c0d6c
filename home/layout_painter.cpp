#include "home/layout_painter.h"

#include <algorithm>
#include <cmath>

#include "core/text_case.h"
#include "gfx/blend.h"
#include "gfx/colours.h"
#include "gfx/fonts.h"
#include "gfx/resample.h"

namespace home {
namespace {

// The dial turns 6 degrees a position; the hands' angles use the handheld's value of pi.
constexpr double kPi = 3.14159;
constexpr double kMinuteHandLength = 0.75;
constexpr double kHourHandLength = 0.63;
constexpr double kHandTail = 0.1;
constexpr platform::Colour kHandColour = 0x000000;

// The strip starts this many layout units right of the item's edge, beside the home icon.
constexpr int kTabStripStart = 20;
constexpr int kIconSize = 16;

int scaled(const LayoutModel& model, int units) {
    return static_cast<int>(units * model.scale);
}

ClockHand hand(double cx, double cy, double radius, int position, double length) {
    double angle = 6.0 * position * kPi / 180.0;
    double dx = std::sin(angle);
    double dy = -std::cos(angle);  // twelve o'clock is up, and y grows downwards
    return {cx - dx * kHandTail * radius, cy - dy * kHandTail * radius, cx + dx * length * radius,
            cy + dy * length * radius};
}

std::uint32_t justification(Justify justify) {
    switch (justify) {
        case Justify::Center:
            return platform::dt::Center;
        case Justify::Right:
            return platform::dt::Right;
        case Justify::Left:
            break;
    }
    return platform::dt::Left;
}

bool highlighted(const PaintState& state) {
    return state.focused && (state.mode == navigation::TabStrip || state.mode == navigation::Panel);
}

void fillHighlight(platform::DeviceContext& dc, const platform::Rect& rect, int hilite,
                   platform::Colour colour) {
    std::optional<int> alpha = highlightAlpha(hilite);
    if (!alpha || rect.width() <= 0 || rect.height() <= 0)
        return;
    if (*alpha >= 255) {
        dc.fillRect(rect, colour);
        return;
    }
    gfx::tintDib(dc.bitmap().get(), colour, rect.left, rect.top, rect.width(), rect.height(),
                 *alpha, false);
}

}  // namespace

PaintColours PaintColours::system() {
    PaintColours colours;
    colours.highlight = gfx::systemColour(gfx::ColourHighlight);
    colours.highlightedText = gfx::systemColour(gfx::ColourHighlightText);
    return colours;
}

std::optional<int> highlightAlpha(int hilite) {
    if (hilite < 0)
        return std::nullopt;
    double percent = hilite * 0.7;
    if (percent >= 100.0)
        return 255;
    return static_cast<int>(percent * 255.0 / 100.0 + 0.5);
}

platform::Rect tabRect(const platform::Rect& item, const LayoutModel& model, int tab) {
    int count = model.tabCount();
    if (tab < 1 || tab > count)
        return {};
    int left = item.left + scaled(model, kTabStripStart);
    int width = std::max(0, item.right - left) / count;
    int x = left + (tab - 1) * width;
    return {x, item.top, x + width, item.top + model.tabHeight};
}

int tabAt(const platform::Rect& item, const LayoutModel& model, platform::Point point) {
    for (int tab = 1; tab <= model.tabCount(); ++tab) {
        platform::Rect r = tabRect(item, model, tab);
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return tab;
    }
    return 0;
}

platform::Rect homeIconRect(const platform::Rect& item, const LayoutModel& model) {
    int s = static_cast<int>(model.scale);
    int size = scaled(model, kIconSize);
    return {item.left + s, item.top + s, item.left + s + size, item.top + s + size};
}

ClockHands clockHands(const platform::Rect& box, int hour, int minute) {
    double cx = box.left + box.width() / 2.0;
    double cy = box.top + box.height() / 2.0;
    double radius = box.width() / 2.0;
    int hourPosition = (hour % 12) * 5 + minute / 12;
    return {hand(cx, cy, radius, hourPosition, kHourHandLength),
            hand(cx, cy, radius, minute, kMinuteHandLength)};
}

LayoutPainter::LayoutPainter(std::wstring mainPath) : mainPath_(std::move(mainPath)) {}

LayoutPainter::~LayoutPainter() = default;

void LayoutPainter::clear() {
    fonts_.clear();
    pictures_.clear();
}

platform::FontRef LayoutPainter::fontFor(const LayoutModel& model, int id) {
    const FontDefinition* definition = model.font(id);
    if (!definition)
        return nullptr;  // the context's default font
    auto key = std::tuple{definition->size, definition->bold ? 1 : 0, definition->clearType};
    auto& font = fonts_[key];
    if (!font) {
        font = gfx::createFont(
            definition->size, definition->bold ? gfx::FontWeightBold : gfx::FontWeightNormal, false,
            false, definition->clearType ? gfx::FontQualityClearType : gfx::FontQualityDefault);
    }
    return font;
}

const gfx::TargaPixels* LayoutPainter::picture(const std::wstring& path, int width, int height) {
    if (path.empty() || width <= 0 || height <= 0)
        return nullptr;
    auto& slot = pictures_[{path, width, height}];
    if (!slot) {
        // A picture that does not load is remembered as an empty one, so that a missing file
        // is looked for once, not at every paint.
        slot = std::make_unique<gfx::TargaPixels>();
        std::unique_ptr<gfx::TargaPixels> original;
        if (gfx::loadTarga(path, original) == gfx::TargaStatus::Loaded && original) {
            if (original->width == width && original->height == height)
                *slot = std::move(*original);
            else
                *slot = gfx::resampleTarga(*original, width, height);
        }
    }
    return slot->width > 0 ? slot.get() : nullptr;
}

void LayoutPainter::drawPicture(platform::DeviceContext& dc, const std::wstring& path,
                                const platform::Rect& rect) {
    const gfx::TargaPixels* pixels = picture(path, rect.width(), rect.height());
    platform::Bitmap* bitmap = dc.bitmap().get();
    if (!pixels || !bitmap)
        return;
    // Memory rows run from the bottom: the picture's bottom row lands on this one.
    int bottomRow = bitmap->height() - rect.top - pixels->height;
    gfx::blendTarga(*pixels, bitmap, rect.left, bottomRow, false, 1.0);
}

void LayoutPainter::paint(platform::DeviceContext& dc, const platform::Rect& item,
                          const LayoutModel& model, std::size_t layoutIndex,
                          const LayoutContent& content, const PaintState& state,
                          const PaintColours& colours, platform::FileTime utcNow) {
    bool lit = highlighted(state);
    if (lit) {
        platform::Rect panel = item;
        if (model.hasTabs())
            panel.top += model.tabHeight;
        fillHighlight(dc, panel, model.hilite, colours.highlight);
    }
    std::wstring icon = state.busyFrame >= 1 && state.busyFrame <= 4
                            ? L"home\\today_scheduler" + std::to_wstring(state.busyFrame) + L".tga"
                            : L"home\\today_homescreen.tga";
    drawPicture(dc, mainPath_ + icon, homeIconRect(item, model));
    if (model.hasTabs())
        paintTabs(dc, item, model, state, colours);
    if (layoutIndex >= model.layouts.size())
        return;
    const Layout& layout = model.layouts[layoutIndex];
    platform::Colour previous = dc.setTextColour(lit ? colours.highlightedText : colours.text);
    platform::BackgroundMode mode = dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    std::size_t count = std::min(layout.objects.size(), content.size());
    for (std::size_t i = 0; i < count; ++i)
        paintObject(dc, item, model, layout.objects[i], content[i], state, utcNow);
    dc.setBackgroundMode(mode);
    dc.setTextColour(previous);
}

void LayoutPainter::paintTabs(platform::DeviceContext& dc, const platform::Rect& item,
                              const LayoutModel& model, const PaintState& state,
                              const PaintColours& colours) {
    bool lit = highlighted(state);
    int count = model.tabCount();
    platform::BackgroundMode mode = dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    platform::Colour previous = dc.textColour();
    for (int tab = 1; tab <= count; ++tab) {
        // The strip shows the tabs in the order the file defines them.
        const TabDefinition& definition = model.tabs[count - tab];
        platform::Rect r = tabRect(item, model, tab);
        bool current = tab == state.currentTab;
        if (current && lit)
            fillHighlight(dc, r, model.hilite, colours.highlight);
        dc.setTextColour(current && lit ? colours.highlightedText : colours.text);
        platform::FontRef font = fontFor(model, definition.font);
        platform::FontRef old = dc.selectFont(font);
        dc.drawText(definition.caption, r,
                    platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine |
                        platform::dt::NoPrefix);
        dc.selectFont(old);
        // Lines: each tab's left edge, the right edge of all but the last, and the bottom of
        // every tab but the current one, which so opens onto the panel.
        dc.line(r.left, r.top, r.left, r.bottom, colours.line);
        if (tab < count)
            dc.line(r.right - 1, r.top, r.right - 1, r.bottom, colours.line);
        if (!current)
            dc.line(r.left, r.bottom - 1, r.right, r.bottom - 1, colours.line);
    }
    dc.setTextColour(previous);
    dc.setBackgroundMode(mode);
}

void LayoutPainter::paintObject(platform::DeviceContext& dc, const platform::Rect& item,
                                const LayoutModel& model, const LayoutObject& object,
                                const ObjectContent& content, const PaintState& state,
                                platform::FileTime utcNow) {
    platform::Rect rect = object.rect;
    rect.left += item.left;
    rect.right += item.left;
    rect.top += item.top;
    rect.bottom += item.top;
    if (object.kind == ObjectKind::Clock) {
        std::wstring face = state.clockFace;
        if (face.empty() || core::equalsIgnoringCase(face, L"automatic"))
            face = L"default.tga";
        drawPicture(dc, mainPath_ + L"clocks\\" + face, rect);
        if (!content.clockOffsetMinutes)
            return;
        platform::FileTime local =
            utcNow + static_cast<platform::FileTime>(*content.clockOffsetMinutes) * 60 *
                         platform::kFileTimeTicksPerSecond;
        auto time = platform::toSystemTime(local);
        if (!time)
            return;
        ClockHands hands = clockHands(rect, time->hour, time->minute);
        double radius = rect.width() / 2.0;
        double hourWidth = std::max(1.5, radius / 7.0);
        double minuteWidth = std::max(1.0, radius / 11.0);
        dc.antialiasedLine(hands.hour.x1, hands.hour.y1, hands.hour.x2, hands.hour.y2, kHandColour,
                           hourWidth);
        dc.antialiasedLine(hands.minute.x1, hands.minute.y1, hands.minute.x2, hands.minute.y2,
                           kHandColour, minuteWidth);
        return;
    }
    if (!content.picture.empty()) {
        drawPicture(dc, content.picture, rect);
        return;
    }
    if (content.text.empty())
        return;
    platform::FontRef old = dc.selectFont(fontFor(model, object.font));
    // Lines break only at line feeds; the text is clipped to its rectangle.
    dc.drawText(content.text, rect, justification(object.justify) | platform::dt::NoPrefix);
    dc.selectFont(old);
}

}  // namespace home
