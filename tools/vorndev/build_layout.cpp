#include "tools/vorndev/build_layout.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "tools/vorndev/command_line.h"

namespace vorndev {
namespace {

constexpr InstalledProgram kPrograms[] = {
    {"bin/vornroamer3", L"\\Program Files\\Vorn Roamer\\vornroamer3.exe"},
    {"bin/vornalarms", L"\\windows\\vornalarms.exe"},
    {"lib/libVornRoamerToday.so", L"\\windows\\VornRoamerToday.dll"},
    {"bin/vornroamer3_sched", L"\\windows\\vornroamer3_sched.exe"},
    {"bin/poutlook", L"\\windows\\poutlook.exe"},
};

constexpr std::array<const wchar_t*, 4> kFolders = {
    L"\\windows",
    L"\\Program Files\\Vorn Roamer",
    L"\\My Documents",
    L"\\Temp",
};

}  // namespace

const wchar_t* const kInstallFolder = L"\\Program Files\\Vorn Roamer\\";
const wchar_t* const kMainProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";

std::span<const InstalledProgram> installedPrograms() {
    return kPrograms;
}

std::span<const wchar_t* const> standardFolders() {
    return kFolders;
}

std::filesystem::path selfExecutable() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw Failure("cannot find the vorndev executable: " + ec.message());
    return self;
}

std::filesystem::path buildFolder() {
    return selfExecutable().parent_path().parent_path();
}

std::filesystem::path sourceDataFolder() {
    return std::filesystem::path(VORN_SOURCE_DIR) / "data";
}

std::filesystem::path installerHookLibrary() {
    const char* chosen = std::getenv("VORN_INSTALLER_HOOK");
    if (chosen && *chosen)
        return std::string_view(chosen) == "none" ? "" : chosen;
    return buildFolder() / "lib" / "libvornhook.so";
}

}  // namespace vorndev
