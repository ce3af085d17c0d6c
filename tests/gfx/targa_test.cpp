// Targa decoding: status codes, run-length packets, row order, refusal of files that promise
// more than they hold, and every pixel of files written by ImageMagick and of the install
// folder's own pictures.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "gfx/targa.h"
#include "platform/api/device.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

using test::targaHeader;

TargaStatus decode(const std::vector<std::uint8_t>& bytes, std::unique_ptr<TargaPixels>& out) {
    return decodeTarga(std::span(bytes), out);
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TargaStatus, ReportsWhyAFileIsRefused) {
    test::useInstallFolder();
    std::unique_ptr<TargaPixels> out = std::make_unique<TargaPixels>();
    EXPECT_EQ(loadTarga(L"\\nowhere\\missing.tga", out), TargaStatus::CannotOpen);
    EXPECT_EQ(out, nullptr);

    const std::vector<std::uint8_t> pixel(4, 0x10);
    // Colour-mapped (1) and grey (3) pictures are not true colour.
    EXPECT_EQ(decode(concat(targaHeader(1, 1, 1, 8), pixel), out), TargaStatus::NotTrueColour);
    EXPECT_EQ(decode(concat(targaHeader(3, 1, 1, 8), pixel), out), TargaStatus::NotTrueColour);
    EXPECT_EQ(decode(concat(targaHeader(2, 1, 1, 16), pixel), out), TargaStatus::UnsupportedDepth);
    EXPECT_EQ(decode(concat(targaHeader(10, 1, 1, 8), pixel), out), TargaStatus::UnsupportedDepth);
    EXPECT_EQ(decode({0, 0, 2, 0, 0}, out), TargaStatus::NotTrueColour);
    EXPECT_EQ(out, nullptr);

    const std::wstring file = test::scratchFolder("status") + L"one.tga";
    test::writeBytes(file, concat(targaHeader(2, 1, 1, 32), pixel));
    EXPECT_EQ(loadTarga(file, out), TargaStatus::Loaded);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->width, 1);
    EXPECT_EQ(out->bytesPerPixel, 4);
}

TEST(TargaStatus, RefusesHeadersThatPromiseMoreThanTheFileHolds) {
    std::unique_ptr<TargaPixels> out;
    // 4 x 4 x 3 bytes promised, 10 given.
    EXPECT_EQ(decode(concat(targaHeader(2, 4, 4, 24), std::vector<std::uint8_t>(10, 1)), out),
              TargaStatus::NotTrueColour);
    // The largest size the header can state, with almost nothing behind it: refused before
    // anything that size is allocated.
    EXPECT_EQ(decode(concat(targaHeader(2, 65535, 65535, 32), {1, 2, 3, 4}), out),
              TargaStatus::NotTrueColour);
    EXPECT_EQ(decode(concat(targaHeader(10, 65535, 65535, 32), {0xFF, 1, 2, 3, 4}), out),
              TargaStatus::NotTrueColour);
    // A run-length file cut inside a literal packet, and one whose packets end early.
    EXPECT_EQ(decode(concat(targaHeader(10, 4, 1, 24), {0x03, 1, 2, 3, 4, 5}), out),
              TargaStatus::NotTrueColour);
    EXPECT_EQ(decode(concat(targaHeader(10, 300, 1, 24), {0x81, 1, 2, 3, 0x81, 1, 2, 3}), out),
              TargaStatus::NotTrueColour);
    // The ID field reaches past the end.
    auto header = targaHeader(2, 1, 1, 24);
    header[0] = 200;
    EXPECT_EQ(decode(concat(header, {1, 2, 3}), out), TargaStatus::NotTrueColour);
    EXPECT_EQ(out, nullptr);
}

TEST(TargaStatus, RefusesPicturesLargerThanAnyDisplayUses) {
    std::unique_ptr<TargaPixels> out;
    // A compressed bomb: 8192 x 8192 pixels claimed, and run packets of 128 pixels enough to
    // cover them in 2.6 MB. Decoding it would take 256 MiB.
    constexpr std::size_t kPackets = 8192u * 8192u / 128u;
    std::vector<std::uint8_t> runs;
    runs.reserve(kPackets * 5);
    for (std::size_t i = 0; i < kPackets; ++i) runs.insert(runs.end(), {0xFF, 1, 2, 3, 4});
    EXPECT_EQ(decode(concat(targaHeader(10, 8192, 8192, 32), runs), out), TargaStatus::TooLarge);
    EXPECT_EQ(out, nullptr);
    // A picture as large as a display uses still loads, in either direction.
    const std::vector<std::uint8_t> strip(4096u * 4 * 3, 7);
    EXPECT_EQ(decode(concat(targaHeader(2, 4096, 4, 24), strip), out), TargaStatus::Loaded);
    EXPECT_EQ(decode(concat(targaHeader(2, 4, 4096, 24), strip), out), TargaStatus::Loaded);
}

