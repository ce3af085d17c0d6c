// The picture cache: sharing by name and kind, reference counts, trimming, a full cache, and
// JPEG pictures through the platform's loader.

#include <gtest/gtest.h>

#include "core/message_box.h"
#include "gfx/image_cache.h"
#include "platform/api/shell.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

struct BoxSeen {
    std::wstring text;
    std::wstring caption;
    std::uint32_t flags = 0;
};

// Watches message boxes instead of waiting for someone to answer them.
class MessageBoxWatch {
  public:
    MessageBoxWatch() {
        previous_ = core::setMessageBoxHook(
            [this](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
                seen.push_back({std::wstring(text), std::wstring(caption), flags});
                return platform::id::Ok;
            });
    }
    ~MessageBoxWatch() { core::setMessageBoxHook(previous_); }
    std::vector<BoxSeen> seen;

  private:
    core::MessageBoxHook previous_;
};

// A folder of n distinct 1 x 1 Targa files; returns their paths.
std::vector<std::wstring> writeTinyTargas(std::string_view folderName, int n) {
    const std::wstring folder = test::scratchFolder(folderName);
    std::vector<std::wstring> paths;
    for (int i = 0; i < n; ++i) {
        auto bytes = test::targaHeader(2, 1, 1, 32);
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(i), 0, 0, 255});
        paths.push_back(folder + std::to_wstring(i) + L".tga");
        test::writeBytes(paths.back(), bytes);
    }
    return paths;
}

TEST(ImageCache, SharesAPictureByNameUntilTrimmed) {
    const auto paths = writeTinyTargas("share", 2);
    ImageCache cache;
    Image* first = cache.acquireTargaImage(paths[0]);
    Image* again = cache.acquireTargaImage(paths[0]);
    ASSERT_EQ(first, again);
    EXPECT_EQ(first->refCount, 2);
    ASSERT_NE(first->targa, nullptr);
    EXPECT_EQ(first->targa->row(0)[0], 0);
    Image* other = cache.acquireTargaImage(paths[1]);
    EXPECT_NE(other, first);
    EXPECT_EQ(cache.filledSlots(), 2);

    // Unreferenced pictures wait in their slots for a quick hit...
    cache.releaseImage(first, false);
    cache.releaseImage(first, false);
    EXPECT_EQ(cache.filledSlots(), 2);
    EXPECT_EQ(cache.acquireTargaImage(paths[0]), first);
    cache.releaseImage(first, false);
    // ...until a trim; a referenced picture survives it.
    cache.trimImageCache();
    EXPECT_EQ(cache.filledSlots(), 1);
    EXPECT_EQ(other->refCount, 1);
    cache.releaseImage(other, true);
    EXPECT_EQ(cache.filledSlots(), 0);
}

TEST(ImageCache, KeepsKindsApartAndGivesFailedPicturesASlot) {
    const std::wstring mainPath = test::useInstallFolder();
    ImageCache cache;
    Image* shell = cache.acquireShellImage(mainPath, L"graphics\\toggle.jpg", true);
    ASSERT_NE(shell->bitmap, nullptr);
    EXPECT_EQ(shell->kind, ShellImage);
    EXPECT_EQ(shell->width, 48);  // two frames side by side in a 96-pixel picture
    EXPECT_EQ(shell->height, 24);
    EXPECT_EQ(shell->bitsPerPixel, 24);

    // The same name as a Targa picture is another image; a JPEG does not decode as Targa.
    Image* targa = cache.acquireTargaImage(L"graphics\\toggle.jpg");
    EXPECT_NE(targa, shell);
    EXPECT_EQ(targa->targa, nullptr);
    // A failed Targa picture is not reused: the next request tries the file again.
    Image* retry = cache.acquireTargaImage(L"graphics\\toggle.jpg");
    EXPECT_NE(retry, targa);

    Image* missing = cache.acquireShellImage(mainPath, L"graphics\\none.jpg", false);
    EXPECT_EQ(missing->bitmap, nullptr);
    EXPECT_EQ(missing->width, 0);
    EXPECT_EQ(cache.acquireShellImage(mainPath, L"graphics\\none.jpg", false), missing);
    EXPECT_EQ(cache.filledSlots(), 4);
    for (Image* image : {shell, targa, retry, missing, missing}) cache.releaseImage(image, false);
    cache.trimImageCache();
    EXPECT_EQ(cache.filledSlots(), 0);
}

