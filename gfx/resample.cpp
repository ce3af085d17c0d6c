// The resampling filter: a tent of half-width 1.0, stretched by 1 / scale when shrinking so
// that every source pixel contributes. Each destination pixel gets a short list of source
// pixels and their weights; the lists are built in floating point once per pass, then
// applied with integers.

#include "gfx/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

namespace gfx {
namespace {

constexpr std::int32_t FixedOne = 1 << 16;

// The source pixels and 16.16 weights of every destination pixel of one pass.
struct Contributions {
    std::vector<int> first;   // first source pixel per destination pixel
    std::vector<int> count;   // number of source pixels
    std::vector<int> offset;  // start of the weights in `weights`
    std::vector<std::int32_t> weights;
};

double tent(double d) {
    d = std::fabs(d);
    return d < 1.0 ? 1.0 - d : 0.0;
}

// Normalised weights as fixed point that sum to exactly 1.0, so a flat area keeps its value
// and an opaque alpha stays 255; the rounding remainder goes to the largest weight.
void appendFixedWeights(const std::vector<double>& w, double total,
                        std::vector<std::int32_t>& out) {
    const std::size_t start = out.size();
    std::size_t largest = start;
    std::int32_t sum = 0;
    for (double value : w) {
        out.push_back(static_cast<std::int32_t>(value / total * FixedOne));
        sum += out.back();
        if (out.back() > out[largest])
            largest = out.size() - 1;
    }
    out[largest] += FixedOne - sum;
}

Contributions computeContributions(int sourceLength, int destLength) {
    const double scale = static_cast<double>(destLength) / sourceLength;
    double halfWidth = 1.0;
    double filterScale = 1.0;
    if (scale < 1.0) {
        halfWidth = 1.0 / scale;
        filterScale = scale;
    }
    const int maxSpan = 2 * (static_cast<int>(std::ceil(halfWidth)) + 1);

    Contributions c;
    c.first.reserve(destLength);
    c.count.reserve(destLength);
    c.offset.reserve(destLength);
    std::vector<double> w;
    for (int i = 0; i < destLength; ++i) {
        const double centre = i / scale;
        int left = std::max(0, static_cast<int>(std::floor(centre - halfWidth)));
        int right = std::min(sourceLength - 1, static_cast<int>(std::ceil(centre + halfWidth)));
        if (right - left + 1 > maxSpan) {
            if (left < sourceLength - 1) {
                ++left;
            } else {
                --right;
            }
        }
        w.clear();
        for (int s = left; s <= right; ++s) {
            w.push_back(filterScale * tent(filterScale * (centre - s)));
        }
        // Zero weights at either end of the span add nothing; leave them out.
        std::size_t lo = 0;
        std::size_t hi = w.size();
        while (lo < hi && w[lo] <= 0.0) ++lo;
        while (hi > lo && w[hi - 1] <= 0.0) --hi;
        double total = 0.0;
        for (std::size_t k = lo; k < hi; ++k) total += w[k];
        if (total <= 0.0) {
            // Cannot happen with the tent filter; fall back to the nearest pixel.
            const int nearest = std::clamp(static_cast<int>(centre + 0.5), 0, sourceLength - 1);
            c.first.push_back(nearest);
            c.count.push_back(1);
            c.offset.push_back(static_cast<int>(c.weights.size()));
            c.weights.push_back(FixedOne);
            continue;
        }
        std::vector<double> kept(w.begin() + lo, w.begin() + hi);
        c.first.push_back(left + static_cast<int>(lo));
        c.count.push_back(static_cast<int>(kept.size()));
        c.offset.push_back(static_cast<int>(c.weights.size()));
        appendFixedWeights(kept, total, c.weights);
    }
    return c;
}

inline std::uint8_t clampChannel(std::int32_t sum) {
    const std::int32_t v = sum >> 16;
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One destination pixel of the row pass: the weighted sum of count source pixels from p on,
// Bpp bytes apart, as RGBA (alpha 255 for three-byte pixels).
template <int Bpp>
inline void filterPixel(const std::uint8_t* p, const std::int32_t* w, int count, std::uint8_t* o) {
    std::int32_t sum[4] = {0, 0, 0, 0};
    for (int k = 0; k < count; ++k, p += Bpp) {
        for (int ch = 0; ch < 3; ++ch) sum[ch] += p[ch] * w[k];
        sum[3] += (Bpp == 4 ? p[3] : 255) * w[k];
    }
    for (int ch = 0; ch < 4; ++ch) o[ch] = clampChannel(sum[ch]);
}

template <int Bpp>
bool filterRows(const TargaPixels& src, const Contributions& c, int destWidth, PixelBytes& out,
                const ResampleProgress& progress) {
    const std::size_t outRow = static_cast<std::size_t>(destWidth) * 4;
    for (int y = 0; y < src.height; ++y) {
        if (progress && !progress(y * 50 / src.height))
            return false;
        const std::uint8_t* in = src.row(y);
        std::uint8_t* o = out.data() + y * outRow;
        for (int i = 0; i < destWidth; ++i) {
            filterPixel<Bpp>(in + c.first[i] * Bpp, c.weights.data() + c.offset[i], c.count[i],
                             o + i * 4);
        }
    }
    return true;
}

// Row pass: source rows (bpp bytes per pixel) into rows of destWidth RGBA pixels.
bool resampleRows(const TargaPixels& src, int destWidth, PixelBytes& out,
                  const ResampleProgress& progress) {
    const int bpp = src.bytesPerPixel;
    const std::size_t outRow = static_cast<std::size_t>(destWidth) * 4;
    out.resize(outRow * src.height);
    if (destWidth == src.width) {
        for (int y = 0; y < src.height; ++y) {
            const std::uint8_t* in = src.row(y);
            std::uint8_t* o = out.data() + y * outRow;
            if (bpp == 4) {
                std::memcpy(o, in, outRow);
                continue;
            }
            for (int x = 0; x < destWidth; ++x) {
                o[x * 4] = in[x * 3];
                o[x * 4 + 1] = in[x * 3 + 1];
                o[x * 4 + 2] = in[x * 3 + 2];
                o[x * 4 + 3] = 255;
            }
        }
        return !progress || progress(50);
    }
    const Contributions c = computeContributions(src.width, destWidth);
    return bpp == 4 ? filterRows<4>(src, c, destWidth, out, progress)
                    : filterRows<3>(src, c, destWidth, out, progress);
}

// One destination row of the column pass: the weighted sum of count whole source rows. The
// row goes in blocks small enough for their sums to stay in registers and the cache, with a
// fixed block length the compiler turns into vector code.
void filterColumnRow(const std::uint8_t* first, std::size_t rowBytes, const std::int32_t* w,
                     int count, std::uint8_t* o) {
    constexpr std::size_t kBlock = 64;
    std::size_t x = 0;
    for (; x + kBlock <= rowBytes; x += kBlock) {
        std::int32_t sum[kBlock] = {};
        const std::uint8_t* row = first + x;
        for (int k = 0; k < count; ++k, row += rowBytes) {
            const std::int32_t weight = w[k];
            for (std::size_t i = 0; i < kBlock; ++i) sum[i] += row[i] * weight;
        }
        for (std::size_t i = 0; i < kBlock; ++i) o[x + i] = clampChannel(sum[i]);
    }
    for (; x < rowBytes; ++x) {
        std::int32_t sum = 0;
        for (int k = 0; k < count; ++k) sum += first[x + k * rowBytes] * w[k];
        o[x] = clampChannel(sum);
    }
}

// Column pass: rows of RGBA pixels, height sourceHeight, into destHeight rows. Each
// destination row is a weighted sum of whole source rows, which keeps memory access linear.
bool resampleColumns(PixelBytes& in, int width, int sourceHeight, int destHeight, PixelBytes& out,
                     const ResampleProgress& progress) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    if (destHeight == sourceHeight) {
        out = std::move(in);
        return !progress || progress(100);
    }
    out.resize(rowBytes * destHeight);
    const Contributions c = computeContributions(sourceHeight, destHeight);
    for (int j = 0; j < destHeight; ++j) {
        if (progress && !progress(50 + j * 50 / destHeight))
            return false;
        filterColumnRow(in.data() + c.first[j] * rowBytes, rowBytes, c.weights.data() + c.offset[j],
                        c.count[j], out.data() + j * rowBytes);
    }
    return true;
}

}  // namespace

TargaPixels resampleTarga(const TargaPixels& source, int width, int height,
                          const ResampleProgress& progress) {
    TargaPixels result;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0)
        return result;
    if (source.pixels.size() < source.rowBytes() * source.height)
        return result;
    try {
        PixelBytes rows;
        if (!resampleRows(source, width, rows, progress))
            return result;
        PixelBytes pixels;
        if (!resampleColumns(rows, width, source.height, height, pixels, progress)) {
            return result;
        }
        result.width = width;
        result.height = height;
        result.bytesPerPixel = 4;
        result.pixels = std::move(pixels);
    } catch (const std::bad_alloc&) {
        return TargaPixels{};
    }
    return result;
}

}  // namespace gfx
