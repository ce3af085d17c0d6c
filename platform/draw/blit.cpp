// Copying pixels between contexts and bitmaps: blit, nearest-neighbour stretch, raster ops.

#include <cstring>
#include <vector>

#include "platform/api/draw.h"
#include "platform/draw/dc_impl.h"
#include "platform/draw/raster.h"

namespace platform {

using drawing::clampCoord;
using drawing::clampRect;
using drawing::Surface;

drawing::Surface DeviceContext::Impl::readableSurface(const DeviceContext& dc) {
    Surface s = surface(dc);
    const Size area = dc.size();
    const Rect bounds{0, 0, s.bitmap->width(), s.bitmap->height()};
    s.clip = Rect{0, 0, area.width, area.height}.offset(s.origin.x, s.origin.y).intersect(bounds);
    return s;
}

namespace {

void applyRow(std::uint8_t* d, const std::uint8_t* s, std::size_t bytes, RasterOp op) {
    switch (op) {
        case RasterOp::SrcAnd:
            for (std::size_t i = 0; i < bytes; ++i) d[i] &= s[i];
            break;
        case RasterOp::SrcPaint:
            for (std::size_t i = 0; i < bytes; ++i) d[i] |= s[i];
            break;
        case RasterOp::SrcInvert:
            for (std::size_t i = 0; i < bytes; ++i) d[i] ^= s[i];
            break;
        default:
            std::memmove(d, s, bytes);
            break;
    }
}

// A private copy of part of a bitmap, for copies whose source and destination overlap.
struct Snapshot {
    Rect area;
    std::size_t rowBytes = 0;
    std::vector<std::uint8_t> bytes;

    Snapshot(const Bitmap& b, const Rect& r)
        : area(r), rowBytes(static_cast<std::size_t>(r.width()) * 3), bytes(rowBytes * r.height()) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::memcpy(&bytes[(y - r.top) * rowBytes], drawing::pixelAt(b, r.left, y), rowBytes);
        }
    }
    const std::uint8_t* at(int x, int y) const {
        return &bytes[(y - area.top) * rowBytes + static_cast<std::size_t>(x - area.left) * 3];
    }
};

// Copies the target rectangle dstT of the destination from the source bitmap, where target
// pixel (x, y) takes source pixel (x + dx, y + dy). dstT must already be limited to pixels
// whose source lies in the readable area.
void copyArea(Bitmap& dst, const Rect& dstT, const Bitmap& src, int dx, int dy, RasterOp op) {
    if (dstT.isEmpty())
        return;
    const std::size_t bytes = static_cast<std::size_t>(dstT.width()) * 3;
    if (&dst == &src) {
        const Snapshot snap(src, dstT.offset(dx, dy));
        for (int y = dstT.top; y < dstT.bottom; ++y) {
            applyRow(drawing::pixelAt(dst, dstT.left, y), snap.at(dstT.left + dx, y + dy), bytes,
                     op);
        }
        return;
    }
    for (int y = dstT.top; y < dstT.bottom; ++y) {
        applyRow(drawing::pixelAt(dst, dstT.left, y), drawing::pixelAt(src, dstT.left + dx, y + dy),
                 bytes, op);
    }
}

// The target rectangle a copy writes and the offset to its source, from a destination
// rectangle in context coordinates and the source point for its top-left corner (in source
// target coordinates, unclamped).
void copyClipped(const Surface& d, const Rect& dst, const Bitmap& src, const Rect& readable,
                 long long srcTargetX, long long srcTargetY, RasterOp op) {
    const Rect k = clampRect(dst);
    const Rect dstT = d.toTarget(k);
    if (dstT.isEmpty())
        return;
    const long long dx = srcTargetX - (static_cast<long long>(k.left) + d.origin.x);
    const long long dy = srcTargetY - (static_cast<long long>(k.top) + d.origin.y);
    const Rect fromSource{clampCoord(readable.left - dx), clampCoord(readable.top - dy),
                          clampCoord(readable.right - dx), clampCoord(readable.bottom - dy)};
    const Rect area = dstT.intersect(fromSource);
    if (area.isEmpty())
        return;
    copyArea(*d.bitmap, area, src, static_cast<int>(dx), static_cast<int>(dy), op);
}

}  // namespace

