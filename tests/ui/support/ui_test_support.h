#pragma once
// A module host for the toolkit's tests: a top-level window on a throw-away device with the
// install folder's pictures, the theme's default colours, and the main window's routing of
// keys, taps, timers and native-control messages, without the main program's application.

#include <memory>
#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "ui/control_factory.h"
#include "ui/module.h"
#include "ui/module_host.h"
#include "ui/overlay.h"

namespace ui::test {

class TestHost final : public ModuleHost {
  public:
    // screen: the test device's screen profile, fixed for the test program.
    explicit TestHost(const char* screen = "240x320");
    ~TestHost() override;

    platform::WindowHandle mainWindow() const override { return window_; }
    void invalidateArea(const platform::Rect& inclusive) override;
    void invalidateAll(bool redrawNow) override;
    int layoutGeneration() const override { return 1; }
    void setMenuBar(std::span<const MenuEntry> entries) override;
    void setSoftKey(int, std::uint32_t, std::wstring_view) override {}
    void requestModule(int moduleId) override { requested.push_back(moduleId); }
    void requestModuleLater(int moduleId) override { requested.push_back(moduleId); }
    void replaceModuleLater(int moduleId) override { requested.push_back(moduleId); }
    bool back() override { return false; }
    void showMainMenu(bool) override {}
    bool isMainMenuOpen() const override { return false; }
    void notify(int, std::intptr_t) override {}
    void quit() override { ++quitRequests; }
    void applyLookSettings() override { ++lookReloads; }
    const std::wstring& mainPath() const override { return mainPath_; }
    const std::wstring& downloadPath() const override { return mainPath_; }
    std::wstring_view programName() const override { return L"Vorn Roamer"; }
    const gfx::Theme& theme() const override { return theme_; }
    gfx::DecorationPictures& decorations() override { return decorations_; }
    std::wstring timeText(const platform::SystemTime& time) const override;
    std::wstring dateText(const platform::SystemTime& time) const override;
    std::unique_ptr<Control> createControl(const LayoutRecord& record) override;
    void openOverlay(Overlay& overlay) override;
    void closeOverlay(Overlay& overlay) override;
    Overlay* overlay() const override { return overlay_; }

    // The module that gets the input (shown, active).
    void attach(Module& module);
    void detach() { module_ = nullptr; }

    // Input as the main window routes it: overlay first, then the focused control, then the
    // module, and Up or Down (Tab) move the focus when nobody took them.
    void keyDown(std::uint32_t key);
    void keyUp(std::uint32_t key);
    void pressKey(std::uint32_t key);
    // Characters as the keyboard gives them, to the window with the platform's focus.
    void typeText(std::wstring_view text);
    void down(platform::Point p);
    void move(platform::Point p);
    void up(platform::Point p);
    void tap(platform::Point p);
    void command(std::uint32_t commandId);
    // Timer 9899 as the main window passes it on: to the control holding the capture.
    void autoRepeatTick();
    // Handles every message waiting for this program (timers are left to the tests).
    void pump();
    // Paints the module (and an open overlay) into a bitmap of the window's size.
    std::shared_ptr<platform::Bitmap> render();

    std::vector<int> requested;
    int quitRequests = 0;
    int lookReloads = 0;
    std::vector<MenuEntry> menu;
    int invalidations = 0;
    ControlFactory factory;

  private:
    static platform::LResult windowProc(platform::WindowHandle window, std::uint32_t message,
                                        platform::WParam wParam, platform::LParam lParam);
    void routeKey(std::uint32_t message, std::uint32_t key);

    platform::WindowHandle window_ = 0;
    std::wstring mainPath_;
    gfx::Theme theme_;
    gfx::DecorationPictures decorations_{mainPath_};
    Module* module_ = nullptr;
    Overlay* overlay_ = nullptr;
};

// A module that records what its controls tell it.
class RecordingModule : public Module {
  public:
    using Module::Module;
    void controlChanged(Control& control) override { changed.push_back(&control); }
    bool controlPressed(Control& control) override {
        pressed.push_back(&control);
        return takePresses;
    }
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam) override {
        if (message == platform::wm::KeyDown)
            keys.push_back(keyCode);
        return false;
    }

    std::vector<Control*> changed;
    std::vector<Control*> pressed;
    std::vector<std::uint32_t> keys;
    bool takePresses = true;
};

// How many pixels of a rectangle of the bitmap are close to the colour.
int countNear(const platform::Bitmap& bitmap, const platform::Rect& area, platform::Colour colour,
              int tolerance = 24);

}  // namespace ui::test
