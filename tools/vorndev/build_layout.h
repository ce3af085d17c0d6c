#pragma once
// Where the built programs are and where they go on the device. vorndev finds the build it
// belongs to through its own executable: the programs are in the same bin/ folder, the shared
// libraries in the lib/ folder beside it.

#include <filesystem>
#include <span>
#include <string>

namespace vorndev {

struct InstalledProgram {
    const char* hostFile;  // relative to the build folder
    const wchar_t* devicePath;
};

// The programs the installer links into the device, by their device paths.
std::span<const InstalledProgram> installedPrograms();

// The device folder the system is installed into and the main program in it.
extern const wchar_t* const kInstallFolder;
extern const wchar_t* const kMainProgram;
// The device's standard folders, created by init.
std::span<const wchar_t* const> standardFolders();

// The build folder holding bin/ and lib/ (the parent of the folder this executable is in).
std::filesystem::path buildFolder();
// This executable.
std::filesystem::path selfExecutable();
// The source tree's data/ folder, the install folder's content.
std::filesystem::path sourceDataFolder();
// The installer hook library: $VORN_INSTALLER_HOOK when set ("none": no hook, empty path),
// else the one in the build's lib/ (which may not have been built yet).
std::filesystem::path installerHookLibrary();

}  // namespace vorndev
