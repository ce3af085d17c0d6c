// vorndev start: runs the device's programs, each in its own window or headless.

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/program.h"
#include "tools/vorndev/build_layout.h"
#include "tools/vorndev/command_line.h"
#include "tools/vorndev/commands.h"
#include "tools/vorndev/device_cleanup.h"
#include "tools/vorndev/installation.h"
#include "tools/vorndev/program_launch.h"

namespace vorndev {
namespace {

constexpr std::string_view kUsage =
    "usage: vorndev start [--device DIR] [--headless] [--detach] [--screen WxH]\n"
    "\n"
    "Runs the device: the notification service, the Today screen and the main program when\n"
    "it is installed. A device that does not exist yet is created first (with --screen,\n"
    "default 240x320). Notifications whose time passed while the device was not running\n"
    "start their programs now.\n"
    "  --headless  no windows; the screens stay in memory (drive them with vorndev ctl)\n"
    "  --detach    return once the programs' windows exist, printing their process ids;\n"
    "              otherwise wait until they end (Ctrl-C closes them)\n";

constexpr auto kCloseGrace = std::chrono::seconds(5);
constexpr auto kWindowWait = std::chrono::seconds(30);

bool displayReachable() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

struct Started {
    std::string name;
    int processId = 0;
    bool background = false;  // shows nothing; ends when the others have ended
};

void prepareDevice(const Arguments& a) {
    if (!isDevice(platform::deviceRoot())) {
        initDevice(a.value("screen").value_or("240x320"), 0, false);
        return;
    }
    if (auto screen = a.value("screen")) {
        auto profile = platform::screenProfileFromName(*screen);
        if (!profile)
            throw UsageError("unknown screen \"" + *screen + "\"");
        platform::setScreenProfile(*profile);
    }
}

std::vector<Started> startPrograms(const LaunchOptions& options) {
    std::vector<Started> started;
    std::string root = platform::deviceRoot().string();
    started.push_back(
        {"Today screen",
         startHostProgram(selfExecutable(), {"today", "--device", root}, std::nullopt, options)});
    // The Today screen's window comes first, then the service, which at once starts what came
    // due while the device was off, then the main program, in front of the Today screen.
    waitForWindows({started.back().processId}, kWindowWait);
    started.push_back(
        {"Notification service",
         startHostProgram(selfExecutable(), {"notifications-service", "--device", root},
                          std::nullopt, options),
         true});
    if (platform::fileExists(kMainProgram)) {
        started.push_back(
            {platform::toUtf8(kMainProgram), startDeviceProgram(kMainProgram, L"", options)});
    }
    return started;
}

std::vector<int> idsOf(const std::vector<Started>& started) {
    std::vector<int> ids;
    for (const auto& s : started) ids.push_back(s.processId);
    return ids;
}

int waitForWindowsAndReport(const std::vector<Started>& started) {
    bool ready = waitForWindows(idsOf(started), kWindowWait);
    for (const auto& s : started) std::cout << s.processId << "\t" << s.name << "\n";
    if (!ready) {
        for (const auto& s : started) {
            if (!isProgramRunning(s.processId)) {
                std::cerr << "vorndev: " << s.name << " (" << s.processId << ") ended early; "
                          << "see " << (platform::deviceRoot() / ".device/log").string() << "\n";
            }
        }
        throw Failure("not every program opened its window");
    }
    return 0;
}

// Runs until the started programs have ended; SIGINT or SIGTERM closes every program of the
// device first.
int runInForeground(const std::vector<Started>& started, sigset_t signals) {
    std::vector<int> ids = idsOf(started);
    std::vector<int> shown, background;
    for (const auto& s : started) (s.background ? background : shown).push_back(s.processId);
    timespec step{0, 200 * 1000 * 1000};
    for (;;) {
        int sig = ::sigtimedwait(&signals, nullptr, &step);
        if (sig == SIGINT || sig == SIGTERM) {
            std::cout << "\nClosing the device's programs...\n" << std::flush;
            // Programs started from the device meanwhile (from the Today screen) go too.
            std::vector<int> all = ids;
            for (int pid : programsWithWindows()) {
                if (std::find(all.begin(), all.end(), pid) == all.end())
                    all.push_back(pid);
            }
            auto signalled = closePrograms(all, kCloseGrace);
            for (int pid : signalled) {
                std::cerr << "vorndev: program " << pid << " did not close; ended it\n";
            }
            return 0;
        }
        if (std::none_of(shown.begin(), shown.end(), isProgramRunning)) {
            closePrograms(background, kCloseGrace);
            return 0;
        }
    }
}

}  // namespace

int runStart(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {
        kDeviceOption, kHelpOption, {"headless", false}, {"detach", false}, {"screen", true}};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    prepareDevice(a);
    if (auto running = programsWithWindows(); !running.empty()) {
        throw Failure("the device at " + platform::deviceRoot().string() +
                      " is already running; stop it with vorndev ctl stop");
    }
    // Nothing of the device runs, so what killed programs left behind can go.
    CleanupCount cleaned = removeLeftovers(platform::deviceRoot());
    if (cleaned.files || cleaned.sockets) {
        platform::logLine("vorndev start: removed " + std::to_string(cleaned.files) +
                          " temporary files and " + std::to_string(cleaned.sockets) +
                          " sockets left by programs that ended");
    }
    LaunchOptions options;
    options.headless = a.has("headless");
    if (!options.headless && !displayReachable()) {
        std::cout << "No display found; running headless.\n";
        options.headless = true;
    }
    options.detached = a.has("detach");

    // Signals are taken by sigtimedwait from here on; the programs start with them unblocked.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (!options.detached)
        ::sigprocmask(SIG_BLOCK, &signals, nullptr);

    std::vector<Started> started = startPrograms(options);
    if (options.detached)
        return waitForWindowsAndReport(started);
    std::cout << "The device at " << platform::deviceRoot().string()
              << " is running; Ctrl-C closes it.\n"
              << std::flush;
    return runInForeground(started, signals);
}

}  // namespace vorndev
