#pragma once
// Creating a device and installing the system into it, as the handheld's package installer
// would: the install folder's content is copied (so files the programs write stay on the
// device, never in the source tree) and the built programs are linked to their device paths.
// What was installed is remembered in <root>/.device/installed so it can be removed again.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/profile.h"

namespace vorndev {

// True when the folder holds a device (its machine state exists).
bool isDevice(const std::filesystem::path& root);

// Makes a new device at the current device root: the root folder, the screen profile and the
// standard folders. With replace, an existing device there is removed first; a folder that is
// neither empty nor a device is never touched.
void createDevice(const platform::ScreenProfile& screen, bool replace);

struct InstallSummary {
    int dataFiles = 0;
    std::vector<std::wstring> linked;   // device paths
    std::vector<std::string> notBuilt;  // host files of programs not built yet
    bool hookCalled = false;
};

// Installs the system into the current device. Throws Failure when the hook cancels.
InstallSummary installSystem();

// Removes what installSystem put on the device. Throws Failure when nothing is installed or
// the hook cancels.
void uninstallSystem();

bool isInstalled();

}  // namespace vorndev
