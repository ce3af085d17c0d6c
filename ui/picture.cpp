#include "ui/picture.h"

#include <algorithm>
#include <vector>

#include "gfx/image_cache.h"

namespace ui {
namespace {

// Pixels this close to white count as the picture's background.
constexpr int kWhiteThreshold = 244;

bool nearWhite(platform::Colour c) {
    return platform::redOf(c) >= kWhiteThreshold && platform::greenOf(c) >= kWhiteThreshold &&
           platform::blueOf(c) >= kWhiteThreshold;
}

}  // namespace

Picture::Picture(std::wstring_view mainPath, std::wstring_view path, bool twoFrames)
    : image_(gfx::acquireShellImage(mainPath, path, twoFrames)) {}

Picture::~Picture() {
    release();
}

Picture::Picture(Picture&& other) noexcept : image_(other.image_) {
    other.image_ = nullptr;
}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        release();
        image_ = other.image_;
        other.image_ = nullptr;
    }
    return *this;
}

void Picture::release() {
    if (image_)
        gfx::releaseImage(image_, false);
    image_ = nullptr;
}

void Picture::draw(platform::DeviceContext& dc, const platform::Rect& target, int frame) const {
    if (!loaded() || target.isEmpty())
        return;
    int w = image_->width;
    int x = image_->twoFrames ? std::clamp(frame, 0, 1) * w : 0;
    if (target.width() == w && target.height() == image_->height) {
        dc.drawBitmap(target, *image_->bitmap, {x, 0});
        return;
    }
    platform::DeviceContext source;
    source.selectBitmap(image_->bitmap);
    dc.stretchBlit(target, source, {x, 0, x + w, image_->height});
    source.selectBitmap(nullptr);
}

void Picture::drawOver(platform::DeviceContext& dc, const platform::Rect& target, int frame) const {
    if (!loaded() || target.isEmpty())
        return;
    // The frame at the target's size.
    int w = target.width(), h = target.height();
    auto frameBitmap = std::make_shared<platform::Bitmap>(w, h);
    platform::DeviceContext scratch;
    scratch.selectBitmap(frameBitmap);
    draw(scratch, {0, 0, w, h}, frame);
    scratch.selectBitmap(nullptr);
    // The white around the drawing is background: everything near white that the edges
    // reach. White inside the drawing (a face, a highlight) stays.
    std::vector<std::uint8_t> outside(static_cast<std::size_t>(w) * h, 0);
    std::vector<platform::Point> pending;
    auto reach = [&](int x, int y) {
        std::size_t at = static_cast<std::size_t>(y) * w + x;
        if (outside[at] || !nearWhite(frameBitmap->pixel(x, y)))
            return;
        outside[at] = 1;
        pending.push_back({x, y});
    };
    for (int x = 0; x < w; ++x) {
        reach(x, 0);
        reach(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        reach(0, y);
        reach(w - 1, y);
    }
    while (!pending.empty()) {
        platform::Point p = pending.back();
        pending.pop_back();
        if (p.x > 0)
            reach(p.x - 1, p.y);
        if (p.x + 1 < w)
            reach(p.x + 1, p.y);
        if (p.y > 0)
            reach(p.x, p.y - 1);
        if (p.y + 1 < h)
            reach(p.x, p.y + 1);
    }
    platform::Rect visible = target.intersect(dc.clip());
    for (int y = visible.top; y < visible.bottom; ++y) {
        for (int x = visible.left; x < visible.right; ++x) {
            int fx = x - target.left, fy = y - target.top;
            if (!outside[static_cast<std::size_t>(fy) * w + fx]) {
                dc.setPixel(x, y, frameBitmap->pixel(fx, fy));
            }
        }
    }
}

}  // namespace ui
