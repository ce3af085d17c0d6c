#include "tools/vorndev/program_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/window.h"
#include "tools/vorndev/command_line.h"

extern char** environ;

namespace vorndev {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The environment of a started program: this one's, with the device's variables set.
std::vector<std::string> programEnvironment(const std::optional<std::wstring>& devicePath,
                                            const LaunchOptions& options) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string_view entry(*e);
        bool ours = entry.starts_with("VORN_DEVICE=") || entry.starts_with("VORN_SELF=") ||
                    (options.headless && entry.starts_with("VORN_DISPLAY="));
        if (!ours)
            env.emplace_back(entry);
    }
    env.push_back("VORN_DEVICE=" + platform::deviceRoot().string());
    if (devicePath)
        env.push_back("VORN_SELF=" + platform::toUtf8(*devicePath));
    if (options.headless)
        env.push_back("VORN_DISPLAY=headless");
    return env;
}

fs::path outputLog() {
    fs::path logFolder = platform::deviceRoot() / ".device" / "log";
    std::error_code ec;
    fs::create_directories(logFolder, ec);
    return logFolder / "output.log";
}

// Points this process's standard streams elsewhere for as long as it lives, so that a program
// started meanwhile inherits those instead.
class StandardStreamsRedirect {
  public:
    StandardStreamsRedirect(const fs::path& output) {
        std::fflush(nullptr);
        int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (in < 0 || out < 0)
            throw Failure("cannot open " + output.string());
        for (int fd = 0; fd < 3; ++fd) saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::close(in);
        ::close(out);
    }
    ~StandardStreamsRedirect() {
        for (int fd = 0; fd < 3; ++fd) {
            if (saved_[fd] < 0)
                continue;
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
    }

  private:
    int saved_[3] = {-1, -1, -1};
};

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

int spawn(const fs::path& executable, std::vector<std::string> argv, std::vector<std::string> env,
          const LaunchOptions& options) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    flags |= options.detached ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP;
    posix_spawnattr_setflags(&attr, flags);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    std::string output;
    if (options.detached) {
        output = outputLog().string();
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    auto argvPointers = pointers(argv);
    auto envPointers = pointers(env);
    pid_t pid = 0;
    int err = posix_spawn(&pid, executable.c_str(), &actions, &attr, argvPointers.data(),
                          envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (err != 0) {
        throw Failure("cannot start " + executable.string() + ": " + std::strerror(err));
    }
    return pid;
}

// The state letter of a process from /proc, or 0 when there is no such process.
char processState(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return 0;
    auto close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size())
        return 0;
    return line[close + 2];
}

void sleepBriefly() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

bool waitForExit(const std::vector<int>& pids, Clock::time_point deadline) {
    for (;;) {
        bool any = std::any_of(pids.begin(), pids.end(), isProgramRunning);
        if (!any)
            return true;
        if (Clock::now() >= deadline)
            return false;
        sleepBriefly();
    }
}

}  // namespace

int startDeviceProgram(const std::wstring& devicePath, const std::wstring& argumentLine,
                       const LaunchOptions& options) {
    auto host = platform::hostPath(devicePath);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
        throw Failure("no program at " + platform::toUtf8(devicePath) + " on this device");
    }
    std::vector<std::string> argv{host->string()};
    // The argument line reaches the program as its command line, spaces and all.
    if (!argumentLine.empty())
        argv.push_back(platform::toUtf8(argumentLine));
    return spawn(*host, std::move(argv), programEnvironment(devicePath, options), options);
}

int runDeviceProgram(const std::wstring& devicePath, const std::wstring& argumentLine,
                     bool headless) {
    if (headless)
        ::setenv("VORN_DISPLAY", "headless", 1);
    std::optional<platform::ProcessId> pid;
    {
        StandardStreamsRedirect redirect(outputLog());
        pid = platform::startProgram(devicePath, argumentLine);
    }
    if (!pid) {
        throw Failure("cannot start " + platform::toUtf8(devicePath) +
                      ": no such program on the device");
    }
    return *pid;
}

int startHostProgram(const fs::path& executable, const std::vector<std::string>& args,
                     const std::optional<std::wstring>& devicePath, const LaunchOptions& options) {
    std::vector<std::string> argv{executable.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return spawn(executable, std::move(argv), programEnvironment(devicePath, options), options);
}

bool isProgramRunning(int processId) {
    if (processId <= 0)
        return false;
    int status = 0;
    pid_t reaped = ::waitpid(processId, &status, WNOHANG);
    if (reaped == processId)
        return false;
    if (reaped == 0)
        return true;
    char state = processState(processId);
    return state != 0 && state != 'Z' && state != 'X';
}

std::vector<int> programsWithWindows() {
    std::vector<int> pids;
    for (const auto& w : platform::listWindows()) {
        if (std::find(pids.begin(), pids.end(), w.processId) == pids.end()) {
            pids.push_back(w.processId);
        }
    }
    return pids;
}

bool waitForWindows(const std::vector<int>& processIds, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    for (;;) {
        auto withWindows = programsWithWindows();
        bool all = std::all_of(processIds.begin(), processIds.end(), [&](int pid) {
            return std::find(withWindows.begin(), withWindows.end(), pid) != withWindows.end();
        });
        if (all)
            return true;
        bool anyDied = std::any_of(processIds.begin(), processIds.end(),
                                   [](int pid) { return !isProgramRunning(pid); });
        if (anyDied || Clock::now() >= deadline)
            return false;
        sleepBriefly();
    }
}

std::vector<int> closePrograms(const std::vector<int>& processIds,
                               std::chrono::milliseconds grace) {
    // A program still starting up may open its window during the grace period; that window
    // is asked to close as soon as it shows up.
    std::vector<platform::WindowHandle> asked;
    auto askNewWindows = [&] {
        for (const auto& w : platform::listWindows()) {
            bool ours =
                std::find(processIds.begin(), processIds.end(), w.processId) != processIds.end();
            if (ours && std::find(asked.begin(), asked.end(), w.handle) == asked.end()) {
                platform::postMessage(w.handle, platform::wm::Close);
                asked.push_back(w.handle);
            }
        }
    };
    auto deadline = Clock::now() + grace;
    while (Clock::now() < deadline) {
        askNewWindows();
        if (waitForExit(processIds,
                        std::min(deadline, Clock::now() + std::chrono::milliseconds(100))))
            return {};
    }
    std::vector<int> signalled;
    for (int pid : processIds) {
        if (isProgramRunning(pid)) {
            ::kill(pid, SIGTERM);
            signalled.push_back(pid);
        }
    }
    if (waitForExit(processIds, Clock::now() + std::chrono::seconds(3)))
        return signalled;
    for (int pid : processIds) {
        if (isProgramRunning(pid))
            ::kill(pid, SIGKILL);
    }
    waitForExit(processIds, Clock::now() + std::chrono::seconds(3));
    return signalled;
}

}  // namespace vorndev
