// Program start-up without the display, and the device log that every program writes to.

#include "platform/services/program_environment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "platform/api/device.h"

namespace platform {
namespace {

// The log is rotated once it passes this size, so a long-running device cannot fill the disk.
constexpr off_t kLogRotateBytes = 4 * 1024 * 1024;

struct LogState {
    std::mutex mutex;
    std::string programName;
};

LogState& logState() {
    static LogState state;
    return state;
}

std::string baseName(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string programName() {
    auto& state = logState();
    std::lock_guard lock(state.mutex);
    if (state.programName.empty()) {
        std::wstring self = ownDevicePath();
        if (!self.empty()) {
            state.programName = baseName(toUtf8(self));
        } else {
            char comm[64] = {};
            FILE* f = std::fopen("/proc/self/comm", "r");
            if (f && std::fgets(comm, sizeof comm, f))
                state.programName = comm;
            if (f)
                std::fclose(f);
            while (!state.programName.empty() && state.programName.back() == '\n') {
                state.programName.pop_back();
            }
        }
    }
    return state.programName;
}

std::string timestamp() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    gmtime_r(&now.tv_sec, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>(now.tv_nsec / 1000000));
    return text;
}

// Opens the device log for appending; each line is one write, so lines of programs logging
// at the same moment never interleave.
int openDeviceLog() {
    std::filesystem::path folder = deviceRoot() / ".device" / "log";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::filesystem::path file = folder / "device.log";
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && st.st_size > kLogRotateBytes) {
        close(fd);
        std::filesystem::rename(file, folder / "device.log.1", ec);
        fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    }
    return fd;
}

void writeLine(int fd, const std::string& line) {
    std::size_t done = 0;
    while (done < line.size()) {
        ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::wstring initProgramEnvironment(int argc, char** argv, const StartOptions& options) {
    const char* self = std::getenv("VORN_SELF");
    if (!self || !*self)
        setOwnDevicePath(options.defaultDevicePath);
    {
        auto& state = logState();
        std::lock_guard lock(state.mutex);
        std::wstring path = ownDevicePath();
        if (!path.empty()) {
            state.programName = baseName(toUtf8(path));
        } else if (argc > 0 && argv[0]) {
            state.programName = baseName(argv[0]);
        }
    }
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += L' ';
        commandLine += fromUtf8(argv[i]);
    }
    return commandLine;
}

std::wstring startWindowlessProgram(int argc, char** argv, const StartOptions& options) {
    return initProgramEnvironment(argc, argv, options);
}

void logLine(std::string_view text) {
    std::string line = timestamp() + " [" + std::to_string(getpid()) + "] " + programName() + ": ";
    // One entry is one line of the log, whatever the text holds.
    for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
    line += '\n';
    writeLine(STDERR_FILENO, line);
    int fd = openDeviceLog();
    if (fd < 0)
        return;
    writeLine(fd, line);
    close(fd);
}

}  // namespace platform
