// The Today item without a host: the refresh query with its rebuild and data requests, tabs
// and layouts by screen width, taps, keys, the action key, rotation, the busy animation and
// the item menu.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/language.h"
#include "core/settings.h"
#include "core/window_link.h"
#include "home/settings_keys.h"
#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/todayplugin/support/fake_host.h"
#include "todayplugin/today_plugin.h"

namespace todayplugin {
namespace {

using test::FakeHost;
namespace vk = platform::vk;

constexpr wchar_t kInstall[] = L"\\Program Files\\Vorn Roamer\\";

const char kTabbed[] =
    "<?xml version=\"1.0\"?><xml><homescreen hilite=\"60\" autoheight=\"1\" tabheight=\"16\">"
    "<obj type=\"fnt\" name=\"Tahoma\" size=\"8\" id=\"0\"/>"
    "<obj type=\"tab\" tabname=\"Clock\" layout=\"clock\" id=\"1\" fnt=\"0\"/>"
    "<obj type=\"tab\" tabname=\"World\" layout=\"world\" id=\"2\" fnt=\"0\"/>"
    "<obj type=\"tab\" tabname=\"Weather\" layout=\"weather\" id=\"3\" fnt=\"0\"/>"
    "<layout name=\"clock\" width=\"240\" height=\"60\" start_roam=\"start_weather\" "
    "rotatespeed=\"15\">"
    "<obj type=\"clock\" x=\"2\" y=\"2\" w=\"50\" h=\"50\" city=\"1\"/>"
    "<obj type=\"cityname\" x=\"60\" y=\"2\" w=\"100\" h=\"14\" city=\"1\"/></layout>"
    "<layout name=\"clock\" width=\"480\" height=\"70\" start_roam=\"start_now\" "
    "rotatespeed=\"15\">"
    "<obj type=\"cityname\" x=\"60\" y=\"2\" w=\"100\" h=\"14\" city=\"1\"/></layout>"
    "<layout name=\"world\" width=\"240\" height=\"50\" start_roam=\"*start_worldtime\">"
    "<obj type=\"cityname\" x=\"0\" y=\"2\" w=\"80\" h=\"14\" city=\"2\"/></layout>"
    "<layout name=\"weather\" width=\"240\" height=\"40\">"
    "<obj type=\"static\" x=\"0\" y=\"2\" w=\"80\" h=\"14\" text=\"Hi\"/></layout>"
    "</homescreen></xml>";

const char kNoTabs[] =
    "<?xml version=\"1.0\"?><xml><homescreen autoheight=\"0\">"
    "<layout name=\"a\" width=\"240\" height=\"30\"></layout>"
    "<layout name=\"b\" width=\"240\" height=\"44\"></layout>"
    "<layout name=\"c\" width=\"480\" height=\"50\"></layout>"
    "</homescreen></xml>";

void writeDeviceFile(const std::wstring& devicePath, const std::string& text) {
    platform::createFolder(platform::folderOf(devicePath));
    ASSERT_TRUE(platform::writeFileAtomic(
        devicePath, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
}

std::string sourceFile(const std::string& relative) {
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string firstLines(const std::string& text, int count) {
    std::size_t end = 0;
    for (int i = 0; i < count && end != std::string::npos; ++i) {
        end = text.find('\n', end);
        if (end != std::string::npos)
            ++end;
    }
    return text.substr(0, end);
}

// The comms program's window, as the shared core looks for it.
bool gCommsWindow = false;
platform::WindowHandle findComms(std::wstring_view, std::wstring_view) {
    return gCommsWindow ? 77 : 0;
}
int noBox(std::wstring_view, std::wstring_view, std::uint32_t) {
    return 0;
}
bool noPost(platform::WindowHandle, std::uint32_t, platform::WParam, platform::LParam) {
    return true;
}
void noRepaint(platform::WindowHandle) {}
void noQuit(int) {}
std::uint32_t noMessage(std::wstring_view) {
    return 0;
}

class TodayItem : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice("240x320");
        core::setWindowLink({&noBox, &findComms, &noPost, &noRepaint, &noQuit, &noMessage});
        gCommsWindow = false;
        core::writeSetting(L"MainPath", kInstall);
        writeDeviceFile(std::wstring(kInstall) + L"mycities.dat",
                        firstLines(sourceFile("data/mycities.dat"), 3));
        useLayout(kTabbed);
        for (const wchar_t* name :
             {L"OptHomeRotate", L"HomePaused", L"OptHomeAction", L"SchedulerStatus",
              L"PluginUpdateData", L"OptHomeLayoutReload", L"HomeStarting"})
            core::writeSetting(name, L"");
    }

    void useLayout(const std::string& text) {
        std::wstring path = std::wstring(kInstall) + L"home\\test.xml";
        writeDeviceFile(path, text);
        core::writeSetting(L"OptHomeLayout", path);
    }

    std::unique_ptr<TodayPlugin> startPlugin(FakeHost& host) {
        auto plugin = std::make_unique<TodayPlugin>(host);
        plugin->ensureItem();
        return plugin;
    }
};

TEST_F(TodayItem, RefreshQueryReportsTheHeightOnceAndAgainWhenItChanges) {
    FakeHost host;
    TodayPlugin plugin(host);
    VornTodayListItem record{};
    EXPECT_EQ(plugin.queryRefresh(record), 1);  // no item yet: it is built and reports
    // Auto height: the clock layout's 60 plus the 16 of the tab strip.
    EXPECT_EQ(record.height, 76u);
    EXPECT_EQ(plugin.queryRefresh(record), 0);
    plugin.item()->onKey(vk::Right);  // the world layout is 50 high
    EXPECT_EQ(plugin.queryRefresh(record), 1);
    EXPECT_EQ(record.height, 66u);
    EXPECT_EQ(plugin.queryRefresh(record), 0);
}

TEST_F(TodayItem, LayoutReloadRebuildsFromTheFileAndClearsTheRequest) {
    FakeHost host;
    TodayPlugin plugin(host);
    VornTodayListItem record{};
    plugin.queryRefresh(record);
    HomeItem* before = plugin.item();
    ASSERT_TRUE(before->model().hasTabs());

    useLayout(kNoTabs);
    EXPECT_EQ(plugin.queryRefresh(record), 0);  // nothing asked for yet
    EXPECT_EQ(plugin.item(), before);

    core::writeNumberSetting(L"OptHomeLayoutReload", 1);
    EXPECT_EQ(plugin.queryRefresh(record), 1);
    EXPECT_FALSE(plugin.item()->model().hasTabs());
    // Fixed height: the tallest layout without a tab strip.
    EXPECT_EQ(record.height, 50u);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", -1), 0);
}

TEST_F(TodayItem, DataRequestIsTakenUpAndCleared) {
    FakeHost host;
    TodayPlugin plugin(host);
    VornTodayListItem record{};
    plugin.queryRefresh(record);
    host.timers.erase(timer::Refresh);
    core::writeNumberSetting(L"PluginUpdateData", 1);
    plugin.queryRefresh(record);
    EXPECT_EQ(core::readNumberSetting(L"PluginUpdateData", -1), 0);
    EXPECT_TRUE(host.hasTimer(timer::Refresh)) << "the data refresh restarted it";

    // A timer tick takes it up as well.
    core::writeNumberSetting(L"PluginUpdateData", 1);
    plugin.item()->onTimer(timer::Refresh);
    EXPECT_EQ(core::readNumberSetting(L"PluginUpdateData", -1), 0);
}

TEST_F(TodayItem, TheRefreshComesWhenTheMinuteTurnsSoTimesNeverLag) {
    auto at = [](std::uint16_t minute, std::uint16_t second, std::uint16_t ms) {
        return *platform::toFileTime({2026, 12, 3, 9, 14, minute, second, ms});
    };
    std::optional<platform::test::TestClock> clock;
    clock.emplace(at(7, 40, 0));
    ASSERT_EQ(platform::deviceUtcTime().second, 40) << "the test device keeps the host's clock";
    FakeHost host;
    auto plugin = startPlugin(host);
    EXPECT_EQ(host.timers[timer::Refresh], 20050u) << "20 s to the turn, and a little more";
    // Early in a minute the usual interval comes first.
    clock.reset();
    clock.emplace(at(8, 0, 100));
    plugin->item()->onTimer(timer::Refresh);
    EXPECT_EQ(host.timers[timer::Refresh], kRefreshMs);
    clock.reset();
    clock.emplace(at(8, 59, 990));
    plugin->item()->onTimer(timer::Refresh);
    EXPECT_EQ(host.timers[timer::Refresh], 60u);
    EXPECT_EQ(refreshDelayMs(at(9, 0, 0)), kRefreshMs);
    EXPECT_EQ(refreshDelayMs(at(9, 45, 0)), 15050u);
}

TEST_F(TodayItem, TabsChooseTheLayoutMadeForTheScreenWidth) {
    FakeHost narrow(240);
    auto small = startPlugin(narrow);
    ASSERT_NE(small->item()->currentLayout(), nullptr);
    EXPECT_EQ(small->item()->currentLayout()->width, 240);

    FakeHost wide(480);
    auto large = startPlugin(wide);
    ASSERT_NE(large->item()->currentLayout(), nullptr);
    EXPECT_EQ(large->item()->currentLayout()->width, 480);
    EXPECT_EQ(core::readNumberSetting(L"OptLayout_LastTab", 0), 1);
}

TEST_F(TodayItem, TapOnATabSelectsItEvenWithoutTheFocus) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    ASSERT_FALSE(item.hasFocus());
    // Tabs share the width right of the 20-pixel icon: 220 / 3 = 73 each.
    EXPECT_EQ(item.onTap({20 + 73 + 10, 8}), 1);
    EXPECT_TRUE(item.hasFocus());
    EXPECT_EQ(host.selectionsTaken, 1);
    EXPECT_EQ(item.currentTab(), 2);
    EXPECT_EQ(item.mode(), Mode::Tabs);
    EXPECT_EQ(core::readNumberSetting(L"OptLayout_LastTab", 0), 2);
}

TEST_F(TodayItem, FirstPanelTapSelectsThePanelTheNextStepsTheFavourite) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    ASSERT_EQ(item.mode(), Mode::Tabs);
    EXPECT_EQ(item.onTap({120, 40}), 0);
    EXPECT_EQ(item.mode(), Mode::Panel);
    EXPECT_EQ(item.favourite(), 1);
    item.onTap({120, 40});
    EXPECT_EQ(item.favourite(), 2);
    item.onTap({120, 40});
    EXPECT_EQ(item.favourite(), 3);
    item.onTap({120, 40});  // three favourites: after the last comes the first
    EXPECT_EQ(item.favourite(), 1);
    EXPECT_EQ(host.selectionsTaken, 1);
}

TEST_F(TodayItem, HomeIconOpensTheMenuAndItsCommandsAct) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    host.menuChoice = command::OpenProgram;
    EXPECT_EQ(item.onTap({5, 5}), 1);
    ASSERT_EQ(host.menus.size(), 1u);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0].first, std::wstring(kInstall) + L"vornroamer3.exe");
    EXPECT_EQ(host.started[0].second, L"");

    std::vector<std::uint32_t> commands;
    for (const auto& e : host.menus[0]) commands.push_back(e.command);
    // Open, separator, update (comms idle), separator, pause (the clock layout rotates).
    EXPECT_EQ(commands, (std::vector<std::uint32_t>{1, 0, 2, 0, 4}));

    host.menuChoice = command::Update;
    item.onTap({5, 5});
    EXPECT_EQ(host.started.back(), std::make_pair(std::wstring(L"\\windows\\vornroamer3_sched.exe"),
                                                  std::wstring(L"/manual 14")));

    host.menuChoice = command::Pause;
    item.onTap({5, 5});
    EXPECT_FALSE(host.hasTimer(timer::Rotate));
    EXPECT_EQ(core::readNumberSetting(L"HomePaused", 0), 1);
    item.onTimer(timer::Rotate);
    EXPECT_EQ(item.favourite(), 1);  // paused: no step

    host.menuChoice = command::Resume;
    item.onTap({5, 5});
    EXPECT_EQ(host.menus.back().back().command, command::Resume);
    EXPECT_EQ(host.timers[timer::Rotate], 15000u);
    EXPECT_EQ(core::readNumberSetting(L"HomePaused", 1), 0);
}

