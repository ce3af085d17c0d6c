#include "ui/picture.h"

#include <algorithm>

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
    // The frame at the target's size, then copied pixel by pixel where it is not white.
    auto frameBitmap = std::make_shared<platform::Bitmap>(target.width(), target.height());
    platform::DeviceContext scratch;
    scratch.selectBitmap(frameBitmap);
    draw(scratch, {0, 0, target.width(), target.height()}, frame);
    platform::Rect visible = target.intersect(dc.clip());
    for (int y = visible.top; y < visible.bottom; ++y) {
        for (int x = visible.left; x < visible.right; ++x) {
            platform::Colour c = frameBitmap->pixel(x - target.left, y - target.top);
            if (!nearWhite(c))
                dc.setPixel(x, y, c);
        }
    }
    scratch.selectBitmap(nullptr);
}

}  // namespace ui
