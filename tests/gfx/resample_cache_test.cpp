// Resized pictures kept between starts: a kept copy must be used only for the same picture at
// the same size, and anything wrong with it must lead back to resampling, never to a wrong or
// broken picture.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/resample.h"
#include "gfx/resample_cache.h"
#include "gfx/targa.h"
#include "platform/api/device.h"
#include "tests/gfx/support/gfx_test_support.h"
#include "tests/platform/support/test_device.h"

namespace gfx {
namespace {

constexpr wchar_t kFolder[] = L"\\Temp\\cache test\\";
constexpr wchar_t kSource[] = L"\\Temp\\source.tga";

TargaPixels gradient(int width, int height, std::uint8_t blue, int bpp = 4) {
    return test::makePicture(
        width, height,
        [&](int x, int y) {
            return std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(x * 255 / width),
                                               static_cast<std::uint8_t>(y * 255 / height), blue,
                                               static_cast<std::uint8_t>(200 + x % 50)};
        },
        bpp);
}

void writePicture(std::wstring_view path, const TargaPixels& picture) {
    ASSERT_TRUE(platform::writeFileAtomic(path, encodeTarga(picture)));
}

std::vector<platform::DirectoryEntry> entries() {
    return platform::listFolder(kFolder, L"*.tga");
}

class ResampleCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        platform::createFolder(L"\\Temp\\");
        for (const auto& e : entries()) platform::deleteFile(std::wstring(kFolder) + e.name);
        writePicture(kSource, gradient(40, 30, 90));
    }
};

TEST(TargaEncode, DecodesBackToTheSamePicture) {
    for (int bpp : {3, 4}) {
        const TargaPixels picture = gradient(7, 5, 33, bpp);
        const auto bytes = encodeTarga(picture);
        std::unique_ptr<TargaPixels> back;
        ASSERT_EQ(decodeTarga(bytes, back), TargaStatus::Loaded) << bpp;
        EXPECT_EQ(back->width, 7);
        EXPECT_EQ(back->height, 5);
        EXPECT_EQ(back->bytesPerPixel, bpp);
        EXPECT_EQ(back->pixels, picture.pixels) << bpp;
    }
    TargaPixels inconsistent = gradient(7, 5, 33);
    inconsistent.pixels.pop_back();
    EXPECT_TRUE(encodeTarga(inconsistent).empty());
    EXPECT_TRUE(encodeTarga(TargaPixels{}).empty());
}

TEST_F(ResampleCacheTest, ALaterStartGetsTheKeptCopy) {
    const TargaPixels made = ResampleCache(kFolder).resampled(kSource, 20, 15);
    ASSERT_EQ(made.width, 20);
    std::unique_ptr<TargaPixels> source;
    ASSERT_EQ(loadTarga(kSource, source), TargaStatus::Loaded);
    EXPECT_EQ(made.pixels, resampleTarga(*source, 20, 15).pixels);
    ASSERT_EQ(entries().size(), 1u);

    // The kept copy is what a new start reads: changed behind its back, the change shows.
    const std::wstring entry = std::wstring(kFolder) + entries()[0].name;
    const TargaPixels marked = gradient(20, 15, 250);
    writePicture(entry, marked);
    ResampleCache later(kFolder);
    auto kept = later.find(kSource, 20, 15);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->pixels, marked.pixels);
    EXPECT_EQ(later.resampled(kSource, 20, 15).pixels, marked.pixels);
    // Another size is another entry.
    EXPECT_FALSE(later.find(kSource, 10, 15));
}

TEST_F(ResampleCacheTest, AChangedPictureOrADamagedCopyIsResampledAgain) {
    ResampleCache(kFolder).resampled(kSource, 20, 15);
    // Replaced by a picture of the same size, written later.
    writePicture(kSource, gradient(40, 30, 10));
    const auto host = platform::hostPath(kSource);
    ASSERT_TRUE(host);
    std::filesystem::last_write_time(
        *host, std::filesystem::last_write_time(*host) + std::chrono::seconds(2));
    std::unique_ptr<TargaPixels> changed;
    ASSERT_EQ(loadTarga(kSource, changed), TargaStatus::Loaded);
    ResampleCache later(kFolder);
    EXPECT_FALSE(later.find(kSource, 20, 15)) << "the copy of the old picture is not used";
    EXPECT_EQ(later.resampled(kSource, 20, 15).pixels, resampleTarga(*changed, 20, 15).pixels);

    // A copy cut short, or of another size than its name says, is made again.
    for (const auto& e : entries()) {
        const std::wstring path = std::wstring(kFolder) + e.name;
        auto bytes = platform::readFile(path);
        ASSERT_TRUE(bytes);
        bytes->resize(bytes->size() / 2);
        ASSERT_TRUE(platform::writeFileAtomic(path, *bytes));
    }
    EXPECT_FALSE(ResampleCache(kFolder).find(kSource, 20, 15));
    EXPECT_EQ(ResampleCache(kFolder).resampled(kSource, 20, 15).pixels,
              resampleTarga(*changed, 20, 15).pixels);
    for (const auto& e : entries()) writePicture(std::wstring(kFolder) + e.name, gradient(5, 5, 1));
    EXPECT_FALSE(ResampleCache(kFolder).find(kSource, 20, 15));
    EXPECT_EQ(ResampleCache(kFolder).resampled(kSource, 20, 15).width, 20);

    // A source that does not decode gives nothing and keeps nothing.
    platform::writeFileAtomic(L"\\Temp\\broken.tga", std::vector<std::uint8_t>(40, 7));
    const auto before = entries().size();
    EXPECT_TRUE(ResampleCache(kFolder).resampled(L"\\Temp\\broken.tga", 20, 15).pixels.empty());
    EXPECT_EQ(entries().size(), before);
}

TEST_F(ResampleCacheTest, KeepsABoundedNumberOfCopies) {
    ResampleCache cache(kFolder);
    for (int width = 1; width <= static_cast<int>(ResampleCache::kMaxEntries) + 6; ++width)
        ASSERT_EQ(cache.resampled(kSource, width, 3).width, width);
    EXPECT_EQ(entries().size(), ResampleCache::kMaxEntries);
}

}  // namespace
}  // namespace gfx
