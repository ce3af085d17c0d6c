// Lines, polygons and ellipses. Filled shapes sample pixel centres: pixel (x, y) is inside
// when (x + 0.5, y + 0.5) is, with edges half-open so that shapes sharing an edge never
// both paint it. Polygons use the even-odd rule, the handheld's default fill mode.

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "platform/api/draw.h"
#include "platform/draw/dc_impl.h"
#include "platform/draw/raster.h"

namespace platform {

using drawing::Surface;

namespace {

struct PointF {
    double x;
    double y;
};

// Calls paint(y, x0, x1) for each run of target pixels inside the polygon (even-odd rule)
// and the clip.
template <typename Paint>
void scanPolygon(const std::vector<PointF>& pts, const Rect& clip, Paint paint) {
    if (pts.size() < 3 || clip.isEmpty())
        return;
    double minY = pts[0].y, maxY = pts[0].y;
    for (const PointF& p : pts) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const int y0 = std::max(clip.top, static_cast<int>(std::floor(std::max(minY, -1e9))));
    const int y1 = std::min(clip.bottom, static_cast<int>(std::ceil(std::min(maxY, 1e9))) + 1);
    std::vector<double> xs;
    for (int y = y0; y < y1; ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const PointF& a = pts[i];
            const PointF& b = pts[(i + 1) % pts.size()];
            if (a.y == b.y)
                continue;
            const double lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
            if (cy < lo || cy >= hi)
                continue;
            xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            // Pixel centres in [xs[i], xs[i + 1]).
            const double from = std::clamp(std::ceil(xs[i] - 0.5), -1e9, 1e9);
            const double to = std::clamp(std::ceil(xs[i + 1] - 0.5), -1e9, 1e9);
            const int x0 = std::max(clip.left, static_cast<int>(from));
            const int x1 = std::min(clip.right, static_cast<int>(to));
            if (x0 < x1)
                paint(y, x0, x1);
        }
    }
}

// A segment of the given width with round caps, as a polygon in target coordinates.
std::vector<PointF> capsule(PointF a, PointF b, double radius) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double angle = (dx == 0 && dy == 0) ? 0.0 : std::atan2(dy, dx);
    const int steps = std::clamp(static_cast<int>(radius * 2) + 4, 4, 32);
    std::vector<PointF> pts;
    pts.reserve(2 * steps + 2);
    // Around b from angle - 90 degrees to angle + 90, then around a back again.
    for (int i = 0; i <= steps; ++i) {
        const double t = angle - std::numbers::pi / 2 + std::numbers::pi * i / steps;
        pts.push_back({b.x + radius * std::cos(t), b.y + radius * std::sin(t)});
    }
    for (int i = 0; i <= steps; ++i) {
        const double t = angle + std::numbers::pi / 2 + std::numbers::pi * i / steps;
        pts.push_back({a.x + radius * std::cos(t), a.y + radius * std::sin(t)});
    }
    return pts;
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// A one-pixel line from (x1, y1) towards (x2, y2), end point excluded. Each step along the
// major axis computes its minor coordinate directly, so only the part inside the clip is
// walked, however long the line.
void thinLine(const Surface& s, long long x1, long long y1, long long x2, long long y2, Colour c) {
    const long long dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0)
        return;
    const long long major0 = xMajor ? x1 : y1;
    const long long minor0 = xMajor ? y1 : x1;
    const long long step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long minorDelta = xMajor ? dy : dx;
    const long long lo = xMajor ? s.clip.left : s.clip.top;
    const long long hi = xMajor ? s.clip.right : s.clip.bottom;
    // Steps i in [0, n) whose major coordinate major0 + step * i lies in [lo, hi).
    long long iFrom = 0, iTo = n;
    if (step > 0) {
        iFrom = std::max(iFrom, lo - major0);
        iTo = std::min(iTo, hi - major0);
    } else {
        iFrom = std::max(iFrom, major0 - hi + 1);
        iTo = std::min(iTo, major0 - lo + 1);
    }
    for (long long i = iFrom; i < iTo; ++i) {
        const long long major = major0 + step * i;
        const long long minor = minor0 + floorDiv(2 * i * minorDelta + n, 2 * n);
        const long long x = xMajor ? major : minor;
        const long long y = xMajor ? minor : major;
        if (x < s.clip.left || x >= s.clip.right || y < s.clip.top || y >= s.clip.bottom)
            continue;
        drawing::storePixel(drawing::pixelAt(*s.bitmap, static_cast<int>(x), static_cast<int>(y)),
                            c);
    }
}

