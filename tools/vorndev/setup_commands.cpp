// vorndev init, install and uninstall.

#include <iostream>

#include "platform/api/device.h"
#include "tools/vorndev/command_line.h"
#include "tools/vorndev/commands.h"
#include "tools/vorndev/installation.h"

namespace vorndev {
namespace {

constexpr std::string_view kInitUsage =
    "usage: vorndev init [--device DIR] [--screen WxH] [--dpi N] [--force]\n"
    "\n"
    "Creates a device and installs the system into it.\n"
    "  --screen WxH  240x320 (default), 480x640, 320x240, 640x480, 240x240 or 480x480\n"
    "  --dpi N       logical dots per inch (default: 96 for 240-wide screens, 192 for 480)\n"
    "  --force       remove an existing device at DIR and create it anew\n"
    "  --device DIR  the device folder (default: $VORN_DEVICE, else\n"
    "                ~/.local/share/vornroamer/device)\n";

constexpr std::string_view kInstallUsage =
    "usage: vorndev install [--device DIR]\n"
    "\n"
    "Installs the system into an existing device: copies the install folder's content and\n"
    "links the built programs to their device paths, calling the installer hook when built.\n";

constexpr std::string_view kUninstallUsage =
    "usage: vorndev uninstall [--device DIR]\n"
    "\n"
    "Removes the installed system from the device, calling the installer hook when built.\n";

void printSummary(const InstallSummary& summary) {
    std::cout << "Installed " << summary.dataFiles << " files into \\Program Files\\Vorn Roamer\n";
    for (const auto& path : summary.linked) {
        std::cout << "Linked " << platform::toUtf8(path) << "\n";
    }
    for (const auto& file : summary.notBuilt) {
        std::cout << "Not built yet, skipped: " << file << "\n";
    }
    if (summary.hookCalled)
        std::cout << "Ran the installer hook\n";
}

void requireDevice() {
    if (!isDevice(platform::deviceRoot())) {
        throw Failure("no device at " + platform::deviceRoot().string() +
                      "; create one with vorndev init");
    }
}

}  // namespace

void initDevice(const std::string& screen, int dpi, bool replace) {
    auto profile = platform::screenProfileFromName(screen, dpi);
    if (!profile) {
        throw UsageError("unknown screen \"" + screen +
                         "\"; use 240x320, 480x640, 320x240, 640x480, 240x240 or 480x480");
    }
    createDevice(*profile, replace);
    std::cout << "Created a " << profile->width << "x" << profile->height << " device ("
              << profile->dpi << " dpi) at " << platform::deviceRoot().string() << "\n";
    printSummary(installSystem());
}

int runInit(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {
        kDeviceOption, kHelpOption, {"screen", true}, {"dpi", true}, {"force", false}};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kInitUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    int dpi = 0;
    if (auto text = a.value("dpi"))
        dpi = static_cast<int>(parseNumber(*text, "--dpi", platform::kMinDpi, platform::kMaxDpi));
    initDevice(a.value("screen").value_or("240x320"), dpi, a.has("force"));
    return 0;
}

int runInstall(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {kDeviceOption, kHelpOption};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kInstallUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    requireDevice();
    printSummary(installSystem());
    return 0;
}

int runUninstall(const CommandArgs& args) {
    static constexpr OptionSpec kSpecs[] = {kDeviceOption, kHelpOption};
    Arguments a(args, kSpecs);
    if (printUsageIfAsked(a, kUninstallUsage))
        return 0;
    a.expectAtMost(0);
    useDeviceRoot(a);
    requireDevice();
    uninstallSystem();
    std::cout << "Removed the system from " << platform::deviceRoot().string() << "\n";
    return 0;
}

}  // namespace vorndev