TEST_F(TodayItem, UpAndDownMoveBetweenStripAndPanelOrPassTheKeyOn) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    ASSERT_EQ(item.mode(), Mode::Tabs);
    EXPECT_EQ(item.onNavigation(vk::Up), 0);  // from the strip up: the host's
    EXPECT_EQ(item.onNavigation(vk::Down), 1);
    EXPECT_EQ(item.mode(), Mode::Panel);
    EXPECT_EQ(item.onNavigation(vk::Down), 0);  // from the panel down: the host's
    EXPECT_EQ(item.onNavigation(vk::Up), 1);
    EXPECT_EQ(item.mode(), Mode::Tabs);
}

TEST_F(TodayItem, LeftAndRightStepThroughTheTabsWrappingRound) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    EXPECT_EQ(item.onNavigation(vk::Left), 1);
    EXPECT_EQ(item.currentTab(), 3);
    EXPECT_EQ(item.currentLayout()->name, L"weather");
    item.onNavigation(vk::Right);
    EXPECT_EQ(item.currentTab(), 1);
    item.onNavigation(vk::Right);
    EXPECT_EQ(item.currentLayout()->name, L"world");
}

TEST_F(TodayItem, WithoutTabsLeftAndRightStepThroughTheLayoutsOfTheWidth) {
    useLayout(kNoTabs);
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    ASSERT_EQ(item.mode(), Mode::Panel);
    std::wstring first = item.currentLayout()->name;
    std::vector<std::wstring> seen{first};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(item.onNavigation(vk::Right), 1);
        seen.push_back(item.currentLayout()->name);
    }
    // Only the two layouts made for 240 pixels take turns.
    EXPECT_EQ(seen[2], seen[0]);
    EXPECT_NE(seen[1], seen[0]);
    EXPECT_NE(seen[1], L"c");
}

