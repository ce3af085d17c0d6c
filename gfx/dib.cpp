#include "gfx/dib.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace gfx {
namespace {

std::atomic<int> liveDibs{0};

struct ScratchState {
    Dib dib;
    std::unique_ptr<platform::DeviceContext> dc;
};

ScratchState& scratchState() {
    static ScratchState state;
    return state;
}

}  // namespace

Dib createDib24(int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    // A size no memory holds is a bitmap that could not be made, as for any other failure.
    platform::Bitmap* bitmap = nullptr;
    try {
        bitmap = new platform::Bitmap(width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    ++liveDibs;
    return Dib(bitmap, [](platform::Bitmap* b) {
        --liveDibs;
        delete b;
    });
}

int liveDibCount() {
    return liveDibs.load();
}

Scratch scratchDib(int width, int height) {
    auto& s = scratchState();
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!s.dib || s.dib->width() != width || s.dib->height() != height) {
        if (!s.dc)
            s.dc = std::make_unique<platform::DeviceContext>();
        s.dc->selectBitmap(nullptr);
        s.dib = createDib24(width, height);
        s.dc->selectBitmap(s.dib);
    }
    return {*s.dib, *s.dc};
}

void releaseScratchDib() {
    auto& s = scratchState();
    if (s.dc)
        s.dc->selectBitmap(nullptr);
    s.dib.reset();
}

}  // namespace gfx
