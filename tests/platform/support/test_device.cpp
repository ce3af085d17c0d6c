#include "tests/platform/support/test_device.h"

#include <spawn.h>
#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/api/device.h"
#include "platform/api/profile.h"

extern char** environ;

namespace platform::test {
namespace {

struct Device {
    std::filesystem::path root;
    ~Device() {
        std::error_code ec;
        if (!root.empty() && !std::getenv("VORN_KEEP_TEST_DEVICE")) {
            std::filesystem::remove_all(root, ec);
        }
    }
};

}  // namespace

const std::filesystem::path& useTestDevice(std::string_view screen) {
    static Device device;
    if (device.root.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vorn-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create test device");
        ::setenv("VORN_DEVICE", pattern.c_str(), 1);
        setDeviceRoot(pattern);
        device.root = deviceRoot();  // as the platform spells it, for the comparison below
        if (screen.empty())
            screen = "240x320";
    } else if (deviceRoot() != device.root) {
        // A test that used a device of its own left the platform on it.
        setDeviceRoot(device.root);
    }
    if (screen.empty())
        return device.root;
    auto profile = screenProfileFromName(screen);
    if (!profile)
        throw std::runtime_error("unknown screen profile");
    setScreenProfile(*profile);
    return device.root;
}

std::filesystem::path builtProgram(std::string_view name) {
    return std::filesystem::path(VORN_BINARY_DIR) / "bin" / std::string(name);
}

pid_t spawnSelfOnDevice(const std::filesystem::path& root, const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (!std::string_view(*e).starts_with("VORN_DEVICE="))
            env.emplace_back(*e);
    }
    env.push_back("VORN_DEVICE=" + root.string());
    env.insert(env.end(), extra.begin(), extra.end());
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid = 0;
    return posix_spawn(&pid, self, nullptr, nullptr, argv, envp.data()) == 0 ? pid : -1;
}

}  // namespace platform::test