TEST_F(TodayItem, ActionKeyStartsTheMainProgramWhenTheLayoutInsists) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    // Clock tab, OptHomeAction 0: the next favourite.
    item.onKey(vk::Return);
    EXPECT_EQ(item.favourite(), 2);
    EXPECT_TRUE(host.started.empty());

    // The world tab's start_roam begins with "*": the main program starts anyway.
    item.selectTab(2);
    item.onKey(vk::Return);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0].second, L"/homescreen");
    EXPECT_EQ(core::readSetting(L"HomeStarting", 64).value_or(L""), L"start_worldtime");

    // OptHomeAction 1 on a layout without start_roam: nothing starts.
    core::writeNumberSetting(L"OptHomeAction", 1);
    item.selectTab(3);
    item.onKey(vk::Return);
    EXPECT_EQ(host.started.size(), 1u);
}

TEST_F(TodayItem, TapOnAClockOpensTheMainProgramOnTheLayoutsScreen) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    // The clock sits at 2, 2 below the 16-pixel tab strip, 50 pixels square.
    EXPECT_EQ(item.onTap({27, 16 + 27}), 1);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0], std::make_pair(std::wstring(kInstall) + L"vornroamer3.exe",
                                              std::wstring(L"/homescreen")));
    EXPECT_EQ(core::readSetting(L"HomeStarting", 64).value_or(L""), L"start_weather");
    EXPECT_EQ(item.favourite(), 1);  // the tap did not step the favourite
    // Beside the clock, the same tap is the panel's.
    item.onTap({27 + 60, 16 + 27});
    EXPECT_EQ(host.started.size(), 1u);
}

