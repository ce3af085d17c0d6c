// Targa decoding. The header is 18 bytes, little-endian. Every length the header promises is
// checked against the bytes the file really holds before anything is allocated or read, so a
// damaged or hostile file is refused instead of being read past its end.

#include "gfx/targa.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/api/device.h"

namespace gfx {
namespace {

constexpr std::size_t HeaderSize = 18;
constexpr int TypeTrueColour = 2;
constexpr int TypeRunLengthTrueColour = 10;
constexpr std::uint8_t DescriptorTopToBottom = 0x20;
constexpr std::size_t MaxRunPixels = 128;

int read16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

// The file stores B, G, R(, A); pixels are kept as R, G, B(, A).
inline void storePixel3(std::uint8_t* out, const std::uint8_t* in) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
}

inline std::uint32_t swapRedBlue(std::uint32_t v) {
    return (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
}

inline void storePixel4(std::uint8_t* out, const std::uint8_t* in) {
    std::uint32_t v;
    std::memcpy(&v, in, 4);
    v = swapRedBlue(v);
    std::memcpy(out, &v, 4);
}

void convertPixels(std::uint8_t* out, const std::uint8_t* in, std::size_t count, int bpp) {
    if (bpp == 4) {
        // Blocks of fixed length in a local buffer let the compiler swap red and blue in
        // vector registers; pixel by pixel it did one at a time.
        constexpr std::size_t kBlock = 64;
        std::uint32_t block[kBlock];
        std::size_t i = 0;
        for (; i + kBlock <= count; i += kBlock) {
            std::memcpy(block, in + i * 4, sizeof block);
            for (std::uint32_t& v : block) v = swapRedBlue(v);
            std::memcpy(out + i * 4, block, sizeof block);
        }
        for (; i < count; ++i) storePixel4(out + i * 4, in + i * 4);
    } else {
        for (std::size_t i = 0; i < count; ++i) storePixel3(out + i * 3, in + i * 3);
    }
}

void repeatPixel(std::uint8_t* out, const std::uint8_t* in, std::size_t count, int bpp) {
    if (bpp == 4) {
        std::uint32_t v;
        std::memcpy(&v, in, 4);
        v = swapRedBlue(v);
        for (std::size_t i = 0; i < count; ++i) std::memcpy(out + i * 4, &v, 4);
    } else {
        std::uint8_t px[3];
        storePixel3(px, in);
        for (std::size_t i = 0; i < count; ++i) std::memcpy(out + i * 3, px, 3);
    }
}

// Run-length packets: a header byte h >= 128 repeats the next pixel h - 127 times, a smaller
// one is followed by h + 1 literal pixels. A packet reaching past the last pixel is cut there.
bool decodeRunLength(std::span<const std::uint8_t> data, std::uint8_t* out, std::size_t count,
                     int bpp) {
    const std::uint8_t* in = data.data();
    const std::uint8_t* end = in + data.size();
    std::size_t filled = 0;
    while (filled < count) {
        if (in == end)
            return false;
        const std::uint8_t header = *in++;
        const std::size_t length = std::min<std::size_t>((header & 0x7F) + 1, count - filled);
        if (header & 0x80) {
            if (end - in < bpp)
                return false;
            repeatPixel(out + filled * bpp, in, length, bpp);
            in += bpp;
        } else {
            const std::size_t literal = static_cast<std::size_t>((header & 0x7F) + 1) * bpp;
            if (static_cast<std::size_t>(end - in) < literal)
                return false;
            convertPixels(out + filled * bpp, in, length, bpp);
            in += literal;
        }
        filled += length;
    }
    return true;
}

void flipRows(TargaPixels& picture) {
    const std::size_t rowBytes = picture.rowBytes();
    std::vector<std::uint8_t> swap(rowBytes);
    for (int top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(swap.data(), picture.row(top), rowBytes);
        std::memcpy(picture.row(top), picture.row(bottom), rowBytes);
        std::memcpy(picture.row(bottom), swap.data(), rowBytes);
    }
}

}  // namespace

TargaStatus decodeTarga(std::span<const std::uint8_t> bytes, std::unique_ptr<TargaPixels>& out) {
    out.reset();
    if (bytes.size() < HeaderSize)
        return TargaStatus::NotTrueColour;
    const std::uint8_t* h = bytes.data();
    const int idLength = h[0];
    const int colourMapType = h[1];
    const int imageType = h[2];
    if (imageType != TypeTrueColour && imageType != TypeRunLengthTrueColour) {
        return TargaStatus::NotTrueColour;
    }
    const int bpp = h[16] / 8;
    if (h[16] % 8 != 0 || (bpp != 3 && bpp != 4))
        return TargaStatus::UnsupportedDepth;

    // A colour map present beside true-colour pixels is skipped; its entry size is in bits.
    std::size_t skip = HeaderSize + idLength;
    if (colourMapType == 1) {
        skip += static_cast<std::size_t>(read16(h + 5)) * ((h[7] + 7) / 8);
    }
    if (bytes.size() < skip)
        return TargaStatus::NotTrueColour;
    const std::span<const std::uint8_t> data = bytes.subspan(skip);

    auto picture = std::make_unique<TargaPixels>();
    picture->xOrigin = read16(h + 8);
    picture->yOrigin = read16(h + 10);
    picture->width = read16(h + 12);
    picture->height = read16(h + 14);
    picture->bytesPerPixel = bpp;
    const std::size_t count = static_cast<std::size_t>(picture->width) * picture->height;

    // Refuse sizes the data cannot hold before allocating: uncompressed pixels take bpp bytes
    // each, and a run packet (1 + bpp bytes) covers at most 128 pixels.
    const std::size_t leastBytes = imageType == TypeTrueColour
                                       ? count * bpp
                                       : (count + MaxRunPixels - 1) / MaxRunPixels * (1 + bpp);
    if (data.size() < leastBytes)
        return TargaStatus::NotTrueColour;
    // A run-length file of a few megabytes may still claim gigabytes of pixels.
    if (count > kMaxTargaPixels)
        return TargaStatus::TooLarge;
    try {
        picture->pixels.resize(count * bpp);
    } catch (const std::bad_alloc&) {
        return TargaStatus::TooLarge;
    }
    if (imageType == TypeTrueColour) {
        convertPixels(picture->pixels.data(), data.data(), count, bpp);
    } else if (!decodeRunLength(data, picture->pixels.data(), count, bpp)) {
        return TargaStatus::NotTrueColour;
    }
    // Pictures stored from the top row down are turned so that row 0 is always the bottom.
    if ((h[17] & DescriptorTopToBottom) && count > 0)
        flipRows(*picture);
    out = std::move(picture);
    return TargaStatus::Loaded;
}

TargaStatus loadTarga(std::wstring_view devicePath, std::unique_ptr<TargaPixels>& out) {
    out.reset();
    auto file = platform::MappedFile::open(devicePath);
    if (!file)
        return TargaStatus::CannotOpen;
    return decodeTarga(file->bytes(), out);
}

std::vector<std::uint8_t> encodeTarga(const TargaPixels& picture) {
    const int bpp = picture.bytesPerPixel;
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 0xFFFF ||
        picture.height > 0xFFFF || (bpp != 3 && bpp != 4) ||
        picture.pixels.size() != picture.rowBytes() * picture.height) {
        return {};
    }
    std::vector<std::uint8_t> out(HeaderSize + picture.pixels.size());
    out[2] = TypeTrueColour;
    out[12] = static_cast<std::uint8_t>(picture.width);
    out[13] = static_cast<std::uint8_t>(picture.width >> 8);
    out[14] = static_cast<std::uint8_t>(picture.height);
    out[15] = static_cast<std::uint8_t>(picture.height >> 8);
    out[16] = static_cast<std::uint8_t>(bpp * 8);
    out[17] = bpp == 4 ? 8 : 0;  // alpha bits; rows from the bottom up
    // The file keeps B, G, R(, A): the same swap as reading.
    convertPixels(out.data() + HeaderSize, picture.pixels.data(),
                  static_cast<std::size_t>(picture.width) * picture.height, bpp);
    return out;
}

}  // namespace gfx
