// An installer hook for the end-to-end tests: it records every call, with its arguments and
// whether the install folder's files were there at that moment, in the file named by
// VORN_TEST_HOOK_LOG, and cancels when VORN_TEST_HOOK_CANCEL is set.

#include <sys/stat.h>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool installedFilesPresent() {
    const char* root = std::getenv("VORN_DEVICE");
    if (!root)
        return false;
    std::string file = std::string(root) + "/Program Files/Vorn Roamer/lang/lang.dat";
    struct stat st;
    return ::stat(file.c_str(), &st) == 0;
}

void record(const char* format, ...) __attribute__((format(printf, 1, 2)));

void record(const char* format, ...) {
    const char* log = std::getenv("VORN_TEST_HOOK_LOG");
    if (!log)
        return;
    std::FILE* f = std::fopen(log, "a");
    if (!f)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fprintf(f, " files=%d\n", installedFilesPresent() ? 1 : 0);
    std::fclose(f);
}

int initResult() {
    return std::getenv("VORN_TEST_HOOK_CANCEL") ? 1 : 0;
}

}  // namespace

extern "C" int Install_Init(std::uint32_t parent, int firstCall, int previouslyInstalled,
                            const wchar_t* installFolder) {
    record("Install_Init %u %d %d %ls", parent, firstCall, previouslyInstalled, installFolder);
    return initResult();
}

extern "C" int Install_Exit(std::uint32_t parent, const wchar_t* installFolder, unsigned failedDirs,
                            unsigned failedFiles, unsigned failedRegKeys, unsigned failedRegValues,
                            unsigned failedShortcuts) {
    record("Install_Exit %u %ls %u %u %u %u %u", parent, installFolder, failedDirs, failedFiles,
           failedRegKeys, failedRegValues, failedShortcuts);
    return 0;
}

extern "C" int Uninstall_Init(std::uint32_t parent, const wchar_t* installFolder) {
    record("Uninstall_Init %u %ls", parent, installFolder);
    return initResult();
}

extern "C" int Uninstall_Exit(std::uint32_t parent) {
    record("Uninstall_Exit %u", parent);
    return 0;
}
