#pragma once
// Paints one layout of a layout model into a memory device context: the selection highlight,
// the home icon or the busy picture, the tab strip with its lines, and every object (texts,
// pictures, analogue clocks with anti-aliased hands) from the content HomeData gathered. The
// Today plug-in and the options' layout preview paint through it, so both look the same.
//
// The painter keeps the fonts and the pictures, resized to the sizes asked for, between
// paints: a repaint of an unchanged layout loads and resizes nothing.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "gfx/targa.h"
#include "home/home_data.h"
#include "home/layout.h"
#include "platform/api/clock.h"
#include "platform/api/draw.h"

namespace home {

struct PaintColours {
    platform::Colour text = 0x000000;
    platform::Colour highlightedText = 0xFFFFFF;
    platform::Colour highlight = 0xC56A31;
    platform::Colour line = 0x808080;
    // From the device's system colours (the Today host may give others).
    static PaintColours system();
};

// Navigation modes of the item.
namespace navigation {
constexpr int TabStrip = 1, Panel = 2;
}

struct PaintState {
    int currentTab = 1;  // 1-based position in the strip
    int mode = navigation::Panel;
    bool focused = false;
    int busyFrame = 0;  // 0: idle (the home icon); 1 to 4: the busy pictures
    // The clock face under "clocks\"; "automatic" (or empty) means "default.tga".
    std::wstring clockFace = L"automatic";
};

// The highlight's alpha (0 to 255) for a layout's hilite percentage, drawn at 70 %: nothing
// below 0 %, solid from 100 % drawn.
std::optional<int> highlightAlpha(int hilite);

// The tab strip's rectangles: the strip starts 20 units right of the item's left edge and
// shares the width equally (integer division). Tab i (1-based) of count; empty when there is
// no such tab.
platform::Rect tabRect(const platform::Rect& item, const LayoutModel& model, int tab);
// The tab (1-based) at a point of the item, 0 when none.
int tabAt(const platform::Rect& item, const LayoutModel& model, platform::Point point);
// The home icon's square: (s, s) to (s + 16 s, s + 16 s) from the item's corner, s the scale.
platform::Rect homeIconRect(const platform::Rect& item, const LayoutModel& model);

// The two hands of an analogue clock in a box for a local time: each runs from 0.1 of the
// radius behind the centre to 0.75 (minutes) or 0.63 (hours) of it in front, turned clockwise
// from twelve o'clock by 6 degrees a dial position.
struct ClockHand {
    double x1, y1, x2, y2;
};
struct ClockHands {
    ClockHand hour;
    ClockHand minute;
};
ClockHands clockHands(const platform::Rect& box, int hour, int minute);

class LayoutPainter {
  public:
    // mainPath: the install folder with its trailing backslash (pictures, clock faces).
    explicit LayoutPainter(std::wstring mainPath);
    ~LayoutPainter();
    LayoutPainter(const LayoutPainter&) = delete;
    LayoutPainter& operator=(const LayoutPainter&) = delete;

    // Paints layout `layoutIndex` of the model into the item rectangle of dc, which must be a
    // memory context (the highlight is blended into its bitmap). content holds one entry per
    // object of that layout (HomeData::gather); utcNow sets the clock hands. The background
    // is left as it is: the caller paints it first.
    void paint(platform::DeviceContext& dc, const platform::Rect& item, const LayoutModel& model,
               std::size_t layoutIndex, const LayoutContent& content, const PaintState& state,
               const PaintColours& colours, platform::FileTime utcNow);

    // Drops the fonts and pictures kept (after the layout file or the pictures changed).
    void clear();

  private:
    platform::FontRef fontFor(const LayoutModel& model, int id);
    // A picture resized to width x height; null when it does not load.
    const gfx::TargaPixels* picture(const std::wstring& path, int width, int height);
    void drawPicture(platform::DeviceContext& dc, const std::wstring& path,
                     const platform::Rect& rect);
    void paintTabs(platform::DeviceContext& dc, const platform::Rect& item,
                   const LayoutModel& model, const PaintState& state, const PaintColours& colours);
    void paintObject(platform::DeviceContext& dc, const platform::Rect& item,
                     const LayoutModel& model, const LayoutObject& object,
                     const ObjectContent& content, const PaintState& state,
                     platform::FileTime utcNow);

    std::wstring mainPath_;
    std::map<std::tuple<int, int, bool>, platform::FontRef> fonts_;
    std::map<std::tuple<std::wstring, int, int>, std::unique_ptr<gfx::TargaPixels>> pictures_;
};

}  // namespace home
