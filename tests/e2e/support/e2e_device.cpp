#include "tests/e2e/support/e2e_device.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"

extern char** environ;

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::string readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path makeTempFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

std::optional<platform::RegistryKey> reportKey(const std::string& title) {
    return platform::RegistryKey::open(platform::Hive::CurrentUser,
                                       L"Software\\VornTests\\" + platform::fromUtf8(title));
}

}  // namespace

CommandResult runCommand(const fs::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnvironment) {
    fs::path scratch = makeTempFolder("vorn-e2e-out-");
    fs::path out = scratch / "out", err = scratch / "err";
    std::vector<std::string> argvText{program.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText;
    // A variable given here replaces the inherited one: the first of two is what getenv sees.
    auto overridden = [&](std::string_view entry) {
        auto name = entry.substr(0, entry.find('=') + 1);
        for (const auto& extra : extraEnvironment)
            if (std::string_view(extra).starts_with(name))
                return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!overridden(*e))
            envText.emplace_back(*e);
    envText.insert(envText.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    CommandResult result;
    if (rc != 0) {
        result.err = std::string("cannot start ") + program.string() + ": " + std::strerror(rc);
    } else {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readWhole(out);
        result.err = readWhole(err);
    }
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}

fs::path builtProgram(const std::string& name) {
    return fs::path(VORN_BINARY_DIR) / "bin" / name;
}

CommandResult vorndev(const std::vector<std::string>& args) {
    return runCommand(builtProgram("vorndev"), args);
}

bool isRunning(int processId) {
    return platform::isProcessAlive(processId);
}

TestDevice::TestDevice(const std::string& screen) {
    root_ = makeTempFolder("vorn-e2e-") / "device";
    CommandResult init = vorndev({"init", "--device", root_.string(), "--screen", screen});
    if (init.exitCode != 0)
        throw std::runtime_error("vorndev init failed: " + init.err);
    ::setenv("VORN_DEVICE", root_.c_str(), 1);
    platform::setDeviceRoot(root_);
    // The test program is installed where a test tool of the device would be.
    fs::create_symlink(builtProgram("vorn_testprog"), root_ / "windows" / "vorn_testprog.exe");
}

TestDevice::~TestDevice() {
    ctl({"stop", "--timeout", "3000"});
    for (int pid : started_) {
        if (isRunning(pid))
            ::kill(pid, SIGKILL);
    }
    if (std::getenv("VORN_KEEP_TEST_DEVICE"))
        return;
    std::error_code ec;
    fs::remove_all(root_.parent_path(), ec);
}

CommandResult TestDevice::ctl(const std::vector<std::string>& args) const {
    std::vector<std::string> all{"ctl", "--device", root_.string()};
    all.insert(all.end(), args.begin(), args.end());
    return vorndev(all);
}

int TestDevice::startTestProgram(const std::string& className, const std::string& title,
                                 const std::vector<std::string>& more) {
    // The words become one argument line; quotes keep a title with spaces together.
    auto quoted = [](const std::string& word) {
        return word.find(' ') == std::string::npos ? word : "\"" + word + "\"";
    };
    std::vector<std::string> args{"run",        "--headless",      "\\windows\\vorn_testprog.exe",
                                  "--class",    quoted(className), "--title",
                                  quoted(title)};
    args.insert(args.end(), more.begin(), more.end());
    CommandResult run = ctl(args);
    if (run.exitCode != 0)
        throw std::runtime_error("ctl run failed: " + run.err);
    int pid = std::stoi(run.out);
    started_.push_back(pid);
    CommandResult wait = ctl({"wait-window", className, title, "--timeout", "30000"});
    if (wait.exitCode != 0) {
        throw std::runtime_error("the test program's window did not appear: " + wait.err + "\n" +
                                 deviceLog());
    }
    return pid;
}

std::optional<std::wstring> TestDevice::reportedString(const std::string& title,
                                                       const std::wstring& name) const {
    auto key = reportKey(title);
    if (!key)
        return std::nullopt;
    return key->queryString(name, 4096);
}

std::optional<std::uint32_t> TestDevice::reportedNumber(const std::string& title,
                                                        const std::wstring& name) const {
    auto key = reportKey(title);
    if (!key)
        return std::nullopt;
    return key->queryDword(name);
}

std::string TestDevice::deviceLog() const {
    return readWhole(root_ / ".device" / "log" / "device.log");
}

}  // namespace e2e
