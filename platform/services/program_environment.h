#pragma once
// The part of program start-up that does not concern the display: the device root, the
// program's own device path and its command line. startProgram (program.h) calls it before
// choosing a display backend.

#include <string>

#include "platform/api/program.h"

namespace platform {

// Learns the program's device path (VORN_SELF, else options.defaultDevicePath) and name for
// the log, and returns the command line: argv[1..] joined by single spaces.
std::wstring initProgramEnvironment(int argc, char** argv, const StartOptions& options);

}  // namespace platform
