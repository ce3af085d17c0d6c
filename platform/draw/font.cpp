// Fonts through FreeType. Face files are opened once per process and shared; each font has
// its own FreeType size objects and a cache of rendered glyphs. One mutex guards FreeType,
// which is not safe to use from several threads on the same face.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>

#include "platform/draw/font_impl.h"

namespace platform::drawing {

namespace {

constexpr const char* kTahoma = "/usr/share/wine/fonts/tahoma.ttf";
constexpr const char* kTahomaBold = "/usr/share/wine/fonts/tahomabd.ttf";
constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kDejaVuBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Italic is an oblique slant of the upright face: x += 0.21 * y.
constexpr FT_Fixed kItalicShear = 0x3600;

struct FreeType {
    std::mutex mutex;
    FT_Library library = nullptr;
    std::map<std::string, FT_Face> faces;  // null when a file could not be opened
};

// Deliberately never destroyed: fonts may outlive static destruction order.
FreeType& freeType() {
    static FreeType* ft = [] {
        auto* f = new FreeType;
        if (FT_Init_FreeType(&f->library) != 0)
            f->library = nullptr;
        return f;
    }();
    return *ft;
}

// Opens a face file once per process; call with the FreeType mutex held.
FT_Face openFace(const std::string& path) {
    FreeType& ft = freeType();
    auto it = ft.faces.find(path);
    if (it != ft.faces.end())
        return it->second;
    FT_Face face = nullptr;
    if (!ft.library || !std::filesystem::exists(path) ||
        FT_New_Face(ft.library, path.c_str(), 0, &face) != 0) {
        face = nullptr;
    }
    ft.faces[path] = face;
    return face;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) ==
                      std::towlower(static_cast<wint_t>(y));
           });
}

// The first face file that opens, in order of preference.
FT_Face choosePrimaryFace(const FontSpec& spec) {
    const bool bold = spec.weight >= 600;
    const bool dejaVuFirst = equalsIgnoringCase(spec.face, L"DejaVu Sans");
    std::vector<const char*> order = {bold ? kTahomaBold : kTahoma, bold ? kDejaVuBold : kDejaVu,
                                      kTahoma, kDejaVu};
    if (dejaVuFirst)
        std::swap(order[0], order[1]);
    for (const char* path : order) {
        if (FT_Face face = openFace(path))
            return face;
    }
    return nullptr;
}

// The face for code points the primary one lacks; nothing when that is the primary itself.
FT_Face chooseFallbackFace(const FontSpec& spec, FT_Face primary) {
    FT_Face fallback = openFace(spec.weight >= 600 ? kDejaVuBold : kDejaVu);
    if (!fallback)
        fallback = openFace(kDejaVu);
    return fallback == primary ? nullptr : fallback;
}

struct VerticalUnits {
    double ascent;
    double descent;
};

// Windows lays text out with the OS/2 table's win ascent and descent; other faces fall back
// to the horizontal header.
VerticalUnits verticalUnits(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        return {static_cast<double>(os2->usWinAscent), static_cast<double>(os2->usWinDescent)};
    }
    return {static_cast<double>(face->ascender), static_cast<double>(-face->descender)};
}

}  // namespace

struct FaceSize {
    FT_Face face = nullptr;
    FT_Size size = nullptr;

    FaceSize(FT_Face f, double em) : face(f) {
        if (FT_New_Size(face, &size) != 0) {
            size = nullptr;
            return;
        }
        FT_Activate_Size(size);
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
    }
    ~FaceSize() {
        if (size)
            FT_Done_Size(size);
    }
};

FontImpl::FontImpl(const FontSpec& spec) : spec_(spec) {
    std::lock_guard lock(freeType().mutex);
    FT_Face primary = choosePrimaryFace(spec);
    const int requested = std::clamp(spec.height, -1000, 1000);
    double em = requested < 0 ? -requested : 12.0;
    metrics_.weight = spec.weight;
    if (!primary) {
        // No face files at all: plausible metrics, and text that draws nothing.
        metrics_.ascent = static_cast<int>(std::lround(em * 0.8));
        metrics_.descent = static_cast<int>(std::lround(em * 0.2));
        metrics_.height = metrics_.ascent + metrics_.descent;
        metrics_.averageCharWidth = metrics_.maxCharWidth = static_cast<int>(em / 2);
        return;
    }
    const VerticalUnits units = verticalUnits(primary);
    const double upem = primary->units_per_EM > 0 ? primary->units_per_EM : 2048.0;
    if (requested > 0)
        em = requested * upem / std::max(1.0, units.ascent + units.descent);
    em = std::max(em, 1.0);
    const double scale = em / upem;
    primary_ = std::make_unique<FaceSize>(primary, em);
    em_ = em;

    // A fraction above 0.4 pixel is rounded up: glyphs reaching that far leave visible ink
    // in the next row, which must still lie inside the cell.
    auto cellPixels = [](double v) { return static_cast<int>(std::ceil(v - 0.4)); };
    metrics_.ascent = cellPixels(units.ascent * scale);
    metrics_.descent = cellPixels(units.descent * scale);
    if (requested > 0)
        metrics_.descent = std::max(0, requested - metrics_.ascent);
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.internalLeading = std::max(0, metrics_.height - static_cast<int>(std::lround(em)));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(primary, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(primary, FT_SFNT_HHEA));
    if (hhea) {
        const double gap = hhea->Line_Gap;
        metrics_.externalLeading = std::max(0, static_cast<int>(std::lround(gap * scale)));
    }
    metrics_.averageCharWidth = os2 && os2->xAvgCharWidth > 0
                                    ? static_cast<int>(std::lround(os2->xAvgCharWidth * scale))
                                    : 0;
    metrics_.maxCharWidth = static_cast<int>(std::lround(primary->max_advance_width * scale));

    const double thickness = std::max(1.0, std::round(primary->underline_thickness * scale));
    const double centre = -primary->underline_position * scale;
    underlineThickness_ = static_cast<int>(thickness);
    const int offset = static_cast<int>(std::lround(centre - thickness / 2));
    underlineOffset_ = std::clamp(offset, 1, std::max(1, metrics_.descent - underlineThickness_));
    if (metrics_.averageCharWidth == 0)
        metrics_.averageCharWidth = glyphLocked(U'x').advance;
}

