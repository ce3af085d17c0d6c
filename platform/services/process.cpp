// Starting programs by device path, and watching them end.

#include "platform/api/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/services/process_internal.h"

extern char** environ;

namespace platform {
namespace {

// The children this process started, with their exit once reaped: a started program is
// reaped by whoever asks about it first, and its end is remembered for later questions.
struct Children {
    std::mutex mutex;
    std::map<ProcessId, std::optional<ProcessEnd>> table;
};

Children& children() {
    static Children c;
    return c;
}

ProcessEnd endFromStatus(int status) {
    ProcessEnd end;
    end.ended = true;
    if (WIFEXITED(status))
        end.exitCode = WEXITSTATUS(status);
    return end;
}

// Reaps the child if it has ended; nothing when pid is not a child this process started.
// Must be called with the table locked.
std::optional<ProcessEnd> pollChild(Children& c, ProcessId pid) {
    auto it = c.table.find(pid);
    if (it == c.table.end())
        return std::nullopt;
    if (!it->second) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            it->second = endFromStatus(status);
        } else if (r < 0 && errno == ECHILD) {
            it->second = ProcessEnd{true, std::nullopt};  // reaped elsewhere
        } else {
            return ProcessEnd{};
        }
    }
    return *it->second;
}

// Reaps every started child that has ended, so a long-running starter (the notification
// service) leaves no zombies behind.
void reapEndedChildren() {
    auto& c = children();
    std::lock_guard lock(c.mutex);
    for (auto& [pid, end] : c.table) {
        if (!end)
            pollChild(c, pid);
    }
}

bool isExecutableFile(const std::filesystem::path& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(p.c_str(), X_OK) == 0;
}

// The starter's environment with the device and the program's own path; what the
// notification service told the starter about its own start does not reach the child.
std::vector<std::string> childEnvironment(const std::string& root, const std::string& self,
                                          const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        std::string_view entry = *e;
        if (entry.starts_with("VORN_DEVICE=") || entry.starts_with("VORN_SELF=") ||
            entry.starts_with("VORN_NOTIFIED_"))
            continue;
        env.emplace_back(entry);
    }
    env.push_back("VORN_DEVICE=" + root);
    env.push_back("VORN_SELF=" + self);
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

bool isZombie(ProcessId pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    // The state follows the command name, which is in parentheses and may hold anything.
    std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

}  // namespace

std::optional<ProcessId> startProgram(std::wstring_view devicePath, std::wstring_view arguments) {
    return process_internal::startProgramWith(devicePath, arguments, {});
}

std::optional<ProcessId> process_internal::startProgramWith(
    std::wstring_view devicePath, std::wstring_view arguments,
    const std::vector<std::string>& environment) {
    reapEndedChildren();
    auto host = hostPath(devicePath);
    if (!host || !isExecutableFile(*host)) {
        logLine("cannot start " + toUtf8(devicePath) + ": no such program");
        return std::nullopt;
    }
    // The program is told its path as the device spells it, whatever case the caller used.
    std::string self = toUtf8(devicePathOf(*host).value_or(std::wstring(devicePath)));
    std::vector<std::string> env = childEnvironment(deviceRoot().string(), self, environment);
    std::string program = host->string();
    std::string argumentLine = toUtf8(arguments);

    std::vector<char*> argv{program.data()};
    if (!argumentLine.empty())
        argv.push_back(argumentLine.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    // The program starts with default signal handling and nothing blocked, whatever this
    // process has set up for itself.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        logLine("cannot start " + self + ": " + std::strerror(rc));
        return std::nullopt;
    }
    auto& c = children();
    std::lock_guard lock(c.mutex);
    c.table[pid] = std::nullopt;
    return pid;
}

bool isProcessAlive(ProcessId pid) {
    if (pid <= 0)
        return false;
    {
        auto& c = children();
        std::lock_guard lock(c.mutex);
        if (auto end = pollChild(c, pid))
            return !end->ended;
    }
    if (kill(pid, 0) != 0 && errno != EPERM)
        return false;
    return !isZombie(pid);
}

ProcessEnd waitForProcess(ProcessId pid, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        std::optional<ProcessEnd> child;
        {
            auto& c = children();
            std::lock_guard lock(c.mutex);
            child = pollChild(c, pid);
        }
        if (child) {
            if (child->ended)
                return *child;
        } else if (!isProcessAlive(pid)) {
            return ProcessEnd{true, std::nullopt};
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline)
            return ProcessEnd{};
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

}  // namespace platform
