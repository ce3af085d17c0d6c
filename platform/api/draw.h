#pragma once
// Drawing: 24-bit bitmaps, device contexts, fonts and text, JPEG loading, PNG screenshots.
// Bitmaps keep the handheld's device-independent layout (bottom-up rows of B, G, R bytes,
// each row padded to 4 bytes) because the system's own blending code works on those bytes.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/api/memory.h"
#include "platform/api/types.h"

namespace platform {

class Bitmap {
  public:
    // A black bitmap; width and height at least 1 (smaller sizes are raised to 1).
    Bitmap(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }  // bytes per row, a multiple of 4

    // The raw bits: row 0 in memory is the bottom row of the picture.
    std::uint8_t* bits() { return reinterpret_cast<std::uint8_t*>(bits_.data()); }
    const std::uint8_t* bits() const { return reinterpret_cast<const std::uint8_t*>(bits_.data()); }
    std::size_t byteSize() const { return static_cast<std::size_t>(stride_) * height_; }

    // Top-down addressing for the convenience of drawing code: y = 0 is the top row.
    std::uint8_t* rowFromTop(int y) { return bits() + (height_ - 1 - y) * stride_; }
    const std::uint8_t* rowFromTop(int y) const { return bits() + (height_ - 1 - y) * stride_; }
    Colour pixel(int x, int y) const;       // 0 outside
    void setPixel(int x, int y, Colour c);  // ignored outside
    void fill(Colour c);

  private:
    int width_;
    int height_;
    int stride_;
    ZeroedBlock bits_;
};

// Font description, as the handheld's LOGFONT carries it.
struct FontSpec {
    std::wstring face = L"Tahoma";
    // Negative: character height (em size) in pixels; positive: cell height (ascent +
    // descent); 0: a default of 12 pixels.
    int height = 0;
    int weight = 400;  // 700 is bold
    bool italic = false;
    bool underline = false;
    int quality = 5;  // 3 non-antialiased, 0 default, 4 antialiased, 5 cleartype
};

struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
};

// A font ready to draw: the face file chosen by name and weight (Tahoma regular and bold,
// DejaVu Sans for code points Tahoma lacks, and as the face when Tahoma is missing).
class Font {
  public:
    static std::shared_ptr<Font> create(const FontSpec& spec);
    virtual ~Font() = default;
    virtual const FontSpec& spec() const = 0;
    virtual TextMetrics metrics() const = 0;
};
using FontRef = std::shared_ptr<Font>;

struct Pen {
    Colour colour = 0;
    int width = 1;
    bool visible = true;  // false: the null pen
};

// A solid brush, or an 8x8 monochrome pattern (bit set = text colour, clear = background
// colour, as the handheld draws pattern brushes made from 1-bit bitmaps).
struct Brush {
    Colour colour = 0xFFFFFF;
    bool visible = true;  // false: the null brush
    bool patterned = false;
    std::uint8_t pattern[8] = {};  // one byte per row, most significant bit leftmost

    static Brush solid(Colour c) { return Brush{c}; }
    static Brush none() {
        Brush b;
        b.visible = false;
        return b;
    }
    static Brush fromPattern(const std::uint8_t rows[8]);
};

// DrawText format flags, with the handheld's numbers (layout tables carry them).
namespace dt {
constexpr std::uint32_t Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8,
                        WordBreak = 0x10, SingleLine = 0x20, ExpandTabs = 0x40, NoClip = 0x100,
                        CalcRect = 0x400, NoPrefix = 0x800, EndEllipsis = 0x8000;
}