void DeviceContext::blit(const Rect& dst, const DeviceContext& src, Point srcOrigin, RasterOp op) {
    if (op == RasterOp::PatCopy) {
        fillRect(dst, brush_);
        return;
    }
    const Surface d = Impl::surface(*this);
    const Surface s = Impl::readableSurface(src);
    copyClipped(d, dst, *s.bitmap, s.clip, static_cast<long long>(srcOrigin.x) + s.origin.x,
                static_cast<long long>(srcOrigin.y) + s.origin.y, op);
}

void DeviceContext::drawBitmap(const Rect& dst, const Bitmap& src, Point srcOrigin) {
    const Surface d = Impl::surface(*this);
    copyClipped(d, dst, src, Rect{0, 0, src.width(), src.height()}, srcOrigin.x, srcOrigin.y,
                RasterOp::SrcCopy);
}

// Nearest neighbour: destination pixel i of n samples the source pixel under its centre,
// floor((i + 0.5) * sourceSize / n). Destination pixels whose source lies outside the
// source's drawable area are left alone.
void DeviceContext::stretchBlit(const Rect& dst, const DeviceContext& src, const Rect& srcRect,
                                RasterOp op) {
    const Rect dk = clampRect(dst);
    const Rect sk = clampRect(srcRect);
    if (dk.isEmpty() || sk.isEmpty())
        return;
    if (dk.width() == sk.width() && dk.height() == sk.height()) {
        blit(dk, src, {sk.left, sk.top}, op);
        return;
    }
    if (op == RasterOp::PatCopy) {
        fillRect(dk, brush_);
        return;
    }
    const Surface d = Impl::surface(*this);
    const Surface s = Impl::readableSurface(src);
    const Rect dstT = d.toTarget(dk);
    if (dstT.isEmpty())
        return;

    auto sample = [](int i, int dstSize, int srcStart, int srcSize) {
        return srcStart + static_cast<int>((2LL * i + 1) * srcSize / (2LL * dstSize));
    };
    // Byte offset of each destination column's source pixel from the readable area's left
    // edge, or -1 where the source lies outside it.
    std::vector<int> columns(dstT.width());
    for (int x = dstT.left; x < dstT.right; ++x) {
        const int i = x - (dk.left + d.origin.x);
        const int sx = sample(i, dk.width(), sk.left, sk.width()) + s.origin.x;
        columns[x - dstT.left] =
            sx >= s.clip.left && sx < s.clip.right ? (sx - s.clip.left) * 3 : -1;
    }
    // When both contexts share a bitmap, sample from a copy so earlier writes are not read.
    std::unique_ptr<Snapshot> snap;
    if (s.bitmap == d.bitmap && !s.clip.isEmpty())
        snap = std::make_unique<Snapshot>(*s.bitmap, s.clip);
    for (int y = dstT.top; y < dstT.bottom; ++y) {
        const int j = y - (dk.top + d.origin.y);
        const int sy = sample(j, dk.height(), sk.top, sk.height()) + s.origin.y;
        if (sy < s.clip.top || sy >= s.clip.bottom)
            continue;
        const std::uint8_t* in =
            snap ? snap->at(s.clip.left, sy) : drawing::pixelAt(*s.bitmap, s.clip.left, sy);
        std::uint8_t* out = drawing::pixelAt(*d.bitmap, dstT.left, y);
        for (int x = 0; x < dstT.width(); ++x, out += 3) {
            const int offset = columns[x];
            if (offset < 0)
                continue;
            if (op == RasterOp::SrcCopy) {
                out[0] = in[offset];
                out[1] = in[offset + 1];
                out[2] = in[offset + 2];
            } else {
                applyRow(out, in + offset, 3, op);
            }
        }
    }
}

}  // namespace platform
