#include "platform/sdl/sdl_backend.h"

#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/window.h"
#include "platform/sdl/sdl_library.h"

namespace platform::sdl {
namespace {

// Set before the first backend exists; every call below goes through it.
const SdlLibrary* g_library = nullptr;

const SdlLibrary& sdl() {
    return *g_library;
}

std::uint32_t virtualKeyOf(SDL_Keycode k) {
    switch (k) {
        case SDLK_F1:
            return vk::F1;
        case SDLK_F2:
            return vk::F2;
        case SDLK_ESCAPE:
            return vk::Escape;
        case SDLK_UP:
            return vk::Up;
        case SDLK_DOWN:
            return vk::Down;
        case SDLK_LEFT:
            return vk::Left;
        case SDLK_RIGHT:
            return vk::Right;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return vk::Return;
        case SDLK_TAB:
            return vk::Tab;
        case SDLK_BACKSPACE:
            return vk::Back;
        case SDLK_DELETE:
            return vk::Delete;
        case SDLK_SPACE:
            return vk::Space;
        case SDLK_HOME:
            return vk::Home;
        case SDLK_END:
            return vk::End;
        case SDLK_PAGEUP:
            return vk::PageUp;
        case SDLK_PAGEDOWN:
            return vk::PageDown;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return vk::Shift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return vk::Control;
        default:
            break;
    }
    if (k >= SDLK_a && k <= SDLK_z)
        return static_cast<std::uint32_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9)
        return static_cast<std::uint32_t>('0' + (k - SDLK_0));
    return 0;
}

class SdlBackend final : public gui::DisplayBackend {
  public:
    ~SdlBackend() override {
        if (texture_)
            sdl().DestroyTexture(texture_);
        if (renderer_)
            sdl().DestroyRenderer(renderer_);
        if (window_)
            sdl().DestroyWindow(window_);
        sdl().Quit();
    }

    const char* name() const override { return "sdl"; }

    void present(const Bitmap& fb, const Rect&) override {
        if (!ensureWindow({fb.width(), fb.height()}))
            return;
        // The framebuffer is bottom-up with padded rows; the texture wants top-down rows.
        rows_.resize(static_cast<std::size_t>(fb.width()) * 3 * fb.height());
        for (int y = 0; y < fb.height(); ++y) {
            const std::uint8_t* src = fb.rowFromTop(y);
            std::copy(src, src + fb.width() * 3,
                      rows_.data() + static_cast<std::size_t>(y) * fb.width() * 3);
        }
        sdl().UpdateTexture(texture_, nullptr, rows_.data(), fb.width() * 3);
        sdl().RenderClear(renderer_);
        sdl().RenderCopy(renderer_, texture_, nullptr, nullptr);
        sdl().RenderPresent(renderer_);
    }

