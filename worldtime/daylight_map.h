#pragma once
// The daylight map's picture: a world map whose sunlit half shows the day picture and whose
// other half a darkened copy of it, with a soft twilight band between them, the favourite
// cities marked, and the frames of the pulsing ring around the current favourite. Pixels
// only; the screen decides where they go and when to repaint.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "gfx/targa.h"
#include "platform/api/clock.h"
#include "platform/api/draw.h"
#include "worldtime/sun.h"

namespace worldtime {

constexpr std::wstring_view kDayMapFile = L"graphics2\\daymap.jpg";
constexpr std::wstring_view kCityMarkerFile = L"graphics2\\citylocation.tga";
constexpr std::wstring_view kPulseRingFile = L"graphics2\\map_citypos.tga";

// Altitude of the sun (degrees) at which the twilight band ends on either side; it covers
// the sun's own half-width (0.266) and three degrees of dusk.
constexpr double kTwilightDegrees = 3.0 + 0.266;
constexpr int kTwilightLevels = 16;
constexpr int kPulseFrames = 15;

// Every colour byte at about 62.5 %: b * 20479 / 32767.
std::shared_ptr<platform::Bitmap> deriveNightImage(const platform::Bitmap& day);
// An area-averaged copy at another size (each target pixel the mean of the source pixels
// it covers).
std::shared_ptr<platform::Bitmap> scaledBitmap(const platform::Bitmap& source, int width,
                                               int height);
// Paints the map for a sun declination and sub-solar shift into out (all three the same
// size): day where the sun stands higher than kTwilightDegrees, night where it stands lower
// than -kTwilightDegrees, and in between the two mixed in kTwilightLevels steps.
void composeDaylight(platform::Bitmap& out, const platform::Bitmap& day,
                     const platform::Bitmap& night, double declination, double shift);

struct MapCity {
    double latitude = 0;
    double longitude = 0;
};

// A patch of the screen to repaint for one frame of the ring: where it goes on the map
// picture, and its pixels.
struct PulsePatch {
    platform::Rect rect;
    std::shared_ptr<platform::Bitmap> pixels;
};

class DaylightMap {
  public:
    // Loads the day picture (mainPath + kDayMapFile) at width x height and the marker
    // pictures for a display scale; false when the day picture does not load.
    bool load(std::wstring_view mainPath, int width, int height, double scale);
    // Uses a picture already in memory instead (the markers stay as loaded, or none).
    void setDayImage(std::shared_ptr<platform::Bitmap> day);
    bool loadMarkers(std::wstring_view mainPath, double scale);
    bool loaded() const { return day_ != nullptr; }

    // Moves the sun to a UTC moment and repaints the picture when the boundary or the sun's
    // column changed (or nothing was painted yet); true when it repainted. Markers must be
    // drawn again after a repaint.
    bool update(const platform::SystemTime& utc);
    // Repaints the picture from the present sun.
    void compose();
    // Draws the small marker centred on each city.
    void drawMarkers(std::span<const MapCity> cities);

    // Frames run 1 to 15 and start again at 1.
    static int nextPulseFrame(int frame) {
        return frame >= kPulseFrames || frame < 1 ? 1 : frame + 1;
    }
    // The picture around a city with the ring of a frame over it: the ring is 3 x scale x
    // frame pixels square at opacity 1 - frame / 15, on a patch 45 x scale pixels square
    // (cut at the map's edges).
    PulsePatch pulseFrame(platform::Point city, int frame) const;
    // Where that patch lies on the map picture, without its pixels.
    platform::Rect pulseRect(platform::Point city) const;

    const platform::Bitmap* picture() const { return picture_.get(); }
    std::shared_ptr<platform::Bitmap> sharedPicture() const { return picture_; }
    int width() const { return day_ ? day_->width() : 0; }
    int height() const { return day_ ? day_->height() : 0; }
    platform::Point project(const MapCity& city) const;

    const SunPosition& sun() const { return sun_; }
    double siderealHours() const { return sidereal_; }
    double shift() const { return shift_; }
    int column() const { return column_; }
    const std::vector<std::int16_t>& terminator() const { return terminator_; }

  private:
    void blendRing(platform::Bitmap& patch, platform::Point centre, int frame) const;

    std::shared_ptr<platform::Bitmap> day_;
    std::shared_ptr<platform::Bitmap> night_;
    std::shared_ptr<platform::Bitmap> picture_;
    std::unique_ptr<gfx::TargaPixels> marker_;
    std::array<gfx::TargaPixels, kPulseFrames + 1> rings_;  // index = frame
    double scale_ = 1.0;
    SunPosition sun_;
    double sidereal_ = 0;
    double shift_ = 0;
    int column_ = -1;
    std::vector<std::int16_t> terminator_;
    bool painted_ = false;
};

}  // namespace worldtime