TEST(TargaRunLength, RunAndRawPacketsFillPixelsInOrder) {
    // 0x83 repeats the next pixel 4 times; 0x02 is followed by 3 literal pixels.
    const auto file = concat(targaHeader(10, 7, 1, 24), {0x83, 0x30, 0x20, 0x10,  // B, G, R
                                                         0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::unique_ptr<TargaPixels> out;
    ASSERT_EQ(decode(file, out), TargaStatus::Loaded);
    ASSERT_EQ(out->pixels.size(), 7u * 3);
    const PixelBytes expected = {0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20,
                                 0x30, 3,    2,    1,    6,    5,    4,    9,    8,    7};
    EXPECT_EQ(out->pixels, expected);
}

TEST(TargaRunLength, AlphaIsKeptAndOverlongPacketsStopAtTheLastPixel) {
    const auto file =
        concat(targaHeader(10, 3, 1, 32), {0x80, 10, 20, 30, 40, 0xFF, 50, 60, 70, 80});
    std::unique_ptr<TargaPixels> out;
    ASSERT_EQ(decode(file, out), TargaStatus::Loaded);
    // The second packet asks for 128 pixels; only 2 remain.
    const PixelBytes expected = {30, 20, 10, 40, 70, 60, 50, 80, 70, 60, 50, 80};
    EXPECT_EQ(out->pixels, expected);
}

TEST(TargaLayout, RowZeroIsAlwaysTheBottomRow) {
    const std::vector<std::uint8_t> rows = {1, 1, 1, 2, 2, 2};  // first row in file, then second
    std::unique_ptr<TargaPixels> out;
    ASSERT_EQ(decode(concat(targaHeader(2, 1, 2, 24), rows), out), TargaStatus::Loaded);
    EXPECT_EQ(out->row(0)[0], 1);  // stored bottom-up: the first row is the bottom row
    // A picture stored from the top down is turned.
    ASSERT_EQ(decode(concat(targaHeader(2, 1, 2, 24, 0x20), rows), out), TargaStatus::Loaded);
    EXPECT_EQ(out->row(0)[0], 2);
    EXPECT_EQ(out->row(1)[0], 1);
    // An empty picture stored from the top down loads as empty.
    ASSERT_EQ(decode(targaHeader(10, 0, 61, 24, 0x20), out), TargaStatus::Loaded);
    EXPECT_TRUE(out->pixels.empty());
}

TEST(TargaLayout, IdFieldAndColourMapAreSkipped) {
    auto header = targaHeader(2, 1, 1, 24);
    header[0] = 3;   // ID length
    header[1] = 1;   // a colour map is present
    header[5] = 2;   // two entries
    header[7] = 24;  // of 24 bits each
    const auto file = concat(header, {'a', 'b', 'c', 9, 9, 9, 9, 9, 9, 0x33, 0x22, 0x11});
    std::unique_ptr<TargaPixels> out;
    ASSERT_EQ(decode(file, out), TargaStatus::Loaded);
    EXPECT_EQ(out->pixels, (PixelBytes{0x11, 0x22, 0x33}));
}

// A pattern with long runs (for run packets) and noise (for literal packets), alpha varied.
std::vector<std::uint8_t> patternRgba(int width, int height) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool run = y % 3 == 0 || x < 9;
            const unsigned noise =
                static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
            rgba.push_back(static_cast<std::uint8_t>(run ? 200 : noise));
            rgba.push_back(static_cast<std::uint8_t>(run ? 40 + y : noise >> 8));
            rgba.push_back(static_cast<std::uint8_t>(run ? 7 : noise >> 16));
            rgba.push_back(static_cast<std::uint8_t>(run ? 255 : (x * 11 + y * 5) & 0xFF));
        }
    }
    return rgba;
}

