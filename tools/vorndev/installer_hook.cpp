#include "tools/vorndev/installer_hook.h"

#include <dlfcn.h>
#include <unistd.h>

#include <iostream>

#include "platform/api/program.h"

namespace vorndev {

namespace {

// The hook closes the device's programs and may ask the user something, so the installer
// runs as a program of the device, with a display of its own (headless when none is
// reachable, where `vorndev ctl --pid` answers its message boxes).
void becomeInstallerProgram() {
    static bool started = false;
    if (started)
        return;
    started = true;
    std::string name = "vorndev";
    char* argv[] = {name.data(), nullptr};
    platform::startProgram(1, argv, {L"\\windows\\installer.exe", L"Installer"});
    // Headless, a question of the hook waits for an answer from outside.
    if (platform::displayBackendName() == "headless") {
        std::cerr << "vorndev: the installer runs as program " << ::getpid()
                  << "; answer a question of its hook with `vorndev ctl --pid " << ::getpid()
                  << " key y` (or n)\n";
    }
}

}  // namespace

std::unique_ptr<InstallerHook> InstallerHook::load(const std::filesystem::path& library) {
    std::error_code ec;
    if (library.empty() || !std::filesystem::exists(library, ec))
        return nullptr;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        std::cerr << "vorndev: warning: cannot load the installer hook " << library << ": "
                  << (why ? why : "unknown error") << "; installing without it\n";
        return nullptr;
    }
    becomeInstallerProgram();
    return std::unique_ptr<InstallerHook>(new InstallerHook(handle));
}

InstallerHook::~InstallerHook() {
    ::dlclose(handle_);
}

void* InstallerHook::symbol(const char* name) const {
    void* found = ::dlsym(handle_, name);
    if (!found)
        std::cerr << "vorndev: warning: the installer hook has no " << name << "\n";
    return found;
}

bool InstallerHook::installInit(bool previouslyInstalled, const std::wstring& installFolder) {
    auto fn = reinterpret_cast<InstallInitFunction>(symbol("Install_Init"));
    if (!fn)
        return true;
    return fn(0, 1, previouslyInstalled ? 1 : 0, installFolder.c_str()) != kHookCancel;
}

void InstallerHook::installExit(const std::wstring& installFolder,
                                const InstallFailures& failures) {
    auto fn = reinterpret_cast<InstallExitFunction>(symbol("Install_Exit"));
    if (fn)
        fn(0, installFolder.c_str(), failures.folders, failures.files, 0, 0, 0);
}

bool InstallerHook::uninstallInit(const std::wstring& installFolder) {
    auto fn = reinterpret_cast<UninstallInitFunction>(symbol("Uninstall_Init"));
    if (!fn)
        return true;
    return fn(0, installFolder.c_str()) != kHookCancel;
}

void InstallerHook::uninstallExit() {
    auto fn = reinterpret_cast<UninstallExitFunction>(symbol("Uninstall_Exit"));
    if (fn)
        fn(0);
}

}  // namespace vorndev