// Coverage of a pixel by an axis-aligned ellipse with radii rx, ry, from the pixel centre's
// offset to the ellipse centre: the signed distance to the edge is estimated as f / |grad f|.
double ellipseCoverage(double dx, double dy, double rx, double ry) {
    if (rx <= 0 || ry <= 0)
        return 0.0;
    const double f = (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) - 1.0;
    const double gx = 2 * dx / (rx * rx), gy = 2 * dy / (ry * ry);
    const double g = std::sqrt(gx * gx + gy * gy);
    if (g < 1e-12)
        return f < 0 ? 1.0 : 0.0;
    return std::clamp(0.5 - f / g, 0.0, 1.0);
}

}  // namespace

void DeviceContext::polygon(std::span<const Point> points) {
    if (points.empty())
        return;
    const Surface s = Impl::surface(*this);
    if (brush_.visible && points.size() >= 3) {
        std::vector<PointF> pts;
        pts.reserve(points.size());
        for (const Point& p : points) {
            pts.push_back(
                {static_cast<double>(p.x) + s.origin.x, static_cast<double>(p.y) + s.origin.y});
        }
        scanPolygon(pts, s.clip, [&](int y, int x0, int x1) {
            drawing::fillTargetRectWithBrush(*s.bitmap, {x0, y, x1, y + 1}, brush_, s.origin,
                                             textColour_, backgroundColour_);
        });
    }
    if (pen_.visible) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % points.size()];
            line(a.x, a.y, b.x, b.y, pen_.colour, pen_.width);
        }
    }
}

void DeviceContext::moveTo(int x, int y) {
    penPosition_ = {x, y};
}

void DeviceContext::lineTo(int x, int y) {
    if (pen_.visible)
        line(penPosition_.x, penPosition_.y, x, y, pen_.colour, pen_.width);
    penPosition_ = {x, y};
}

// Lines wider than a pixel have round caps and include both end points.
void DeviceContext::line(int x1, int y1, int x2, int y2, Colour c, int width) {
    const Surface s = Impl::surface(*this);
    c &= 0xFFFFFF;
    // End points far off the surface are pulled in (bending only lines that could never be
    // seen whole) so the stepping arithmetic stays within 64 bits.
    auto at = [](int v, int o) { return drawing::clampCoord(static_cast<long long>(v) + o); };
    const int ax = at(x1, s.origin.x), ay = at(y1, s.origin.y);
    const int bx = at(x2, s.origin.x), by = at(y2, s.origin.y);
    if (width <= 1) {
        thinLine(s, ax, ay, bx, by, c);
        return;
    }
    const PointF a{ax + 0.5, ay + 0.5};
    const PointF b{bx + 0.5, by + 0.5};
    scanPolygon(capsule(a, b, width / 2.0), s.clip,
                [&](int y, int x0, int xEnd) { drawing::fillSpan(*s.bitmap, y, x0, xEnd, c); });
}

// Each pixel is covered by the part of the unit box around its centre that the line's
// cross-section overlaps, measured along the distance to the segment (round caps).
void DeviceContext::antialiasedLine(double x1, double y1, double x2, double y2, Colour c,
                                    double width) {
    for (double v : {x1, y1, x2, y2, width}) {
        if (!std::isfinite(v))
            return;
    }
    if (!(width > 0))
        return;
    const Surface s = Impl::surface(*this);
    c &= 0xFFFFFF;
    // Far-off coordinates are pulled in so the distance arithmetic cannot overflow.
    auto at = [](double v, int o) {
        return std::clamp(v + o, -double{drawing::kCoordLimit}, double{drawing::kCoordLimit});
    };
    const double r = std::min(width, double{drawing::kCoordLimit}) / 2;
    const PointF a{at(x1, s.origin.x), at(y1, s.origin.y)};
    const PointF b{at(x2, s.origin.x), at(y2, s.origin.y)};
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    const auto reach = capsule(a, b, r + 1.0);
    scanPolygon(reach, s.clip, [&](int y, int x0, int xEnd) {
        std::uint8_t* p = drawing::pixelAt(*s.bitmap, x0, y);
        for (int x = x0; x < xEnd; ++x, p += 3) {
            const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
            const double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            const double d = std::hypot(px - t * vx, py - t * vy);
            const double cover = std::clamp(std::min(d + 0.5, r) - std::max(d - 0.5, -r), 0.0, 1.0);
            drawing::blendPixel(p, c, static_cast<int>(cover * 255 + 0.5));
        }
    });
}

