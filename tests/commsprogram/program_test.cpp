// The comms program itself, started as the main program starts it, against a server on
// 127.0.0.1: every request leaves its files and settings and reports in order; a failed,
// cancelled or refused request leaves the previous files as they were.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commsprogram/job_input.h"
#include "core/comms.h"
#include "core/settings.h"
#include "core/windows/windows_link.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/commsprogram/support/comms_test_support.h"
#include "tests/commsprogram/support/loopback_server.h"
#include "tests/platform/support/test_device.h"

using namespace commsprogram;
using namespace commsprogram::test;
using namespace platform;
using namespace std::chrono_literals;

namespace {

struct Report {
    WParam what;
    LParam detail;
    friend bool operator==(const Report&, const Report&) = default;
};

constexpr std::wstring_view kMain = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kDownloads = L"\\Program Files\\Vorn Roamer\\downloads\\";

std::wstring download(std::wstring_view name) {
    return std::wstring(kDownloads) + std::wstring(name);
}

const std::vector<Report> kSuccess = {{1, 0}, {2, 1}, {0, 0}};
const std::vector<Report> kFailure = {{1, 0}, {3, 0}, {2, 0}, {0, 0}};

class CommsProgram : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto root = platform::test::useTestDevice();
        ::setenv("VORN_DISPLAY", "headless", 1);
        core::linkWindows();
        std::filesystem::create_directories(root / "windows");
        std::filesystem::remove(root / "windows" / "vornroamer3_sched.exe");
        std::filesystem::create_symlink(platform::test::builtProgram("vornroamer3_sched"),
                                        root / "windows" / "vornroamer3_sched.exe");
        registerWindowClass({std::wstring(core::kMainWindowName),
                             [](WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
                                 if (id == core::commsMessage())
                                     reports_.push_back({wp, lp});
                                 return defWindowProc(w, id, wp, lp);
                             }});
    }

    void SetUp() override {
        platform::deleteRegistryKey(Hive::CurrentUser, core::kSettingsKeyPath);
        reports_.clear();
        // Each test starts from an empty download folder.
        std::filesystem::remove_all(platform::test::useTestDevice() / "Program Files" /
                                    "Vorn Roamer" / "downloads");
        server_ = std::make_unique<LoopbackServer>();
        core::publishPaths(kMain);
        core::writeSetting(setting::BaseUrl, platform::fromUtf8(server_->base()));
        core::writeNumberSetting(setting::TimeoutMs, 1500);
        writeDeviceFile(std::wstring(kMain) + L"mycities.dat",
                        "\xEF\xBB\xBF"
                        "24~London~United Kingdom~51.5085~-0.1257~Europe/London~GB2643743~1~"
                        "BritishIsles~8961989\n"
                        "27~Paris~France~48.8534~2.3488~Europe/Paris~FR2988507~1~Europe~2138551");
        writeDeviceFile(std::wstring(kMain) + L"citylist.dat",
                        "\xEF\xBB\xBF"
                        "24~London~United Kingdom~51.5085~-0.1257~Europe/London~GB2643743~0~"
                        "BritishIsles~8961989\n"
                        "27~Paris~France~48.8534~2.3488~Europe/Paris~FR2988507~0~Europe~2138551\n"
                        "7~Chicago~United States~41.85~-87.65~America/Chicago~US4887398~0~"
                        "NorthAmerica~2720546\n"
                        "27~Rome~Italy~41.8919~12.5113~Europe/Rome~IT3169070~0~Europe~2318895");
        server_->route("/v1/forecast", {200, replay("forecast_london.json")});
        WindowCreate create;
        create.className = core::kMainWindowName;
        create.title = core::kMainWindowName;
        main_ = createWindow(create);
        ASSERT_NE(main_, 0u);
    }

    void TearDown() override {
        if (core::isCommsRunning()) {
            core::cancelComms();
            waitFor(core::commsReport::Ended);
        }
        destroyWindow(main_);
        server_.reset();
    }

    // Delivers messages until the report arrives or the time passes.
    bool waitFor(WParam what, std::chrono::milliseconds limit = 15000ms) {
        auto until = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < until) {
            for (const Report& r : reports_) {
                if (r.what == what)
                    return true;
            }
            waitMessage(30);
            Message m;
            while (peekMessage(m, true)) dispatchMessage(m);
        }
        return false;
    }

    // Sends the request and waits for its end.
    void run(std::wstring_view request) {
        reports_.clear();
        ASSERT_TRUE(core::sendCommsRequest(request));
        bool ended = waitFor(core::commsReport::Ended);
        if (!ended) {
            std::ifstream log(platform::test::useTestDevice() / ".device" / "log" / "device.log");
            std::cerr << std::string(std::istreambuf_iterator<char>(log), {});
        }
        ASSERT_TRUE(ended) << platform::toUtf8(request);
        // Nothing is left half-written beside the files.
        for (const auto& entry : platform::listFolder(kDownloads, L"*.new"))
            ADD_FAILURE() << "left behind: " << platform::toUtf8(entry.name);
    }

    int errorCode() { return core::readNumberSetting(L"SchedErrorStr", 0); }

    static inline std::vector<Report> reports_;
    std::unique_ptr<LoopbackServer> server_;
    WindowHandle main_ = 0;
};

}  // namespace