// Raster operations the system uses, with their handheld numbers.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,
    SrcAnd = 0x008800C6,
    SrcPaint = 0x00EE0086,
    SrcInvert = 0x00660046,
    PatCopy = 0x00F00021,
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// A drawing surface with the state the handheld's device contexts carry. A memory context
// draws into the bitmap selected into it; a window context (from the window system) draws
// into a window's part of the screen, with its origin at the window's client corner and
// clipped to it.
class DeviceContext {
  public:
    // A memory context with no bitmap (a 1x1 black bitmap stands in until one is selected).
    DeviceContext();
    // A context onto part of a target bitmap: origin in target pixels, clip in context
    // coordinates. Used by the window system; the context keeps the target alive. size is
    // the drawable area size() reports (a window's client size, which can be larger than a
    // paint session's clip); empty means the clip's right and bottom edges.
    DeviceContext(std::shared_ptr<Bitmap> target, Point origin, Rect clip, Size size = {});
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Selecting returns what was selected before. A window context keeps drawing into its
    // window: selecting a bitmap into it changes nothing and returns null. Selecting null
    // into a memory context puts the 1x1 stand-in back; a null font means the default font.
    std::shared_ptr<Bitmap> selectBitmap(std::shared_ptr<Bitmap> bitmap);
    FontRef selectFont(FontRef font);
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    const std::shared_ptr<Bitmap>& bitmap() const { return target_; }
    const FontRef& font() const { return font_; }
    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }

    Colour setTextColour(Colour c);
    Colour textColour() const { return textColour_; }
    Colour setBackgroundColour(Colour c);
    Colour backgroundColour() const { return backgroundColour_; }
    BackgroundMode setBackgroundMode(BackgroundMode m);
    BackgroundMode backgroundMode() const { return backgroundMode_; }

    // Clip rectangle in context coordinates; the whole surface by default.
    void setClip(const Rect& r);
    void clearClip();
    Rect clip() const;
    Size size() const;  // of the drawable area (a window's client size)

    // Shapes.
    void fillRect(const Rect& r, Colour c);
    void fillRect(const Rect& r, const Brush& b);
    void frameRect(const Rect& r, Colour c);  // one-pixel outline inside r
    // Current pen outline drawn inside r (pen width inward), brush inside the outline.
    void rectangle(const Rect& r);
    void ellipse(const Rect& r);  // current pen and brush, anti-aliased edge
    // Filled with the brush by the even-odd rule, outlined with the pen (closed).
    void polygon(std::span<const Point> points);
    void moveTo(int x, int y);
    void lineTo(int x, int y);  // current pen, drawn as line() draws
    // One pixel wide: end point excluded. Wider: round caps, both end points included.
    void line(int x1, int y1, int x2, int y2, Colour c, int width = 1);
    // A smooth line of fractional width with anti-aliased edges.
    void antialiasedLine(double x1, double y1, double x2, double y2, Colour c, double width = 1.0);
    Colour pixel(int x, int y) const;       // 0 outside the clip
    void setPixel(int x, int y, Colour c);  // ignored outside the clip

    // Horizontal gradient across r from the left colour to the right colour.
    void gradientFillHorizontal(const Rect& r, Colour left, Colour right);

    // Copies pixels from another context's selected bitmap (or window surface).
    void blit(const Rect& dst, const DeviceContext& src, Point srcOrigin,
              RasterOp op = RasterOp::SrcCopy);
    void stretchBlit(const Rect& dst, const DeviceContext& src, const Rect& srcRect,
                     RasterOp op = RasterOp::SrcCopy);
    // Copies a bitmap directly, without a context for it.
    void drawBitmap(const Rect& dst, const Bitmap& src, Point srcOrigin);

    // Text, with the selected font (a default Tahoma 8-point-ish font when none).
    // Returns the height of the text drawn; with dt::CalcRect, nothing is drawn and r is
    // set to the rectangle the text needs.
    int drawText(std::wstring_view text, Rect& r, std::uint32_t format);
    int drawText(std::wstring_view text, const Rect& r, std::uint32_t format) {
        Rect copy = r;
        return drawText(text, copy, format);
    }
    // Draws a single line at x, y (top of the cell), background per the background mode.
    void textOut(int x, int y, std::wstring_view text);
    Size textExtent(std::wstring_view text) const;
    TextMetrics textMetrics() const;

  private:
    struct Impl;
    std::shared_ptr<Bitmap> target_;
    FontRef font_;
    Pen pen_;
    Brush brush_;
    Colour textColour_ = 0;
    Colour backgroundColour_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    Point origin_{};
    Rect baseClip_{};
    std::optional<Rect> userClip_;
    Point penPosition_{};
    Size windowSize_{};
    bool windowContext_ = false;
};

// Decodes a JPEG file (device path) into a bitmap of its own size; nothing when the file is
// missing or not a JPEG.
std::shared_ptr<Bitmap> loadJpeg(std::wstring_view devicePath);
std::shared_ptr<Bitmap> decodeJpeg(std::span<const std::uint8_t> bytes);

// Writes a bitmap as PNG to a host file (safely: beside, then renamed).
bool savePng(const Bitmap& bitmap, const std::filesystem::path& hostFile);

}  // namespace platform
