// Fonts and text: metrics against inked pixels, extents, layout flags, prefixes, alignment.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/draw.h"

namespace platform {
namespace {

constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kInk = rgb(0, 0, 0);

struct Canvas {
    DeviceContext dc;
    std::shared_ptr<Bitmap> bitmap;

    Canvas(int w, int h, const FontSpec& spec) : bitmap(std::make_shared<Bitmap>(w, h)) {
        bitmap->fill(kWhite);
        dc.selectBitmap(bitmap);
        dc.selectFont(Font::create(spec));
        dc.setTextColour(kInk);
        dc.setBackgroundMode(BackgroundMode::Transparent);
    }

    // Bounding box of every pixel that is not the background.
    Rect ink(Colour background = kWhite) const {
        Rect box;
        for (int y = 0; y < bitmap->height(); ++y) {
            for (int x = 0; x < bitmap->width(); ++x) {
                if (bitmap->pixel(x, y) != background)
                    box = box.unite({x, y, x + 1, y + 1});
            }
        }
        return box;
    }
    int inkedPixelsInRow(int y) const {
        int n = 0;
        for (int x = 0; x < bitmap->width(); ++x) n += bitmap->pixel(x, y) != kWhite;
        return n;
    }
};

FontSpec tahoma(int height, int weight = 400, int quality = 5) {
    FontSpec s;
    s.face = L"Tahoma";
    s.height = height;
    s.weight = weight;
    s.quality = quality;
    return s;
}

const std::wstring kSample = L"Vorn Roamer 12:34 London";
const std::wstring kTallSample = L"Egypten Jqy gp";

// 8 and 9 points at 96 dpi, and at twice the scale.
class DrawTextSizes : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(DrawTextSizes, InkFitsMetricsAndExtent) {
    const auto [height, weight] = GetParam();
    Canvas c(400, 80, tahoma(height, weight));
    const TextMetrics m = c.dc.textMetrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_GE(m.ascent, -height);          // the em fits above the baseline with the accents
    EXPECT_LE(m.height, -height * 3 / 2);  // and the cell is not absurdly tall
    EXPECT_EQ(m.internalLeading, m.height + height);
    EXPECT_EQ(m.weight, weight);

    const Size extent = c.dc.textExtent(kSample);
    EXPECT_EQ(extent.height, m.height);
    c.dc.textOut(10, 10, kSample);
    const Rect ink = c.ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 10 + m.height);
    EXPECT_LE(ink.height(), m.height);
    EXPECT_NEAR(ink.left, 10, 2);
    EXPECT_NEAR(ink.right, 10 + extent.width, 3);
    // Capitals stand on the baseline: the sample has no descenders.
    EXPECT_EQ(ink.bottom, 10 + m.ascent);

    Canvas tall(400, 80, tahoma(height, weight));
    tall.dc.textOut(0, 20, kTallSample);
    const Rect tallInk = tall.ink();
    EXPECT_GE(tallInk.top, 20);
    EXPECT_LE(tallInk.bottom, 20 + m.height);
    EXPECT_GT(tallInk.bottom, 20 + m.ascent);  // descenders reach below the baseline