TEST_F(CommsProgram, WeatherOfEveryFavourite) {
    run(L"/manual 30");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_EQ(core::readNumberSetting(L"SchedulerStatus", -1), 0);
    EXPECT_EQ(core::readNumberSetting(L"PluginUpdateData", 0), 1);
    EXPECT_EQ(readDeviceFile(download(L"GB2643743_c.dat")),
              "\xEF\xBB\xBF"
              "1~61~7~3~SW~19~1009~Humidity 81%~~Europe/London~4~14~Light rain~"
              "Observed 14:45 local time\n");
    std::string daily = readDeviceFile(download(L"GB2643743.dat"));
    EXPECT_EQ(daily.substr(0, 55),
              "\xEF\xBB\xBF"
              "1~61~9~3~SW~24~3~Light rain~120826~~~Light rain~9~~\n");
    EXPECT_EQ(std::count(daily.begin(), daily.end(), '\n'), 7);
    for (const wchar_t* name : {L"FR2988507.dat", L"FR2988507_d.dat", L"FR2988507_c.dat",
                                L"FR2988507_a.dat", L"GB2643743_d.dat", L"GB2643743_a.dat"})
        EXPECT_TRUE(deviceFileExists(download(name))) << platform::toUtf8(name);
    // Mask 30 asks for no maps.
    EXPECT_FALSE(deviceFileExists(download(L"GB2643743_m.dat")));
    std::vector<std::string> asked;
    for (const Asked& a : server_->asked()) asked.push_back(a.target.substr(0, 50));
    EXPECT_EQ(asked,
              (std::vector<std::string>{"/v1/forecast?latitude=51.5085&longitude=-0.1257&cu",
                                        "/v1/forecast?latitude=48.8534&longitude=2.3488&cur"}));
}

