// vorn map: the daylight map for a moment, with the favourites marked, as a PNG file.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "programs/vorn/commands.h"
#include "worldtime/cities.h"
#include "worldtime/daylight_map.h"

namespace vorn {
namespace {

constexpr int kDefaultWidth = 960;
constexpr int kDefaultHeight = 480;
// The ring's frame drawn into the still picture: large enough to see, still opaque.
constexpr int kStillPulseFrame = 5;

bool parseSize(const std::string& text, int& width, int& height) {
    char extra = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &extra) == 2 && width >= 16 &&
           height >= 8 && width <= 8192 && height <= 4096;
}

void copyPatch(platform::Bitmap& picture, const worldtime::PulsePatch& patch) {
    if (!patch.pixels)
        return;
    for (int y = 0; y < patch.rect.height(); ++y) {
        std::memcpy(picture.rowFromTop(patch.rect.top + y) + 3 * patch.rect.left,
                    patch.pixels->rowFromTop(y), static_cast<std::size_t>(3 * patch.rect.width()));
    }
}

}  // namespace

int runMap(const Invocation& invocation) {
    auto out = invocation.option("--out");
    if (!out || out->empty())
        return report(invocation, kExitUsage, "map needs --out FILE.png");
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    if (auto size = invocation.option("--size"); size && !parseSize(*size, width, height)) {
        return report(invocation, kExitUsage, "malformed size \"" + *size + "\" (expected WxH)");
    }
    auto at = momentAsked(invocation);
    if (!at)
        return kExitUsage;
    worldtime::DaylightMap map;
    double scale = width > 480 ? 2.0 : 1.0;
    if (!map.load(invocation.mainPath, width, height, scale)) {
        return report(invocation, kExitFailure,
                      "no day map (graphics2\\daymap.jpg) in the install folder " +
                          utf8(invocation.mainPath));
    }
    map.update(*at);
    CityFinder finder(invocation.mainPath);
    const core::RecordTable& favourites = finder.favourites();
    std::vector<worldtime::MapCity> cities;
    for (int row = 1; row <= favourites.rowCount(); ++row) {
        cities.push_back(
            {worldtime::cityLatitude(favourites, row), worldtime::cityLongitude(favourites, row)});
    }
    map.drawMarkers(cities);
    auto picture = map.sharedPicture();
    if (!cities.empty()) {
        int current = worldtime::storedFavouriteRow(static_cast<int>(cities.size()));
        copyPatch(*picture, map.pulseFrame(map.project(cities[current - 1]), kStillPulseFrame));
    }
    if (!platform::savePng(*picture, *out)) {
        return report(invocation, kExitFailure, "cannot write " + *out);
    }
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("out", *out)
            .field("at", isoDateTime(*at) + "Z")
            .field("width", map.width())
            .field("height", map.height())
            .field("declination", map.sun().declination)
            .field("subSolarLongitude", map.shift() - 180)
            .field("cities", static_cast<int>(cities.size()))
            .endObject();
        writeOut(json.text() + "\n");
    } else {
        std::printf("%s: %dx%d, sun over %.1f%s %.1f%s\n", out->c_str(), map.width(), map.height(),
                    std::abs(map.sun().declination), map.sun().declination >= 0 ? "N" : "S",
                    std::abs(map.shift() - 180), map.shift() >= 180 ? "E" : "W");
    }
    return kExitOk;
}

}  // namespace vorn
