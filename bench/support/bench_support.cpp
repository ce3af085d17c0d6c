#include "bench/support/bench_support.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "platform/api/window.h"

extern char** environ;

namespace bench {

namespace fs = std::filesystem;

fs::path binDir() {
    return fs::canonical("/proc/self/exe").parent_path();
}

int runProcess(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
               long* peakKb) {
    std::vector<std::string> argText = args;
    std::vector<char*> argv;
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) envText.emplace_back(*e);
    envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (peakKb)
        *peakKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const fs::path& useScreenDevice(const char* screen) {
    static fs::path root;
    if (!root.empty())
        return root;
    std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    root = pattern;
    ::setenv("VORN_DEVICE", root.c_str(), 1);
    platform::setDeviceRoot(root);
    platform::setScreenProfile(*platform::screenProfileFromName(screen));
    fs::create_directories(root / "Program Files");
    fs::copy(fs::path(VORN_SOURCE_DIR) / "data", root / "Program Files" / "Vorn Roamer",
             fs::copy_options::recursive);
    std::atexit([] { fs::remove_all(root); });
    platform::installShell();
    platform::registerNativeControls();
    return root;
}

void pumpMessages() {
    platform::Message m;
    while (platform::peekMessage(m, true)) {
        if (m.id == platform::wm::Quit || m.id == platform::wm::Timer)
            continue;
        platform::dispatchMessage(m);
    }
}

}  // namespace bench
