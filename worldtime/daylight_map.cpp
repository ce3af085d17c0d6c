#include "worldtime/daylight_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/record_table.h"
#include "gfx/blend.h"
#include "gfx/resample.h"
#include "worldtime/terminator.h"

namespace worldtime {
namespace {

constexpr double kRad = 0.017453292519943295;

void copyPixel(std::uint8_t* to, const std::uint8_t* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// One row: each pixel's level from 0 (night) to 16 (day), then the bytes. Long runs of
// whole day or whole night are the rule, so the branch costs little.
void composeRow(std::uint8_t* out, const std::uint8_t* day, const std::uint8_t* night,
                const float* cosines, int width, float base, float slope, int* levels) {
    constexpr float kTop = static_cast<float>(kTwilightLevels);
    for (int x = 0; x < width; ++x) {
        float v = base + slope * cosines[x];
        levels[x] = v <= 0 ? 0 : (v >= kTop ? kTwilightLevels : static_cast<int>(v));
    }
    for (int x = 0; x < width; ++x) {
        int k = levels[x];
        int at = 3 * x;
        if (k == kTwilightLevels) {
            copyPixel(out + at, day + at);
        } else if (k == 0) {
            copyPixel(out + at, night + at);
        } else {
            for (int c = 0; c < 3; ++c) {
                int n = night[at + c];
                out[at + c] =
                    static_cast<std::uint8_t>(n + (day[at + c] - n) * k / kTwilightLevels);
            }
        }
    }
}

}  // namespace

std::shared_ptr<platform::Bitmap> deriveNightImage(const platform::Bitmap& day) {
    auto night = std::make_shared<platform::Bitmap>(day.width(), day.height());
    std::uint8_t table[256];
    for (int b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>((b * 20480 - b) / 32767);
    for (int y = 0; y < day.height(); ++y) {
        const std::uint8_t* from = day.rowFromTop(y);
        std::uint8_t* to = night->rowFromTop(y);
        for (int i = 0; i < 3 * day.width(); ++i) to[i] = table[from[i]];
    }
    return night;
}

std::shared_ptr<platform::Bitmap> scaledBitmap(const platform::Bitmap& source, int width,
                                               int height) {
    auto out = std::make_shared<platform::Bitmap>(width, height);
    width = out->width();
    height = out->height();
    auto span = [](int i, int from, int to) {
        int begin = static_cast<int>(static_cast<long long>(i) * from / to);
        int end = static_cast<int>(static_cast<long long>(i + 1) * from / to);
        return std::pair{begin, std::max(end, begin + 1)};
    };
    for (int y = 0; y < height; ++y) {
        auto [top, bottom] = span(y, source.height(), height);
        std::uint8_t* to = out->rowFromTop(y);
        for (int x = 0; x < width; ++x) {
            auto [left, right] = span(x, source.width(), width);
            unsigned sum[3] = {};
            for (int sy = top; sy < bottom; ++sy) {
                const std::uint8_t* from = source.rowFromTop(sy);
                for (int sx = left; sx < right; ++sx) {
                    for (int c = 0; c < 3; ++c) sum[c] += from[3 * sx + c];
                }
            }
            unsigned count = static_cast<unsigned>((bottom - top) * (right - left));
            for (int c = 0; c < 3; ++c) {
                to[3 * x + c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
    return out;
}

void composeDaylight(platform::Bitmap& out, const platform::Bitmap& day,
                     const platform::Bitmap& night, double declination, double shift) {
    int width = out.width();
    int height = out.height();
    if (day.width() != width || day.height() != height || night.width() != width ||
        night.height() != height) {
        return;
    }
    // The sun's altitude at a pixel: sin(alt) = sin(lat) sin(dec) + cos(lat) cos(dec)
    // cos(hour angle); the hour-angle cosines are shared by every row.
    std::vector<float> cosines(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        double longitude = (x + 0.5) * 360.0 / width - 180.0;
        cosines[x] = static_cast<float>(std::cos((longitude - (shift - 180.0)) * kRad));
    }
    std::vector<int> levels(static_cast<std::size_t>(width));
    double low = std::sin(-kTwilightDegrees * kRad);
    double high = std::sin(kTwilightDegrees * kRad);
    double perUnit = kTwilightLevels / (high - low);
    double sinDec = std::sin(declination * kRad);
    double cosDec = std::cos(declination * kRad);
    for (int y = 0; y < height; ++y) {
        double latitude = 90.0 - (y + 0.5) * 180.0 / height;
        double a = std::sin(latitude * kRad) * sinDec;
        double b = std::cos(latitude * kRad) * cosDec;
        auto base = static_cast<float>((a - low) * perUnit);
        auto slope = static_cast<float>(b * perUnit);
        std::uint8_t* to = out.rowFromTop(y);
        if (base - std::fabs(slope) >= kTwilightLevels) {
            std::memcpy(to, day.rowFromTop(y), static_cast<std::size_t>(3 * width));
        } else if (base + std::fabs(slope) <= 0) {
            std::memcpy(to, night.rowFromTop(y), static_cast<std::size_t>(3 * width));
        } else {
            composeRow(to, day.rowFromTop(y), night.rowFromTop(y), cosines.data(), width, base,
                       slope, levels.data());
        }
    }
}

bool DaylightMap::load(std::wstring_view mainPath, int width, int height, double scale) {
    auto day = platform::loadJpeg(core::joinDevicePath(mainPath, kDayMapFile));
    if (!day)
        return false;
    if (day->width() != width || day->height() != height)
        day = scaledBitmap(*day, width, height);
    setDayImage(std::move(day));
    loadMarkers(mainPath, scale);
    return true;
}

void DaylightMap::setDayImage(std::shared_ptr<platform::Bitmap> day) {
    day_ = std::move(day);
    night_ = deriveNightImage(*day_);
    picture_ = std::make_shared<platform::Bitmap>(day_->width(), day_->height());
    painted_ = false;
    column_ = -1;
}

bool DaylightMap::loadMarkers(std::wstring_view mainPath, double scale) {
    scale_ = scale > 0 ? scale : 1.0;
    std::unique_ptr<gfx::TargaPixels> marker;
    std::unique_ptr<gfx::TargaPixels> ring;
    bool markerLoaded = gfx::loadTarga(core::joinDevicePath(mainPath, kCityMarkerFile), marker) ==
                        gfx::TargaStatus::Loaded;
    bool ringLoaded = gfx::loadTarga(core::joinDevicePath(mainPath, kPulseRingFile), ring) ==
                      gfx::TargaStatus::Loaded;
    if (markerLoaded) {
        int size = std::max(1, static_cast<int>(6 * scale_));
        marker_ = std::make_unique<gfx::TargaPixels>(gfx::resampleTarga(*marker, size, size));
    }
    for (int frame = 1; frame <= kPulseFrames && ringLoaded; ++frame) {
        int size = std::max(1, static_cast<int>(3 * scale_ * frame));
        rings_[frame] = gfx::resampleTarga(*ring, size, size);
    }
    return markerLoaded && ringLoaded;
}

bool DaylightMap::update(const platform::SystemTime& utc) {
    if (!day_)
        return false;
    double jd = julianDate(utc);
    sun_ = sunPosition(jd);
    sidereal_ = greenwichSiderealHours(jd);
    shift_ = subSolarShift(sun_, sidereal_);
    int column = subSolarColumn(shift_, width());
    std::vector<std::int16_t> table = terminatorTable(sun_.declination, width(), height());
    if (painted_ && column == column_ && table == terminator_)
        return false;
    terminator_ = std::move(table);
    column_ = column;
    compose();
    return true;
}

void DaylightMap::compose() {
    if (!day_)
        return;
    composeDaylight(*picture_, *day_, *night_, sun_.declination, shift_);
    painted_ = true;
}

platform::Point DaylightMap::project(const MapCity& city) const {
    return projectCity(city.latitude, city.longitude, width(), height());
}

void DaylightMap::drawMarkers(std::span<const MapCity> cities) {
    if (!picture_ || !marker_)
        return;
    int size = marker_->width;
    for (const MapCity& city : cities) {
        platform::Point at = project(city);
        int left = at.x - size / 2;
        int top = at.y - size / 2;
        gfx::blendTarga(*marker_, picture_.get(), left, height() - top - marker_->height, false,
                        1.0);
    }
}

platform::Rect DaylightMap::pulseRect(platform::Point city) const {
    if (!picture_)
        return {};
    int size = std::max(1, static_cast<int>(kPulseFrames * 3 * scale_));
    platform::Rect wanted = platform::rectOfSize(city.x - size / 2, city.y - size / 2, size, size);
    return wanted.intersect({0, 0, width(), height()});
}

PulsePatch DaylightMap::pulseFrame(platform::Point city, int frame) const {
    PulsePatch patch;
    if (!picture_)
        return patch;
    patch.rect = pulseRect(city);
    if (patch.rect.isEmpty())
        return patch;
    patch.pixels = std::make_shared<platform::Bitmap>(patch.rect.width(), patch.rect.height());
    for (int y = 0; y < patch.rect.height(); ++y) {
        std::memcpy(patch.pixels->rowFromTop(y),
                    picture_->rowFromTop(patch.rect.top + y) + 3 * patch.rect.left,
                    static_cast<std::size_t>(3 * patch.rect.width()));
    }
    if (frame >= 1 && frame <= kPulseFrames) {
        blendRing(*patch.pixels, {city.x - patch.rect.left, city.y - patch.rect.top}, frame);
    }
    return patch;
}

void DaylightMap::blendRing(platform::Bitmap& patch, platform::Point centre, int frame) const {
    const gfx::TargaPixels& ring = rings_[frame];
    if (ring.width == 0 || ring.pixels.empty())
        return;
    double opacity = 1.0 - static_cast<double>(frame) / kPulseFrames;
    int left = centre.x - ring.width / 2;
    int top = centre.y - ring.height / 2;
    for (int ry = 0; ry < ring.height; ++ry) {
        int y = top + (ring.height - 1 - ry);  // Targa rows run bottom-up
        if (y < 0 || y >= patch.height())
            continue;
        const std::uint8_t* from = ring.row(ry);
        std::uint8_t* to = patch.rowFromTop(y);
        for (int rx = 0; rx < ring.width; ++rx) {
            int x = left + rx;
            if (x < 0 || x >= patch.width())
                continue;
            const std::uint8_t* p = from + rx * ring.bytesPerPixel;
            int alpha = ring.bytesPerPixel == 4 ? p[3] : 255;
            auto weight = static_cast<int>(std::lround(alpha * opacity));
            if (weight == 0)
                continue;
            std::uint8_t* q = to + 3 * x;
            // Targa pixels are R, G, B; the bitmap keeps B, G, R.
            for (int c = 0; c < 3; ++c) {
                int source = p[2 - c];
                q[c] = static_cast<std::uint8_t>(q[c] + (source - q[c]) * weight / 255);
            }
        }
    }
}

}  // namespace worldtime
