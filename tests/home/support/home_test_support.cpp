#include "tests/home/support/home_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/api/registry.h"
#include "tests/platform/support/test_device.h"

namespace home::test {
namespace {

std::filesystem::path sourcePath(std::string_view relative) {
    return std::filesystem::path(VORN_SOURCE_DIR) / std::string(relative);
}

}  // namespace

void prepareDevice() {
    platform::test::useTestDevice();
    const std::filesystem::path folder = *platform::hostPath(kMainPath);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "downloads");
    for (std::string_view file : {"lang/lang.dat", "lang/lang.0409.mui.txt",
                                  "lang/lang.0407.mui.txt", "dstinfo.dat", "mycities.dat"}) {
        const std::filesystem::path target = folder / file;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(sourcePath("data/" + std::string(file)), target);
    }
    for (std::string_view dir : {"home", "clocks", "icons/customweather"}) {
        std::filesystem::create_directories(folder / dir);
        std::filesystem::copy(sourcePath("data/" + std::string(dir)), folder / dir,
                              std::filesystem::copy_options::recursive);
    }
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    ASSERT_TRUE(platform::setUserInterfaceLanguage(0x0409));
    ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
    const int row = core::languageList().find(core::languageListField::Code,
                                              core::languageCodeFor(0x0409), true);
    ASSERT_GT(row, 0);
    core::languageList().setCurrentRow(row);
    ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
}

void writeFile(std::wstring_view devicePath, std::string_view bytes) {
    ASSERT_TRUE(platform::writeFileAtomic(
        devicePath, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

void writeDownload(std::wstring_view name, std::string_view bytes) {
    writeFile(std::wstring(kDownloads) + std::wstring(name), bytes);
}

std::string readSource(std::string_view relative) {
    std::ifstream in(sourcePath(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

platform::FileTime utcAt(int year, int month, int day, int hour, int minute) {
    platform::SystemTime t{};
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return platform::toFileTime(t).value_or(0);
}

int countPixels(const platform::Bitmap& bitmap, const platform::Rect& rect,
                platform::Colour colour) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) count += bitmap.pixel(x, y) == colour;
    }
    return count;
}

int countOtherPixels(const platform::Bitmap& bitmap, const platform::Rect& rect,
                     platform::Colour colour) {
    return rect.width() * rect.height() - countPixels(bitmap, rect, colour);
}

}  // namespace home::test
