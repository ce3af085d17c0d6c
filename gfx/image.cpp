#include "gfx/image.h"

#include <string>

namespace gfx {
namespace {

// A new DIB of the given size, filled from source by a plain stretching copy.
Dib stretchedCopy(const std::shared_ptr<platform::Bitmap>& source, int width, int height) {
    Dib copy = createDib24(width, height);
    if (!copy)
        return nullptr;
    platform::DeviceContext from;
    platform::DeviceContext to;
    from.selectBitmap(source);
    to.selectBitmap(copy);
    to.stretchBlit({0, 0, width, height}, from, {0, 0, source->width(), source->height()});
    to.selectBitmap(nullptr);
    from.selectBitmap(nullptr);
    return copy;
}

}  // namespace

void Image::describe() {
    if (!bitmap) {
        width = height = bytesPerRow = bitsPerPixel = 0;
        return;
    }
    width = twoFrames ? bitmap->width() / 2 : bitmap->width();
    height = bitmap->height();
    bytesPerRow = bitmap->stride();
    bitsPerPixel = 24;
}

void loadShellImage(std::wstring_view mainPath, std::wstring_view path, Image& image) {
    std::wstring full(mainPath);
    full += path;
    image.bitmap = platform::loadJpeg(full);
}

Dib loadShellImageAsDib(std::wstring_view devicePath) {
    const auto loaded = platform::loadJpeg(devicePath);
    if (!loaded)
        return nullptr;
    return stretchedCopy(loaded, loaded->width(), loaded->height());
}

void stretchImage(Image& image, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    if (image.bitmap)
        image.bitmap = stretchedCopy(image.bitmap, width, height);
    if (image.alternate)
        image.alternate = stretchedCopy(image.alternate, width, height);
    image.describe();
}

void blitImage(const Image& image, platform::DeviceContext& dc, const platform::Rect& rect) {
    if (!image.bitmap)
        return;
    dc.drawBitmap(rect, *image.bitmap, {0, 0});
}

}  // namespace gfx
