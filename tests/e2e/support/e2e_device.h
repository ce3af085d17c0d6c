#pragma once
// A throw-away device for end-to-end tests, made with `vorndev init` in a temporary folder and
// driven with `vorndev ctl` run as a subprocess. The test process opens the same device so it
// can watch the registry and the window table directly.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

struct CommandResult {
    int exitCode = -1;  // -1 when a signal ended it
    std::string out;
    std::string err;
};

// Runs a program to its end with the given environment additions ("NAME=value"), capturing
// its output.
CommandResult runCommand(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnvironment = {});

std::filesystem::path builtProgram(const std::string& name);

// Runs vorndev with the arguments as they stand.
CommandResult vorndev(const std::vector<std::string>& args);

// Waits for a condition, checking it often, up to a deadline generous enough for a loaded
// machine. True when it came true.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class TestDevice {
  public:
    // Creates the device with `vorndev init --screen`; the test process uses it as its own
    // device root from then on.
    explicit TestDevice(const std::string& screen = "240x320");
    // Stops whatever still runs on the device and removes it (kept when VORN_KEEP_TEST_DEVICE
    // is set, for looking at after a failure).
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }

    // `vorndev ctl --device ROOT args...`
    CommandResult ctl(const std::vector<std::string>& args) const;

    // Starts vorn_testprog headless through `vorndev ctl run` with its window's class and
    // title and more arguments; waits until its window exists. Returns its process id.
    int startTestProgram(const std::string& className, const std::string& title,
                         const std::vector<std::string>& more = {});

    // A registry value the test program reported under HKCU\Software\VornTests\<title>.
    std::optional<std::wstring> reportedString(const std::string& title,
                                               const std::wstring& name) const;
    std::optional<std::uint32_t> reportedNumber(const std::string& title,
                                                const std::wstring& name) const;

    // The text of the device log.
    std::string deviceLog() const;

  private:
    std::filesystem::path root_;
    std::vector<int> started_;
};

bool isRunning(int processId);

}  // namespace e2e
