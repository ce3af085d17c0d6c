// Text layout and drawing: lines, word wrapping, tabs, "&" prefixes, ellipses, alignment.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "platform/draw/dc_impl.h"
#include "platform/draw/font_impl.h"
#include "platform/draw/raster.h"

namespace platform {

using drawing::FontImpl;
using drawing::Glyph;
using drawing::Surface;

namespace {

// A line of text ready to draw: its characters, which of them carry a prefix underline,
// and each character's pen offset from the line start (one more entry: the line width).
struct TextLine {
    std::wstring text;
    std::vector<bool> marked;
    std::vector<int> offsets;
    std::vector<const Glyph*> glyphs;
    int width() const { return offsets.empty() ? 0 : offsets.back(); }
};

class LineBuilder {
  public:
    LineBuilder(const FontImpl& font, bool expandTabs)
        : font_(font),
          expandTabs_(expandTabs),
          tabWidth_(std::max(1, 8 * font.metrics().averageCharWidth)) {}

    // Fills in glyphs and pen offsets; tabs advance to the next stop when expanded.
    void measure(TextLine& line) const {
        font_.glyphs(line.text, line.glyphs);
        line.offsets.assign(1, 0);
        int x = 0;
        for (std::size_t i = 0; i < line.text.size(); ++i) {
            if (expandTabs_ && line.text[i] == L'\t') {
                x = (x / tabWidth_ + 1) * tabWidth_;
            } else {
                x += line.glyphs[i]->advance;
            }
            line.offsets.push_back(x);
        }
    }

    TextLine make(std::wstring_view text, const std::vector<bool>& marks, std::size_t from,
                  std::size_t to) const {
        TextLine line;
        line.text.assign(text.substr(from, to - from));
        line.marked.assign(marks.begin() + from, marks.begin() + to);
        measure(line);
        return line;
    }

    // Breaks a paragraph into lines no wider than maxWidth: at the last space that fits, or
    // inside a word that alone is wider than the line. Spaces at a break are dropped.
    void wrap(std::wstring_view text, const std::vector<bool>& marks, int maxWidth,
              std::vector<TextLine>& out) const {
        TextLine whole = make(text, marks, 0, text.size());
        const std::vector<int>& at = whole.offsets;
        std::size_t start = 0;
        const std::size_t n = text.size();
        if (n == 0)
            out.push_back(std::move(whole));
        while (start < n) {
            std::size_t i = start;
            std::size_t lastSpace = n;
            // Widths are measured from the line start; tabs keep their paragraph stops.
            while (i < n) {
                if (text[i] == L' ') {
                    lastSpace = i;
                } else if (at[i + 1] - at[start] > maxWidth) {
                    break;
                }
                ++i;
            }
            std::size_t end = i, next = i;
            if (i < n) {
                if (lastSpace != n && lastSpace > start) {
                    end = lastSpace;
                    next = lastSpace;
                } else {
                    end = next = std::max(i, start + 1);
                }
            }
            while (end > start && text[end - 1] == L' ') --end;
            out.push_back(make(text, marks, start, end));
            while (next < n && text[next] == L' ') ++next;
            start = next;
        }
    }

    // Shortens a line that is too wide and ends it with "...".
    void addEllipsis(TextLine& line, int maxWidth) const {
        if (line.width() <= maxWidth)
            return;
        TextLine dots;
        dots.text = L"...";
        measure(dots);
        std::size_t keep = line.text.size();
        while (keep > 0 && line.offsets[keep] + dots.width() > maxWidth) --keep;
        line.text.resize(keep);
        line.text += dots.text;
        line.marked.resize(keep);
        line.marked.resize(line.text.size(), false);
        measure(line);
    }

  private:
    const FontImpl& font_;
    bool expandTabs_;
    int tabWidth_;
};

// Removes "&" prefixes: "&x" marks x for underlining, "&&" is a literal "&", and a lone
// trailing "&" is dropped.
void stripPrefixes(std::wstring_view text, std::wstring& plain, std::vector<bool>& marks) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            plain.push_back(text[i]);
            marks.push_back(false);
        } else if (i + 1 < text.size()) {
            plain.push_back(text[++i]);
            marks.push_back(text[i] != L'&');
        }
    }
}

void blendGlyph(const Surface& s, const Rect& clip, const Glyph& g, int penX, int baseline,
                Colour c) {
    const Rect box{penX + g.left, baseline - g.top, penX + g.left + g.width,
                   baseline - g.top + g.rows};
    const Rect area = box.intersect(clip);
    if (area.isEmpty())
        return;
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* cover =
            &g.coverage[static_cast<std::size_t>(y - box.top) * g.width + (area.left - box.left)];
        std::uint8_t* p = drawing::pixelAt(*s.bitmap, area.left, y);
        for (int x = area.left; x < area.right; ++x, p += 3) drawing::blendPixel(p, c, *cover++);
    }
}

struct LineStyle {
    Colour text;
    Colour background;
    bool opaque;
    bool underline;  // the whole line, for an underlined font
};

