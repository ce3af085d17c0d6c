#include "tests/core/support/core_test_support.h"

#include <span>

#include "core/settings.h"
#include "core/windows/windows_link.h"
#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/platform/support/test_device.h"

namespace core::test {

void useDevice() {
    platform::test::useTestDevice();
    // The core's tests watch its boxes, quit requests and posts arrive as a windowed program's.
    core::linkWindows();
}

void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes) {
    useDevice();
    platform::createFolder(platform::folderOf(devicePath));
    platform::writeFileAtomic(
        devicePath, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string readDeviceFile(std::wstring_view devicePath) {
    auto bytes = platform::readFile(devicePath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void clearRegistry() {
    useDevice();
    platform::deleteRegistryKey(platform::Hive::CurrentUser, kSettingsKeyPath);
    platform::deleteRegistryKey(platform::Hive::LocalMachine, kTodayItemKeyPath);
}

BoxCollector::BoxCollector() {
    previous_ = setMessageBoxHook(
        [this](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
            boxes_.push_back({std::wstring(text), std::wstring(caption), flags});
            return 1;
        });
}

BoxCollector::~BoxCollector() {
    setMessageBoxHook(std::move(previous_));
}

bool takeQuitMessage() {
    platform::Message message;
    bool quit = false;
    while (platform::peekMessage(message, true)) {
        if (message.id == platform::wm::Quit)
            quit = true;
    }
    return quit;
}

}  // namespace core::test
