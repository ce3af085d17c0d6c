// Loading JPEG files by device path; kept apart from the decoder so that code using only
// decodeJpeg does not pull in the device file system.

#include "platform/api/device.h"
#include "platform/api/draw.h"

namespace platform {

std::shared_ptr<Bitmap> loadJpeg(std::wstring_view devicePath) {
    const auto bytes = readFile(devicePath);
    if (!bytes)
        return nullptr;
    return decodeJpeg(*bytes);
}

}  // namespace platform
