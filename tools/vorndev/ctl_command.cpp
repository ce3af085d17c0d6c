// vorndev ctl: drives a running device. Each verb is one entry of kVerbs; the options of all
// verbs are parsed together and each verb accepts only those it lists.

#include <algorithm>
#include <iostream>
#include <span>

#include "platform/api/control.h"
#include "tools/vorndev/commands.h"
#include "tools/vorndev/ctl_verbs.h"
#include "tools/vorndev/installation.h"
#include "tools/vorndev/program_launch.h"

namespace vorndev {
namespace {

struct CtlVerb {
    std::string_view name;
    std::string_view arguments;  // for the usage line
    std::string_view summary;
    std::string_view options;  // names beyond --device and --help, separated by spaces
    int (*run)(CtlContext&);
    // For verbs that hand an argument line on: after this many positional arguments the rest
    // are never taken for options.
    std::size_t stopAfter = SIZE_MAX;
};

constexpr std::string_view kTarget = "pid window";

const CtlVerb kVerbs[] = {
    {"windows", "", "list the device's top-level windows", "", ctlWindows},
    {"tap", "X Y", "tap the screen", kTarget, ctlPointer},
    {"down", "X Y", "put the stylus down", kTarget, ctlPointer},
    {"move", "X Y", "move the stylus", kTarget, ctlPointer},
    {"up", "X Y", "lift the stylus", kTarget, ctlPointer},
    {"hold", "X Y [MS]", "hold the stylus down (default 1000 ms)", kTarget, ctlHold},
    {"key", "NAME [down|up]", "press a device key (softleft, softright, back, up, enter, a, 1...)",
     kTarget, ctlKey},
    {"type", "TEXT", "type text", kTarget, ctlType},
    {"screenshot", "FILE", "write the screen (or --window) as PNG", kTarget, ctlScreenshot},
    {"reg", "get|set|list|delete HIVE KEY [NAME]",
     "registry values (HKCU, HKLM; set with --string V or --dword N)", "string dword", ctlRegistry},
    {"run", "DEVICEPATH [ARGS...]", "start a program as the device's shell would", "headless",
     ctlRun, 1},
    {"post", "MESSAGE [WPARAM [LPARAM]]",
     "post a message (number, WM_ or registered name) to --class [--title]", "class title",
     ctlPost},
    {"clock", "[show|set SECONDS]",
     "show the device clock, set its offset, or --at ISO-UTC; moving it starts what came due", "at",
     ctlClock},
    {"notifications", "[list|runs|add TIME DEVICEPATH [ARGS...]|clear HANDLE|clear --all]",
     "the notification records (TIME: +SECONDS or local), or the service's runs", "all",
     ctlNotifications, 3},
    {"sound", "[--clear]", "the wave-out volume and the play log (or clear it)", "clear", ctlSound},
    {"power", "", "the power state, the backlight requirement, the LEDs and the vibrator", "",
     ctlPower},
    {"phone", "[idle|incoming|busy]", "show or set the phone status", "", ctlPhone},
    {"dock", "", "put the device in its cradle (starts what waits for docking)", "", ctlDock},
    {"undock", "", "take the device out of its cradle", "", ctlDock},
    {"rotate", "[90|180|270]", "turn the screen (default 90 degrees)", "", ctlRotate},
    {"wait-window", "CLASS [TITLE]", "wait until a window exists (--timeout MS)", "timeout",
     ctlWaitWindow},
    {"stop", "", "close every program of the device (--timeout MS)", "timeout", ctlStop},
    {"app", "REQUEST [ARGUMENTS]", "a request the program answers itself (vornroamer3: module)",
     kTarget, ctlApp, 1},
};

std::vector<std::string_view> optionNamesOf(const CtlVerb& verb) {
    std::vector<std::string_view> names;
    std::string_view rest = verb.options;
    while (!rest.empty()) {
        std::size_t space = rest.find(' ');
        names.push_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return names;
}

const CtlVerb* findVerb(std::string_view name) {
    for (const auto& v : kVerbs) {
        if (v.name == name)
            return &v;
    }
    return nullptr;
}

void printUsage() {
    std::cout << "usage: vorndev ctl [--device DIR] VERB [ARGUMENTS]\n\n"
                 "Drives a running device. Input goes to --pid N, or to the program owning\n"
                 "--window CLASS[:TITLE], else to the program in front.\n\nVerbs:\n";
    for (const auto& v : kVerbs) {
        std::string line = std::string(v.name) + " " + std::string(v.arguments);
        std::cout << "  " << line;
        std::cout << std::string(line.size() < 40 ? 40 - line.size() : 1, ' ') << v.summary << "\n";
    }
}

// Every option any verb takes, so the command line is parsed once before the verb is known
// to accept them.
std::vector<OptionSpec> allOptions() {
    std::vector<OptionSpec> specs{kDeviceOption, kHelpOption};
    auto add = [&](std::string_view name) {
        bool flag = name == "headless" || name == "all" || name == "clear";
        if (std::none_of(specs.begin(), specs.end(), [&](auto& s) { return s.name == name; })) {
            specs.push_back({name, !flag});
        }
    };
    for (const auto& v : kVerbs) {
        for (auto name : optionNamesOf(v)) add(name);
    }
    return specs;
}

// Finds the verb: the first argument that is neither an option nor an option's value.
std::size_t verbIndex(const CommandArgs& args, const std::vector<OptionSpec>& specs) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--"))
            return i;
        if (arg.find('=') != std::string::npos)
            continue;
        std::string_view name = std::string_view(arg).substr(2);
        auto spec =
            std::find_if(specs.begin(), specs.end(), [&](auto& s) { return s.name == name; });
        if (spec != specs.end() && spec->takesValue)
            ++i;
    }
    return args.size();
}

void checkOptions(const CtlVerb& verb, const Arguments& a) {
    auto names = optionNamesOf(verb);
    for (const auto& name : a.optionNames()) {
        bool allowed = name == "device" || name == "help" ||
                       std::find(names.begin(), names.end(), name) != names.end();
        if (!allowed) {
            throw UsageError("ctl " + std::string(verb.name) + " takes no --" + name);
        }
    }
}

}  // namespace

int runCtl(const CommandArgs& args) {
    auto specs = allOptions();
    std::size_t at = verbIndex(args, specs);
    if (at == args.size()) {
        Arguments a(args, specs);
        if (a.has("help")) {
            printUsage();
            return 0;
        }
        throw UsageError("ctl needs a verb; see vorndev ctl --help");
    }
    const CtlVerb* verb = findVerb(args[at]);
    if (!verb)
        throw UsageError("unknown ctl verb \"" + args[at] + "\"; see vorndev ctl --help");
    CommandArgs rest(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(at));
    rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
    Arguments a(rest, specs, verb->stopAfter);
    if (a.has("help")) {
        std::cout << "usage: vorndev ctl [--device DIR] " << verb->name << " " << verb->arguments
                  << "\n"
                  << verb->summary << "\n";
        return 0;
    }
    checkOptions(*verb, a);
    std::filesystem::path root = useDeviceRoot(a);
    if (!isDevice(root))
        throw Failure("no device at " + root.string());
    CtlContext ctx(std::string(verb->name), a);
    return verb->run(ctx);
}

}  // namespace vorndev
