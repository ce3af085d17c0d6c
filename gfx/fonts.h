#pragma once
// The font factory. Every font of the system is Tahoma at a size in points; the pixel height
// follows the screen's pixels per inch and the display metrics' font divisor. Fonts are
// counted while alive so that leaks show.

#include "platform/api/draw.h"

namespace gfx {

// Quality values callers pass: -1 the system default (ClearType), 0 default, 1 ClearType.
constexpr int FontQualitySystem = -1;
constexpr int FontQualityDefault = 0;
constexpr int FontQualityClearType = 1;

constexpr int FontWeightNormal = 400;
constexpr int FontWeightBold = 700;

// The description createFont uses: height -mulDivRound(points, dpi, 72 / fontDivisor).
platform::FontSpec fontSpecFor(int points, int weight, bool italic, bool underline, int quality);

// A font for the given size, counted until its last reference goes.
platform::FontRef createFont(int points, int weight = FontWeightNormal, bool italic = false,
                             bool underline = false, int quality = FontQualitySystem);

// Drops the caller's reference (the count falls once nothing else holds the font).
void deleteFont(platform::FontRef& font);

// Fonts made by createFont that are still alive.
int liveFontCount();

}  // namespace gfx
