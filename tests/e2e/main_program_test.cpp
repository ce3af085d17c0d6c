// The main program as a person starts it on a device: the start-up sequence and what it
// publishes, one instance per device with the hand-over of a second start's command line,
// closing from another program, and the refusal to run without a zone table.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;

namespace {

const std::string kMainProgram = "\\Program Files\\Vorn Roamer\\vornroamer3.exe";
const std::wstring kSettingsKey = L"Software\\VornSoftware\\VornRoamer3";

std::optional<std::wstring> setting(const std::wstring& name) {
    auto key = platform::RegistryKey::open(platform::Hive::CurrentUser, kSettingsKey);
    return key ? key->queryString(name, 1024) : std::nullopt;
}

void setSetting(const std::wstring& name, const std::wstring& value) {
    auto key = platform::RegistryKey::create(platform::Hive::CurrentUser, kSettingsKey);
    ASSERT_TRUE(key.has_value());
    ASSERT_TRUE(key->setString(name, value));
}

class MainProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Start-up labels go to the device log, where the tests read them.
        ::setenv("VORN_TRACE", "1", 1);
    }

    // Starts the main program as the device's shell would; returns its process id.
    int start(const std::string& commandLine = "") {
        std::vector<std::string> args{"run", "--headless", kMainProgram};
        if (!commandLine.empty())
            args.push_back(commandLine);
        CommandResult r = device_.ctl(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.exitCode == 0 ? std::stoi(r.out) : 0;
    }

    platform::WindowHandle mainWindow() const {
        return platform::findWindow(L"Vorn Roamer", L"Vorn Roamer");
    }

    // Waits until the first instance has run its whole start-up sequence.
    void startFirstInstance() {
        firstPid_ = start();
        ASSERT_TRUE(waitUntil([&] { return logCount("trace: setdisplay complete") >= 1; }))
            << device_.deviceLog();
    }

    int logCount(const std::string& text) const {
        std::string log = device_.deviceLog();
        int n = 0;
        for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
        return n;
    }

    TestDevice device_;
    int firstPid_ = 0;
};

TEST_F(MainProgramTest, StartUpRunsInOrderAndPublishesPathsLanguageAndTodayItem) {
    startFirstInstance();
    std::string log = device_.deviceLog();
    const char* labels[] = {"starting",
                            "mainwnd-show",
                            "initlang complete",
                            "langlist complete",
                            "openlang complete",
                            "homescreen check complete",
                            "loadfavorites complete",
                            "selector complete",
                            "setdisplay complete"};
    std::size_t at = 0;
    for (const char* label : labels) {
        std::size_t found = log.find(std::string("trace: ") + label, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << label << "\n" << log;
        at = found;
    }
    EXPECT_EQ(setting(L"MainPath").value_or(L""), L"\\Program Files\\Vorn Roamer\\");
    EXPECT_EQ(setting(L"DownloadPath").value_or(L""), L"\\Program Files\\Vorn Roamer\\downloads\\");
    EXPECT_EQ(setting(L"OptLang").value_or(L""), L"0409");
    EXPECT_FALSE(setting(L"OptLangDownload").value_or(L"").empty());
    auto item = platform::RegistryKey::open(platform::Hive::LocalMachine,
                                            L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\"");
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->queryString(L"DLL", 255).value_or(L""), L"\\windows\\VornRoamerToday.dll");
    EXPECT_TRUE(platform::fileExists(L"\\Program Files\\Vorn Roamer\\vornroamer.ini"));
    // Without an accepted agreement the set-up wizard (13) comes first.
    EXPECT_GE(logCount("trace:   starting 13"), 1);
}

TEST_F(MainProgramTest, ASecondStartHandsOverAndLeavesOneInstance) {
    startFirstInstance();
    platform::WindowHandle first = mainWindow();
    ASSERT_NE(first, 0u);

    // An empty command line only brings the first instance forward; no file is written.
    int second = start();
    ASSERT_TRUE(waitUntil([&] { return !isRunning(second); }));
    EXPECT_FALSE(platform::fileExists(L"\\Program Files\\Vorn Roamer\\trigger.inf"));
    EXPECT_EQ(mainWindow(), first);
    EXPECT_EQ(platform::foregroundWindow(), first);

    // "/homescreen" with a requested screen switches the running instance to it.
    setSetting(L"HomeStarting", L"start_weather");
    int third = start("/homescreen");
    ASSERT_TRUE(waitUntil([&] { return logCount("trace:   starting 31") >= 1; }))
        << device_.deviceLog();
    ASSERT_TRUE(waitUntil([&] { return !isRunning(third); }));
    EXPECT_EQ(setting(L"HomeStarting").value_or(L"?"), L"");
    EXPECT_FALSE(platform::fileExists(L"\\Program Files\\Vorn Roamer\\trigger.inf"));
    EXPECT_EQ(mainWindow(), first);
    EXPECT_TRUE(isRunning(firstPid_));
}

TEST_F(MainProgramTest, AFirstStartWithHomescreenShowsTheStartScreenThenTheRequestedOne) {
    setSetting(L"HomeStarting", L"start_alarm");
    firstPid_ = start("/homescreen");
    ASSERT_TRUE(waitUntil([&] { return logCount("trace:   starting 41") >= 1; }))
        << device_.deviceLog();
    std::string log = device_.deviceLog();
    EXPECT_LT(log.find("trace:   starting 13"), log.find("trace:   starting 41"));
}

TEST_F(MainProgramTest, ClosingFromAnotherProgramEndsItAndSavesTheHomeCity) {
    // "2abc" reads as 2; a clean shut-down writes the current row back as plain "2".
    setSetting(L"FavCity", L"2abc");
    startFirstInstance();
    CommandResult r = device_.ctl({"post", "--class", "Vorn Roamer", "WM_CLOSE"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(waitUntil([&] { return !isRunning(firstPid_); }));
    EXPECT_EQ(setting(L"FavCity").value_or(L""), L"2");
    EXPECT_EQ(mainWindow(), 0u);
}

TEST_F(MainProgramTest, AnEmptyZoneTableIsReportedAndTheProgramQuits) {
    std::ofstream(device_.root() / "Program Files" / "Vorn Roamer" / "dstinfo.dat",
                  std::ios::trunc);
    firstPid_ = start();
    // The message box waits for the user; it is answered with the action key.
    ASSERT_TRUE(waitUntil([&] { return logCount("trace: homescreen check complete") >= 1; }));
    std::string shot = (device_.root().parent_path() / "box.png").string();
    ASSERT_TRUE(waitUntil([&] {
        return device_.ctl({"--pid", std::to_string(firstPid_), "screenshot", shot}).exitCode == 0;
    }));
    CommandResult r = device_.ctl({"--pid", std::to_string(firstPid_), "key", "enter"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(waitUntil([&] { return !isRunning(firstPid_); })) << device_.deviceLog();
    EXPECT_EQ(logCount("trace: loadfavorites complete"), 0);
}

}  // namespace