    // Accents on capitals may rise a pixel above the face's ascent, never more.
    Canvas accents(400, 80, tahoma(height, weight));
    accents.dc.textOut(0, 20, L"\u00C4\u00C5\u00C9\u00DC");
    EXPECT_GE(accents.ink().top, 19);
}

INSTANTIATE_TEST_SUITE_P(Tahoma, DrawTextSizes,
                         ::testing::Combine(::testing::Values(-11, -12, -21, -24),
                                            ::testing::Values(400, 700)));

TEST(DrawText, HeightRulesBoldAndScaleBehave) {
    const TextMetrics em11 = Font::create(tahoma(-11))->metrics();
    const TextMetrics cell13 = Font::create(tahoma(13))->metrics();
    EXPECT_EQ(cell13.height, 13);  // positive: the cell height itself
    EXPECT_EQ(em11.height, 13);    // Tahoma's 11-pixel em makes a 13-pixel cell
    EXPECT_EQ(Font::create(tahoma(30))->metrics().height, 30);
    EXPECT_EQ(Font::create(tahoma(0))->metrics().height,
              Font::create(tahoma(-12))->metrics().height);

    DeviceContext dc;
    dc.selectFont(Font::create(tahoma(-11)));
    const int regular = dc.textExtent(kSample).width;
    dc.selectFont(Font::create(tahoma(-11, 700)));
    const int bold = dc.textExtent(kSample).width;
    dc.selectFont(Font::create(tahoma(-21)));
    const int large = dc.textExtent(kSample).width;
    EXPECT_GT(bold, regular);
    EXPECT_NEAR(large, regular * 21 / 11, regular / 8);

    // No kerning: extents add up.
    EXPECT_EQ(dc.textExtent(L"AV").width, dc.textExtent(L"A").width + dc.textExtent(L"V").width);
    EXPECT_EQ(dc.textExtent(L"").width, 0);
    EXPECT_EQ(dc.textExtent(L"").height, dc.textMetrics().height);

    // The same font object is shared for the same description.
    EXPECT_EQ(Font::create(tahoma(-11)), Font::create(tahoma(-11)));
    DeviceContext plain;  // no font selected: the default 8-point Tahoma
    EXPECT_EQ(plain.textMetrics().height, em11.height);
    EXPECT_EQ(plain.textExtent(kSample).width, regular);
}

TEST(DrawText, QualityChoosesMonochromeOrSmoothedInk) {
    Canvas mono(200, 30, tahoma(-11, 400, 3));
    mono.dc.textOut(2, 2, kSample);
    Canvas smooth(200, 30, tahoma(-11, 400, 5));
    smooth.dc.textOut(2, 2, kSample);
    int monoGreys = 0, smoothGreys = 0, monoInk = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Colour a = mono.bitmap->pixel(x, y), b = smooth.bitmap->pixel(x, y);
            monoGreys += a != kWhite && a != kInk;
            monoInk += a == kInk;
            smoothGreys += b != kWhite && b != kInk;
        }
    }
    EXPECT_EQ(monoGreys, 0);
    EXPECT_GT(monoInk, 50);
    EXPECT_GT(smoothGreys, 50);
    // Coloured text blends towards its colour, never past it.
    Canvas red(200, 30, tahoma(-11));
    red.dc.setTextColour(rgb(255, 0, 0));
    red.dc.textOut(2, 2, kSample);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Colour p = red.bitmap->pixel(x, y);
            EXPECT_EQ(redOf(p), 255);
            EXPECT_EQ(greenOf(p), blueOf(p));
        }
    }
}

TEST(DrawText, MissingGlyphsComeFromTheFallbackFace) {
    FontSpec dejavu = tahoma(-12);
    dejavu.face = L"DejaVu Sans";
    DeviceContext t, d;
    t.selectFont(Font::create(tahoma(-12)));
    d.selectFont(Font::create(dejavu));
    // The snowman is not in Tahoma; it must come from DejaVu Sans at the same size.
    EXPECT_EQ(t.textExtent(L"\u2603").width, d.textExtent(L"\u2603").width);
    EXPECT_NE(t.textExtent(L"W").width, d.textExtent(L"W").width);
    Canvas c(60, 30, tahoma(-12));
    c.dc.textOut(5, 5, L"\u2603");
    EXPECT_GT(c.ink().width(), 4);
}

TEST(DrawText, OpaqueModeFillsTheCellAndUnderlineIsDrawn) {
    Canvas c(200, 40, tahoma(-11));
    const Colour blue = rgb(0, 0, 255);
    c.dc.setBackgroundMode(BackgroundMode::Opaque);
    c.dc.setBackgroundColour(blue);
    c.dc.textOut(7, 5, L"Hello");
    const Size e = c.dc.textExtent(L"Hello");
    EXPECT_EQ(c.ink(), (Rect{7, 5, 7 + e.width, 5 + e.height}));
    EXPECT_EQ(c.bitmap->pixel(7, 5), blue);
    EXPECT_EQ(c.bitmap->pixel(6 + e.width, 4 + e.height), blue);

    FontSpec underlined = tahoma(-11);
    underlined.underline = true;
    Canvas u(200, 40, underlined);
    u.dc.textOut(10, 10, L"ooo");
    const TextMetrics m = u.dc.textMetrics();
    const int ooo = u.dc.textExtent(L"ooo").width;
    bool found = false;
    for (int y = 10 + m.ascent; y < 10 + m.height; ++y) found |= u.inkedPixelsInRow(y) == ooo;
    EXPECT_TRUE(found) << "a full-width underline below the baseline";
    EXPECT_LE(u.ink().bottom, 10 + m.height);

    FontSpec italic = tahoma(-21);
    italic.italic = true;
    Canvas i(200, 40, italic);
    Canvas r(200, 40, tahoma(-21));
    i.dc.textOut(10, 5, L"lll");
    r.dc.textOut(10, 5, L"lll");
    EXPECT_GT(i.ink().right, r.ink().right);  // the slant leans right at the top
    EXPECT_EQ(i.dc.textExtent(L"lll").width, r.dc.textExtent(L"lll").width);
}

