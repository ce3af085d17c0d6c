// vorn: the command-line companion. It reads the same device and install folder as the
// programs of the device, through the same library code, and never opens a window.

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#include "core/settings.h"
#include "platform/api/program.h"
#include "programs/vorn/cli.h"

namespace {

constexpr std::wstring_view kDefaultMainPath = L"\\Program Files\\Vorn Roamer\\";

void printUsage() {
    vorn::writeOut("usage: vorn COMMAND [ARGUMENTS] [--json]\n\ncommands:\n");
    for (const vorn::Command& command : vorn::commands()) {
        std::printf("  %-44s %s\n", std::string(command.usage).c_str(),
                    std::string(command.summary).c_str());
    }
    vorn::writeOut(
        "\nEvery command takes --json for machine-readable output and --help.\n"
        "The device is $VORN_DEVICE (else ~/.local/share/vornroamer/device).\n");
}

void printCommandHelp(const vorn::Command& command) {
    vorn::writeOut("usage: vorn " + std::string(command.usage) + " [--json]\n\n" +
                   std::string(command.summary) + ".\n" + std::string(command.help) + "\n");
}

const vorn::Command* findCommand(std::string_view name) {
    for (const vorn::Command& command : vorn::commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // A tool of the terminal: it never shows a screen, so it starts without a display backend.
    platform::startWindowlessProgram(argc, argv,
                                     {L"\\Program Files\\Vorn Roamer\\vorn.exe", L"vorn"});
    std::span<char*> arguments(argv + 1, argc > 1 ? argc - 1 : 0);
    if (arguments.empty() || std::string_view(arguments[0]) == "--help" ||
        std::string_view(arguments[0]) == "-h" || std::string_view(arguments[0]) == "help") {
        if (arguments.size() > 1) {
            if (const vorn::Command* command = findCommand(arguments[1])) {
                printCommandHelp(*command);
                return vorn::kExitOk;
            }
        }
        printUsage();
        return arguments.empty() ? vorn::kExitUsage : vorn::kExitOk;
    }
    const vorn::Command* command = findCommand(arguments[0]);
    if (!command) {
        vorn::Invocation none;
        for (char* argument : arguments) none.json |= std::string_view(argument) == "--json";
        return vorn::report(none, vorn::kExitUsage,
                            "unknown command \"" + std::string(arguments[0]) + "\" (vorn --help)");
    }
    bool help = false;
    auto invocation = vorn::parseArguments(*command, arguments.subspan(1), help);
    if (!invocation)
        return vorn::kExitUsage;
    if (help) {
        printCommandHelp(*command);
        return vorn::kExitOk;
    }
    invocation->mainPath = core::readMainPath().value_or(std::wstring(kDefaultMainPath));
    return command->run(*invocation);
}
