// The setup library's entry points, called by the device's installer around copying and
// deleting the system's files. Only C types cross: the parent window handle, flags and the
// install folder.

#include <cstdint>

#include "installer/hook_steps.h"

extern "C" {

__attribute__((visibility("default"))) int Install_Init(std::uint32_t, int, int, const wchar_t*) {
    return installer::installInit(installer::deviceEnvironment());
}

__attribute__((visibility("default"))) int Install_Exit(std::uint32_t, const wchar_t*, unsigned,
                                                        unsigned, unsigned, unsigned, unsigned) {
    return 0;
}

__attribute__((visibility("default"))) int Uninstall_Init(std::uint32_t, const wchar_t*) {
    return installer::uninstallInit(installer::deviceEnvironment());
}

__attribute__((visibility("default"))) int Uninstall_Exit(std::uint32_t) {
    return 0;
}
}
