#include "platform/sdl/sdl_library.h"

#include <dlfcn.h>

#include <string>

#include "platform/api/program.h"

namespace platform::sdl {
namespace {

// The run-time library of SDL 2 by its stable name, which every SDL 2 release keeps.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

const SdlLibrary* load() {
    void* handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        logLine(std::string("display: cannot load ") + kLibraryName + ": " + (why ? why : "?"));
        return nullptr;
    }
    static SdlLibrary library;
    bool complete = true;
#define VORN_SDL_LOOKUP(name)                                                               \
    library.name = reinterpret_cast<decltype(library.name)>(::dlsym(handle, "SDL_" #name)); \
    if (!library.name) {                                                                    \
        logLine(std::string("display: ") + kLibraryName + " has no SDL_" #name);            \
        complete = false;                                                                   \
    }
    VORN_SDL_FUNCTIONS(VORN_SDL_LOOKUP)
#undef VORN_SDL_LOOKUP
    // The library stays loaded for the life of the program: SDL keeps threads and handlers.
    return complete ? &library : nullptr;
}

}  // namespace

const SdlLibrary* sdlLibrary() {
    static const SdlLibrary* const library = load();
    return library;
}

}  // namespace platform::sdl
