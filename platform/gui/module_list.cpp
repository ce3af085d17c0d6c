// Which of the device's programs have a library loaded: the library's file, its links
// followed, against the files each program's process has mapped.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/api/device.h"
#include "platform/api/modules.h"
#include "platform/api/window.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// True when a line of /proc/PID/maps names the file: the path is the last field.
bool mapsFile(const std::string& line, const std::string& file) {
    std::string_view rest(line);
    constexpr std::string_view kDeleted = " (deleted)";
    if (rest.ends_with(kDeleted))
        rest.remove_suffix(kDeleted.size());
    return rest.size() > file.size() && rest.ends_with(file) &&
           rest[rest.size() - file.size() - 1] == ' ';
}

bool processMaps(ProcessId pid, const std::string& file) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    for (std::string line; std::getline(maps, line);) {
        if (mapsFile(line, file))
            return true;
    }
    return false;
}

}  // namespace

std::vector<ProcessId> processesUsingModule(std::wstring_view deviceModulePath) {
    auto host = hostPath(deviceModulePath);
    if (!host)
        return {};
    std::error_code ec;
    fs::path file = fs::canonical(*host, ec);
    if (ec)
        return {};
    std::set<ProcessId> programs;
    for (const auto& w : listWindows()) {
        if (w.processId > 0)
            programs.insert(w.processId);
    }
    std::vector<ProcessId> out;
    for (ProcessId pid : programs) {
        if (processMaps(pid, file.string()))
            out.push_back(pid);
    }
    return out;
}

}  // namespace platform
