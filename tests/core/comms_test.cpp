// The comms interface against a stand-in comms program: starting it with a request, its
// reports to the main window, the running check with stale status, cancelling, and the
// error boxes.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/comms.h"
#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/core/support/core_test_support.h"
#include "tests/platform/support/test_device.h"

using namespace core;
using namespace platform;

namespace {

struct Report {
    WParam what;
    LParam detail;
    friend bool operator==(const Report&, const Report&) = default;
};

class Comms : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto root = platform::test::useTestDevice();
        ::setenv("VORN_DISPLAY", "headless", 1);
        // Derived suites run this again; the program and the class are set up once.
        if (std::filesystem::is_symlink(root / "windows" / "vornroamer3_sched.exe"))
            return;
        std::filesystem::create_directories(root / "windows");
        std::filesystem::create_symlink(platform::test::builtProgram("vorn_fake_comms"),
                                        root / "windows" / "vornroamer3_sched.exe");
        // A class stays registered for the whole program, so its procedure may only use
        // what outlives every test.
        registerWindowClass({std::wstring(kMainWindowName),
                             [](WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
                                 if (id == commsMessage())
                                     reports_.push_back({wp, lp});
                                 return defWindowProc(w, id, wp, lp);
                             }});
    }

    void SetUp() override {
        core::test::clearRegistry();
        reports_.clear();
        WindowCreate create;
        create.className = kMainWindowName;
        create.title = kMainWindowName;
        main_ = createWindow(create);
        ASSERT_NE(main_, 0u);
    }

    void TearDown() override { destroyWindow(main_); }

    // Delivers messages until the report arrives or ten seconds pass.
    bool waitForReport(WParam what) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until) {
            for (const Report& r : reports_) {
                if (r.what == what)
                    return true;
            }
            waitMessage(50);
            Message m;
            while (peekMessage(m, true)) dispatchMessage(m);
        }
        return false;
    }

    static inline std::vector<Report> reports_;
    WindowHandle main_ = 0;
};

TEST_F(Comms, RequestRunsAndReportsStartDoneAndEnd) {
    EXPECT_NE(commsMessage(), 0u);
    EXPECT_EQ(commsMessage(), registerWindowMessage(L"VornRoamerComms"));
    ASSERT_TRUE(sendCommsRequest(L"/manual 14"));
    ASSERT_TRUE(waitForReport(commsReport::Ended));
    EXPECT_EQ(reports_, (std::vector<Report>{{1, 0}, {2, 1}, {0, 0}}));
    EXPECT_EQ(readSetting(L"FakeCommsRequest", byteLimit::Text), L"/manual 14");
    EXPECT_EQ(readNumberSetting(L"SchedulerStatus"), 0);
    EXPECT_FALSE(isCommsRunning());
}

TEST_F(Comms, RunningUntilCancelled) {
    ASSERT_TRUE(sendCommsRequest(L"/hold /dword"));
    ASSERT_TRUE(waitForReport(commsReport::Started));
    EXPECT_EQ(commsBusy(), 1);
    EXPECT_TRUE(isCommsRunning());
    EXPECT_TRUE(cancelComms());
    ASSERT_TRUE(waitForReport(commsReport::Ended));
    EXPECT_FALSE(isCommsRunning());
    EXPECT_FALSE(cancelComms());
}

TEST_F(Comms, StaleStatusIsReset) {
    writeNumberSetting(L"SchedulerStatus", 1);
    EXPECT_EQ(commsBusy(), 0);
    auto stored = RegistryKey::open(Hive::CurrentUser, kSettingsKeyPath)->query(L"SchedulerStatus");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->text, L"0");
    // Idle stays idle without writes.
    EXPECT_FALSE(isCommsRunning());
}

TEST_F(Comms, MissingProgramIsReported) {
    EXPECT_FALSE(platform::startProgram(L"\\windows\\no_such_program.exe").has_value());
    auto link = platform::test::useTestDevice() / "windows" / "vornroamer3_sched.exe";
    auto target = std::filesystem::read_symlink(link);
    std::filesystem::remove(link);
    EXPECT_FALSE(sendCommsRequest(L"/currency"));
    std::filesystem::create_symlink(target, link);
}

class CommsErrors : public Comms {
  protected:
    void SetUp() override {
        Comms::SetUp();
        std::string lines =
            "\xEF\xBB\xBF"
            "830";
        for (int n = 2; n <= 830; ++n) lines += "\nstring " + std::to_string(n);
        core::test::writeDeviceFile(L"\\Errors\\lang\\lang.0409.mui.txt", lines);
        core::test::writeDeviceFile(L"\\Errors\\lang\\lang.dat", "English~lang.0409.mui.txt~1");
        buildLanguageList(L"\\Errors\\", 1, 9);
        openLanguage(L"\\Errors\\", true, true);
    }
};

TEST_F(CommsErrors, CodesMapToLanguageStrings) {
    core::test::BoxCollector boxes;
    const std::pair<int, std::wstring> cases[] = {
        {2, L"string 686"}, {3, L"string 685"}, {4, L"string 682"}, {5, L"string 683"},
        {6, L"string 684"}, {7, L"string 687"}, {8, L"string 820"}};
    for (const auto& [code, text] : cases) {
        writeNumberSetting(L"SchedErrorStr", code);
        showCommsError();
        ASSERT_FALSE(boxes.boxes().empty());
        EXPECT_EQ(boxes.boxes().back().text, text);
        EXPECT_EQ(boxes.boxes().back().caption, L"Vorn Roamer Updates");
        EXPECT_EQ(boxes.boxes().back().flags, 0x30u);
    }
    EXPECT_EQ(boxes.boxes().size(), 7u);
    for (int code : {0, 1, 9, -3}) {
        writeNumberSetting(L"SchedErrorStr", code);
        showCommsError();
    }
    EXPECT_EQ(boxes.boxes().size(), 7u);
}

TEST_F(CommsErrors, SameTextIsNotStackedWhileItsBoxIsOpen) {
    std::vector<std::wstring> shown;
    auto previous =
        setMessageBoxHook([&](std::wstring_view text, std::wstring_view, std::uint32_t) {
            shown.emplace_back(text);
            // While this box is open, the comms program reports the same error and then another.
            if (shown.size() == 1) {
                showCommsError();
                writeNumberSetting(L"SchedErrorStr", 3);
                showCommsError();
            }
            return 1;
        });
    writeNumberSetting(L"SchedErrorStr", 2);
    showCommsError();
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"string 686", L"string 685"}));
    // Once closed, the text may show again.
    writeNumberSetting(L"SchedErrorStr", 2);
    showCommsError();
    EXPECT_EQ(shown.size(), 3u);
    setMessageBoxHook(previous);
}

TEST_F(CommsErrors, ErrorReportFromTheProgram) {
    core::test::BoxCollector boxes;
    ASSERT_TRUE(sendCommsRequest(L"/error 4"));
    ASSERT_TRUE(waitForReport(commsReport::Error));
    showCommsError();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"string 682");
    ASSERT_TRUE(waitForReport(commsReport::Ended));
}

}  // namespace
