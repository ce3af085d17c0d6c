#pragma once
// The fixture of the packing-list tests: an install folder on the throw-away test device with
// the English language file, the shipped packing folder and the list icons copied in, put back
// before each test, so every test starts from what a fresh installation holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/language.h"
#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"
#include "travel/packing_store.h"

namespace travel::test {

inline const std::wstring kMainPath = L"\\Program Files\\Vorn Roamer\\";

class PackingFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = platform::test::useTestDevice();
        install_ = root_ / "Program Files" / "Vorn Roamer";
        std::filesystem::remove_all(install_);
        std::filesystem::create_directories(install_);
        const std::filesystem::path source = std::filesystem::path(VORN_SOURCE_DIR) / "data";
        for (const char* folder : {"lang", "packing", "listicons"})
            std::filesystem::copy(source / folder, install_ / folder,
                                  std::filesystem::copy_options::recursive);
        ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
        ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
    }

    std::filesystem::path packingHost(const std::string& name) const {
        return install_ / "packing" / name;
    }
    void writeFile(const std::string& name, const std::string& text) const {
        std::ofstream out(packingHost(name), std::ios::binary);
        out << text;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(packingHost(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The file's text without the byte-order mark.
    std::string fileText(const std::string& name) const {
        std::string text = readFile(name);
        return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
    }

    std::filesystem::path root_;
    std::filesystem::path install_;
};

}  // namespace travel::test
