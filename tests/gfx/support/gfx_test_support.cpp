#include "tests/gfx/support/gfx_test_support.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "tests/platform/support/test_device.h"

namespace gfx::test {

std::wstring useInstallFolder(std::string_view screen) {
    const auto& root = platform::test::useTestDevice(screen);
    const auto programFiles = root / "Program Files";
    std::filesystem::create_directories(programFiles);
    const auto link = programFiles / "Vorn Roamer";
    if (!std::filesystem::exists(link)) {
        std::filesystem::create_directory_symlink(std::filesystem::path(VORN_SOURCE_DIR) / "data",
                                                  link);
    }
    return L"\\Program Files\\Vorn Roamer\\";
}

std::wstring scratchFolder(std::string_view name) {
    useInstallFolder();
    std::wstring folder = L"\\gfxtest\\" + platform::fromUtf8(name) + L"\\";
    platform::createFolder(folder);
    return folder;
}

std::filesystem::path hostOf(std::wstring_view devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host)
        throw std::runtime_error("bad device path");
    return *host;
}

void writeBytes(std::wstring_view devicePath, const std::vector<std::uint8_t>& bytes) {
    if (!platform::writeFileAtomic(devicePath, bytes))
        throw std::runtime_error("write failed");
}

std::vector<std::uint8_t> targaHeader(int type, int width, int height, int depth,
                                      std::uint8_t descriptor) {
    std::vector<std::uint8_t> h(18, 0);
    h[2] = static_cast<std::uint8_t>(type);
    h[12] = static_cast<std::uint8_t>(width & 0xFF);
    h[13] = static_cast<std::uint8_t>(width >> 8);
    h[14] = static_cast<std::uint8_t>(height & 0xFF);
    h[15] = static_cast<std::uint8_t>(height >> 8);
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = descriptor;
    return h;
}

void switchScreen(std::string_view screen, int dpi) {
    useInstallFolder();
    auto profile = platform::screenProfileFromName(screen, dpi);
    if (!profile)
        throw std::runtime_error("unknown screen");
    platform::setScreenProfile(*profile);
    platform::broadcastScreenChanged();
}

bool convertAvailable() {
    return std::filesystem::exists("/usr/bin/convert");
}

bool runConvert(const std::string& arguments) {
    if (!convertAvailable())
        return false;
    const std::string command = "/usr/bin/convert " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

}  // namespace gfx::test
