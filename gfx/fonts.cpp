#include "gfx/fonts.h"

#include <algorithm>
#include <atomic>

#include "gfx/display_metrics.h"
#include "platform/api/shell.h"

namespace gfx {
namespace {

std::atomic<int> liveFonts{0};

// The platform's numbers for LOGFONT quality.
constexpr int QualityDefault = 0;
constexpr int QualityClearType = 5;

int platformQuality(int quality) {
    switch (quality) {
        case FontQualitySystem:
        case FontQualityClearType:
            return QualityClearType;
        case FontQualityDefault:
            return QualityDefault;
        default:
            return quality;
    }
}

}  // namespace

platform::FontSpec fontSpecFor(int points, int weight, bool italic, bool underline, int quality) {
    platform::FontSpec spec;
    spec.face = L"Tahoma";
    const int divisor = std::max(displayMetrics().fontDivisor, 1);
    spec.height = -mulDivRound(points, platform::logPixelsPerInch(), 72 / divisor);
    spec.weight = weight;
    spec.italic = italic;
    spec.underline = underline;
    spec.quality = platformQuality(quality);
    return spec;
}

platform::FontRef createFont(int points, int weight, bool italic, bool underline, int quality) {
    platform::FontRef font =
        platform::Font::create(fontSpecFor(points, weight, italic, underline, quality));
    if (!font)
        return nullptr;
    ++liveFonts;
    // The returned reference owns the platform font; the count falls when the last copy goes.
    platform::Font* raw = font.get();
    return platform::FontRef(raw, [held = std::move(font)](platform::Font*) mutable {
        --liveFonts;
        held.reset();
    });
}

void deleteFont(platform::FontRef& font) {
    font.reset();
}

int liveFontCount() {
    return liveFonts.load();
}

}  // namespace gfx