TEST_F(TodayItem, RotationSettingOverridesTheLayoutsSpeed) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    EXPECT_EQ(host.timers[timer::Rotate], 15000u);  // per layout: rotatespeed 15
    item.onTimer(timer::Rotate);
    EXPECT_EQ(item.favourite(), 2);

    core::writeNumberSetting(L"OptHomeRotate", 2);
    item.onTimer(timer::Refresh);
    EXPECT_FALSE(host.hasTimer(timer::Rotate));
    item.onTimer(timer::Rotate);  // a tick already queued does not step
    EXPECT_EQ(item.favourite(), 2);

    core::writeNumberSetting(L"OptHomeRotate", 4);
    item.onTimer(timer::Refresh);
    EXPECT_EQ(host.timers[timer::Rotate], 20000u);
    core::writeNumberSetting(L"OptHomeRotate", 9);  // not a choice: 20 s stays
    item.onTimer(timer::Refresh);
    EXPECT_EQ(host.timers[timer::Rotate], 20000u);
}

TEST_F(TodayItem, BusyImagesCycleOncePerSecondAndTheMenuOffersCancelling) {
    FakeHost host;
    auto plugin = startPlugin(host);
    HomeItem& item = *plugin->item();
    EXPECT_EQ(item.busyFrame(), 0);
    core::writeNumberSetting(L"SchedulerStatus", 1);
    gCommsWindow = true;
    item.onTimer(timer::Refresh);
    EXPECT_EQ(host.timers[timer::Busy], 1000u);
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        frames.push_back(item.busyFrame());
        item.onTimer(timer::Busy);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 1}));

    host.menuChoice = 0;
    item.onTap({5, 5});
    bool offersCancel = false, offersUpdate = false;
    for (const auto& e : host.menus.back()) {
        offersCancel = offersCancel || e.command == command::CancelUpdate;
        offersUpdate = offersUpdate || e.command == command::Update;
    }
    EXPECT_TRUE(offersCancel);
    EXPECT_FALSE(offersUpdate);

    core::writeNumberSetting(L"SchedulerStatus", 0);
    item.onTimer(timer::Busy);
    EXPECT_EQ(item.busyFrame(), 0);
    EXPECT_FALSE(host.hasTimer(timer::Busy));
}

