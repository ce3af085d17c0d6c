// The display backends a program can show its screen with, chosen by name at start-up.

#include <cstdlib>
#include <string>

#include "platform/api/controls.h"
#include "platform/api/program.h"
#include "platform/api/shell_install.h"
#include "platform/gui/screen.h"
#include "platform/headless/headless_backend.h"
#include "platform/services/program_environment.h"
#ifdef VORN_HAVE_SDL
#include "platform/sdl/sdl_backend.h"
#endif

namespace platform {
namespace {

const gui::BackendEntry kBackends[] = {
#ifdef VORN_HAVE_SDL
    {"sdl", &sdl::createBackend},
#endif
    {"headless", &headless::createBackend},
};

std::string& chosenName() {
    static std::string name = "headless";
    return name;
}

bool displayReachable() {
    const char* x = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wl && *wl);
}

}  // namespace

std::wstring startProgram(int argc, char** argv, const StartOptions& options) {
    std::wstring commandLine = initProgramEnvironment(argc, argv, options);
    const char* asked = std::getenv("VORN_DISPLAY");
    std::string want = asked && *asked ? asked : (displayReachable() ? "sdl" : "headless");
    for (const auto& entry : kBackends) {
        if (want != entry.name)
            continue;
        if (auto backend = entry.create()) {
            chosenName() = entry.name;
            backend->setTitle(options.displayName);
            gui::setDisplayBackend(std::move(backend));
            installShell();
            registerNativeControls();
            return commandLine;
        }
    }
    if (want != "headless") {
        logLine("display backend \"" + want + "\" is not available; running headless");
    }
    chosenName() = "headless";
    gui::setDisplayBackend(headless::createBackend());
    installShell();
    registerNativeControls();
    return commandLine;
}

std::string displayBackendName() {
    return chosenName();
}

}  // namespace platform