TEST(DrawText, CalcRectMeasuresLinesWithoutDrawing) {
    Canvas c(300, 200, tahoma(-11));
    const int lh = c.dc.textMetrics().height;
    Rect r{10, 20, 300, 200};
    EXPECT_EQ(c.dc.drawText(kSample, r, dt::CalcRect | dt::SingleLine), lh);
    EXPECT_EQ(r, (Rect{10, 20, 10 + c.dc.textExtent(kSample).width, 20 + lh}));
    EXPECT_TRUE(c.ink().isEmpty());

    r = {0, 0, 300, 200};
    EXPECT_EQ(c.dc.drawText(L"a\nbbb\r\ncc", r, dt::CalcRect), 3 * lh);
    EXPECT_EQ(r.right, c.dc.textExtent(L"bbb").width);
    r = {0, 0, 300, 200};
    EXPECT_EQ(c.dc.drawText(L"a\nbbb", r, dt::CalcRect | dt::SingleLine), lh);
    EXPECT_EQ(r.right, c.dc.textExtent(L"abbb").width);
    r = {0, 0, 300, 200};
    EXPECT_EQ(c.dc.drawText(L"", r, dt::CalcRect), 0);
    EXPECT_EQ(r.right, 0);

    // Word break at spaces: each line is as full as it can be.
    const int limit = c.dc.textExtent(L"abc abc").width;
    r = {0, 0, limit, 200};
    EXPECT_EQ(c.dc.drawText(L"abc abc abc abc abc", r, dt::CalcRect | dt::WordBreak), 3 * lh);
    EXPECT_EQ(r.width(), limit);
    r = {0, 0, limit - 1, 200};
    EXPECT_EQ(c.dc.drawText(L"abc abc abc abc abc", r, dt::CalcRect | dt::WordBreak), 5 * lh);
    EXPECT_EQ(r.width(), c.dc.textExtent(L"abc").width);
    r = {0, 0, limit, 200};
    EXPECT_EQ(c.dc.drawText(L"abc abc\nabc", r, dt::CalcRect | dt::WordBreak), 2 * lh);
    // A word longer than the line is broken by characters.
    const int narrow = c.dc.textExtent(L"abcd").width;
    r = {0, 0, narrow, 200};
    const int h = c.dc.drawText(L"abcdabcdabcdab", r, dt::CalcRect | dt::WordBreak);
    EXPECT_EQ(h, 4 * lh);
    EXPECT_EQ(r.width(), narrow);
    // Tabs: expanded to stops of eight average character widths.
    r = {0, 0, 300, 200};
    c.dc.drawText(L"a\tb", r, dt::CalcRect | dt::ExpandTabs);
    EXPECT_EQ(r.width(), 8 * c.dc.textMetrics().averageCharWidth + c.dc.textExtent(L"b").width);
    // Prefixes: "&&" is one "&", "&x" is x; with NoPrefix they stay as written.
    r = {0, 0, 300, 200};
    c.dc.drawText(L"Save && &Quit", r, dt::CalcRect | dt::SingleLine);
    EXPECT_EQ(r.width(), c.dc.textExtent(L"Save & Quit").width);
    r = {0, 0, 300, 200};
    c.dc.drawText(L"Save && &Quit", r, dt::CalcRect | dt::SingleLine | dt::NoPrefix);
    EXPECT_EQ(r.width(), c.dc.textExtent(L"Save && &Quit").width);
    // Ellipsis: the line is shortened to fit and ends in "...".
    r = {0, 0, limit, 200};
    c.dc.drawText(kSample, r, dt::CalcRect | dt::SingleLine | dt::EndEllipsis);
    EXPECT_LE(r.width(), limit);
    EXPECT_GT(r.width(), c.dc.textExtent(L"...").width);
    EXPECT_TRUE(c.ink().isEmpty());
}

