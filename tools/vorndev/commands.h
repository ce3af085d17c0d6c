#pragma once
// The subcommands of vorndev. Each takes the arguments after its name and returns the exit
// status; UsageError and Failure (command_line.h) end it with a message.

#include <string>
#include <vector>

namespace vorndev {

using CommandArgs = std::vector<std::string>;

int runInit(const CommandArgs& args);
int runInstall(const CommandArgs& args);
int runUninstall(const CommandArgs& args);
int runStart(const CommandArgs& args);
int runCtl(const CommandArgs& args);

// Creates the device at the current root with a screen profile ("240x320", dpi 0 for the
// profile's own) and installs the system, reporting what was done on standard output.
void initDevice(const std::string& screen, int dpi, bool replace);

}  // namespace vorndev