TEST(ImageCache, TheTwoHundredAndFirstPictureIsReportedAndServedOutsideTheCache) {
    const auto paths = writeTinyTargas("full", ImageCache::SlotCount + 2);
    MessageBoxWatch boxes;
    ImageCache cache;
    std::vector<Image*> held;
    for (int i = 0; i < ImageCache::SlotCount; ++i)
        held.push_back(cache.acquireTargaImage(paths[i]));
    EXPECT_EQ(cache.filledSlots(), ImageCache::SlotCount);
    EXPECT_TRUE(boxes.seen.empty());

    Image* extra = cache.acquireTargaImage(paths[200]);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, L"bmp cachefull");
    EXPECT_EQ(boxes.seen[0].caption, L"");
    EXPECT_EQ(boxes.seen[0].flags, platform::mb::IconQuestion);
    ASSERT_NE(extra->targa, nullptr);
    EXPECT_EQ(extra->refCount, 1);
    // It is never found again: asking once more makes another one and another message.
    Image* extraAgain = cache.acquireTargaImage(paths[200]);
    EXPECT_NE(extraAgain, extra);
    EXPECT_EQ(boxes.seen.size(), 2u);
    cache.releaseImage(extra, false);  // destroyed with its last reference
    cache.releaseImage(extraAgain, true);
    EXPECT_EQ(cache.filledSlots(), ImageCache::SlotCount);

    // Once a slot can be trimmed, the next picture takes it quietly.
    cache.releaseImage(held[7], false);
    Image* fits = cache.acquireTargaImage(paths[201]);
    EXPECT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(cache.filledSlots(), ImageCache::SlotCount);
    EXPECT_EQ(cache.acquireTargaImage(paths[201]), fits);
}

TEST(ShellPictures, DibsAreCountedWhileTheyLive) {
    const std::wstring mainPath = test::useInstallFolder();
    const int before = liveDibCount();
    {
        Dib dib = loadShellImageAsDib(mainPath + L"graphics\\vorn.jpg");
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(dib->width(), 120);
        EXPECT_EQ(dib->height(), 80);
        EXPECT_EQ(liveDibCount(), before + 1);
        EXPECT_EQ(loadShellImageAsDib(mainPath + L"graphics\\none.jpg"), nullptr);
        EXPECT_EQ(createDib24(0, 5), nullptr);
        EXPECT_EQ(liveDibCount(), before + 1);
    }
    EXPECT_EQ(liveDibCount(), before);
}

TEST(ShellPictures, StretchAndBlit) {
    const std::wstring mainPath = test::useInstallFolder();
    Image image;
    image.twoFrames = true;
    loadShellImage(mainPath, L"graphics\\toggle.jpg", image);
    ASSERT_NE(image.bitmap, nullptr);
    const platform::Colour corner = image.bitmap->pixel(0, 0);
    const platform::Colour farCorner = image.bitmap->pixel(95, 23);
    image.alternate = createDib24(96, 24);
    const int before = liveDibCount();

    stretchImage(image, 192, 48);
    EXPECT_EQ(image.bitmap->width(), 192);
    EXPECT_EQ(image.alternate->height(), 48);
    EXPECT_EQ(image.width, 96);  // one frame
    EXPECT_EQ(image.height, 48);
    EXPECT_EQ(image.bitmap->pixel(0, 0), corner);
    EXPECT_EQ(image.bitmap->pixel(191, 47), farCorner);
    EXPECT_EQ(liveDibCount(), before + 1);  // the old alternate went, two new DIBs came

    platform::DeviceContext dc;
    auto target = std::make_shared<platform::Bitmap>(30, 20);
    target->fill(0x123456);
    dc.selectBitmap(target);
    blitImage(image, dc, {5, 5, 15, 10});
    EXPECT_EQ(target->pixel(5, 5), corner);
    EXPECT_EQ(target->pixel(4, 5), 0x123456u);
    EXPECT_EQ(target->pixel(15, 5), 0x123456u);
}

}  // namespace
}  // namespace gfx
