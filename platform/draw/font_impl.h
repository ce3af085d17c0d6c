#pragma once
// Fonts as the drawing code sees them: metrics and cached glyph coverage bitmaps.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/api/draw.h"

namespace platform::drawing {

struct Glyph {
    int left = 0;  // from the pen position to the first column of the bitmap
    int top = 0;   // from the baseline up to the first row of the bitmap
    int width = 0;
    int rows = 0;
    int advance = 0;                     // whole pixels
    std::vector<std::uint8_t> coverage;  // rows x width, 0 (none) to 255 (full)
};

struct FaceSize;  // FreeType state, private to font.cpp

class FontImpl final : public Font {
  public:
    explicit FontImpl(const FontSpec& spec);
    ~FontImpl() override;

    const FontSpec& spec() const override { return spec_; }
    TextMetrics metrics() const override { return metrics_; }

    // Glyphs for each character of text, rendered on first use and kept for the font's life.
    void glyphs(std::wstring_view text, std::vector<const Glyph*>& out) const;
    int advance(wchar_t c) const;

    // Underline placement: rows below the baseline to its top, and its thickness.
    int underlineOffset() const { return underlineOffset_; }
    int underlineThickness() const { return underlineThickness_; }

  private:
    const Glyph& glyphLocked(char32_t c) const;
    Glyph render(char32_t c) const;
    // The face for code points the primary one lacks, opened when the first such code point
    // is drawn (most text never needs it, and opening it cost every program's start).
    const FaceSize* fallbackLocked() const;

    FontSpec spec_;
    TextMetrics metrics_;
    int underlineOffset_ = 1;
    int underlineThickness_ = 1;
    std::unique_ptr<FaceSize> primary_;
    double em_ = 0;
    mutable std::unique_ptr<FaceSize> fallback_;
    mutable bool fallbackTried_ = false;
    mutable std::unordered_map<char32_t, Glyph> cache_;
    mutable const Glyph* ascii_[128] = {};
};

// The font a context draws with: its own, or the default one when none is selected.
const FontImpl& fontOf(const FontRef& font);

}  // namespace platform::drawing