    void pollInput(std::vector<gui::InputEvent>& out, int timeoutMs, int wakeFd) override {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            SDL_Event e;
            while (sdl().PollEvent(&e)) translate(e, out);
            if (!out.empty() || timeoutMs == 0)
                return;
            int waited = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - start)
                                              .count());
            if (timeoutMs > 0 && waited >= timeoutMs)
                return;
            // SDL can only be polled; wait on the program's other sources in short steps.
            int step = timeoutMs < 0 ? 10 : std::min(10, timeoutMs - waited);
            if (wakeFd >= 0) {
                pollfd p{wakeFd, POLLIN, 0};
                if (::poll(&p, 1, step) > 0)
                    return;
            } else {
                sdl().Delay(static_cast<Uint32>(step));
            }
        }
    }

    void screenResized(Size size) override {
        if (!window_)
            return;
        size_ = size;
        sdl().SetWindowSize(window_, size.width * zoom_, size.height * zoom_);
        if (texture_)
            sdl().DestroyTexture(texture_);
        texture_ = sdl().CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24,
                                       SDL_TEXTUREACCESS_STREAMING, size.width, size.height);
    }

    void setTitle(const std::wstring& title) override {
        title_ = toUtf8(title);
        if (window_)
            sdl().SetWindowTitle(window_, title_.c_str());
    }

    void setBusy(bool busy) override {
        if (!busyCursor_)
            busyCursor_ = sdl().CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        if (!arrowCursor_)
            arrowCursor_ = sdl().CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        sdl().SetCursor(busy ? busyCursor_ : arrowCursor_);
    }

    void raise() override {
        if (window_)
            sdl().RaiseWindow(window_);
    }

  private:
    bool ensureWindow(Size size) {
        if (window_ && size == size_)
            return true;
        if (!window_) {
            const char* z = std::getenv("VORN_ZOOM");
            zoom_ = z && std::atoi(z) > 0 ? std::atoi(z) : (size.width <= 320 ? 2 : 1);
            window_ = sdl().CreateWindow(title_.empty() ? "Vorn device" : title_.c_str(),
                                         SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                         size.width * zoom_, size.height * zoom_, 0);
            if (!window_)
                return false;
            renderer_ = sdl().CreateRenderer(window_, -1, 0);
            if (!renderer_)
                renderer_ = sdl().CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
            if (!renderer_)
                return false;
            sdl().StartTextInput();
        }
        screenResized(size);
        return texture_ != nullptr;
    }

    Point toScreen(int x, int y) const { return {x / zoom_, y / zoom_}; }

    void translate(const SDL_Event& e, std::vector<gui::InputEvent>& out) {
        gui::InputEvent ev;
        switch (e.type) {
            case SDL_QUIT:
                ev.kind = gui::InputEvent::Kind::CloseRequest;
                out.push_back(ev);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (e.button.button != SDL_BUTTON_LEFT)
                    break;
                ev.kind = e.type == SDL_MOUSEBUTTONDOWN ? gui::InputEvent::Kind::PointerDown
                                                        : gui::InputEvent::Kind::PointerUp;
                ev.position = toScreen(e.button.x, e.button.y);
                out.push_back(ev);
                break;
            case SDL_MOUSEMOTION:
                // The stylus only moves while it touches the screen.
                if (!(e.motion.state & SDL_BUTTON_LMASK))
                    break;
                ev.kind = gui::InputEvent::Kind::PointerMove;
                ev.position = toScreen(e.motion.x, e.motion.y);
                out.push_back(ev);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (std::uint32_t key = virtualKeyOf(e.key.keysym.sym)) {
                    ev.kind = e.type == SDL_KEYDOWN ? gui::InputEvent::Kind::KeyDown
                                                    : gui::InputEvent::Kind::KeyUp;
                    ev.key = key;
                    out.push_back(ev);
                }
                break;
            case SDL_TEXTINPUT:
                for (wchar_t c : fromUtf8(e.text.text)) {
                    ev.kind = gui::InputEvent::Kind::Char;
                    ev.character = c;
                    out.push_back(ev);
                }
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED && renderer_ && texture_) {
                    sdl().RenderClear(renderer_);
                    sdl().RenderCopy(renderer_, texture_, nullptr, nullptr);
                    sdl().RenderPresent(renderer_);
                }
                break;
            default:
                break;
        }
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* busyCursor_ = nullptr;
    SDL_Cursor* arrowCursor_ = nullptr;
    Size size_{};
    int zoom_ = 1;
    std::string title_;
    std::vector<std::uint8_t> rows_;
};

// A graphics card offers a render node under /dev/dri. Without one, SDL's first choice of
// renderer (and of the surface behind a window) is OpenGL through Mesa's software rasteriser,
// which maps some 75 MB to show a few hundred kilobytes of pixels.
bool hardwareRendererPresent() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        if (entry.path().filename().string().starts_with("renderD"))
            return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<gui::DisplayBackend> createBackend() {
    g_library = sdlLibrary();
    if (!g_library)
        return nullptr;
    // Without a graphics card the window's own surface and SDL's software renderer draw the
    // screen. SDL_RENDER_DRIVER and SDL_FRAMEBUFFER_ACCELERATION in the environment still win.
    if (!hardwareRendererPresent()) {
        sdl().SetHint(SDL_HINT_RENDER_DRIVER, "software");
        sdl().SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    if (sdl().Init(SDL_INIT_VIDEO) != 0) {
        logLine(std::string("display: no window: ") + sdl().GetError());
        return nullptr;
    }
    return std::make_unique<SdlBackend>();
}

}  // namespace platform::sdl