FontImpl::~FontImpl() {
    std::lock_guard lock(freeType().mutex);
    primary_.reset();
    fallback_.reset();
}

Glyph FontImpl::render(char32_t c) const {
    Glyph g;
    if (c < 0x20 || c == 0x7F || !primary_ || !primary_->size)
        return g;
    if (c > 0x10FFFF)
        c = 0xFFFD;
    const FaceSize* fs = primary_.get();
    FT_UInt index = FT_Get_Char_Index(fs->face, c);
    if (index == 0) {
        const FaceSize* fallback = fallbackLocked();
        const FT_UInt other = fallback ? FT_Get_Char_Index(fallback->face, c) : 0;
        if (other != 0) {
            fs = fallback;
            index = other;
        }
    }
    FT_Activate_Size(fs->size);
    const bool mono = spec_.quality == 3;
    FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
    FT_Set_Transform(fs->face, spec_.italic ? &shear : nullptr, nullptr);
    // Monochrome text may use the face's hand-tuned embedded bitmaps; smoothed text is
    // always rendered from the outlines, since those bitmaps carry no grey levels.
    const FT_Int32 flags = mono ? FT_LOAD_TARGET_MONO : (FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP);
    const bool ok =
        FT_Load_Glyph(fs->face, index, flags) == 0 &&
        FT_Render_Glyph(fs->face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0;
    FT_Set_Transform(fs->face, nullptr, nullptr);
    if (!ok)
        return g;
    const FT_GlyphSlot slot = fs->face->glyph;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::uint8_t* out = &g.coverage[static_cast<std::size_t>(y) * g.width];
        for (int x = 0; x < g.width; ++x) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            } else {
                const int levels = std::max(2, static_cast<int>(bm.num_grays));
                out[x] = static_cast<std::uint8_t>(row[x] * 255 / (levels - 1));
            }
        }
    }
    return g;
}

const FaceSize* FontImpl::fallbackLocked() const {
    if (!fallbackTried_) {
        fallbackTried_ = true;
        if (FT_Face face = chooseFallbackFace(spec_, primary_->face))
            fallback_ = std::make_unique<FaceSize>(face, em_);
    }
    return fallback_ && fallback_->size ? fallback_.get() : nullptr;
}

const Glyph& FontImpl::glyphLocked(char32_t c) const {
    if (c < 128 && ascii_[c])
        return *ascii_[c];
    auto it = cache_.find(c);
    if (it == cache_.end())
        it = cache_.emplace(c, render(c)).first;
    if (c < 128)
        ascii_[c] = &it->second;
    return it->second;
}

void FontImpl::glyphs(std::wstring_view text, std::vector<const Glyph*>& out) const {
    out.clear();
    out.reserve(text.size());
    std::lock_guard lock(freeType().mutex);
    for (wchar_t c : text) out.push_back(&glyphLocked(static_cast<char32_t>(c)));
}

int FontImpl::advance(wchar_t c) const {
    std::lock_guard lock(freeType().mutex);
    return glyphLocked(static_cast<char32_t>(c)).advance;
}

const FontImpl& fontOf(const FontRef& font) {
    if (font) {
        if (const auto* own = dynamic_cast<const FontImpl*>(font.get()))
            return *own;
        // A font made elsewhere draws as the font its spec describes, kept for good so the
        // reference stays valid even when the shared cache is full.
        static std::mutex mutex;
        static auto* kept = new std::vector<FontRef>;
        FontRef own = Font::create(font->spec());
        std::lock_guard lock(mutex);
        kept->push_back(own);
        return static_cast<const FontImpl&>(*own);
    }
    static const FontRef defaultFont = Font::create(FontSpec{L"Tahoma", -11});
    return static_cast<const FontImpl&>(*defaultFont);
}

}  // namespace platform::drawing

namespace platform {

// Fonts are shared by spec across the process, so code that creates its fonts on every
// paint still draws from warm glyph caches.
std::shared_ptr<Font> Font::create(const FontSpec& spec) {
    using Key = std::tuple<std::wstring, int, int, bool, bool, int>;
    static std::mutex mutex;
    static auto* cache = new std::map<Key, std::shared_ptr<Font>>;
    const Key key{spec.face, spec.height, spec.weight, spec.italic, spec.underline, spec.quality};
    std::lock_guard lock(mutex);
    auto it = cache->find(key);
    if (it != cache->end())
        return it->second;
    auto font = std::make_shared<drawing::FontImpl>(spec);
    constexpr std::size_t kMaxCachedFonts = 256;
    if (cache->size() < kMaxCachedFonts)
        cache->emplace(key, font);
    return font;
}

}  // namespace platform