// Draws a measured line with its cell's top-left corner at (x, y) in target coordinates.
void drawLine(const Surface& s, const Rect& clip, const FontImpl& font, const TextLine& line, int x,
              int y, const LineStyle& style) {
    const TextMetrics m = font.metrics();
    if (style.opaque) {
        drawing::fillTargetRect(*s.bitmap,
                                Rect{x, y, x + line.width(), y + m.height}.intersect(clip),
                                style.background);
    }
    const int baseline = y + m.ascent;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        blendGlyph(s, clip, *line.glyphs[i], x + line.offsets[i], baseline, style.text);
    }
    const int top = baseline + font.underlineOffset();
    const int bottom = top + font.underlineThickness();
    if (style.underline) {
        drawing::fillTargetRect(*s.bitmap, Rect{x, top, x + line.width(), bottom}.intersect(clip),
                                style.text);
    }
    for (std::size_t i = 0; i < line.marked.size(); ++i) {
        if (!line.marked[i])
            continue;
        const Rect bar{x + line.offsets[i], top, x + line.offsets[i + 1], bottom};
        drawing::fillTargetRect(*s.bitmap, bar.intersect(clip), style.text);
    }
}

int floorHalf(long long v) {
    return static_cast<int>(v >= 0 ? v / 2 : -((-v + 1) / 2));
}

// Splits text into the lines drawText shows, before wrapping: at CR, LF or CR LF, unless
// single-line, where line breaks are ignored. A final line break ends the text.
std::vector<std::pair<std::size_t, std::size_t>> paragraphs(std::wstring_view text, bool single) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (single || (text[i] != L'\r' && text[i] != L'\n'))
            continue;
        out.emplace_back(start, i);
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size() || out.empty())
        out.emplace_back(start, text.size());
    return out;
}

}  // namespace

int DeviceContext::drawText(std::wstring_view text, Rect& r, std::uint32_t format) {
    const FontImpl& font = drawing::fontOf(font_);
    const TextMetrics m = font.metrics();
    const bool single = format & dt::SingleLine;
    const Rect box = drawing::clampRect(r);

    std::wstring plain;
    std::vector<bool> marks;
    if (format & dt::NoPrefix) {
        plain.assign(text);
        marks.assign(plain.size(), false);
    } else {
        stripPrefixes(text, plain, marks);
    }
    if (single) {
        // Line breaks have no glyph of their own; drop them so they take no room either.
        for (std::size_t i = plain.size(); i-- > 0;) {
            if (plain[i] == L'\r' || plain[i] == L'\n') {
                plain.erase(i, 1);
                marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }

    const LineBuilder builder(font, format & dt::ExpandTabs);
    std::vector<TextLine> lines;
    if (!plain.empty()) {
        for (const auto& [from, to] : paragraphs(plain, single)) {
            const std::wstring_view part = std::wstring_view(plain).substr(from, to - from);
            const std::vector<bool> partMarks(marks.begin() + from, marks.begin() + to);
            if ((format & dt::WordBreak) && !single) {
                builder.wrap(part, partMarks, std::max(box.width(), 0), lines);
            } else {
                lines.push_back(builder.make(part, partMarks, 0, part.size()));
            }
        }
    }
    if (format & dt::EndEllipsis) {
        for (TextLine& line : lines) builder.addEllipsis(line, std::max(box.width(), 0));
    }
    const int height = static_cast<int>(lines.size()) * m.height;

    if (format & dt::CalcRect) {
        int widest = 0;
        for (const TextLine& line : lines) widest = std::max(widest, line.width());
        r.right = box.left + widest;
        r.bottom = box.top + height;
        return height;
    }

    const Surface s = Impl::surface(*this);
    const Rect clip = (format & dt::NoClip) ? s.clip : s.toTarget(box);
    int top = box.top;
    if (single && (format & dt::VCenter))
        top = box.top + floorHalf(box.height() - m.height);
    if (single && (format & dt::Bottom))
        top = box.bottom - m.height;
    const LineStyle style{textColour_, backgroundColour_, backgroundMode_ == BackgroundMode::Opaque,
                          font.spec().underline};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        int x = box.left;
        if (format & dt::Center) {
            x = box.left + floorHalf(static_cast<long long>(box.width()) - line.width());
        } else if (format & dt::Right) {
            x = box.right - line.width();
        }
        const long long y = top + static_cast<long long>(i) * m.height;
        if (y + s.origin.y >= clip.bottom)
            break;
        drawLine(s, clip, font, line, x + s.origin.x, static_cast<int>(y) + s.origin.y, style);
    }
    return height;
}

void DeviceContext::textOut(int x, int y, std::wstring_view text) {
    const FontImpl& font = drawing::fontOf(font_);
    const LineBuilder builder(font, false);
    const TextLine line = builder.make(text, std::vector<bool>(text.size(), false), 0, text.size());
    const Surface s = Impl::surface(*this);
    const LineStyle style{textColour_, backgroundColour_, backgroundMode_ == BackgroundMode::Opaque,
                          font.spec().underline};
    drawLine(s, s.clip, font, line, drawing::clampCoord(static_cast<long long>(x) + s.origin.x),
             drawing::clampCoord(static_cast<long long>(y) + s.origin.y), style);
}

Size DeviceContext::textExtent(std::wstring_view text) const {
    const FontImpl& font = drawing::fontOf(font_);
    std::vector<const Glyph*> glyphs;
    font.glyphs(text, glyphs);
    int width = 0;
    for (const Glyph* g : glyphs) width += g->advance;
    return {width, font.metrics().height};
}

TextMetrics DeviceContext::textMetrics() const {
    return drawing::fontOf(font_).metrics();
}

}  // namespace platform
