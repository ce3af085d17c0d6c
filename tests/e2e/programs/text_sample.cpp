// The text specimen: what fonts the system's screens use, drawn at the display's scale so a
// screenshot shows them beside their measured extents.

#include <string>

#include "platform/api/shell.h"
#include "tests/e2e/programs/test_program.h"

namespace testprog {
namespace {

using namespace platform;

// Rounded a * b / c, as font heights are computed from point sizes.
int mulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

struct SpecimenLine {
    int points;
    int weight;
    const wchar_t* label;
};

constexpr SpecimenLine kLines[] = {
    {8, 400, L"8 pt"},
    {8, 700, L"8 pt bold"},
    {9, 400, L"9 pt"},
    {9, 700, L"9 pt bold"},
};

// The same text on every line, so sizes and weights compare.
constexpr const wchar_t* kSample = L"Quick fox jumps Ag 0123";

constexpr Colour kExtentFrame = rgb(120, 170, 255);

}  // namespace

void paintSpecimen(WindowHandle window, RegistryKey& report) {
    PaintSession paint(window);
    DeviceContext& dc = paint.dc();
    Rect client = clientRect(window);
    dc.fillRect(client, rgb(255, 255, 255));
    int dpi = logPixelsPerInch();
    int margin = mulDiv(4, dpi, 96);
    int y = margin;
    for (int i = 0; i < 4; ++i) {
        const SpecimenLine& line = kLines[i];
        FontSpec spec;
        spec.face = L"Tahoma";
        spec.height = -mulDiv(line.points, dpi, 72);
        spec.weight = line.weight;
        auto font = Font::create(spec);
        auto previous = dc.selectFont(font);
        dc.setTextColour(rgb(0, 0, 0));
        dc.setBackgroundMode(BackgroundMode::Transparent);
        TextMetrics tm = dc.textMetrics();
        Size extent = dc.textExtent(kSample);
        Rect box = rectOfSize(margin, y, extent.width, extent.height);
        // The frame sits one pixel outside the extent so it never covers the glyphs.
        dc.frameRect({box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}, kExtentFrame);
        dc.textOut(box.left, box.top, kSample);
        std::wstring measured = std::wstring(line.label) + L": " + std::to_wstring(extent.width) +
                                L"x" + std::to_wstring(extent.height) + L", asc " +
                                std::to_wstring(tm.ascent) + L", desc " +
                                std::to_wstring(tm.descent);
        int measuredTop = box.bottom + margin / 2;
        dc.setTextColour(rgb(90, 90, 90));
        dc.textOut(box.left, measuredTop, measured);
        y = measuredTop + tm.height + margin * 2;
        dc.selectFont(previous);

        Point topLeft = clientToScreen(window, {box.left, box.top});
        report.setString(L"Specimen" + std::to_wstring(i),
                         std::to_wstring(topLeft.x) + L" " + std::to_wstring(topLeft.y) + L" " +
                             std::to_wstring(extent.width) + L" " + std::to_wstring(extent.height) +
                             L" " + std::to_wstring(tm.ascent) + L" " +
                             std::to_wstring(tm.descent) + L" " + std::to_wstring(spec.height));
    }
    if (y > client.height())
        report.setString(L"SpecimenClipped", L"1");
}

}  // namespace testprog
