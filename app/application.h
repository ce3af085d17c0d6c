#pragma once
// The main program's application object: the root of ownership. It owns the window and its
// back buffer, the theme, the main menu, the navigation history, the registry of screens and
// the one live screen module, and it routes every window message to them. It knows no
// subsystem: each registers its screens and start-up in the screen registry.

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gfx/targa.h"
#include "gfx/theme.h"
#include "platform/api/draw.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"
#include "ui/control_factory.h"
#include "ui/module.h"
#include "ui/module_host.h"
#include "ui/overlay.h"
#include "ui/screen_registry.h"

namespace app {

class MainMenu;

// The window class and title of the main program (the same text).
constexpr std::wstring_view kMainWindowName = L"Vorn Roamer";
// Posted to the main window when a command line waits in "trigger.inf".
constexpr std::uint32_t kHandOverMessage = platform::wm::User + 201;
constexpr std::wstring_view kTriggerFileName = L"trigger.inf";
// Posted to the main window by replaceModuleLater: wParam is the module to switch to.
constexpr std::uint32_t kReplaceModuleMessage = platform::wm::User + 202;

// Timers the main window handles itself.
constexpr std::uintptr_t kAutoRepeatTimer = 9899;
constexpr std::uintptr_t kKeepAwakeTimer = 9876;

class Application final : public ui::ModuleHost {
  public:
    explicit Application(std::wstring programDevicePath);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Window creation and the start-up sequence.
    bool createMainWindow();
    void startUp(platform::WindowHandle window);
    void showWindow(bool show);

    // Routing of every message the window procedure does not handle itself.
    platform::LResult windowMessage(platform::WindowHandle window, std::uint32_t message,
                                    platform::WParam wParam, platform::LParam lParam);
    // A command line handed over through "trigger.inf".
    void handOver();
    void handleCommandLine(std::wstring_view commandLine);
    // Commands from soft keys and menus.
    void command(std::uint32_t commandId);
    // Application commands: 1026 switches to a module, 1025 is Back.
    void applicationCommand(std::uint32_t commandId, std::intptr_t data);

    // Module manager.
    struct SwitchOptions {
        bool saveOld = false;
        bool deleteOld = true;
        bool noRedraw = false;
        bool resetMenuPictures = false;
        // The module the new one is told it was opened from; 0: the one it replaces.
        int openedFrom = 0;
    };
    void switchModule(int id, std::unique_ptr<ui::Module> ready, SwitchOptions options);
    void switchModule(int id, SwitchOptions options) { switchModule(id, nullptr, options); }
    // The Back action; false when nothing took it.
    bool back() override;
    void showMainMenu(bool open) override;
    bool isMainMenuOpen() const override;
    void setFullScreen(bool on) override;
    // The screens by module id; ids without one show a placeholder.
    ui::ScreenRegistry& screens() { return screens_; }
    void setScreens(ui::ScreenRegistry screens) { screens_ = std::move(screens); }
    // Lets every subsystem store what it keeps between runs; once, when the window is
    // destroyed or the program quits, while the state store is still open.
    void saveState();

    // ModuleHost.
    platform::WindowHandle mainWindow() const override { return window_; }
    void invalidateArea(const platform::Rect& inclusive) override;
    void invalidateAll(bool redrawNow) override;
    int layoutGeneration() const override { return layoutGeneration_; }
    void setMenuBar(std::span<const ui::MenuEntry> entries) override;
    void setSoftKey(int position, std::uint32_t commandId, std::wstring_view text) override;
    void requestModule(int moduleId) override;
    void requestModuleLater(int moduleId) override;
    void replaceModuleLater(int moduleId) override;
    void notify(int, std::intptr_t) override {}
    void quit() override;
    const std::wstring& mainPath() const override { return mainPath_; }
    const std::wstring& downloadPath() const override { return downloadPath_; }
    std::wstring_view programName() const override { return kMainWindowName; }
    const gfx::Theme& theme() const override { return theme_; }
    void applyLookSettings() override { reloadTheme(true, true); }
    void applyFormatSettings() override;
    gfx::DecorationPictures& decorations() override { return *decorations_; }
    // OptTimeFormat; the device's short date.
    std::wstring timeText(const platform::SystemTime& time) const override;
    std::wstring dateText(const platform::SystemTime& time) const override;
    // The control factory (application operation 11): layout types 209 to 247 through the
    // makers that screens register.
    std::unique_ptr<ui::Control> createControl(const ui::LayoutRecord& record) override;
    ui::ControlFactory& controlFactory() { return controlFactory_; }
    // The pop-up overlay: while open it takes keys, taps and commands before the module.
    void openOverlay(ui::Overlay& overlay) override;
    void closeOverlay(ui::Overlay& overlay) override;
    ui::Overlay* overlay() const override { return popupOverlay_; }

