// Where the device lives on the host, and which device path this program was started as.

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/api/device.h"
#include "platform/device/state_store.h"

namespace platform {
namespace {

struct RootState {
    std::mutex mutex;
    std::optional<std::filesystem::path> rootOverride;
    std::optional<std::wstring> ownPathOverride;
};

RootState& rootState() {
    static RootState state;
    return state;
}

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

// The root is kept absolute and without "." or ".." parts, so that the lexical
// under-the-root checks of hostPath and devicePathOf compare like with like.
std::filesystem::path normalisedRoot(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(p, ec);
    if (ec)
        absolute = p;
    absolute = absolute.lexically_normal();
    if (absolute.has_filename() == false && absolute != absolute.root_path()) {
        absolute = absolute.parent_path();
    }
    return absolute;
}

}  // namespace

std::filesystem::path deviceRoot() {
    auto& state = rootState();
    {
        std::lock_guard lock(state.mutex);
        if (state.rootOverride)
            return *state.rootOverride;
    }
    if (const char* env = std::getenv("VORN_DEVICE"); env && *env)
        return normalisedRoot(env);
    // Test programs set this so that a test that forgot its own device stops here, loudly,
    // instead of creating or changing the user's device below the home folder.
    if (const char* refuse = std::getenv("VORN_NO_DEFAULT_DEVICE"); refuse && *refuse) {
        std::fprintf(stderr,
                     "device: no device root given (VORN_DEVICE) and "
                     "VORN_NO_DEFAULT_DEVICE forbids the default one\n");
        std::abort();
    }
    return normalisedRoot(homeFolder() / ".local/share/vornroamer/device");
}

void setDeviceRoot(const std::filesystem::path& root) {
    auto& state = rootState();
    {
        std::lock_guard lock(state.mutex);
        state.rootOverride = normalisedRoot(root);
    }
    // The open machine-state store belongs to the previous root.
    state::Store::closeInstance();
}

std::wstring ownDevicePath() {
    auto& state = rootState();
    {
        std::lock_guard lock(state.mutex);
        if (state.ownPathOverride)
            return *state.ownPathOverride;
    }
    if (const char* env = std::getenv("VORN_SELF"); env && *env)
        return fromUtf8(env);
    return {};
}

void setOwnDevicePath(std::wstring_view devicePath) {
    auto& state = rootState();
    std::lock_guard lock(state.mutex);
    state.ownPathOverride = std::wstring(devicePath);
}

}  // namespace platform
