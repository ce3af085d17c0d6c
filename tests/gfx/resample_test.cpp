// Resizing with the two-pass tent filter.

#include <gtest/gtest.h>

#include "gfx/resample.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

using test::makePicture;

using Px = std::array<std::uint8_t, 4>;

const std::uint8_t* at(const TargaPixels& p, int x, int y) {
    return p.row(y) + x * 4;
}

TEST(ResampleTarga, ShrinkingAveragesNeighboursWithTheStretchedTent) {
    const std::uint8_t values[4] = {0, 100, 200, 255};
    const TargaPixels source = makePicture(4, 1, [&](int x, int) {
        return Px{values[x], 10, 255, 255};
    });
    const TargaPixels half = resampleTarga(source, 2, 1);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    // Pixel 0 centres on source 0: weights 2/3 and 1/3 of pixels 0 and 1.
    EXPECT_EQ(at(half, 0, 0)[0], 33);
    // Pixel 1 centres on source 2: weights 1/4, 1/2, 1/4 of pixels 1, 2 and 3.
    EXPECT_EQ(at(half, 1, 0)[0], 188);
    // Flat channels stay exactly as they were, opaque alpha included.
    for (int x = 0; x < 2; ++x) {
        EXPECT_EQ(at(half, x, 0)[1], 10);
        EXPECT_EQ(at(half, x, 0)[2], 255);
        EXPECT_EQ(at(half, x, 0)[3], 255);
    }
}

TEST(ResampleTarga, EnlargingInterpolatesBetweenPixels) {
    const TargaPixels source = makePicture(2, 1, [](int x, int) {
        return x == 0 ? Px{0, 0, 0, 0} : Px{200, 100, 50, 255};
    });
    const TargaPixels twice = resampleTarga(source, 4, 1);
    ASSERT_EQ(twice.width, 4);
    EXPECT_EQ(at(twice, 0, 0)[0], 0);
    EXPECT_EQ(at(twice, 1, 0)[0], 100);  // half way
    EXPECT_EQ(at(twice, 1, 0)[3], 127);
    EXPECT_EQ(at(twice, 2, 0)[0], 200);
    EXPECT_EQ(at(twice, 3, 0)[1], 100);
}

TEST(ResampleTarga, ColumnsAreFilteredLikeRows) {
    // A picture resized along its rows and its transpose resized along its columns give
    // transposed results (one pass each, so no intermediate rounding differs).
    auto value = [](int a, int b) {
        return Px{static_cast<std::uint8_t>(a * 37 + b * 11), static_cast<std::uint8_t>(a * 5),
                  static_cast<std::uint8_t>(255 - b * 9), static_cast<std::uint8_t>(a * b * 3)};
    };
    const TargaPixels wide = makePicture(13, 5, [&](int x, int y) { return value(x, y); });
    const TargaPixels tall = makePicture(5, 13, [&](int x, int y) { return value(y, x); });
    for (int length : {6, 29}) {
        const TargaPixels a = resampleTarga(wide, length, 5);
        const TargaPixels b = resampleTarga(tall, 5, length);
        ASSERT_EQ(a.width, length);
        ASSERT_EQ(b.height, length);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < length; ++x) {
                for (int c = 0; c < 4; ++c) {
                    ASSERT_EQ(at(a, x, y)[c], at(b, y, x)[c]) << x << "," << y << " ch " << c;
                }
            }
        }
    }
}

TEST(ResampleTarga, SameSizeCopiesAndThreeBytePicturesBecomeOpaque) {
    const TargaPixels rgb = makePicture(
        3, 2,
        [](int x, int y) {
            return Px{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 70), 9, 0};
        },
        3);
    const TargaPixels copy = resampleTarga(rgb, 3, 2);
    ASSERT_EQ(copy.bytesPerPixel, 4);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(at(copy, x, y)[0], x * 50);
            EXPECT_EQ(at(copy, x, y)[1], y * 70);
            EXPECT_EQ(at(copy, x, y)[3], 255);
        }
    }
    // Large factors both ways keep a flat picture flat.
    const TargaPixels flat = makePicture(50, 3, [](int, int) { return Px{77, 128, 255, 255}; });
    for (auto size : {std::pair{1, 1}, std::pair{7, 40}, std::pair{301, 2}}) {
        const TargaPixels r = resampleTarga(flat, size.first, size.second);
        ASSERT_EQ(r.pixels.size(), static_cast<std::size_t>(size.first) * size.second * 4);
        for (std::size_t i = 0; i < r.pixels.size(); i += 4) {
            ASSERT_EQ((Px{r.pixels[i], r.pixels[i + 1], r.pixels[i + 2], r.pixels[i + 3]}),
                      (Px{77, 128, 255, 255}));
        }
    }
}

TEST(ResampleTarga, EmptyResultForBadSizesAndCancellation) {
    const TargaPixels source = makePicture(8, 8, [](int x, int y) {
        return Px{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0, 255};
    });
    for (auto size : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{4, -1}}) {
        const TargaPixels r = resampleTarga(source, size.first, size.second);
        EXPECT_EQ(r.width, 0);
        EXPECT_EQ(r.height, 0);
        EXPECT_TRUE(r.pixels.empty());
    }
    EXPECT_TRUE(resampleTarga(TargaPixels{}, 4, 4).pixels.empty());

    std::vector<int> seen;
    const TargaPixels done = resampleTarga(source, 3, 5, [&](int percent) {
        seen.push_back(percent);
        return true;
    });
    EXPECT_EQ(done.width, 3);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.front(), 0);
    EXPECT_GE(seen.back(), 50);
    EXPECT_LE(seen.back(), 100);

    const TargaPixels cancelled =
        resampleTarga(source, 3, 5, [](int percent) { return percent < 50; });
    EXPECT_EQ(cancelled.width, 0);
    EXPECT_TRUE(cancelled.pixels.empty());
}

}  // namespace
}  // namespace gfx
