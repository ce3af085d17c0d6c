#include "gfx/image_cache.h"

#include "core/message_box.h"
#include "platform/api/shell.h"

namespace gfx {

Image* ImageCache::find(std::wstring_view name, int kind) const {
    for (const auto& slot : slots_) {
        if (!slot || slot->kind != kind || slot->name != name)
            continue;
        // A Targa image whose file did not decode is not reused: the next request tries again.
        if (kind == TargaImage && !slot->targa)
            continue;
        return slot.get();
    }
    return nullptr;
}

bool ImageCache::holds(const Image* image) const {
    for (const auto& slot : slots_) {
        if (slot.get() == image)
            return true;
    }
    return false;
}

// The filled-slot count can only go wrong through a fault elsewhere; when it does, the
// slots are emptied rather than trusted. Images still referenced live on outside the cache
// and go with their last reference.
void ImageCache::resetIfCorrupt() {
    if (filled_ >= 0 && filled_ <= SlotCount)
        return;
    for (auto& slot : slots_) {
        if (slot && slot->refCount > 0) {
            slot.release();  // now owned by its references; see releaseImage
        }
        slot.reset();
    }
    filled_ = 0;
}

Image* ImageCache::store(std::unique_ptr<Image> image) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (auto& slot : slots_) {
            if (slot)
                continue;
            slot = std::move(image);
            ++filled_;
            return slot.get();
        }
        if (attempt == 0)
            trimImageCache();
    }
    core::showMessageBox(L"bmp cachefull", L"", platform::mb::IconQuestion);
    return image.release();
}

Image* ImageCache::acquireShellImage(std::wstring_view mainPath, std::wstring_view path,
                                     bool twoFrames) {
    resetIfCorrupt();
    if (Image* hit = find(path, ShellImage)) {
        ++hit->refCount;
        return hit;
    }
    auto image = std::make_unique<Image>();
    image->kind = ShellImage;
    image->twoFrames = twoFrames;
    image->name = path;
    loadShellImage(mainPath, path, *image);
    image->describe();
    image->refCount = 1;
    return store(std::move(image));
}

Image* ImageCache::acquireTargaImage(std::wstring_view path) {
    resetIfCorrupt();
    if (Image* hit = find(path, TargaImage)) {
        ++hit->refCount;
        return hit;
    }
    auto image = std::make_unique<Image>();
    image->kind = TargaImage;
    image->name = path;
    loadTarga(path, image->targa);
    if (image->targa) {
        image->width = image->targa->width;
        image->height = image->targa->height;
    }
    image->refCount = 1;
    return store(std::move(image));
}

void ImageCache::releaseImage(Image* image, bool trim) {
    if (!image)
        return;
    --image->refCount;
    if (image->refCount <= 0 && !holds(image))
        delete image;
    if (trim)
        trimImageCache();
}

void ImageCache::trimImageCache() {
    for (auto& slot : slots_) {
        if (slot && slot->refCount <= 0) {
            slot.reset();
            --filled_;
        }
    }
}

ImageCache& imageCache() {
    static ImageCache cache;
    return cache;
}

Image* acquireShellImage(std::wstring_view mainPath, std::wstring_view path, bool twoFrames) {
    return imageCache().acquireShellImage(mainPath, path, twoFrames);
}

Image* acquireTargaImage(std::wstring_view path) {
    return imageCache().acquireTargaImage(path);
}

void releaseImage(Image* image, bool trim) {
    imageCache().releaseImage(image, trim);
}

void trimImageCache() {
    imageCache().trimImageCache();
}

}  // namespace gfx
