#pragma once
// Weather maps from keyless services: satellite pictures of a map region from NASA GIBS (a
// WMS picture cut to the region's box by the server, one per day), and radar frames from a
// RainViewer-compatible service, laid over a GIBS relief map of the same Web-Mercator tile
// and stored as JPEG. The forecast map is the latest radar frame (the nowcast when offered)
// around the city.

#include <string>
#include <string_view>

#include "commsprogram/providers.h"

namespace commsprogram {

struct RegionBox {
    std::string_view name;
    double west, south, east, north;
    // The radar tile that covers the region; zoom 0 when the region has no radar.
    int radarZoom;
};

// The box of a region, compared without regard to case; nothing for an unknown one.
const RegionBox* regionBox(std::string_view name);

struct RadarFrame {
    long long time = 0;
    std::string path;  // "/v2/radar/1609401600"
};
struct RadarIndex {
    std::string host;
    std::vector<RadarFrame> past;
    std::vector<RadarFrame> nowcast;
};
Answer<RadarIndex> parseRadarIndex(std::string_view text);

// A radar picture over the relief map: the overlay's alpha decides how much of it shows.
// Nothing when either picture does not decode or their sizes differ.
std::optional<std::string> overlayAsJpeg(std::string_view baseJpeg, std::string_view overlayPng);

class GibsRainViewerMaps : public MapSource {
  public:
    // today: "YYYY-MM-DD" (UTC); satellite pictures are of the days before it.
    GibsRainViewerMaps(ServiceBases bases, std::string today)
        : bases_(std::move(bases)), today_(std::move(today)) {}
    Answer<std::vector<std::string>> satellite(Fetcher& fetcher, const std::string& region,
                                               int count) override;
    Answer<std::vector<std::string>> radar(Fetcher& fetcher, const std::string& region,
                                           int count) override;
    Answer<std::string> forecastMap(Fetcher& fetcher, const Place& place) override;

  private:
    struct Tile {
        int zoom, x, y;
    };
    Answer<std::string> radarOver(Fetcher& fetcher, const std::string& host,
                                  const RadarFrame& frame, Tile tile);
    Tile tileAt(double latitude, double longitude, int zoom) const;

    ServiceBases bases_;
    std::string today_;
};

// The picture a user map address gives, as JPEG: a JPEG as it is, a PNG converted.
Answer<std::string> fetchUserMap(Fetcher& fetcher, const std::string& url);

}  // namespace commsprogram
