// Feeds arbitrary bytes to the JPEG decoder: it must return a picture or nothing, and a
// picture it returns must be fully addressable.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/api/draw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = platform::decodeJpeg(std::span(data, size));
    if (bitmap) {
        volatile std::uint8_t sink = 0;
        for (int y = 0; y < bitmap->height(); y += 7) sink = sink ^ bitmap->rowFromTop(y)[0];
        (void)sink;
    }
    return 0;
}