TEST_F(CommsProgram, MapsOfOneCityCutToItsRegion) {
    server_->route("/wms/epsg4326/", {200, jpegPicture(512, 379, 0x336699), "image/jpeg"});
    server_->route("/wms/epsg3857/", {200, jpegPicture(512, 512, 0x00AA00), "image/jpeg"});
    server_->route("/public/weather-maps.json",
                   {200, "{\"host\":\"" + server_->base() +
                             "\",\"radar\":{\"past\":[{\"time\":1,\"path\":\"/v2/radar/1\"},"
                             "{\"time\":2,\"path\":\"/v2/radar/2\"}],\"nowcast\":[]}}"});
    server_->route("/v2/radar/", {200, pngOverlay(512, 512), "image/png"});
    server_->route("/my/map.png", {200, pngOverlay(100, 60), "image/png"});
    core::writeSetting(L"CITYIMG_GB2643743", platform::fromUtf8(server_->base() + "/my/map.png"));
    writeDeviceFile(download(L"BritishIsles_rad7.dat"), "an old frame");

    run(L"/manual $$cityGB2643743$$3840");
    EXPECT_EQ(reports_, kSuccess);
    for (const wchar_t* name :
         {L"GB2643743_m.dat", L"GB2643743_m4.dat", L"BritishIsles_sat0.dat",
          L"BritishIsles_sat4.dat", L"BritishIsles_rad0.dat", L"BritishIsles_rad1.dat"}) {
        std::string bytes = readDeviceFile(download(name));
        auto picture =
            decodeJpeg({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        EXPECT_TRUE(picture) << platform::toUtf8(name);
    }
    EXPECT_FALSE(deviceFileExists(download(L"BritishIsles_sat5.dat")));
    EXPECT_FALSE(deviceFileExists(download(L"BritishIsles_rad2.dat")));
    EXPECT_FALSE(deviceFileExists(download(L"BritishIsles_rad7.dat")));
    // The satellite picture is cut to the region's box by the server; the radar tile is the
    // one over the region's middle.
    bool boxAsked = false, tileAsked = false;
    for (const Asked& a : server_->asked()) {
        boxAsked |= a.target.find("BBOX=49.5000,-11.0000,59.5000,2.5000") != std::string::npos;
        tileAsked |= a.target == "/v2/radar/2/512/5/15/10/2/1_1.png";
    }
    EXPECT_TRUE(boxAsked);
    EXPECT_TRUE(tileAsked);
}

TEST_F(CommsProgram, CityLookupWritesTheSearchResults) {
    server_->route("/v1/search?name=Springfield", {200, replay("search_springfield.json")});
    server_->route("/v1/search?", {200, replay("search_nothing.json")});
    core::writeSetting(L"CityLookupRequest", L"Springfield");
    run(L"/citylookup");
    EXPECT_EQ(reports_, kSuccess);
    std::string text = readDeviceFile(download(L"searchresult.dat"));
    // Chicago is six hours behind UTC in winter, five in summer.
    const std::string first = text.substr(0, text.find('\n') + 1);
    const std::string rest =
        "~Springfield~United States~37.2153~-93.2982~America/Chicago~US4409896~0~"
        "NorthAmerica~169176\n";
    EXPECT_TRUE(first == "\xEF\xBB\xBF-6" + rest || first == "\xEF\xBB\xBF-5" + rest) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);

    // Nothing found: the old results go, so they never pass for this search's.
    core::writeSetting(L"CityLookupRequest", L"Qwzx");
    run(L"/citylookup");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_FALSE(deviceFileExists(download(L"searchresult.dat")));
    EXPECT_EQ(core::readNumberSetting(L"PluginUpdateData", 0), 0);
}

TEST_F(CommsProgram, CurrencyRatesWithTheirDay) {
    server_->route("/stats/eurofxref/", {200, replay("eurofxref-daily.xml"), "text/xml"});
    writeDeviceFile(std::wstring(kMain) + L"conversions\\rates.dat",
                    "\xEF\xBB\xBFUSD~$~US Dollar~1\nEUR~&#8364;~Euro~0.86\n#rates~old~~2025-06-30");
    run(L"/currency");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_EQ(readDeviceFile(std::wstring(kMain) + L"conversions\\rates.dat"),
              "\xEF\xBB\xBF"
              "USD~$~US Dollar~1\nEUR~&#8364;~Euro~0.862069\nCHF~CHF~CHF~0.806034\n"
              "GBP~GBP~GBP~0.75\nISK~ISK~ISK~125.69\nJPY~JPY~JPY~145\nSEK~SEK~SEK~9.5\n"
              "#rates~European Central Bank~~2026-12-07\n");
}

TEST_F(CommsProgram, FlightStatusNeedsTheUsersKey) {
    server_->route("/flights/number/BA117/2026-12-08", {200, replay("flight_ba117.json")});
    core::writeSetting(L"FltHstRequest", L"BA~117~2026-12-08T00:00~2026-12-08T23:59");
    run(L"/flighthistory");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 8);
    EXPECT_TRUE(server_->asked().empty());
    EXPECT_FALSE(deviceFileExists(download(L"BA_117.fls")));

    core::writeSetting(setting::FlightKey, L"test-key-123");
    run(L"/flighthistory");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_EQ(core::readSetting(L"FltHstResult", core::byteLimit::Long), L"BA_117.fls");
    std::string file = readDeviceFile(download(L"BA_117.fls"));
    EXPECT_NE(file.find("<StatusCode>L</StatusCode>"), std::string::npos);
    ASSERT_EQ(server_->asked().size(), 1u);
    EXPECT_NE(server_->asked()[0].headers.find("X-RapidAPI-Key: test-key-123"), std::string::npos);
}

TEST_F(CommsProgram, EveryBadAnswerHasItsCodeAndKeepsTheOldFiles) {
    run(L"/manual 14");
    ASSERT_EQ(reports_, kSuccess);
    const std::string before = readDeviceFile(download(L"GB2643743.dat"));
    const std::string good = replay("forecast_london.json");
    std::string missingField = good;
    missingField.replace(missingField.rfind("\"daily\""), 7, "\"other\"");
    struct Case {
        const char* what;
        Route answer;
        int code;
    } cases[] = {
        {"server error", {500, "down"}, 4},
        {"time-out", {200, good, "application/json", 4000ms}, 4},
        {"truncated", {200, good, "application/json", 0ms, true}, 5},
        {"malformed", {200, good.substr(0, good.size() - 30)}, 6},
        {"missing field", {200, missingField}, 6},
    };
    for (const Case& c : cases) {
        server_->route("/v1/forecast", c.answer);
        run(L"/manual 14");
        EXPECT_EQ(reports_, kFailure) << c.what;
        EXPECT_EQ(errorCode(), c.code) << c.what;
        EXPECT_EQ(readDeviceFile(download(L"GB2643743.dat")), before) << c.what;
        EXPECT_EQ(core::readNumberSetting(L"SchedulerStatus", -1), 0) << c.what;
    }
    // A city in no city file.
    server_->route("/v1/forecast", {200, good});
    run(L"/manual $$cityXX000$$14");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 6);
    // No network: nothing listens where the services are.
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.port();
    }
    core::writeSetting(setting::BaseUrl, L"http://127.0.0.1:" + std::to_wstring(closedPort));
    run(L"/manual 14");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 3);
    EXPECT_EQ(readDeviceFile(download(L"GB2643743.dat")), before);
}

