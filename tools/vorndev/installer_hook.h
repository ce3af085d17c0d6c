#pragma once
// The installer's side of the setup-library convention: the hook library is loaded while the
// system is installed or removed, and its four C entry points are called around the copying.
// Only C types cross the library boundary: the parent window as a device window handle (0, the
// installer has none), flags as int, the install folder as a device path.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

extern "C" {
using InstallInitFunction = int (*)(std::uint32_t parentWindow, int firstCall,
                                    int previouslyInstalled, const wchar_t* installFolder);
using InstallExitFunction = int (*)(std::uint32_t parentWindow, const wchar_t* installFolder,
                                    unsigned failedDirs, unsigned failedFiles,
                                    unsigned failedRegKeys, unsigned failedRegValues,
                                    unsigned failedShortcuts);
using UninstallInitFunction = int (*)(std::uint32_t parentWindow, const wchar_t* installFolder);
using UninstallExitFunction = int (*)(std::uint32_t parentWindow);
}

namespace vorndev {

// Result codes of the Init entry points.
constexpr int kHookContinue = 0;
constexpr int kHookCancel = 1;

struct InstallFailures {
    unsigned folders = 0;
    unsigned files = 0;
};

// A loaded hook library. Entry points the library lacks are skipped with a warning, so a hook
// that is still being written never blocks installing.
class InstallerHook {
  public:
    // Nothing when no hook library has been built; a warning and nothing when it cannot be
    // loaded.
    static std::unique_ptr<InstallerHook> load(const std::filesystem::path& library);
    ~InstallerHook();
    InstallerHook(const InstallerHook&) = delete;
    InstallerHook& operator=(const InstallerHook&) = delete;

    // True when the installation may go on.
    bool installInit(bool previouslyInstalled, const std::wstring& installFolder);
    void installExit(const std::wstring& installFolder, const InstallFailures& failures);
    bool uninstallInit(const std::wstring& installFolder);
    void uninstallExit();

  private:
    explicit InstallerHook(void* handle) : handle_(handle) {}
    void* symbol(const char* name) const;
    void* handle_;
};

}  // namespace vorndev
