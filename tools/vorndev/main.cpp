// vorndev: the emulated device. Creates devices, installs the system, runs the device's
// programs and drives them from the command line.

#include <exception>
#include <iostream>
#include <string_view>

#include "tools/vorndev/command_line.h"
#include "tools/vorndev/commands.h"
#include "tools/vorndev/notification_service.h"
#include "tools/vorndev/today_host.h"

namespace vorndev {
namespace {

struct Command {
    std::string_view name;
    std::string_view summary;
    int (*run)(const CommandArgs& args);
};

constexpr std::string_view kTodayUsage =
    "usage: vorndev today [--device DIR]\n"
    "\n"
    "Runs the device's Today screen as a program of the device (vorndev start does this).\n";

int runToday(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {kDeviceOption, kHelpOption};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kTodayUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    std::vector<std::string> words{"today"};
    std::vector<char*> argv{words[0].data(), nullptr};
    return runTodayHost(1, argv.data());
}

constexpr std::string_view kServiceUsage =
    "usage: vorndev notifications-service [--device DIR]\n"
    "\n"
    "Runs the device's notification service as a program of the device (vorndev start does\n"
    "this): it starts the programs of time notifications when their time comes, and at once\n"
    "those whose time passed while the device was not running.\n";

int runService(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {kDeviceOption, kHelpOption};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kServiceUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    return runNotificationService();
}

const Command kCommands[] = {
    {"init", "create a device and install the system", runInit},
    {"install", "install the system into a device", runInstall},
    {"uninstall", "remove the system from a device", runUninstall},
    {"start", "run the device's programs", runStart},
    {"ctl", "drive a running device (vorndev ctl --help)", runCtl},
    {"today", "run the Today screen (started by vorndev start)", runToday},
    {"notifications-service", "run the notification service (started by vorndev start)",
     runService},
};

void printUsage(std::ostream& out) {
    out << "usage: vorndev COMMAND [--device DIR] [OPTIONS]\n\nCommands:\n";
    for (const auto& c : kCommands) {
        std::size_t pad = c.name.size() < 12 ? 12 - c.name.size() : 1;
        out << "  " << c.name << std::string(pad, ' ') << c.summary << "\n";
    }
    out << "\nEvery command takes --device DIR (default: $VORN_DEVICE, else\n"
           "~/.local/share/vornroamer/device) and --help.\n";
}

int dispatch(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    std::string_view name = argv[1];
    if (name == "--help" || name == "help" || name == "-h") {
        printUsage(std::cout);
        return 0;
    }
    CommandArgs args(argv + 2, argv + argc);
    for (const auto& c : kCommands) {
        if (c.name == name)
            return c.run(args);
    }
    throw UsageError("unknown command \"" + std::string(name) + "\"");
}

}  // namespace
}  // namespace vorndev

int main(int argc, char** argv) {
    try {
        return vorndev::dispatch(argc, argv);
    } catch (const vorndev::UsageError& e) {
        std::cerr << "vorndev: " << e.what() << " (see vorndev --help)\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "vorndev: " << e.what() << "\n";
        return 1;
    }
}