TEST_F(CommsProgram, CloseInTheMiddleKeepsTheOldFiles) {
    run(L"/manual 14");
    ASSERT_EQ(reports_, kSuccess);
    const std::string before = readDeviceFile(download(L"FR2988507_c.dat"));
    core::writeNumberSetting(setting::TimeoutMs, 20000);
    // London answers at once, Paris late: the close comes between them.
    server_->route("/v1/forecast?latitude=48",
                   {200, replay("forecast_london.json"), "application/json", 10000ms});
    reports_.clear();
    ASSERT_TRUE(core::sendCommsRequest(L"/manual 14"));
    ASSERT_TRUE(waitFor(core::commsReport::Started));
    for (int i = 0; i < 200 && server_->asked().size() < 4; ++i) std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(core::isCommsRunning());
    auto closed = std::chrono::steady_clock::now();
    ASSERT_TRUE(core::cancelComms());
    ASSERT_TRUE(waitFor(core::commsReport::Ended, 5000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 3000ms);
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 2);
    EXPECT_EQ(readDeviceFile(download(L"FR2988507_c.dat")), before);
    EXPECT_FALSE(core::isCommsRunning());
    EXPECT_TRUE(platform::listFolder(kDownloads, L"*.new").empty());
}

TEST_F(CommsProgram, ASecondRequestIsRefusedWhileOneRuns) {
    core::writeNumberSetting(setting::TimeoutMs, 20000);
    server_->route("/v1/forecast",
                   {200, replay("forecast_london.json"), "application/json", 10000ms});
    ASSERT_TRUE(core::sendCommsRequest(L"/manual 14"));
    ASSERT_TRUE(waitFor(core::commsReport::Started));
    ASSERT_TRUE(core::sendCommsRequest(L"/currency"));
    std::this_thread::sleep_for(700ms);
    waitFor(0xFFFF, 300ms);
    // Only the first program reported; the second never asked anything.
    EXPECT_EQ(reports_, (std::vector<Report>{{1, 0}}));
    for (const Asked& a : server_->asked())
        EXPECT_EQ(a.target.rfind("/v1/forecast", 0), 0u) << a.target;
    ASSERT_TRUE(core::cancelComms());
    ASSERT_TRUE(waitFor(core::commsReport::Ended));
}

TEST_F(CommsProgram, ScheduledUpdateFetchesWhatTheOptionsChooseAndArmsTheNextOne) {
    core::writeNumberSetting(L"OptSchedFilter", 0x8 | 0x1);
    core::writeNumberSetting(L"OptScheduler", 6);
    server_->route("/stats/eurofxref/", {200, replay("eurofxref-daily.xml"), "text/xml"});
    run(L"/schedule");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_TRUE(deviceFileExists(download(L"GB2643743_c.dat")));
    EXPECT_TRUE(deviceFileExists(download(L"FR2988507_c.dat")));
    EXPECT_FALSE(deviceFileExists(download(L"GB2643743.dat")));
    EXPECT_NE(readDeviceFile(std::wstring(kMain) + L"conversions\\rates.dat").find("#rates~"),
              std::string::npos);
    auto last = core::readSetting(L"ScheduledUpdateLastDisp", core::byteLimit::Long);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->size(), 16u);  // "YYYY-MM-DD HH:MM"
    // The notification that started this run has fired; the next one is armed.
    auto armed = core::readNumberSetting(L"ScheduledUpdate");
    ASSERT_TRUE(armed && *armed != 0);
    auto next = platform::userNotification(static_cast<platform::NotificationHandle>(*armed));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->arguments, L"/schedule");
}

namespace {

// The pending timed notifications that start the comms program with these arguments.
std::vector<platform::NotificationRecord> commsNotifications(std::wstring_view arguments) {
    std::vector<platform::NotificationRecord> found;
    for (auto handle : platform::userNotificationHandles()) {
        auto r = platform::userNotification(handle);
        if (r && r->arguments == arguments)
            found.push_back(*r);
    }
    return found;
}

void clearNotifications() {
    for (auto handle : platform::userNotificationHandles()) platform::clearUserNotification(handle);
}

}  // namespace

