// Map pictures and the satellite and radar loops: which frames exist, stepping through them
// both ways with gaps and wrapping, pictures that do not decode, and deleting a city's files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/record_table.h"
#include "tests/weather/support/weather_test_support.h"
#include "weather/weather_data.h"
#include "worldtime/cities.h"

namespace weather {
namespace {

using test::copyToDownloads;
using test::kDownloads;

constexpr const char* kJpeg = "graphics/vorn_vga.jpg";

class WeatherPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override { test::prepareDevice(); }
    void writeFrames(std::wstring_view stem, std::initializer_list<int> frames) {
        for (int frame : frames) copyToDownloads(kJpeg, frameNameOf(stem, frame));
    }
    static std::vector<int> steps(WeatherData& data, int count, bool forward = false) {
        std::vector<int> shown;
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(forward ? data.stepFrameForward() : data.stepFrame());
            shown.push_back(data.frameIndex());
        }
        return shown;
    }
};

TEST_F(WeatherPicturesTest, FramesStepDownThroughTheOnesPresentAndWrap) {
    writeFrames(L"Europe_sat", {0, 3, 7});
    WeatherData satellite(fileKind::Satellite, L"Europe", Units{}, kDownloads);
    EXPECT_EQ(satellite.path(), L"Europe_sat");
    EXPECT_EQ(satellite.frameIndex(), 0);
    EXPECT_EQ(satellite.frameCount(), 3);
    EXPECT_EQ(steps(satellite, 5), (std::vector<int>{7, 3, 0, 7, 3}));
    EXPECT_EQ(steps(satellite, 4, true), (std::vector<int>{7, 0, 3, 7}));

    writeFrames(L"Europe_rad", {2, 5});
    WeatherData radar(fileKind::Radar, L"Europe", Units{}, kDownloads);
    EXPECT_EQ(radar.path(), L"Europe_rad");
    EXPECT_TRUE(radar.exists());  // moves to the first frame the loop shows
    EXPECT_EQ(radar.frameIndex(), 5);
    EXPECT_EQ(steps(radar, 4), (std::vector<int>{2, 5, 2, 5}));
}

TEST_F(WeatherPicturesTest, OneFrameStaysAndNoFramesSayNoData) {
    writeFrames(L"Japan_sat", {10});
    WeatherData one(fileKind::Satellite, L"Japan", Units{}, kDownloads);
    EXPECT_EQ(steps(one, 3), (std::vector<int>{10, 10, 10}));
    EXPECT_TRUE(one.load());
    EXPECT_FALSE(one.noData());

    WeatherData none(fileKind::Radar, L"Japan", Units{}, kDownloads);
    EXPECT_EQ(none.frameCount(), 0);
    EXPECT_FALSE(none.stepFrame());
    EXPECT_FALSE(none.exists());
    EXPECT_TRUE(none.noData());
    EXPECT_FALSE(none.load());
    EXPECT_EQ(none.image(), nullptr);
    // Files that only look like frames are not frames.
    test::writeDownload(L"Japan_rad11.dat", "x");
    test::writeDownload(L"Japan_rad_old.dat", "x");
    WeatherData lookalikes(fileKind::Radar, L"Japan", Units{}, kDownloads);
    EXPECT_EQ(lookalikes.frameCount(), 0);
    EXPECT_FALSE(lookalikes.stepFrame());
}

TEST_F(WeatherPicturesTest, AFrameThatDoesNotDecodeLeavesTheOthersShowing) {
    writeFrames(L"Europe_sat", {1, 4});
    test::writeDownload(frameNameOf(L"Europe_sat", 3), "not a picture at all");
    WeatherData satellite(fileKind::Satellite, L"Europe", Units{}, kDownloads);
    ASSERT_TRUE(satellite.stepFrame());
    EXPECT_EQ(satellite.frameIndex(), 4);
    ASSERT_TRUE(satellite.load());
    ASSERT_NE(satellite.image(), nullptr);
    EXPECT_GT(satellite.image()->width(), 0);
    ASSERT_TRUE(satellite.stepFrame());
    EXPECT_EQ(satellite.frameIndex(), 3);
    EXPECT_FALSE(satellite.load());
    EXPECT_EQ(satellite.image(), nullptr);
    ASSERT_TRUE(satellite.stepFrame());
    EXPECT_EQ(satellite.frameIndex(), 1);
    EXPECT_TRUE(satellite.load());
}

