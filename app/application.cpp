// The application object: construction (settings, paths, registered messages), the main
// window, the start-up sequence and shut-down.

#include "app/application.h"

#include "app/main_menu.h"
#include "app/module_table.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_file.h"
#include "core/settings_keys.h"
#include "core/time_text.h"
#include "core/trace.h"
#include "core/windows/windows_link.h"
#include "gfx/dib.h"
#include "gfx/display_metrics.h"
#include "gfx/graphics_state.h"
#include "gfx/image_cache.h"
#include "gfx/resample_cache.h"
#include "platform/api/device.h"

namespace app {
namespace {

Application* g_application = nullptr;

platform::LResult mainWindowProc(platform::WindowHandle window, std::uint32_t message,
                                 platform::WParam wParam, platform::LParam lParam) {
    using namespace platform;
    switch (message) {
        case wm::Destroy:
            if (g_application)
                g_application->saveState();
            postQuitMessage(0);
            return 0;
        case wm::Close:
            destroyWindow(window);
            return 0;
        case kHandOverMessage:
            setForegroundWindow(window);
            if (g_application)
                g_application->handOver();
            return 1;
        default:
            if (g_application)
                return g_application->windowMessage(window, message, wParam, lParam);
            return defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

Application* theApplication() {
    return g_application;
}

Application::Application(std::wstring programDevicePath)
    : programPath_(std::move(programDevicePath)),
      mainPath_(core::mainPathOf(programPath_)),
      downloadPath_(core::downloadPathOf(mainPath_)),
      decorations_(std::make_unique<gfx::DecorationPictures>(mainPath_)) {
    g_application = this;
    core::linkWindows();
    core::publishPaths(mainPath_);
    timeFormat_ = core::settings::read(core::keys::OptTimeFormat);
    core::ensureIniFile(mainPath_);
    commsMessage_ = platform::registerWindowMessage(L"VornRoamerComms");
    changeModuleMessage_ = platform::registerWindowMessage(L"VornRoamerChngModule");
    embeddedMessage_ = platform::registerWindowMessage(L"VornEmbedded");
    registerAppRequests();
}

void Application::applyFormatSettings() {
    timeFormat_ = core::settings::read(core::keys::OptTimeFormat);
    invalidateAll(false);
}

// Writes nothing: by the time the application goes, exit handlers may have closed the state
// store. saveState ran when the window was destroyed or the program quit.
Application::~Application() {
    if (currentModule_) {
        currentModule_->show(false, false);
        currentModule_.reset();
    }
    mainMenu_.reset();
    releaseBackBuffer();
    gfx::destroyGraphicsState();
    for (auto bar : menuBars_) {
        if (bar)
            platform::destroyMenuBar(bar);
    }
    if (contextMenu_)
        platform::destroyMenu(contextMenu_);
    for (auto m : subMenus_) platform::destroyMenu(m);
    g_application = nullptr;
}

bool Application::createMainWindow() {
    using namespace platform;
    if (!isWindowClassRegistered(kMainWindowName)) {
        WindowClass cls;
        cls.name = std::wstring(kMainWindowName);
        cls.proc = mainWindowProc;
        cls.background = 0xFFFFFF;
        if (!registerWindowClass(cls))
            return false;
    }
    SipInfo sip = sipInfo();
    WindowCreate create;
    create.className = std::wstring(kMainWindowName);
    create.title = std::wstring(kMainWindowName);
    window_ = createWindow(create);
    if (!window_)
        return false;
    // The window reaches down to the input panel's lower edge, just above the menu bar.
    Rect r = windowRect(window_);
    r.bottom = sip.sipRect.bottom;
    resizingItself_ = true;
    moveWindow(window_, r, true);
    resizingItself_ = false;
    startUp(window_);
    showWindow(true);
    return true;
}

void Application::showWindow(bool show) {
    platform::showWindow(window_, show);
    if (show)
        platform::updateWindow(window_);
}

void Application::attachWindow(platform::WindowHandle window) {
    gfx::destroyGraphicsState();
    gfx::createGraphicsState();
    window_ = window;
    platform::overrideBackKey(window, true);
    createBackBuffer();
}

void Application::createBackBuffer() {
    platform::Rect client = platform::clientRect(window_);
    backBuffer_ = std::make_shared<platform::Bitmap>(std::max(1, client.width()),
                                                     std::max(1, client.height()));
    backBuffer_->fill(0xFFFFFF);
    backDc_ = std::make_unique<platform::DeviceContext>();
    backDc_->selectBitmap(backBuffer_);
    ++layoutGeneration_;
}

void Application::releaseBackBuffer() {
    backDc_.reset();
    backBuffer_.reset();
}

bool Application::orientationChanged() const {
    if (!backBuffer_)
        return false;
    platform::Rect client = platform::clientRect(window_);
    return client.width() != backBuffer_->width() && client.height() != backBuffer_->height();
}

void Application::loadSplashLogo() {
    const auto& m = gfx::displayMetrics();
    int width = static_cast<int>(147 * m.scaleX);
    int height = static_cast<int>(150 * m.scaleY);
    gfx::TargaPixels logo =
        gfx::ResampleCache().resampled(mainPath_ + L"\\graphics2\\vornlogo.tga", width, height);
    if (logo.pixels.empty()) {
        splashLogo_.reset();
        return;
    }
    splashLogo_ = std::make_unique<gfx::TargaPixels>(std::move(logo));
}

void Application::saveState() {
    if (stateSaved_)
        return;
    stateSaved_ = true;
    screens_.shutDown();
}

std::wstring Application::timeText(const platform::SystemTime& time) const {
    return core::clockTimeText(time, timeFormat_);
}

std::wstring Application::dateText(const platform::SystemTime& time) const {
    return core::shortDateText(time);
}

int Application::chooseFirstScreen() {
    int start = core::settings::read(core::keys::OptStartScreen);
    if (start == 1)
        start = moduleId::Home;
    int eula = core::settings::read(core::keys::WizardEULA);
    int done = eula >= 3 ? core::settings::read(core::keys::WizardDone) : 0;
    if (eula < 3 || done == 0)
        return moduleId::SetupWizard;
    return start;
}

void Application::startUp(platform::WindowHandle window) {
    attachWindow(window);
    if (gfx::displayMetrics().displayModeFlag) {
        gfx::displayMetrics().scaleX = 1.0;
        gfx::displayMetrics().scaleY = 1.0;
    }
    loadSplashLogo();
    reloadTheme(true, false);
    core::traceLabel("starting");
    showWindow(true);
    core::traceLabel("mainwnd-show");
    // Read before the window existed; said once, now that the user sees the program.
    core::reportDamagedIniFile(kMainWindowName);
    core::buildLanguageList(mainPath_, 1, 9);
    core::traceLabel("initlang complete");
    core::chooseStartLanguage(mainPath_);
    core::traceLabel("langlist complete");
    core::traceLabel("openlang complete");
    core::registerTodayItem();
    core::traceLabel("homescreen check complete");
    // Each subsystem loads what its screens share; one that cannot has said why.
    if (!screens_.startUp(*this)) {
        platform::postQuitMessage(0);
        return;
    }
    core::traceLabel("loadfavorites complete");
    mainMenu_ = std::make_unique<MainMenu>(*this);
    core::traceLabel("selector complete");
    splashShown_ = false;
    switchModule(chooseFirstScreen(), {.saveOld = false, .deleteOld = true});
    core::traceLabel("setdisplay complete");
}

void Application::showAbout() {
    aboutShown_ = true;
    // The native child windows would paint over the box.
    coverModule(true);
    invalidateAll(false);
}

void Application::closeAbout() {
    aboutShown_ = false;
    coverModule(popupOverlay_ != nullptr || isMainMenuOpen());
}

}  // namespace app
