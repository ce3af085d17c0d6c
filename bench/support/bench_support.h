#pragma once
// What several benchmarks share: running the built programs as whole processes, and a
// throw-away device in this process for benchmarks that drive screens.

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// The folder of the running benchmark, where the other built programs lie.
std::filesystem::path binDir();

// Runs a program with this process's environment plus extraEnv ("NAME=value") and waits for
// it. Returns its exit code (-1 when it could not start or did not exit normally); peakKb
// receives its peak resident memory.
int runProcess(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
               long* peakKb = nullptr);

// Makes a throw-away device with a copy of the install folder (the application writes its
// settings file there) at the named screen, and installs the shell and native controls. Once
// per process, since the window system belongs to the process; later calls return the same
// root. The device is removed at exit.
const std::filesystem::path& useScreenDevice(const char* screen);

// Dispatches the queued messages, leaving out timers and quit.
void pumpMessages();

}  // namespace bench
