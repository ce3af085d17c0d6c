// PNG screenshots through libpng, written beside the target and renamed over it, so a
// crash mid-write never leaves a torn file under the final name.

#include <png.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <system_error>
#include <vector>

#include "platform/api/draw.h"

namespace platform {

namespace {

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}
void onPngWarning(png_structp, png_const_charp) {}

// Writes the picture as 8-bit RGB; false on any failure. The row buffer belongs to the
// caller so that nothing with a destructor lives in the frame longjmp leaves.
bool writePng(std::FILE* file, const Bitmap& bitmap, std::vector<std::uint8_t>& row) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = bitmap.rowFromTop(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            row[x * 3 + 0] = in[x * 3 + 2];
            row[x * 3 + 1] = in[x * 3 + 1];
            row[x * 3 + 2] = in[x * 3 + 0];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool savePng(const Bitmap& bitmap, const std::filesystem::path& hostFile) {
    if (hostFile.empty() || !hostFile.has_filename())
        return false;
    std::filesystem::path temp = hostFile;
    temp += ".tmp-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        return false;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width()) * 3);
    bool ok = writePng(file, bitmap, row);
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code error;
    if (ok)
        std::filesystem::rename(temp, hostFile, error);
    if (!ok || error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

}  // namespace platform
