#include "tests/weather/support/weather_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "tests/platform/support/test_device.h"

namespace weather::test {
namespace {

std::filesystem::path sourcePath(std::string_view relative) {
    return std::filesystem::path(VORN_SOURCE_DIR) / std::string(relative);
}

std::filesystem::path installFolder() {
    return *platform::hostPath(kMainPath);
}

}  // namespace

void prepareDevice(std::initializer_list<std::string_view> extraFiles) {
    platform::test::useTestDevice();
    const std::filesystem::path folder = installFolder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "downloads");
    std::vector<std::string_view> files{"lang/lang.dat", "lang/lang.0409.mui.txt",
                                        "lang/lang.0407.mui.txt"};
    files.insert(files.end(), extraFiles.begin(), extraFiles.end());
    for (std::string_view file : files) {
        const std::filesystem::path target = folder / file;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(sourcePath("data/" + std::string(file)), target);
    }
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    useLanguage(0x0409);
}

void useLanguage(platform::LanguageId language) {
    ASSERT_TRUE(platform::setUserInterfaceLanguage(language));
    ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
    const int row = core::languageList().find(core::languageListField::Code,
                                              core::languageCodeFor(language), true);
    ASSERT_GT(row, 0);
    core::languageList().setCurrentRow(row);
    ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
}

void writeDownload(std::wstring_view name, std::string_view bytes) {
    ASSERT_TRUE(platform::writeFileAtomic(
        std::wstring(kDownloads) + std::wstring(name),
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

void copyToDownloads(std::string_view dataFile, std::wstring_view name) {
    std::ifstream in(sourcePath("data/" + std::string(dataFile)), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty()) << dataFile;
    writeDownload(name, bytes);
}

bool downloadExists(std::wstring_view name) {
    return platform::fileExists(std::wstring(kDownloads) + std::wstring(name));
}

}  // namespace weather::test
