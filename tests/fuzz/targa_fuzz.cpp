// Feeds arbitrary bytes to the Targa decoder. A picture that decodes is also resized and
// blended, so that the sizes the decoder reports are exercised by the code that trusts them.
// The header's claims, not the input's size, decide what is allocated: within scripts/fuzz's
// 70,000 bytes a run-length file can claim 1.7 million pixels, and a header can claim the
// 4 billion that must be refused.

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfx/blend.h"
#include "gfx/resample.h"
#include "gfx/targa.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<gfx::TargaPixels> picture;
    const gfx::TargaStatus status = gfx::decodeTarga(std::span(data, size), picture);
    if (status != gfx::TargaStatus::Loaded) {
        if (picture)
            __builtin_trap();  // a refused file must leave no picture behind
        return 0;
    }
    const std::size_t expected =
        static_cast<std::size_t>(picture->width) * picture->height * picture->bytesPerPixel;
    if (picture->pixels.size() != expected)
        __builtin_trap();
    if (picture->width * picture->height > 64 * 64)
        return 0;

    const gfx::TargaPixels resized = gfx::resampleTarga(*picture, 7, 5);
    platform::Bitmap target(9, 6);
    gfx::blendTarga(*picture, &target, -2, 1, true, 0.5);
    gfx::blendTarga(resized, &target, 3, -1, false, 1.0);
    return 0;
}
