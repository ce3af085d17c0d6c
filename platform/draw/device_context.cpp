// Device context state, clipping, rectangle fills, pixels and gradients.

#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/api/draw.h"
#include "platform/draw/dc_impl.h"
#include "platform/draw/raster.h"

namespace platform {

using drawing::clampRect;
using drawing::Surface;

drawing::Surface DeviceContext::Impl::surface(const DeviceContext& dc) {
    Bitmap& b = *dc.target_;
    const Rect bounds{0, 0, b.width(), b.height()};
    Rect area = dc.windowContext_ ? clampRect(dc.baseClip_) : bounds;
    if (dc.userClip_)
        area = area.intersect(clampRect(*dc.userClip_));
    const Point origin{drawing::clampCoord(dc.origin_.x), drawing::clampCoord(dc.origin_.y)};
    return Surface{&b, origin, area.offset(origin.x, origin.y).intersect(bounds)};
}

DeviceContext::DeviceContext() : target_(std::make_shared<Bitmap>(1, 1)) {}

DeviceContext::DeviceContext(std::shared_ptr<Bitmap> target, Point origin, Rect clip, Size size)
    : target_(target ? std::move(target) : std::make_shared<Bitmap>(1, 1)),
      origin_(origin),
      baseClip_(clip),
      windowSize_(size),
      windowContext_(true) {}

DeviceContext::~DeviceContext() = default;

std::shared_ptr<Bitmap> DeviceContext::selectBitmap(std::shared_ptr<Bitmap> bitmap) {
    if (windowContext_)
        return nullptr;
    auto previous = std::move(target_);
    target_ = bitmap ? std::move(bitmap) : std::make_shared<Bitmap>(1, 1);
    return previous;
}

FontRef DeviceContext::selectFont(FontRef font) {
    auto previous = std::move(font_);
    font_ = std::move(font);
    return previous;
}

Pen DeviceContext::selectPen(const Pen& pen) {
    Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush DeviceContext::selectBrush(const Brush& brush) {
    Brush previous = brush_;
    brush_ = brush;
    return previous;
}

Colour DeviceContext::setTextColour(Colour c) {
    return std::exchange(textColour_, c & 0xFFFFFF);
}

Colour DeviceContext::setBackgroundColour(Colour c) {
    return std::exchange(backgroundColour_, c & 0xFFFFFF);
}

BackgroundMode DeviceContext::setBackgroundMode(BackgroundMode m) {
    return std::exchange(backgroundMode_, m);
}

void DeviceContext::setClip(const Rect& r) {
    userClip_ = r;
}

void DeviceContext::clearClip() {
    userClip_.reset();
}

Rect DeviceContext::clip() const {
    const Surface s = Impl::surface(*this);
    if (s.clip.isEmpty())
        return Rect{};
    return s.clip.offset(-s.origin.x, -s.origin.y);
}

Size DeviceContext::size() const {
    if (!windowContext_)
        return {target_->width(), target_->height()};
    if (windowSize_.width > 0 && windowSize_.height > 0)
        return windowSize_;
    return {std::max(baseClip_.right, 0), std::max(baseClip_.bottom, 0)};
}

void DeviceContext::fillRect(const Rect& r, Colour c) {
    const Surface s = Impl::surface(*this);
    drawing::fillTargetRect(*s.bitmap, s.toTarget(r), c & 0xFFFFFF);
}

void DeviceContext::fillRect(const Rect& r, const Brush& b) {
    if (!b.visible)
        return;
    const Surface s = Impl::surface(*this);
    drawing::fillTargetRectWithBrush(*s.bitmap, s.toTarget(r), b, s.origin, textColour_,
                                     backgroundColour_);
}

void DeviceContext::frameRect(const Rect& r, Colour c) {
    const Rect k = clampRect(r);
    if (k.isEmpty())
        return;
    fillRect({k.left, k.top, k.right, k.top + 1}, c);
    fillRect({k.left, k.bottom - 1, k.right, k.bottom}, c);
    fillRect({k.left, k.top + 1, k.left + 1, k.bottom - 1}, c);
    fillRect({k.right - 1, k.top + 1, k.right, k.bottom - 1}, c);
}

// The outline is drawn inside r with the pen's width, so a rectangle never paints outside
// the rectangle it was given; the brush fills what the outline leaves.
void DeviceContext::rectangle(const Rect& r) {
    const Rect k = clampRect(r);
    if (k.isEmpty())
        return;
    int inset = 0;
    if (pen_.visible) {
        const int w = std::clamp(pen_.width, 1, std::max(1, std::min(k.width(), k.height())));
        for (int i = 0; i < w; ++i) {
            frameRect({k.left + i, k.top + i, k.right - i, k.bottom - i}, pen_.colour);
        }
        inset = w;
    }
    fillRect({k.left + inset, k.top + inset, k.right - inset, k.bottom - inset}, brush_);
}

Colour DeviceContext::pixel(int x, int y) const {
    const Surface s = Impl::surface(*this);
    const Point p{drawing::clampCoord(static_cast<long long>(x) + s.origin.x),
                  drawing::clampCoord(static_cast<long long>(y) + s.origin.y)};
    if (!s.clip.contains(p))
        return 0;
    return s.bitmap->pixel(p.x, p.y);
}

void DeviceContext::setPixel(int x, int y, Colour c) {
    const Surface s = Impl::surface(*this);
    const Point p{drawing::clampCoord(static_cast<long long>(x) + s.origin.x),
                  drawing::clampCoord(static_cast<long long>(y) + s.origin.y)};
    if (!s.clip.contains(p))
        return;
    s.bitmap->setPixel(p.x, p.y, c & 0xFFFFFF);
}

// Column i of n gets left + (right - left) * i / (n - 1), so the first column is exactly the
// left colour and the last exactly the right one, however the rectangle is clipped.
void DeviceContext::gradientFillHorizontal(const Rect& r, Colour left, Colour right) {
    const Surface s = Impl::surface(*this);
    const Rect k = clampRect(r);
    const Rect t = s.toTarget(k);
    if (t.isEmpty())
        return;
    const long long n = k.width();
    const int leftX = k.left + s.origin.x;
    auto channel = [n](int a, int b, long long i) {
        if (n <= 1)
            return a;
        const long long span = n - 1;
        const long long v = a * (span - i) + b * i;
        return static_cast<int>((v + span / 2) / span);
    };
    for (int x = t.left; x < t.right; ++x) {
        const long long i = x - leftX;
        const Colour c =
            rgb(channel(redOf(left), redOf(right), i), channel(greenOf(left), greenOf(right), i),
                channel(blueOf(left), blueOf(right), i));
        drawing::storePixel(drawing::pixelAt(*s.bitmap, x, t.top), c);
    }
    const std::uint8_t* first = drawing::pixelAt(*s.bitmap, t.left, t.top);
    const std::size_t bytes = static_cast<std::size_t>(t.width()) * 3;
    for (int y = t.top + 1; y < t.bottom; ++y) {
        std::memcpy(drawing::pixelAt(*s.bitmap, t.left, y), first, bytes);
    }
}

}  // namespace platform