TEST_F(WeatherPicturesTest, MapPicturesLoadAndBrokenOnesShowNoData) {
    copyToDownloads(kJpeg, L"LON_m.dat");
    WeatherData map(fileKind::ForecastMap, L"LON", Units{}, kDownloads);
    EXPECT_EQ(map.path(), L"LON_m.dat");
    EXPECT_TRUE(map.exists());
    EXPECT_TRUE(map.load());
    EXPECT_FALSE(map.noData());
    ASSERT_NE(map.image(), nullptr);
    map.releaseImage();
    EXPECT_EQ(map.image(), nullptr);

    WeatherData missing(fileKind::UserMap, L"LON", Units{}, kDownloads);
    EXPECT_EQ(missing.path(), L"LON_m4.dat");
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(missing.load());
    EXPECT_TRUE(missing.noData());

    // A truncated picture, and one far too large for a map.
    std::string truncated(4000, '\0');
    truncated[0] = '\xFF';
    truncated[1] = '\xD8';
    test::writeDownload(L"LON_m4.dat", truncated);
    WeatherData broken(fileKind::UserMap, L"LON", Units{}, kDownloads);
    EXPECT_TRUE(broken.exists());
    EXPECT_FALSE(broken.load());
    EXPECT_TRUE(broken.noData());
    EXPECT_FALSE(broken.exists());
    test::writeDownload(L"LON_m.dat", std::string(kMaxWeatherPictureBytes + 1, 'x'));
    WeatherData huge(fileKind::ForecastMap, L"LON", Units{}, kDownloads);
    EXPECT_FALSE(huge.load());
    EXPECT_TRUE(huge.noData());
}

TEST_F(WeatherPicturesTest, DeletingRemovesOnlyTheCitysFilesAndTheRegionsFrames) {
    const std::vector<std::wstring> own{L"LON.dat",   L"LON_d.dat", L"LON_c.dat", L"LON_m.dat",
                                        L"LON_a.dat", L"LON_s.dat", L"LON_w.dat", L"LON_m4.dat"};
    const std::vector<std::wstring> others{L"PAR.dat",   L"PAR_c.dat",      L"LONDON.dat",
                                           L"LON_x.dat", L"Japan_sat1.dat", L"Europe_rad11.dat"};
    for (const auto& name : own) test::writeDownload(name, "x");
    for (const auto& name : others) test::writeDownload(name, "x");
    writeFrames(L"Europe_sat", {0, 10});
    writeFrames(L"Europe_rad", {5});

    EXPECT_EQ(deleteFiles(kDownloads, L"..\\downloads\\LON"), 0);
    EXPECT_EQ(deleteFrames(kDownloads, L"..\\Europe"), 0);
    EXPECT_EQ(deleteFiles(kDownloads, L"LON"), 8);
    EXPECT_EQ(deleteFrames(kDownloads, L"Europe"), 3);
    for (const auto& name : own) EXPECT_FALSE(test::downloadExists(name)) << platform::toUtf8(name);
    for (const auto& name : others)
        EXPECT_TRUE(test::downloadExists(name)) << platform::toUtf8(name);
    EXPECT_FALSE(test::downloadExists(L"Europe_sat0.dat"));
    EXPECT_EQ(deleteFiles(kDownloads, L"LON"), 0);
}

TEST_F(WeatherPicturesTest, RegionsComeFromTheFavouriteWithTheCode) {
    core::RecordTable favourites(worldtime::cityField::Count);
    for (auto [code, region] : {std::pair{L"LON", L"BritishIsles"}, std::pair{L"TYO", L"Japan"},
                                std::pair{L"NYC", L""}}) {
        const int row = favourites.appendRow();
        favourites.setField(row, worldtime::cityField::Code, code);
        favourites.setField(row, worldtime::cityField::MapRegion, region);
    }
    EXPECT_EQ(mapRegionOf(favourites, L"TYO"), L"Japan");
    EXPECT_EQ(mapRegionOf(favourites, L"NYC"), L"");
    EXPECT_EQ(mapRegionOf(favourites, L"PAR"), L"");
    EXPECT_EQ(mapRegionOf(favourites, L""), L"");
    EXPECT_TRUE(isRadarRegion(L"britishisles"));
    EXPECT_TRUE(isRadarRegion(L"CENTRALASIA"));
    EXPECT_FALSE(isRadarRegion(L"NorthAmerica"));
    EXPECT_FALSE(isRadarRegion(L""));
}

}  // namespace
}  // namespace weather
