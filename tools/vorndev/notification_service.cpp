#include "tools/vorndev/notification_service.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"
#include "platform/api/process.h"
#include "platform/api/program.h"
#include "platform/api/state_notifications.h"
#include "platform/api/window.h"

namespace vorndev {
namespace {

using namespace platform;

constexpr wchar_t kClassName[] = L"VornNotificationService";
// Other programs add records and the device clock can be moved at any time, so the service
// looks again at least this often, whatever the earliest record says.
constexpr std::int64_t kLongestSleepMs = 500;

LResult serviceProc(WindowHandle w, std::uint32_t msg, WParam wp, LParam lp) {
    if (msg == wm::Destroy) {
        postQuitMessage(0);
        return 0;
    }
    return defWindowProc(w, msg, wp, lp);
}

// Milliseconds until the earliest record comes due, at most kLongestSleepMs.
int sleepBeforeNextLook() {
    auto next = nextNotificationTime();
    auto now = toFileTime(deviceLocalTime());
    if (!next || !now)
        return static_cast<int>(kLongestSleepMs);
    auto due = toFileTime(*next);
    if (!due || *due <= *now)
        return 0;
    std::uint64_t ms = (*due - *now + 9999) / 10000;
    return static_cast<int>(std::min<std::uint64_t>(ms, kLongestSleepMs));
}

// The display is this program's own business: it shows nothing. The programs it starts get
// the display choice the service was given.
void startWithoutDisplay() {
    const char* given = std::getenv("VORN_DISPLAY");
    std::optional<std::string> display = given ? std::optional<std::string>(given) : std::nullopt;
    ::setenv("VORN_DISPLAY", "headless", 1);
    std::vector<std::string> words{"notifications-service"};
    std::vector<char*> argv{words[0].data(), nullptr};
    startProgram(1, argv.data(), {L"\\windows\\notifications.exe", L"Notifications"});
    if (display) {
        ::setenv("VORN_DISPLAY", display->c_str(), 1);
    } else {
        ::unsetenv("VORN_DISPLAY");
    }
}

}  // namespace

int runNotificationService() {
    startWithoutDisplay();
    if (!registerWindowClass({kClassName, serviceProc}))
        return 1;
    WindowCreate create;
    create.className = kClassName;
    create.title = L"Notifications";
    create.visible = false;
    if (!createWindow(create))
        return 1;
    logLine("notification service running");
    std::vector<ProcessId> started;
    for (;;) {
        for (const auto& run : runDueNotifications()) {
            if (run.processId)
                started.push_back(run.processId);
        }
        for (const auto& run : runStateNotifications()) {
            if (run.processId)
                started.push_back(run.processId);
        }
        // Asking about ended programs reaps them, so none is left a zombie.
        std::erase_if(started, [](ProcessId pid) { return !isProcessAlive(pid); });
        if (waitMessage(sleepBeforeNextLook())) {
            Message m;
            while (peekMessage(m, true)) {
                if (m.id == wm::Quit)
                    return static_cast<int>(m.wParam);
                translateMessage(m);
                dispatchMessage(m);
            }
        }
    }
}

}  // namespace vorndev