TEST(DrawText, AlignmentPlacesTheLine) {
    const Rect box{20, 10, 220, 60};
    Canvas centred(300, 80, tahoma(-12));
    const Size e = centred.dc.textExtent(L"Mitte");
    EXPECT_EQ(centred.dc.drawText(L"Mitte", box, dt::Center | dt::VCenter | dt::SingleLine),
              e.height);
    const Rect ink = centred.ink();
    EXPECT_NEAR(ink.left + ink.right, box.left + box.right, 3);
    EXPECT_GE(ink.top, box.top + (box.height() - e.height) / 2);
    EXPECT_LE(ink.bottom, box.top + (box.height() + e.height) / 2 + 1);

    Canvas right(300, 80, tahoma(-12));
    right.dc.drawText(L"Rechts", box, dt::Right | dt::Bottom | dt::SingleLine);
    EXPECT_NEAR(right.ink().right, box.right, 2);
    EXPECT_LE(right.ink().right, box.right);
    EXPECT_LE(right.ink().bottom, box.bottom);
    EXPECT_GE(right.ink().top, box.bottom - e.height);

    Canvas left(300, 80, tahoma(-12));
    left.dc.drawText(L"Links\nzwei", box, dt::Left);
    EXPECT_NEAR(left.ink().left, box.left, 2);
    EXPECT_GT(left.ink().bottom, box.top + e.height);  // the second line is below the first
    EXPECT_LE(left.ink().bottom, box.top + 2 * e.height);
}

TEST(DrawText, ClippingAndPrefixUnderline) {
    Canvas c(300, 60, tahoma(-12));
    const Rect small{10, 10, 40, 30};
    c.dc.drawText(kSample, small, dt::SingleLine);
    const Rect clipped = c.ink();
    EXPECT_GE(clipped.left, small.left);
    EXPECT_LE(clipped.right, small.right);
    Canvas n(300, 60, tahoma(-12));
    n.dc.drawText(kSample, small, dt::SingleLine | dt::NoClip);
    EXPECT_GT(n.ink().right, small.right + 50);

    // "&Quit": Q is underlined below the baseline, the rest is not.
    Canvas p(300, 60, tahoma(-12));
    const TextMetrics m = p.dc.textMetrics();
    p.dc.drawText(L"&Quit", Rect{10, 10, 300, 60}, dt::SingleLine);
    const int q = p.dc.textExtent(L"Q").width;
    int underlineRow = -1;
    for (int y = 10 + m.ascent; y < 10 + m.height; ++y) {
        if (p.inkedPixelsInRow(y) >= q)
            underlineRow = y;
    }
    ASSERT_GE(underlineRow, 0);
    for (int x = 10; x < 10 + q; ++x) EXPECT_NE(p.bitmap->pixel(x, underlineRow), kWhite);
    const int uit = p.dc.textExtent(L"uit").width;
    for (int x = 10 + q; x < 10 + q + uit; ++x) EXPECT_EQ(p.bitmap->pixel(x, underlineRow), kWhite);

    // Window-context text lands at the window's origin and stays inside its clip.
    auto screen = std::make_shared<Bitmap>(200, 100);
    screen->fill(kWhite);
    DeviceContext win(screen, {50, 40}, {0, 0, 30, 20});
    win.setBackgroundMode(BackgroundMode::Transparent);
    win.textOut(-5, 2, kSample);
    Rect ink;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (screen->pixel(x, y) != kWhite)
                ink = ink.unite({x, y, x + 1, y + 1});
        }
    }
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(Rect({50, 40, 80, 60}).intersect(ink) == ink);
}

TEST(DrawText, ThreadsShareFontsAndGlyphCaches) {
    // Each thread draws with fonts whose glyphs are not cached yet, so rendering races
    // with lookups; every thread must still produce the single-threaded picture.
    const std::wstring text = L"Zw\u00F6lf Boxk\u00E4mpfer jagen Viktor \u2603 0123456789";
    auto draw = [&](int height) {
        Canvas c(400, 60, tahoma(height, 400, 4));
        c.dc.textOut(3, 3, text);
        return std::vector<std::uint8_t>(c.bitmap->bits(), c.bitmap->bits() + c.bitmap->byteSize());
    };
    std::vector<std::vector<std::uint8_t>> results(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] { results[i] = draw(-13 - i % 2); });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(results[0], draw(-13));
    EXPECT_EQ(results[1], draw(-14));
    for (int i = 2; i < 8; ++i) EXPECT_EQ(results[i], results[i % 2]);
}

}  // namespace
}  // namespace platform