std::vector<std::uint8_t> readHost(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares a decoded picture with top-down pixels of `channels` bytes each.
void expectSamePixels(const TargaPixels& picture, const std::vector<std::uint8_t>& topDown,
                      int channels, const std::string& what) {
    ASSERT_EQ(topDown.size(), static_cast<std::size_t>(picture.width) * picture.height * channels)
        << what;
    int mismatches = 0;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.row(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const auto want =
                    topDown[(static_cast<std::size_t>(y) * picture.width + x) * channels + c];
                if (row[x * picture.bytesPerPixel + c] != want && ++mismatches <= 3) {
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << " channel " << c;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << what;
}

std::vector<std::uint8_t> flipped(const std::vector<std::uint8_t>& rows, std::size_t rowBytes) {
    std::vector<std::uint8_t> out;
    for (std::size_t end = rows.size(); end >= rowBytes; end -= rowBytes) {
        out.insert(out.end(), rows.begin() + (end - rowBytes), rows.begin() + end);
    }
    return out;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// ImageMagick stores rows in the order given and marks the orientation: with "TopLeft" the
// pattern is the picture as seen; with "BottomLeft" (its default) the first row given is the
// picture's bottom row.
TEST(TargaFromImageMagick, EveryPixelMatchesThePattern) {
    if (!test::convertAvailable())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::wstring folder = test::scratchFolder("magick");
    const int width = 37, height = 23;
    const auto rgba = patternRgba(width, height);
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), &rgba[i], &rgba[i + 3]);
    const auto dir = test::hostOf(folder);
    std::ofstream(dir / "p.rgba", std::ios::binary)
        .write(reinterpret_cast<const char*>(rgba.data()), rgba.size());
    std::ofstream(dir / "p.rgb", std::ios::binary)
        .write(reinterpret_cast<const char*>(rgb.data()), rgb.size());

    int files = 0;
    for (const std::string compression : {"None", "RLE"}) {
        for (const std::string orientation : {"TopLeft", "BottomLeft"}) {
            for (int depth : {24, 32}) {
                const int channels = depth / 8;
                const std::string input =
                    depth == 32 ? "rgba:" + quoted(dir / "p.rgba") : "rgb:" + quoted(dir / "p.rgb");
                const std::string name = "p" + std::to_string(depth) + compression + orientation;
                const auto output = dir / (name + ".tga");
                ASSERT_TRUE(test::runConvert("-size 37x23 -depth 8 " + input + " -orient " +
                                             orientation + " -compress " + compression +
                                             " tga:" + quoted(output)))
                    << name;
                const auto bytes = readHost(output);
                ASSERT_GE(bytes.size(), 18u);
                EXPECT_EQ(bytes[2], compression == "RLE" ? 10 : 2) << name;
                EXPECT_EQ(bytes[16], depth) << name;

                std::unique_ptr<TargaPixels> out;
                ASSERT_EQ(loadTarga(folder + platform::fromUtf8(name) + L".tga", out),
                          TargaStatus::Loaded)
                    << name;
                EXPECT_EQ(out->width, width);
                EXPECT_EQ(out->height, height);
                EXPECT_EQ(out->bytesPerPixel, channels);
                const auto& given = depth == 32 ? rgba : rgb;
                const auto seen = orientation == "TopLeft"
                                      ? given
                                      : flipped(given, static_cast<std::size_t>(width) * channels);
                expectSamePixels(*out, seen, channels, name);
                ++files;
            }
        }
    }
    EXPECT_EQ(files, 8);
}

TEST(TargaInstallFolder, EveryPictureDecodesAsImageMagickReadsIt) {
    if (!test::convertAvailable())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::wstring mainPath = test::useInstallFolder();
    const auto dir = test::hostOf(test::scratchFolder("install"));
    int checked = 0;
    for (const wchar_t* folder : {L"graphics2", L"clocks", L"themes\\default"}) {
        for (const auto& file : platform::listFolder(mainPath + folder, L"*.tga")) {
            const std::wstring path = mainPath + folder + L"\\" + file.name;
            std::unique_ptr<TargaPixels> out;
            ASSERT_EQ(loadTarga(path, out), TargaStatus::Loaded) << platform::toUtf8(path);
            const auto raw = dir / "picture.rgba";
            ASSERT_TRUE(test::runConvert(quoted(test::hostOf(path)) +
                                         " -auto-orient -depth 8 rgba:" + quoted(raw)));
            expectSamePixels(*out, readHost(raw), 4, platform::toUtf8(file.name));
            ++checked;
        }
    }
    EXPECT_GT(checked, 80);
}

}  // namespace
}  // namespace gfx
