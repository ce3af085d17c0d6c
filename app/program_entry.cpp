// The main program's entry: one instance per device. A second start hands its command line to
// the running instance and ends; the first start creates the application and its window and
// runs the message loop.

#include "app/application.h"
#include "app/hand_over.h"
#include "core/settings.h"
#include "core/windows/windows_link.h"
#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/shell.h"

namespace app {

int runMainProgram(int argc, char** argv, ui::ScreenRegistry screens) {
    std::wstring commandLine = platform::startProgram(
        argc, argv, {L"\\Program Files\\Vorn Roamer\\vornroamer3.exe", L"Vorn Roamer"});
    core::linkWindows();
    std::wstring self = platform::ownDevicePath();
    std::wstring mainPath = core::mainPathOf(self);

    platform::WindowHandle running = platform::findWindow(kMainWindowName, kMainWindowName);
    if (running) {
        if (!commandLine.empty()) {
            writeHandOver(mainPath, commandLine);
            platform::postMessage(running, kHandOverMessage, 0, 0);
        } else {
            platform::setForegroundWindow(running);
        }
        return 0;
    }

    platform::setWaitCursor(true);
    auto application = std::make_unique<Application>(self);
    application->setScreens(std::move(screens));
    if (!application->createMainWindow()) {
        platform::setWaitCursor(false);
        return 0;
    }
    // A first start handles its own command line the same way a later start does.
    if (!commandLine.empty()) {
        writeHandOver(mainPath, commandLine);
        platform::postMessage(application->mainWindow(), kHandOverMessage, 0, 0);
    }
    platform::setWaitCursor(false);

    platform::Message message;
    while (platform::getMessage(message)) {
        platform::translateMessage(message);
        platform::dispatchMessage(message);
    }
    application.reset();
    return static_cast<int>(message.wParam);
}

}  // namespace app
