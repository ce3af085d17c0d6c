// A stand-in for the comms program, for the shared core's tests. It does what the main
// program can observe of the real one: shows its window, sets SchedulerStatus, reports to the
// main window with the comms message, and clears the status when it ends.
//
// Its request line steers it:
//   "/hold"      reports "started" and then waits until it is closed (WM_CLOSE);
//   "/error N"   leaves error code N in SchedErrorStr and reports an error instead of success;
//   "/dword"     sets SchedulerStatus as a 32-bit number value instead of text.
// Every request line is left in the setting FakeCommsRequest.

#include <string>

#include "core/comms.h"
#include "core/decimal.h"
#include "core/settings.h"
#include "core/windows/windows_link.h"
#include "platform/api/program.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"

namespace {

using namespace platform;

bool has(std::wstring_view request, std::wstring_view option) {
    return request.find(option) != std::wstring_view::npos;
}

void setBusy(std::wstring_view request) {
    if (has(request, L"/dword")) {
        if (auto key = RegistryKey::create(Hive::CurrentUser, core::kSettingsKeyPath)) {
            key->setDword(L"SchedulerStatus", 1);
        }
    } else {
        core::writeNumberSetting(L"SchedulerStatus", 1);
    }
}

void report(WParam what, LParam detail = 0) {
    WindowHandle main = findWindow(core::kMainWindowName, core::kMainWindowName);
    if (main)
        postMessage(main, core::commsMessage(), what, detail);
}

// Runs the window's message loop until it is closed.
void waitUntilClosed() {
    Message m;
    while (getMessage(m)) {
        translateMessage(m);
        dispatchMessage(m);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring request =
        startProgram(argc, argv, {std::wstring(core::kCommsProgramPath), L"Comms"});
    core::linkWindows();
    core::writeSetting(L"FakeCommsRequest", request);

    registerWindowClass({std::wstring(core::kCommsWindowName),
                         [](WindowHandle w, std::uint32_t id, WParam wp, LParam lp) -> LResult {
                             if (id == wm::Destroy)
                                 postQuitMessage(0);
                             // A test that failed before cancelling must not leave it behind.
                             if (id == wm::Timer)
                                 destroyWindow(w);
                             return defWindowProc(w, id, wp, lp);
                         }});
    WindowCreate create;
    create.className = core::kCommsWindowName;
    create.title = core::kCommsWindowName;
    create.visible = false;
    WindowHandle self = createWindow(create);
    if (!self)
        return 2;

    setTimer(self, 1, 30000);
    setBusy(request);
    report(core::commsReport::Started);
    if (has(request, L"/hold")) {
        // The default handling of WM_CLOSE destroys the window, which ends the loop.
        waitUntilClosed();
    } else if (std::size_t at = request.find(L"/error "); at != std::wstring::npos) {
        core::writeNumberSetting(L"SchedErrorStr", core::parseDecimal(request.substr(at + 7)));
        report(core::commsReport::Error);
    } else {
        report(core::commsReport::Done, 1);
    }
    // Idle before the last report, so the receiver sees the program gone when it asks.
    core::writeNumberSetting(L"SchedulerStatus", 0);
    if (isWindow(self))
        destroyWindow(self);
    report(core::commsReport::Ended);
    return 0;
}
