#pragma once
// The process-wide picture cache: 200 slots of images shared by file name and kind, counted
// by references. Unreferenced images stay in their slots, ready for a quick hit, until the
// cache is trimmed (when the main window is deactivated, when a slot is needed, or when a
// screen releases with trim). Main thread only.

#include <array>
#include <memory>
#include <string_view>

#include "gfx/image.h"

namespace gfx {

class ImageCache {
  public:
    static constexpr int SlotCount = 200;

    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // A JPEG picture, mainPath + path (path alone when mainPath is empty), with one more
    // reference. A picture that does not load still gets an image, without a bitmap.
    Image* acquireShellImage(std::wstring_view mainPath, std::wstring_view path, bool twoFrames);
    // A Targa picture by its full device path, with one more reference; image->targa is null
    // when the file did not decode.
    Image* acquireTargaImage(std::wstring_view path);

    // Gives a reference back; with trim, unreferenced images are destroyed at once. An image
    // that never found a slot (the cache was full) is destroyed with its last reference.
    void releaseImage(Image* image, bool trim);
    void trimImageCache();

    int filledSlots() const { return filled_; }

  private:
    Image* find(std::wstring_view name, int kind) const;
    Image* store(std::unique_ptr<Image> image);
    bool holds(const Image* image) const;
    void resetIfCorrupt();

    std::array<std::unique_ptr<Image>, SlotCount> slots_;
    int filled_ = 0;
};

// The cache of this process.
ImageCache& imageCache();

// The process cache's operations, for brevity at the call sites.
Image* acquireShellImage(std::wstring_view mainPath, std::wstring_view path, bool twoFrames);
Image* acquireTargaImage(std::wstring_view path);
void releaseImage(Image* image, bool trim);
void trimImageCache();

}  // namespace gfx
