#include "tests/screens/support/screen_device.h"

#include <stdlib.h>

#include "platform/api/controls.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/test_device.h"

namespace screens::test {
namespace {

std::filesystem::path& installFolder() {
    static std::filesystem::path install;
    return install;
}

}  // namespace

const std::filesystem::path& screenTestDevice() {
    std::filesystem::path& install = installFolder();
    const auto& root = platform::test::useTestDevice("240x320");
    ::setenv("VORN_DISPLAY", "headless", 1);
    install = root / "Program Files" / "Vorn Roamer";
    if (!std::filesystem::exists(install)) {
        std::filesystem::create_directories(root / "Program Files");
        std::filesystem::copy(std::filesystem::path(VORN_SOURCE_DIR) / "data", install,
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(root / "windows");
        std::filesystem::create_symlink(platform::test::builtProgram("vorn_fake_comms"),
                                        root / "windows" / "vornroamer3_sched.exe");
    }
    platform::installShell();
    platform::registerNativeControls();
    return install;
}

void restoreInstalledFile(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(VORN_SOURCE_DIR) / "data" / name,
                               installFolder() / name,
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace screens::test
