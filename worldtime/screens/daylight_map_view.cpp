#include "worldtime/screens/daylight_map_view.h"

#include <algorithm>
#include <limits>

#include "ui/control_paint.h"
#include "ui/module.h"

namespace worldtime {

using namespace platform;

namespace {

// How far from a marker a tap still chooses its city (layout pixels).
constexpr int kTapReach = 10;
constexpr Colour kMissingMapColour = 0x303030;

}  // namespace

DaylightMapView::DaylightMapView() {
    isFocusable = false;
}

bool DaylightMapView::load(std::wstring_view mainPath, double scale) {
    scale_ = scale;
    frame_ = 1;
    return map_.load(mainPath, rect.width(), rect.height(), scale);
}

bool DaylightMapView::update(const SystemTime& utc) {
    if (!map_.update(utc))
        return false;
    map_.drawMarkers(cities_);
    invalidate();
    return true;
}

void DaylightMapView::setCities(std::vector<MapCity> cities, int current) {
    bool markersChanged =
        cities.size() != cities_.size() ||
        !std::equal(cities.begin(), cities.end(), cities_.begin(),
                    [](const MapCity& a, const MapCity& b) {
                        return a.latitude == b.latitude && a.longitude == b.longitude;
                    });
    cities_ = std::move(cities);
    current_ = current >= 1 && current <= static_cast<int>(cities_.size()) ? current : 0;
    if (markersChanged)
        repaintMarkers();
    invalidate();
}

void DaylightMapView::repaintMarkers() {
    if (!map_.loaded() || !map_.picture())
        return;
    // Markers are painted into the picture; taking markers away needs a fresh picture.
    map_.compose();
    map_.drawMarkers(cities_);
}

Point DaylightMapView::cityPoint(int row) const {
    if (row < 1 || row > static_cast<int>(cities_.size()))
        return {};
    Point p = map_.project(cities_[static_cast<std::size_t>(row - 1)]);
    return {rect.left + p.x, rect.top + p.y};
}

int DaylightMapView::cityAt(Point point) const {
    int reach = kTapReach * ui::layoutUnit();
    long best = static_cast<long>(reach) * reach + 1;
    int found = 0;
    for (int row = 1; row <= static_cast<int>(cities_.size()); ++row) {
        Point p = cityPoint(row);
        long dx = p.x - point.x;
        long dy = p.y - point.y;
        long distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            found = row;
        }
    }
    return found;
}

Rect DaylightMapView::ringRect() const {
    if (current_ == 0 || !map_.loaded())
        return {};
    Rect patch = map_.pulseRect(map_.project(cities_[static_cast<std::size_t>(current_ - 1)]));
    return patch.isEmpty() ? Rect{} : patch.offset(rect.left, rect.top);
}

void DaylightMapView::advancePulse() {
    frame_ = DaylightMap::nextPulseFrame(frame_);
    Rect ring = ringRect();
    if (!ring.isEmpty() && owner && isVisible)
        owner->invalidateRect(ring);
}

void DaylightMapView::paint(DeviceContext& dc, const Rect& invalid) {
    const Bitmap* picture = map_.picture();
    if (!picture) {
        dc.fillRect(rect, kMissingMapColour);
        return;
    }
    Rect area = rect.intersect(invalid);
    if (!area.isEmpty())
        dc.drawBitmap(area, *picture, {area.left - rect.left, area.top - rect.top});
    Rect ring = ringRect();
    if (current_ == 0 || !ring.intersects(invalid))
        return;
    PulsePatch patch =
        map_.pulseFrame(map_.project(cities_[static_cast<std::size_t>(current_ - 1)]), frame_);
    if (patch.pixels)
        dc.drawBitmap(patch.rect.offset(rect.left, rect.top), *patch.pixels, {0, 0});
}

bool DaylightMapView::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonDown)
        return false;
    int row = cityAt(point);
    if (row > 0 && onCityTapped)
        onCityTapped(row);
    return row > 0;
}

}  // namespace worldtime
