#pragma once
// Pictures as the screens hold them: a colour bitmap (from a JPEG file, or a DIB made by the
// system) and, for Targa files, the decoded RGBA pixels. Images are shared by file name
// through the image cache (image_cache.h) and counted by references.

#include <memory>
#include <string>
#include <string_view>

#include "gfx/dib.h"
#include "gfx/targa.h"

namespace gfx {

enum ImageKind : int {
    TargaImage = 0,
    ShellImage = 100,  // loaded by the platform's picture loader (JPEG)
};

struct Image {
    Dib bitmap;     // the colour bitmap; null when the file did not load
    Dib alternate;  // a stretched alternate; may be null
    // Description of the colour bitmap. With twoFrames the file holds a normal and a
    // pressed frame side by side, and width is the width of one frame.
    int width = 0;
    int height = 0;
    int bytesPerRow = 0;
    int bitsPerPixel = 0;
    int refCount = 0;
    std::wstring name;  // as given to the cache
    bool twoFrames = false;
    int kind = TargaImage;
    std::unique_ptr<TargaPixels> targa;  // Targa pictures only; null when not decoded

    // Reads the description from the colour bitmap (all zero without one).
    void describe();
};

// Loads a picture with the platform's picture loader into image.bitmap: mainPath + path, or
// path alone when mainPath is empty. A file that does not load leaves the bitmap null; the
// caller tests it.
void loadShellImage(std::wstring_view mainPath, std::wstring_view path, Image& image);

// Loads a picture into a new DIB of its own size; null when it does not load.
Dib loadShellImageAsDib(std::wstring_view devicePath);

// Replaces the colour bitmap (and the alternate, when there is one) by DIBs of the given size,
// stretched from the old ones.
void stretchImage(Image& image, int width, int height);

// Copies the top-left part of the colour bitmap into rect of dc.
void blitImage(const Image& image, platform::DeviceContext& dc, const platform::Rect& rect);

}  // namespace gfx
