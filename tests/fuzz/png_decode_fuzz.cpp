// Decodes arbitrary bytes as PNG (as the comms program does with radar tiles and user maps).
// Nothing may crash; a decoded picture has the pixels its size says and stays within bounds.

#include <cstdint>

#include "platform/api/picture_codec.h"
#include "tests/fuzz/support/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto picture = platform::decodePng({data, size});
    if (!picture)
        return 0;
    fuzz::check(picture->width > 0 && picture->height > 0);
    fuzz::check(picture->width <= 4096 && picture->height <= 4096);
    fuzz::check(picture->pixels.size() ==
                static_cast<std::size_t>(picture->width) * picture->height * 4);
    return 0;
}