    // What screens read.
    gfx::Theme& theme() { return theme_; }
    ui::Module* currentModule() const { return currentModule_.get(); }
    int currentModuleId() const { return currentModuleId_; }
    const std::vector<int>& history() const { return history_; }
    int timeFormat() const { return timeFormat_; }
    std::uint32_t commsMessage() const { return commsMessage_; }
    std::uint32_t changeModuleMessage() const { return changeModuleMessage_; }
    std::uint32_t embeddedMessage() const { return embeddedMessage_; }
    bool splashShown() const { return splashShown_; }
    bool aboutShown() const { return aboutShown_; }
    void showAbout() override;
    void closeAbout();
    bool isFullScreen() const override { return fullScreen_; }

    // Loads the theme from the settings and rebuilds the background; the live module is
    // told and the window repainted.
    void reloadTheme(bool reloadBackground, bool redraw);
    void reloadSkin(bool redraw);
    // The background picture, aligned with the screen, over the client area.
    void drawBackground(platform::DeviceContext& dc);
    bool showContextMenu(ui::Module& module, platform::Point point,
                         std::span<const ui::MenuEntry> entries) override;

  private:
    friend class MainMenu;

    void attachWindow(platform::WindowHandle window);
    void createBackBuffer();
    void releaseBackBuffer();
    bool orientationChanged() const;
    void paintWindow();
    void drawEverything(platform::DeviceContext& dc, const platform::Rect& invalid);
    void drawAboutBox(platform::DeviceContext& dc);
    void loadSplashLogo();
    int chooseFirstScreen();
    void rebuildCurrentModule(bool resetMenuPictures);
    std::unique_ptr<ui::Module> createModule(int id, int previousId);
    void recordScreenMode(int id);
    void routeKey(std::uint32_t message, platform::WParam key, platform::LParam flags);
    void routePointer(std::uint32_t message, platform::WParam keys, platform::LParam position);
    void settingChanged(platform::WParam wParam);
    void showMenuBarShape(int shape);
    // Messages from the native controls' child windows.
    platform::LResult controlColour(platform::WParam dc, platform::LParam child);
    bool controlNotify(platform::LParam header);
    bool controlCommand(platform::WParam wParam, platform::LParam child);
    // Requests of `vorndev ctl app`.
    void registerAppRequests();
    void coverModule(bool covered);

    std::wstring programPath_;
    std::wstring mainPath_;
    std::wstring downloadPath_;
    platform::WindowHandle window_ = 0;
    std::shared_ptr<platform::Bitmap> backBuffer_;
    std::unique_ptr<platform::DeviceContext> backDc_;
    int layoutGeneration_ = 0;
    bool resizingItself_ = false;

    gfx::Theme theme_;
    std::unique_ptr<gfx::DecorationPictures> decorations_;
    int timeFormat_ = 1;

    std::unique_ptr<ui::Module> currentModule_;
    int currentModuleId_ = 0;
    int openedFrom_ = 0;     // what the live module was told it was opened from
    std::any carriedState_;  // the rebuilt module's state, for its successor
    std::unique_ptr<gfx::TargaPixels> splashLogo_;
    std::unique_ptr<MainMenu> mainMenu_;
    ui::Overlay* popupOverlay_ = nullptr;
    ui::ControlFactory controlFactory_;
    std::vector<int> history_;
    bool splashShown_ = true;
    bool aboutShown_ = false;
    bool fullScreen_ = false;
    std::uint32_t commsMessage_ = 0;
    std::uint32_t changeModuleMessage_ = 0;
    std::uint32_t embeddedMessage_ = 0;
    ui::ScreenRegistry screens_;
    bool stateSaved_ = false;

    // The menu bars by shape (101 to 104), created on first use.
    platform::MenuBarHandle menuBars_[4] = {};
    int visibleBar_ = 0;
    platform::MenuHandle contextMenu_ = 0;
    std::vector<platform::MenuHandle> subMenus_;
};

// The one application of the program (null before it is created and after it is destroyed).
Application* theApplication();

// The program entry: hands the command line to a running instance, or runs the program.
// screens: every subsystem's screens (test programs show their own screens with it).
int runMainProgram(int argc, char** argv, ui::ScreenRegistry screens = {});

}  // namespace app
