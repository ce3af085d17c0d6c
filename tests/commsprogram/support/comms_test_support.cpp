#include "tests/commsprogram/support/comms_test_support.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/api/device.h"
#include "platform/api/picture_codec.h"

namespace commsprogram::test {

std::string replay(std::string_view name) {
    std::ifstream in(std::filesystem::path(VORN_SOURCE_DIR) / "tests" / "commsprogram" / "replays" /
                         std::string(name),
                     std::ios::binary);
    if (!in)
        throw std::runtime_error("no recorded answer " + std::string(name));
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string jpegPicture(int width, int height, std::uint32_t bgr) {
    platform::Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.rowFromTop(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<std::uint8_t>(bgr & 0xFF);
            row[x * 3 + 1] = static_cast<std::uint8_t>((bgr >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<std::uint8_t>((bgr >> 16) & 0xFF);
        }
    }
    std::vector<std::uint8_t> bytes = platform::encodeJpeg(bitmap, 90);
    return std::string(bytes.begin(), bytes.end());
}

std::string pngOverlay(int width, int height) {
    // libpng writes through the platform's PNG writer, which has no alpha; the picture is
    // built by hand instead: a stored (uncompressed) zlib stream inside one IDAT.
    auto crc = [](std::string_view data) {
        std::uint32_t c = 0xFFFFFFFF;
        for (unsigned char b : data) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        }
        return c ^ 0xFFFFFFFF;
    };
    auto be32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    auto chunk = [&](std::string_view type, const std::string& data) {
        std::string body = std::string(type) + data;
        return be32(static_cast<std::uint32_t>(data.size())) + body + be32(crc(body));
    };
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x) {
            bool red = x < width / 2;
            raw += std::string{static_cast<char>(red ? 255 : 0), 0, 0,
                               static_cast<char>(red ? 255 : 0)};
        }
    }
    std::string zlib = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size(); at += 65535) {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        bool last = at + n == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        zlib += static_cast<char>(n & 0xFF);
        zlib += static_cast<char>(n >> 8);
        zlib += static_cast<char>(~n & 0xFF);
        zlib += static_cast<char>((~n >> 8) & 0xFF);
        zlib += raw.substr(at, n);
    }
    zlib += be32((b << 16) | a);
    std::string header = be32(static_cast<std::uint32_t>(width)) +
                         be32(static_cast<std::uint32_t>(height)) +
                         std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", "");
}

void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes) {
    platform::createFolder(platform::folderOf(devicePath));
    if (!platform::writeFileAtomic(
            devicePath, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}))
        throw std::runtime_error("cannot write " + platform::toUtf8(devicePath));
}

std::string readDeviceFile(std::wstring_view devicePath) {
    auto bytes = platform::readFile(devicePath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

bool deviceFileExists(std::wstring_view devicePath) {
    return platform::fileExists(devicePath);
}

}  // namespace commsprogram::test
