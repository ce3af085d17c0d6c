// JPEG decoding through libjpeg-turbo into the handheld's bitmap layout. libjpeg reports
// fatal errors by calling a handler that must not return; ours jumps back out of the
// decoder, so corrupt or hostile input yields nothing instead of ending the process.

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
// jerror.h comes after jpeglib.h, which it needs.
#include <jerror.h>

#include "platform/api/draw.h"

namespace platform {

namespace {

// Pictures beyond what any display shows are refused before any pixel memory is taken.
constexpr long long kMaxJpegPixels = 4096LL * 4096;
constexpr unsigned kMaxJpegSide = 16384;
// A progressive file keeps every coefficient in memory while its scans arrive; this bounds
// that buffer, and the scan count bounds the passes a small hostile file can ask for.
constexpr long kMaxDecoderMemory = 128L * 1024 * 1024;
constexpr int kMaxScans = 100;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

// Warnings about recoverable damage are not printed. Pixel data that ends early is fatal:
// the decoder would otherwise fill the rest of a picture that claims to be large with grey,
// letting a file of a few hundred bytes cost the time and memory of the largest picture.
// (Reading past the end after the last pixel is only a warning about the source: a file
// missing just its end marker still shows.)
void onMessage(j_common_ptr info, int level) {
    if (level == -1 && info->err->msg_code == JWRN_HIT_MARKER)
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onProgress(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
    }
}

// Adobe writes CMYK inverted; with that convention each channel is (255 - ink) scaled by
// (255 - black), which in stored terms is value * k / 255.
void cmykRowToBgr(const JSAMPLE* in, std::uint8_t* out, unsigned width) {
    for (unsigned x = 0; x < width; ++x, in += 4, out += 3) {
        const int k = in[3];
        out[0] = static_cast<std::uint8_t>(in[2] * k / 255);
        out[1] = static_cast<std::uint8_t>(in[1] * k / 255);
        out[2] = static_cast<std::uint8_t>(in[0] * k / 255);
    }
}

// Decodes into result; everything that must survive a longjmp lives in the caller's frame
// or in objects with trivial destructors.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors,
                std::span<const std::uint8_t> bytes, std::shared_ptr<Bitmap>& result,
                std::vector<JSAMPLE>& cmykRow) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxJpegSide ||
        info.image_height > kMaxJpegSide ||
        static_cast<long long>(info.image_width) * info.image_height > kMaxJpegPixels) {
        return false;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != (cmyk ? 4 : 3))
        return false;
    result = std::make_shared<Bitmap>(static_cast<int>(info.output_width),
                                      static_cast<int>(info.output_height));
    if (cmyk)
        cmykRow.resize(static_cast<std::size_t>(info.output_width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        std::uint8_t* row = result->rowFromTop(y);
        JSAMPROW target = cmyk ? cmykRow.data() : row;
        if (jpeg_read_scanlines(&info, &target, 1) != 1)
            return false;
        if (cmyk)
            cmykRowToBgr(cmykRow.data(), row, info.output_width);
    }
    // Every row is in; whatever follows the last scan (even a missing end marker) is not
    // read, so a file cut only after its pixels still shows.
    return true;
}

}  // namespace

std::shared_ptr<Bitmap> decodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return nullptr;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    errors.base.emit_message = onMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = onProgress;
    info.progress = &progress;
    std::shared_ptr<Bitmap> result;
    std::vector<JSAMPLE> cmykRow;
    const bool ok = decodeInto(info, errors, bytes, result, cmykRow);
    jpeg_destroy_decompress(&info);
    return ok ? result : nullptr;
}

}  // namespace platform