TEST_F(CommsProgram, DockingFetchesWhatTheFilterChoosesWithoutTouchingTheSchedule) {
    clearNotifications();
    core::writeNumberSetting(L"OptSchedFilter", 0x8);
    run(L"");  // the cradle starts the program without a request
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_TRUE(deviceFileExists(download(L"GB2643743_c.dat")));
    EXPECT_FALSE(deviceFileExists(download(L"GB2643743.dat")));
    EXPECT_EQ(core::readNumberSetting(L"ScheduledUpdate", 0), 0);
    EXPECT_TRUE(commsNotifications(L"/schedule").empty());
    auto last = core::readSetting(L"ScheduledUpdateLastDisp", core::byteLimit::Long);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->size(), 16u);
}

TEST_F(CommsProgram, AFailedUnattendedUpdateIsRetriedOnceWhenTheOptionsSaySo) {
    clearNotifications();
    core::writeNumberSetting(L"OptSchedFilter", 0x8);
    server_->route("/v1/forecast", {500, "down"});
    // Retries off: the failure is reported and nothing is armed.
    run(L"");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 4);
    EXPECT_EQ(core::readNumberSetting(L"ErrorUpdate", 0), 0);
    EXPECT_TRUE(commsNotifications(L"/retry").empty());

    core::writeNumberSetting(L"OptSchedRetry", 15);
    platform::SystemTime before = platform::deviceLocalTime();
    run(L"AppRunAtRs232Detect");
    EXPECT_EQ(reports_, kFailure);
    auto retries = commsNotifications(L"/retry");
    ASSERT_EQ(retries.size(), 1u);
    EXPECT_NE(core::readNumberSetting(L"ErrorUpdate", 0), 0);
    auto at = platform::toFileTime(retries[0].start);
    auto from = platform::toFileTime(before);
    ASSERT_TRUE(at && from);
    auto minutes = static_cast<long long>((*at - *from) / platform::kFileTimeTicksPerSecond) / 60;
    EXPECT_GE(minutes, 14);
    EXPECT_LE(minutes, 16);
    // A second failure replaces the retry, never adds one.
    core::writeNumberSetting(L"OptScheduler", 6);
    run(L"/schedule");
    EXPECT_EQ(commsNotifications(L"/retry").size(), 1u);
    EXPECT_EQ(commsNotifications(L"/schedule").size(), 1u);

    // The retry runs and fails again: it waits for the next scheduled update.
    run(L"/retry");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_TRUE(commsNotifications(L"/retry").empty());
    EXPECT_EQ(core::readNumberSetting(L"ErrorUpdate", 0), 0);
    EXPECT_EQ(commsNotifications(L"/schedule").size(), 1u) << "the schedule stays as it was";

    // A failure, then a success before the retry came: the retry is no longer needed.
    run(L"");
    ASSERT_EQ(commsNotifications(L"/retry").size(), 1u);
    server_->route("/v1/forecast", {200, replay("forecast_london.json")});
    run(L"");
    EXPECT_EQ(reports_, kSuccess);
    EXPECT_TRUE(commsNotifications(L"/retry").empty());
    EXPECT_EQ(core::readNumberSetting(L"ErrorUpdate", 0), 0);
}

TEST_F(CommsProgram, DockedWithoutAConnectionEndsQuietlyWhenTheConnectionIsCheckedFirst) {
    clearNotifications();
    core::writeNumberSetting(L"OptSchedRetry", 30);
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.port();
    }
    core::writeSetting(setting::BaseUrl, L"http://127.0.0.1:" + std::to_wstring(closedPort));
    run(L"");
    EXPECT_EQ(reports_, (std::vector<Report>{{1, 0}, {2, 0}, {0, 0}})) << "no error to show";
    EXPECT_EQ(errorCode(), 0);
    EXPECT_TRUE(commsNotifications(L"/retry").empty());
    // Told not to check, the same docking reports the missing connection and retries.
    core::writeNumberSetting(L"OptSchedDockCheck", 2);
    run(L"");
    EXPECT_EQ(reports_, kFailure);
    EXPECT_EQ(errorCode(), 3);
    EXPECT_EQ(commsNotifications(L"/retry").size(), 1u);
    // A scheduled update always reports it.
    core::writeNumberSetting(L"OptSchedDockCheck", 1);
    run(L"/schedule");
    EXPECT_EQ(reports_, kFailure);
}
