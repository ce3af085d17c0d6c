// JPEG decoding (made in the test with libjpeg) and PNG screenshots (read back with libpng).

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/draw.h"

namespace platform {
namespace {

// Encodes width x height pixels made by pick(x, y) (RGB or grey) as a JPEG in memory.
template <typename Pick>
std::vector<std::uint8_t> makeJpeg(int width, int height, bool grey, Pick pick) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * info.input_components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = pick(x, y);
            if (grey) {
                row[x] = static_cast<JSAMPLE>(redOf(c));
            } else {
                row[x * 3] = static_cast<JSAMPLE>(redOf(c));
                row[x * 3 + 1] = static_cast<JSAMPLE>(greenOf(c));
                row[x * 3 + 2] = static_cast<JSAMPLE>(blueOf(c));
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Colour quadrant(int x, int y) {
    if (y < 16)
        return x < 16 ? rgb(220, 30, 30) : rgb(30, 200, 40);
    return x < 16 ? rgb(20, 40, 210) : rgb(240, 240, 240);
}

void expectNear(Colour actual, Colour expected, int tolerance) {
    EXPECT_NEAR(redOf(actual), redOf(expected), tolerance);
    EXPECT_NEAR(greenOf(actual), greenOf(expected), tolerance);
    EXPECT_NEAR(blueOf(actual), blueOf(expected), tolerance);
}

TEST(DrawJpeg, DecodesColourAndGreyPicturesTopDown) {
    const auto bytes = makeJpeg(40, 32, false, quadrant);
    const auto b = decodeJpeg(bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width(), 40);
    EXPECT_EQ(b->height(), 32);
    expectNear(b->pixel(4, 4), rgb(220, 30, 30), 12);
    expectNear(b->pixel(35, 4), rgb(30, 200, 40), 12);
    expectNear(b->pixel(4, 28), rgb(20, 40, 210), 12);
    expectNear(b->pixel(35, 28), rgb(240, 240, 240), 12);

    const auto greyBytes = makeJpeg(17, 9, true, [](int x, int) { return rgb(x * 15, 0, 0); });
    const auto g = decodeJpeg(greyBytes);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->width(), 17);
    EXPECT_EQ(g->height(), 9);
    const Colour mid = g->pixel(8, 4);
    EXPECT_EQ(redOf(mid), greenOf(mid));
    EXPECT_EQ(redOf(mid), blueOf(mid));
    EXPECT_NEAR(redOf(mid), 120, 8);
}

TEST(DrawJpeg, RejectsGarbageWithoutCrashing) {
    EXPECT_FALSE(decodeJpeg({}));
    const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    EXPECT_FALSE(decodeJpeg(text));
    std::vector<std::uint8_t> noise(4096);
    std::uint32_t seed = 12345;
    for (auto& v : noise) v = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
    noise[0] = 0xFF;
    noise[1] = 0xD8;  // a JPEG start marker followed by noise
    EXPECT_FALSE(decodeJpeg(noise));

    auto good = makeJpeg(40, 32, false, quadrant);
    // A frame header claiming 65000 x 65000 pixels is refused before any allocation.
    for (std::size_t i = 0; i + 9 < good.size(); ++i) {
        if (good[i] == 0xFF && good[i + 1] == 0xC0) {
            good[i + 5] = good[i + 7] = 0xFD;
            good[i + 6] = good[i + 8] = 0xE8;
            break;
        }
    }
    EXPECT_FALSE(decodeJpeg(good));
    // A file cut inside its pixels yields nothing; one missing only its end marker shows.
    auto cut = makeJpeg(40, 32, false, quadrant);
    for (std::size_t keep : {std::size_t{2}, std::size_t{20}, cut.size() / 2})
        EXPECT_FALSE(decodeJpeg(std::span(cut.data(), keep))) << keep;
    const auto noEnd = decodeJpeg(std::span(cut.data(), cut.size() - 2));
    ASSERT_TRUE(noEnd);
    expectNear(noEnd->pixel(35, 28), rgb(240, 240, 240), 12);
}

// Rewrites the frame header's height and width.
std::vector<std::uint8_t> withClaimedSize(std::vector<std::uint8_t> bytes, int width, int height) {
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = static_cast<std::uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(height);
            bytes[i + 7] = static_cast<std::uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(width);
            return bytes;
        }
    }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

TEST(DrawJpeg, SmallFileClaimingAHugePictureTakesNoPictureMemory) {
    const auto small = makeJpeg(40, 32, false, quadrant);
    // Within the old bound of 64 million pixels this became a 48 MB grey picture from a file
    // of a few hundred bytes.
    EXPECT_FALSE(decodeJpeg(withClaimedSize(small, 4000, 4000)));
    // Beyond what any display shows: refused from the header alone.
    EXPECT_FALSE(decodeJpeg(withClaimedSize(small, 8192, 8192)));
    EXPECT_FALSE(decodeJpeg(withClaimedSize(small, 16000, 1200)));
}

TEST(DrawJpeg, LoadsByDevicePath) {
    const auto root =
        std::filesystem::temp_directory_path() / ("draw_image_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "Pictures");
    setDeviceRoot(root);
    const auto bytes = makeJpeg(8, 8, false, [](int, int) { return rgb(200, 100, 50); });
    std::ofstream(root / "Pictures" / "Photo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const auto b = loadJpeg(L"\\pictures\\photo.JPG");
    ASSERT_TRUE(b);
    expectNear(b->pixel(3, 3), rgb(200, 100, 50), 8);
    EXPECT_FALSE(loadJpeg(L"\\Pictures\\missing.jpg"));
    std::filesystem::remove_all(root);
}

TEST(DrawPng, SavesAReadablePictureAndLeavesNoTemporaryFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("draw_png_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Bitmap b(7, 5);  // odd width: rows are padded in memory, not in the file
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) b.setPixel(x, y, rgb(x * 30, y * 50, 200 - x * 10));
    }
    const auto file = dir / "shot.png";
    std::ofstream(file) << "an older file";
    ASSERT_TRUE(savePng(b, file));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.height, 5u);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t* p = &pixels[(y * 7 + x) * 3];
            EXPECT_EQ(rgb(p[0], p[1], p[2]), b.pixel(x, y)) << x << "," << y;
        }
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(savePng(b, dir / "no" / "such" / "folder.png"));
    EXPECT_FALSE(savePng(b, ""));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace platform
