#include "commsprogram/map_sources.h"

#include <cmath>
#include <cstdio>

#include "commsprogram/json_reading.h"
#include "core/text_case.h"
#include "platform/api/device.h"
#include "platform/api/picture_codec.h"

namespace commsprogram {
namespace {

constexpr int kTileSize = 512;
constexpr std::size_t kMaxPictureBytes = 4 << 20;
constexpr double kPi = 3.14159265358979323846;
constexpr double kMercatorLimit = 20037508.342789244;

constexpr RegionBox kRegions[] = {
    {"Europe", -12, 34, 35, 62, 4},         {"BritishIsles", -11, 49.5, 2.5, 59.5, 5},
    {"Scandinavia", 4, 54, 32, 71.5, 4},    {"Russia", 27, 41, 110, 72, 3},
    {"CentralAsia", 46, 35, 88, 56, 4},     {"Africa", -18, -35, 52, 37.5, 3},
    {"Japan", 128, 30, 146, 46, 5},         {"Indonesia", 94, -11, 141, 6, 4},
    {"Caribbean", -86, 9, -59, 27, 4},      {"Australia", 112, -44, 154, -10, 3},
    {"EastAsia", 95, 18, 145, 54, 0},       {"MiddleEast", 25, 12, 63, 42, 0},
    {"NorthAmerica", -130, 15, -60, 60, 0}, {"Pacific", 150, -48, 180, 0, 0},
    {"SouthAmerica", -82, -56, -34, 13, 0}, {"SouthAsia", 60, 5, 98, 37, 0},
    {"SoutheastAsia", 92, -11, 130, 28, 0},
};

std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isJpeg(std::string_view bytes) {
    return platform::decodeJpeg(bytesOf(bytes)) != nullptr;
}

// "YYYY-MM-DD" moved back by days.
std::string daysBefore(const std::string& date, int days) {
    int y = std::stoi(date.substr(0, 4)), m = std::stoi(date.substr(5, 2)),
        d = std::stoi(date.substr(8, 2));
    static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0; i < days; ++i) {
        if (--d == 0) {
            if (--m == 0) {
                m = 12;
                --y;
            }
            bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
            d = kLengths[m - 1] + (m == 2 && leap ? 1 : 0);
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

bool isSafePath(std::string_view path) {
    if (path.empty() || path.size() > 200 || path.front() != '/' ||
        path.find("..") != std::string_view::npos)
        return false;
    for (char c : path) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '/' || c == '_' || c == '-' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

bool isIsoDate(const std::string& text) {
    return text.size() == 10 && text[4] == '-' && text[7] == '-';
}

}  // namespace

const RegionBox* regionBox(std::string_view name) {
    for (const RegionBox& box : kRegions) {
        if (core::equalsIgnoringCase(platform::fromUtf8(box.name), platform::fromUtf8(name)))
            return &box;
    }
    return nullptr;
}

Answer<RadarIndex> parseRadarIndex(std::string_view text) {
    Answer<RadarIndex> answer;
    auto document = parseJson(text, answer.failure);
    if (!document)
        return answer;
    RadarIndex index;
    auto host = textAt(*document, "host");
    const nlohmann::json* radar = member(*document, "radar");
    const nlohmann::json* past = radar ? arrayAt(*radar, "past") : nullptr;
    if (!host || !past) {
        answer.failure = fail(errorCode::Unreadable, "radar index lacks host or past frames");
        return answer;
    }
    index.host = *host;
    auto frames = [&](const nlohmann::json* list, std::vector<RadarFrame>& out) {
        for (std::size_t i = 0; list && i < list->size() && i < 64; ++i) {
            auto time = numberAt((*list)[i], "time");
            auto path = textAt((*list)[i], "path");
            if (!time || !path || !isSafePath(*path))
                return false;
            out.push_back({static_cast<long long>(*time), *path});
        }
        return true;
    };
    if (!frames(past, index.past) ||
        !frames(radar ? arrayAt(*radar, "nowcast") : nullptr, index.nowcast)) {
        answer.failure = fail(errorCode::Unreadable, "radar frame without time or path");
        return answer;
    }
    answer.value = std::move(index);
    return answer;
}

std::optional<std::string> overlayAsJpeg(std::string_view baseJpeg, std::string_view overlayPng) {
    auto base = platform::decodeJpeg(bytesOf(baseJpeg));
    auto overlay = platform::decodePng(bytesOf(overlayPng));
    if (!base || !overlay || overlay->width != base->width() || overlay->height != base->height())
        return std::nullopt;
    for (int y = 0; y < base->height(); ++y) {
        std::uint8_t* row = base->rowFromTop(y);
        const std::uint8_t* over =
            overlay->pixels.data() + static_cast<std::size_t>(y) * overlay->width * 4;
        for (int x = 0; x < base->width(); ++x) {
            const int alpha = over[x * 4 + 3];
            for (int c = 0; c < 3; ++c) {
                // The bitmap holds blue, green, red; the overlay red, green, blue.
                const int source = over[x * 4 + (2 - c)];
                row[x * 3 + c] = static_cast<std::uint8_t>(
                    (source * alpha + row[x * 3 + c] * (255 - alpha)) / 255);
            }
        }
    }
    std::vector<std::uint8_t> jpeg = platform::encodeJpeg(*base, 80);
    if (jpeg.empty())
        return std::nullopt;
    return std::string(jpeg.begin(), jpeg.end());
}

GibsRainViewerMaps::Tile GibsRainViewerMaps::tileAt(double latitude, double longitude,
                                                    int zoom) const {
    const double n = std::pow(2.0, zoom);
    latitude = std::clamp(latitude, -85.0, 85.0);
    const double rad = latitude * kPi / 180;
    int x = static_cast<int>(std::floor((longitude + 180) / 360 * n));
    int y = static_cast<int>(
        std::floor((1 - std::log(std::tan(rad) + 1 / std::cos(rad)) / kPi) / 2 * n));
    const int last = static_cast<int>(n) - 1;
    return {zoom, std::clamp(x, 0, last), std::clamp(y, 0, last)};
}

Answer<std::vector<std::string>> GibsRainViewerMaps::satellite(Fetcher& fetcher,
                                                               const std::string& region,
                                                               int count) {
    Answer<std::vector<std::string>> answer;
    const RegionBox* box = regionBox(region);
    if (!box || !isIsoDate(today_)) {
        answer.value.emplace();
        return answer;
    }
    const double aspect = (box->north - box->south) / (box->east - box->west);
    const int height = std::clamp(static_cast<int>(std::lround(kTileSize * aspect)), 64, 1024);
    std::vector<std::string> frames;
    for (int day = 1; day <= count; ++day) {
        std::string url = bases_.satellite +
                          "/wms/epsg4326/best/wms.cgi?SERVICE=WMS&REQUEST=GetMap&VERSION=1.3.0"
                          "&LAYERS=MODIS_Terra_CorrectedReflectance_TrueColor&STYLES="
                          "&FORMAT=image/jpeg&CRS=EPSG:4326&BBOX=" +
                          decimal(box->south) + "," + decimal(box->west) + "," +
                          decimal(box->north) + "," + decimal(box->east) +
                          "&WIDTH=" + std::to_string(kTileSize) +
                          "&HEIGHT=" + std::to_string(height) + "&TIME=" + daysBefore(today_, day);
        Fetched fetched = fetcher.get({url, {}, kMaxPictureBytes});
        if (fetched.failure)
            return {std::nullopt, fetched.failure};
        if (!isJpeg(fetched.body))
            return {std::nullopt, fail(errorCode::Unreadable, "satellite picture is no JPEG")};
        frames.push_back(std::move(fetched.body));
    }
    answer.value = std::move(frames);
    return answer;
}

Answer<std::string> GibsRainViewerMaps::radarOver(Fetcher& fetcher, const std::string& host,
                                                  const RadarFrame& frame, Tile tile) {
    const double size = 2 * kMercatorLimit / std::pow(2.0, tile.zoom);
    const double minX = -kMercatorLimit + tile.x * size;
    const double maxY = kMercatorLimit - tile.y * size;
    std::string baseUrl = bases_.satellite +
                          "/wms/epsg3857/best/wms.cgi?SERVICE=WMS&REQUEST=GetMap&VERSION=1.3.0"
                          "&LAYERS=BlueMarble_ShadedRelief_Bathymetry&STYLES=&FORMAT=image/jpeg"
                          "&CRS=EPSG:3857&BBOX=" +
                          decimal(minX) + "," + decimal(maxY - size) + "," + decimal(minX + size) +
                          "," + decimal(maxY) + "&WIDTH=" + std::to_string(kTileSize) +
                          "&HEIGHT=" + std::to_string(kTileSize);
    Fetched base = fetcher.get({baseUrl, {}, kMaxPictureBytes});
    if (base.failure)
        return {std::nullopt, base.failure};
    std::string tileUrl = host + frame.path + "/" + std::to_string(kTileSize) + "/" +
                          std::to_string(tile.zoom) + "/" + std::to_string(tile.x) + "/" +
                          std::to_string(tile.y) + "/2/1_1.png";
    Fetched overlay = fetcher.get({tileUrl, {}, kMaxPictureBytes});
    if (overlay.failure)
        return {std::nullopt, overlay.failure};
    auto jpeg = overlayAsJpeg(base.body, overlay.body);
    if (!jpeg)
        return {std::nullopt, fail(errorCode::Unreadable, "radar or relief picture unreadable")};
    return {std::move(jpeg), {}};
}

Answer<std::vector<std::string>> GibsRainViewerMaps::radar(Fetcher& fetcher,
                                                           const std::string& region, int count) {
    Answer<std::vector<std::string>> answer;
    const RegionBox* box = regionBox(region);
    if (!box || box->radarZoom == 0) {
        answer.value.emplace();
        return answer;
    }
    Fetched fetched = fetcher.get({bases_.radarIndex + "/public/weather-maps.json", {}, 256 << 10});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    Answer<RadarIndex> index = parseRadarIndex(fetched.body);
    if (!index.value)
        return {std::nullopt, index.failure};
    const Tile tile =
        tileAt((box->north + box->south) / 2, (box->west + box->east) / 2, box->radarZoom);
    std::vector<std::string> frames;
    const auto& past = index.value->past;
    const std::size_t first =
        past.size() > static_cast<std::size_t>(count) ? past.size() - count : 0;
    for (std::size_t i = first; i < past.size(); ++i) {
        Answer<std::string> frame = radarOver(fetcher, index.value->host, past[i], tile);
        if (!frame.value)
            return {std::nullopt, frame.failure};
        frames.push_back(std::move(*frame.value));
    }
    answer.value = std::move(frames);
    return answer;
}

Answer<std::string> GibsRainViewerMaps::forecastMap(Fetcher& fetcher, const Place& place) {
    Fetched fetched = fetcher.get({bases_.radarIndex + "/public/weather-maps.json", {}, 256 << 10});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    Answer<RadarIndex> index = parseRadarIndex(fetched.body);
    if (!index.value)
        return {std::nullopt, index.failure};
    const auto& frames = !index.value->nowcast.empty() ? index.value->nowcast : index.value->past;
    if (frames.empty())
        return {std::nullopt, fail(errorCode::Unreadable, "radar index without frames")};
    return radarOver(fetcher, index.value->host, frames.back(),
                     tileAt(place.latitude, place.longitude, 6));
}

Answer<std::string> fetchUserMap(Fetcher& fetcher, const std::string& url) {
    Fetched fetched = fetcher.get({url, {}, kMaxPictureBytes});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    if (isJpeg(fetched.body))
        return {std::move(fetched.body), {}};
    if (auto png = platform::decodePng(bytesOf(fetched.body))) {
        platform::Bitmap bitmap(png->width, png->height);
        for (int y = 0; y < png->height; ++y) {
            std::uint8_t* row = bitmap.rowFromTop(y);
            const std::uint8_t* in =
                png->pixels.data() + static_cast<std::size_t>(y) * png->width * 4;
            for (int x = 0; x < png->width; ++x) {
                // Transparent parts show white.
                const int alpha = in[x * 4 + 3];
                for (int c = 0; c < 3; ++c)
                    row[x * 3 + c] = static_cast<std::uint8_t>(
                        (in[x * 4 + (2 - c)] * alpha + 255 * (255 - alpha)) / 255);
            }
        }
        std::vector<std::uint8_t> jpeg = platform::encodeJpeg(bitmap, 85);
        if (!jpeg.empty())
            return {std::string(jpeg.begin(), jpeg.end()), {}};
    }
    return {std::nullopt, fail(errorCode::Unreadable, "user map is neither JPEG nor PNG")};
}

}  // namespace commsprogram
