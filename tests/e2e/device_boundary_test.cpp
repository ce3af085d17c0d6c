// The device keeps to its own folder: installing and removing the system deletes only what
// the installer made inside the device, whatever the installation record says and wherever
// links in the device lead; programs write screenshots only inside the device; starting the
// device clears what killed programs left; and the machine state is the user's alone.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "platform/api/control.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void appendToRecord(const fs::path& root, const std::vector<std::string>& paths) {
    std::ofstream record(root / ".device/installed", std::ios::app | std::ios::binary);
    for (const auto& p : paths) record << p << "\n";
}

// A process id that surely runs no more: a child that has ended and been reaped.
int endedProcessId() {
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

class DeviceBoundaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        outside_ = device_.root().parent_path() / "outside";
        fs::create_directories(outside_);
        writeText(outside_ / "a.txt", "not the device's");
        writeText(outside_ / "b.txt", "not the device's either");
        fs::create_directories(device_.root() / "My Documents");
        writeText(device_.root() / "My Documents/note.txt", "mine");
        fs::create_directory_symlink(outside_, installFolder() / "linked");
    }

    fs::path installFolder() const { return device_.root() / "Program Files/Vorn Roamer"; }

    void expectOutsideUntouched() {
        EXPECT_EQ(readText(outside_ / "a.txt"), "not the device's");
        EXPECT_EQ(readText(outside_ / "b.txt"), "not the device's either");
        EXPECT_EQ(readText(device_.root() / "My Documents/note.txt"), "mine");
    }

    TestDevice device_;
    fs::path outside_;
};

TEST_F(DeviceBoundaryTest, UninstallDeletesOnlyWhatTheInstallerMadeInsideTheDevice) {
    appendToRecord(device_.root(),
                   {"\\Program Files\\Vorn Roamer\\linked\\a.txt",
                    "\\Program Files\\Vorn Roamer\\linked\\b.txt", "\\My Documents\\note.txt",
                    "\\Program Files\\Vorn Roamer\\linked", "\\My Documents", "garbage line"});
    CommandResult r = vorndev({"uninstall", "--device", device_.root().string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectOutsideUntouched();
    EXPECT_TRUE(fs::is_directory(device_.root() / "My Documents"));
    // What the installer did make is gone.
    EXPECT_FALSE(fs::exists(installFolder() / "lang/lang.dat"));
}

TEST_F(DeviceBoundaryTest, ReinstallDeletesOnlyWhatTheInstallerMadeInsideTheDevice) {
    appendToRecord(device_.root(), {"\\Program Files\\Vorn Roamer\\linked\\a.txt",
                                    "\\My Documents\\note.txt", "\\Windows"});
    CommandResult r = vorndev({"install", "--device", device_.root().string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    expectOutsideUntouched();
    EXPECT_TRUE(fs::is_directory(device_.root() / "windows"));
}

TEST_F(DeviceBoundaryTest, InstallNeverWritesThroughALinkOutOfTheDevice) {
    fs::remove_all(installFolder() / "lang");
    fs::create_directory_symlink(outside_, installFolder() / "lang");
    CommandResult r = vorndev({"install", "--device", device_.root().string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(contains(r.err, "outside the device")) << r.err;
    EXPECT_FALSE(fs::exists(outside_ / "lang.dat"));
    expectOutsideUntouched();
}

TEST_F(DeviceBoundaryTest, ProgramsWriteScreenshotsOnlyInsideTheDevice) {
    int pid = device_.startTestProgram("Shot", "Shot");
    // Asked directly for a file outside the device, the program refuses.
    fs::path elsewhere = outside_ / "shot.png";
    // A loaded machine may keep the program from answering for a while; it must answer.
    constexpr int kAnswerMs = 30000;
    auto reply = platform::sendControl(pid, "screenshot " + elsewhere.string(), kAnswerMs);
    ASSERT_TRUE(reply);
    EXPECT_FALSE(reply->ok);
    EXPECT_FALSE(fs::exists(elsewhere));
    // Nor through a link in the device that leads out.
    reply = platform::sendControl(
        pid, "screenshot " + (installFolder() / "linked" / "shot.png").string(), kAnswerMs);
    ASSERT_TRUE(reply);
    EXPECT_FALSE(reply->ok);
    EXPECT_FALSE(fs::exists(elsewhere));
    // ctl itself still puts the picture wherever its user asks.
    CommandResult r = device_.ctl({"screenshot", elsewhere.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(fs::file_size(elsewhere), 0u);
}

TEST_F(DeviceBoundaryTest, StartClearsWhatKilledProgramsLeft) {
    const fs::path& root = device_.root();
    std::string gone = std::to_string(endedProcessId());
    fs::path run = root / ".device/run";
    fs::create_directories(run);
    // A socket whose program was killed.
    fs::path staleSocket = run / (gone + ".sock");
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, staleSocket.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    // Temporary files of saves that were killed before their rename.
    std::vector<fs::path> leftovers = {installFolder() / (".mycities.dat.tmp-" + gone + "-0"),
                                       root / "My Documents" / ("shot.png.tmp-" + gone),
                                       installFolder() / ("vornroamer.ini.vorndev-" + gone)};
    for (const auto& f : leftovers) writeText(f, "half");
    // Names alike that are the user's, or of a process still running, stay.
    std::vector<fs::path> kept = {
        root / "My Documents/notes.tmp-draft",
        root / "My Documents" / (".x.tmp-" + std::to_string(::getpid()) + "-1")};
    for (const auto& f : kept) writeText(f, "keep");

    CommandResult start = vorndev({"start", "--device", root.string(), "--headless", "--detach"});
    ASSERT_EQ(start.exitCode, 0) << start.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(staleSocket)));
    for (const auto& f : leftovers) EXPECT_FALSE(fs::exists(f)) << f;
    for (const auto& f : kept) EXPECT_TRUE(fs::exists(f)) << f;
    expectOutsideUntouched();
    EXPECT_EQ(device_.ctl({"stop"}).exitCode, 0);
}

TEST_F(DeviceBoundaryTest, MachineStateIsReadableByTheUserAlone) {
    struct stat st {};
    ASSERT_EQ(::stat((device_.root() / ".device").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (const char* file : {".device/state.db", ".device/log/device.log"}) {
        if (::stat((device_.root() / file).c_str(), &st) == 0) {
            EXPECT_EQ(st.st_mode & 0077, 0u) << file;
        } else {
            EXPECT_STREQ(file, ".device/log/device.log");  // the log comes with the first line
        }
    }
}

TEST_F(DeviceBoundaryTest, CtlRefusesToPostMessagesWithAddresses) {
    device_.startTestProgram("Victim", "Victim");
    for (const char* message : {"WM_SETTEXT", "0x4E"}) {
        CommandResult r = device_.ctl({"post", "--class", "Victim", message, "0", "1"});
        EXPECT_NE(r.exitCode, 0) << message;
        EXPECT_TRUE(contains(r.err, "addresses")) << r.err;
    }
    EXPECT_EQ(platform::windowText(platform::findWindow(L"Victim", L"Victim")), L"Victim");
}

}  // namespace