// The pen's outline (its width inside the bounding box) and the brush inside it, both with
// anti-aliased edges.
void DeviceContext::ellipse(const Rect& r) {
    const Surface s = Impl::surface(*this);
    const Rect k = drawing::clampRect(r);
    const Rect box = s.toTarget(k);
    if (box.isEmpty() || (!pen_.visible && !brush_.visible))
        return;
    const double cx = (static_cast<double>(k.left) + k.right) / 2 + s.origin.x;
    const double cy = (static_cast<double>(k.top) + k.bottom) / 2 + s.origin.y;
    const double rx = k.width() / 2.0, ry = k.height() / 2.0;
    const double penWidth = pen_.visible ? std::max(1, pen_.width) : 0.0;
    const double innerRx = rx - penWidth, innerRy = ry - penWidth;
    const bool solidInside = brush_.visible && !brush_.patterned;
    for (int y = box.top; y < box.bottom; ++y) {
        const double dy = y + 0.5 - cy;
        // Per row, skip pixels certainly outside and fill those certainly inside the inner
        // ellipse in one go; only the band around the edges needs coverage computed.
        const double near = std::max(0.0, std::abs(dy) - 1.0), far = std::abs(dy) + 1.0;
        const double outerReach = near < ry ? rx * std::sqrt(1 - (near * near) / (ry * ry)) + 1 : 0;
        const double innerSafe =
            far < innerRy && innerRx > 0
                ? innerRx * std::sqrt(1 - (far * far) / (innerRy * innerRy)) - 1
                : 0;
        const int x0 = std::max(box.left, static_cast<int>(std::floor(cx - outerReach)));
        const int x1 = std::min(box.right, static_cast<int>(std::ceil(cx + outerReach)));
        const int solid0 = static_cast<int>(std::ceil(cx - innerSafe));
        const int solid1 = static_cast<int>(std::floor(cx + innerSafe));
        std::uint8_t* p = x0 < x1 ? drawing::pixelAt(*s.bitmap, x0, y) : nullptr;
        for (int x = x0; x < x1; ++x, p += 3) {
            if (x >= solid0 && x < solid1) {
                // Entirely inside the brush area (or the empty middle of an outline).
                if (solidInside) {
                    const int end = std::min(solid1, x1);
                    drawing::fillSpan(*s.bitmap, y, x, end, brush_.colour & 0xFFFFFF);
                    p += 3 * (end - 1 - x);
                    x = end - 1;
                    continue;
                }
                if (!brush_.visible)
                    continue;
            }
            const double dx = x + 0.5 - cx;
            const double outer = ellipseCoverage(dx, dy, rx, ry);
            if (outer <= 0)
                continue;
            const double inner = penWidth > 0 ? ellipseCoverage(dx, dy, innerRx, innerRy) : outer;
            Colour fill;
            double alpha;
            if (!pen_.visible) {
                fill = drawing::brushColourAt(brush_, x - s.origin.x, y - s.origin.y, textColour_,
                                              backgroundColour_);
                alpha = outer;
            } else if (!brush_.visible) {
                fill = pen_.colour;
                alpha = std::max(0.0, outer - inner);
            } else {
                const Colour b = drawing::brushColourAt(brush_, x - s.origin.x, y - s.origin.y,
                                                        textColour_, backgroundColour_);
                fill = drawing::mixColour(pen_.colour & 0xFFFFFF, b,
                                          static_cast<int>(inner / outer * 255 + 0.5));
                alpha = outer;
            }
            drawing::blendPixel(p, fill & 0xFFFFFF, static_cast<int>(alpha * 255 + 0.5));
        }
    }
}

}  // namespace platform