TEST_F(TodayItem, ItemBuiltBeforeTheMainProgramPublishedItsPathsIsRebuiltOnceItHas) {
    // The Today screen starts before the main program has ever run on a new device.
    core::writeSetting(L"MainPath", L"");
    platform::RegistryKey::open(platform::Hive::CurrentUser, core::kSettingsKeyPath)
        ->deleteValue(L"OptHomeLayout");
    writeDeviceFile(std::wstring(kInstall) + L"home\\today_default.xml", kTabbed);
    FakeHost host;
    TodayPlugin plugin(host);
    VornTodayListItem record{};
    plugin.queryRefresh(record);
    EXPECT_EQ(plugin.item()->currentLayout(), nullptr);

    core::writeSetting(L"MainPath", kInstall);
    plugin.queryRefresh(record);
    ASSERT_NE(plugin.item()->currentLayout(), nullptr);
    EXPECT_EQ(plugin.item()->currentLayout()->name, L"clock");
}

TEST_F(TodayItem, MenuTextsComeFromTheChosenLanguage) {
    for (const char* file : {"lang.dat", "lang.0409.mui.txt", "lang.0407.mui.txt"})
        writeDeviceFile(std::wstring(kInstall) + L"lang\\" + platform::fromUtf8(file),
                        sourceFile(std::string("data/lang/") + file));
    core::writeSetting(L"OptLang", L"0407");
    FakeHost host;
    auto plugin = startPlugin(host);
    plugin->item()->onTap({5, 5});
    ASSERT_FALSE(host.menus.empty());
    const std::wstring& open = host.menus[0][0].text;
    EXPECT_FALSE(open.empty());
    EXPECT_NE(open, L"NotLoaded");
    EXPECT_EQ(open, core::languageString(615));
}

TEST_F(TodayItem, MissingOrBrokenLayoutLeavesAnEmptyItemOfTheMinimumHeight) {
    useLayout("<xml><homescreen><layout name=\"a\" height=\"30\"");  // cut short
    FakeHost host;
    TodayPlugin plugin(host);
    VornTodayListItem record{};
    EXPECT_EQ(plugin.queryRefresh(record), 1);
    EXPECT_EQ(record.height, 16u);  // the minimum, 16 x scale
    plugin.item()->onKey(vk::Right);
    plugin.item()->onKey(vk::Return);
    plugin.item()->onTap({100, 10});
    EXPECT_TRUE(host.started.empty());

    core::writeSetting(L"OptHomeLayout", L"\\nowhere\\missing.xml");
    core::writeNumberSetting(L"OptHomeLayoutReload", 1);
    plugin.queryRefresh(record);
    EXPECT_EQ(plugin.item()->currentLayout(), nullptr);
}

}  // namespace
}  // namespace todayplugin
