// The message box icons, drawn with the device context: a warning triangle, a question mark,
// an information sign and an error cross, each filling a square.

#include <algorithm>

#include "platform/shell/message_box_icons.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

void drawDisc(DeviceContext& dc, const Rect& r, Colour fill, Colour edge) {
    Pen oldPen = dc.selectPen(Pen{edge, std::max(1, r.width() / 24), true});
    Brush oldBrush = dc.selectBrush(Brush::solid(fill));
    dc.ellipse(r);
    dc.selectBrush(oldBrush);
    dc.selectPen(oldPen);
}

void drawGlyph(DeviceContext& dc, const Rect& r, std::wstring_view glyph, Colour c, int em) {
    FontSpec spec;
    spec.face = L"Tahoma";
    spec.height = -em;
    spec.weight = 700;
    FontRef oldFont = dc.selectFont(Font::create(spec));
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.setTextColour(c);
    dc.drawText(glyph, r, dt::SingleLine | dt::Center | dt::VCenter | dt::NoPrefix);
    dc.selectFont(oldFont);
}

void drawExclamation(DeviceContext& dc, const Rect& r) {
    double w = r.width(), h = r.height();
    double x = r.left, y = r.top;
    const Point outline[] = {{static_cast<int>(x + w / 2), static_cast<int>(y + h * 0.04)},
                             {static_cast<int>(x + w * 0.98), static_cast<int>(y + h * 0.92)},
                             {static_cast<int>(x + w * 0.02), static_cast<int>(y + h * 0.92)}};
    Pen oldPen = dc.selectPen(Pen{rgb(120, 80, 0), 1, true});
    Brush oldBrush = dc.selectBrush(Brush::solid(rgb(255, 204, 0)));
    dc.polygon(outline);
    dc.selectBrush(oldBrush);
    dc.selectPen(oldPen);
    // Smooth the slanted edges.
    Colour edge = rgb(150, 100, 0);
    dc.antialiasedLine(outline[0].x, outline[0].y, outline[1].x, outline[1].y, edge, 1.2);
    dc.antialiasedLine(outline[0].x, outline[0].y, outline[2].x, outline[2].y, edge, 1.2);
    // The mark: a tapering bar and a dot.
    double cx = x + w / 2;
    double stroke = w / 9;
    dc.antialiasedLine(cx, y + h * 0.34, cx, y + h * 0.62, rgb(0, 0, 0), stroke);
    double dot = stroke * 1.1;
    Brush previousBrush = dc.selectBrush(Brush::solid(rgb(0, 0, 0)));
    Pen previousPen = dc.selectPen(Pen{0, 1, false});
    dc.ellipse({static_cast<int>(cx - dot / 2 + 0.5), static_cast<int>(y + h * 0.71),
                static_cast<int>(cx + dot / 2 + 1.5), static_cast<int>(y + h * 0.71 + dot + 1)});
    dc.selectPen(previousPen);
    dc.selectBrush(previousBrush);
}

void drawCross(DeviceContext& dc, const Rect& r) {
    drawDisc(dc, r, rgb(204, 32, 32), rgb(120, 0, 0));
    double inset = r.width() * 0.3;
    double stroke = r.width() / 9.0;
    dc.antialiasedLine(r.left + inset, r.top + inset, r.right - inset, r.bottom - inset,
                       rgb(255, 255, 255), stroke);
    dc.antialiasedLine(r.right - inset, r.top + inset, r.left + inset, r.bottom - inset,
                       rgb(255, 255, 255), stroke);
}

}  // namespace

void drawMessageBoxIcon(DeviceContext& dc, const Rect& r, std::uint32_t flags) {
    if (r.isEmpty())
        return;
    int em = r.height() * 3 / 4;
    switch (flags & 0xF0) {
        case 0x10:
            drawCross(dc, r);
            break;
        case mb::IconQuestion:
            drawDisc(dc, r, rgb(40, 100, 200), rgb(16, 50, 120));
            drawGlyph(dc, r, L"?", rgb(255, 255, 255), em);
            break;
        case mb::IconExclamation:
            drawExclamation(dc, r);
            break;
        case mb::IconInformation:
            drawDisc(dc, r, rgb(40, 100, 200), rgb(16, 50, 120));
            drawGlyph(dc, r, L"i", rgb(255, 255, 255), em);
            break;
        default:
            break;
    }
}

}  // namespace platform::shell
