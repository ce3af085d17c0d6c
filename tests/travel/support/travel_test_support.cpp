#include "tests/travel/support/travel_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/api/registry.h"
#include "tests/platform/support/test_device.h"

namespace travel::test {

void prepareDevice(std::initializer_list<std::string_view> extraFiles) {
    platform::test::useTestDevice();
    const std::filesystem::path folder = *platform::hostPath(kMainPath);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "downloads");
    std::vector<std::string_view> files{"lang/lang.dat", "lang/lang.0409.mui.txt"};
    files.insert(files.end(), extraFiles.begin(), extraFiles.end());
    for (std::string_view file : files) {
        const std::filesystem::path target = folder / file;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(std::filesystem::path(VORN_SOURCE_DIR) / "data" / file, target);
    }
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    ASSERT_TRUE(platform::setUserInterfaceLanguage(0x0409));
    ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
    const int row = core::languageList().find(core::languageListField::Code, L"0409", true);
    ASSERT_GT(row, 0);
    core::languageList().setCurrentRow(row);
    ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
}

void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes) {
    const std::filesystem::path host = *platform::hostPath(devicePath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary);
    out << bytes;
}

void writeDownload(std::wstring_view name, std::string_view bytes) {
    writeDeviceFile(std::wstring(kDownloads) + std::wstring(name), bytes);
}

bool downloadExists(std::wstring_view name) {
    return platform::fileExists(std::wstring(kDownloads) + std::wstring(name));
}

std::string flightXml(std::initializer_list<std::string_view> flights) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FlightHistoryGetHistoryResponse>\n";
    for (std::string_view flight : flights) {
        xml += "<FlightHistory>";
        xml += flight;
        xml += "</FlightHistory>\n";
    }
    xml += "</FlightHistoryGetHistoryResponse>\n";
    return xml;
}

}  // namespace travel::test
