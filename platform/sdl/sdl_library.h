#pragma once
// SDL is opened when a program shows a window, not when it starts. Linked in, it loads some
// fifty libraries (X11, Wayland, sound) into every device program, headless ones too, and the
// dynamic loader then spends more time than the program needs to paint its first screen.
// The functions the window backend calls are looked up once, when it is created.

#include <SDL.h>

namespace platform::sdl {

// clang-format off
#define VORN_SDL_FUNCTIONS(X)                                                        \
    X(Init) X(Quit) X(SetHint) X(CreateWindow) X(DestroyWindow) X(CreateRenderer)   \
    X(DestroyRenderer) X(CreateTexture) X(DestroyTexture) X(UpdateTexture)          \
    X(RenderClear) X(RenderCopy) X(RenderPresent) X(PollEvent) X(Delay)             \
    X(SetWindowSize) X(SetWindowTitle) X(CreateSystemCursor) X(SetCursor)           \
    X(RaiseWindow) X(StartTextInput) X(GetError)
// clang-format on

struct SdlLibrary {
#define VORN_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    VORN_SDL_FUNCTIONS(VORN_SDL_MEMBER)
#undef VORN_SDL_MEMBER
};

// The loaded library; nullptr when it is not installed or lacks one of the functions (the
// reason is logged once).
const SdlLibrary* sdlLibrary();

}  // namespace platform::sdl
