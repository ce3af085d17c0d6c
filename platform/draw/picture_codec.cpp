// PNG decoding through libpng and JPEG encoding through libjpeg-turbo. Both libraries report
// fatal errors through handlers that must not return; ours jump back out, so damaged input
// yields nothing instead of ending the process. Nothing with a destructor lives in a frame
// that a longjmp leaves.

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "platform/api/picture_codec.h"

namespace platform {
namespace {

constexpr png_uint_32 kMaxSide = 4096;

struct PngSource {
    std::span<const std::uint8_t> bytes;
    std::size_t offset = 0;
};

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}
void onPngWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->offset < length)
        png_error(png, "truncated");
    std::memcpy(out, source->bytes.data() + source->offset, length);
    source->offset += length;
}

bool decodeInto(png_structp png, png_infop info, PngSource& source, RgbaPicture& picture,
                std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, readFromMemory);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return false;
    // Every colour type becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4)
        return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = picture.pixels.data() + static_cast<std::size_t>(y) * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

bool encodeInto(jpeg_compress_struct& info, JpegErrors& errors, const Bitmap& bitmap, int quality,
                unsigned char*& buffer, unsigned long& size) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(bitmap.width());
    info.image_height = static_cast<JDIMENSION>(bitmap.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(bitmap.rowFromTop(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

std::optional<RgbaPicture> decodePng(std::span<const std::uint8_t> bytes) {
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return std::nullopt;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    PngSource source{bytes, 0};
    RgbaPicture picture;
    std::vector<png_bytep> rows;
    const bool ok = decodeInto(png, info, source, picture, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return std::nullopt;
    return picture;
}

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, int quality) {
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeInto(info, errors, bitmap,
                               quality < 1     ? 1
                               : quality > 100 ? 100
                                               : quality,
                               buffer, size);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out;
    if (ok && buffer)
        out.assign(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace platform
