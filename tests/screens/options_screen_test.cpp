// The options screen: its main page and pages, choices stored and acting at once, the filter
// check list, the automatic-updates page and values out of range in the registry.

#include <gtest/gtest.h>

#include "app/application.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "home/layout.h"
#include "home/screens/layout_preview.h"
#include "platform/api/notifications.h"
#include "platform/api/shell.h"
#include "platform/api/state_notifications.h"
#include "setup/screens/screens.h"
#include "tests/platform/support/message_pump.h"
#include "tests/screens/support/screen_device.h"
#include "ui/label.h"
#include "ui/module_ids.h"
#include "ui/option_list.h"
#include "ui/popup_list.h"
#include "updates/option_model.h"
#include "updates/screens/filter_check_list.h"
#include "updates/screens/options_layout.h"
#include "updates/screens/options_screen.h"
#include "updates/screens/screens.h"
#include "worldtime/screens/screens.h"

namespace {

using namespace updates;

class OptionsScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        for (auto h : platform::userNotificationHandles()) platform::clearUserNotification(h);
        for (const wchar_t* name :
             {L"OptionsScreen", L"OptTimeFormat", L"OptScheduler", L"OptSchedStartTime",
              L"OptSchedEndTime", L"OptSchedFilter", L"OptSchedDocking", L"ScheduledUpdate",
              L"OptHomeLayoutReload", L"OptLang", L"OptColor", L"OptHomeLayout"}) {
            if (auto key = platform::RegistryKey::open(platform::Hive::CurrentUser,
                                                       core::kSettingsKeyPath))
                key->deleteValue(name);
        }
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return platform::id::Ok;
        });
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        setup::registerScreens(app_->screens(), favourites);
        updates::registerScreens(app_->screens());
        ASSERT_TRUE(app_->createMainWindow());
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
    }

    void open() {
        app_->switchModule(ui::moduleId::Options, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Options);
    }
    OptionsScreen& screen() { return *dynamic_cast<OptionsScreen*>(app_->currentModule()); }
    void pump() { platform::test::deliverPosted(); }
    void send(std::uint32_t message, platform::WParam wParam = 0, platform::LParam lParam = 0) {
        platform::sendMessage(app_->mainWindow(), message, wParam, lParam);
        pump();
    }
    void key(std::uint32_t code) {
        send(platform::wm::KeyDown, code, 1);
        send(platform::wm::KeyUp, code, static_cast<platform::LParam>(0xC0000001u));
    }
    void tapControl(int id) {
        ui::Control* c = screen().findControl(id);
        ASSERT_NE(c, nullptr) << "no control " << id;
        int x = (c->rect.left + c->rect.right) / 2, y = (c->rect.top + c->rect.bottom) / 2;
        send(platform::wm::LButtonDown, 1, platform::makeLParam(x, y));
        send(platform::wm::LButtonUp, 0, platform::makeLParam(x, y));
    }
    static int listOf(std::wstring_view name) {
        return optionsControl::FirstList +
               static_cast<int>(findOption(name) - optionSpecs().data());
    }
    // Chooses a row (from 0) of an option's list through its pop-up.
    void choose(std::wstring_view name, int row) {
        tapControl(listOf(name));
        auto* popup = dynamic_cast<ui::PopupList*>(app_->overlay());
        ASSERT_NE(popup, nullptr) << "the list did not open";
        int now = popup->list().currentRow() - 1;
        for (; now < row; ++now) key(platform::vk::Down);
        for (; now > row; --now) key(platform::vk::Up);
        key(platform::vk::Return);
        ASSERT_EQ(app_->overlay(), nullptr);
    }
    std::wstring shown(std::wstring_view name) {
        auto* list = screen().findControl<ui::OptionList>(listOf(name));
        return list ? list->shownText() : L"no list";
    }
    static std::string setting(std::wstring_view name) {
        auto v = core::readSetting(name, core::byteLimit::Path);
        return v ? platform::toUtf8(*v) : "absent";
    }

    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
};

}  // namespace

TEST_F(OptionsScreenTest, MainPageFocusesTheButtonOfThePageLastOpened) {
    core::writeNumberSetting(L"OptionsScreen", 13);
    open();
    EXPECT_EQ(screen().page(), page::Main);
    EXPECT_EQ(screen().focusedControl()->id, optionsControl::FirstButton + 3);
    app_.reset();
    core::writeNumberSetting(L"OptionsScreen", 9);  // out of range: the general button
    SetUp();
    open();
    EXPECT_EQ(screen().focusedControl()->id, optionsControl::FirstButton);
}

TEST_F(OptionsScreenTest, ButtonsOpenThePagesAndTheLeftSoftKeyComesBack) {
    open();
    tapControl(optionsControl::FirstButton + 4);
    EXPECT_EQ(screen().page(), page::AutomaticUpdates);
    EXPECT_EQ(setting(L"OptionsScreen"), "14");
    auto* title = screen().findControl<ui::Label>(optionsControl::Title);
    EXPECT_EQ(title->text(), L"Automatic updates");
    send(platform::wm::Command, ui::command::LeftSoftKey);
    EXPECT_EQ(screen().page(), page::Main);
    EXPECT_EQ(title->text(), L"Options");
    send(platform::wm::Command, 111);
    EXPECT_EQ(screen().page(), page::Themes);
    send(platform::wm::Command, ui::command::LeftSoftKey);
    tapControl(optionsControl::FirstButton + 5);
    pump();
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::SetupWizard);
}

TEST_F(OptionsScreenTest, EveryOptionOfAPageHasItsListShowingTheStoredValue) {
    core::writeNumberSetting(L"OptTimeFormat", 3);
    open();
    send(platform::wm::Command, 110);
    EXPECT_EQ(shown(L"OptTimeFormat"), L"Clock: 24-hour");
    for (const auto& spec : optionSpecs()) {
        if (spec.source == RowSource::FilterBits)
            continue;
        auto* list = screen().findControl<ui::OptionList>(listOf(spec.name));
        ASSERT_NE(list, nullptr) << platform::toUtf8(spec.name);
        EXPECT_EQ(list->page, spec.page);
        EXPECT_GT(list->table()->rowCount(), 0) << platform::toUtf8(spec.name);
    }
}

TEST_F(OptionsScreenTest, AClockFormatChoiceIsStoredAndShowsAtOnce) {
    open();
    send(platform::wm::Command, 110);
    platform::SystemTime t{2026, 12, 2, 8, 15, 5, 0, 0};
    std::wstring before = app_->timeText(t);
    choose(L"OptTimeFormat", 2);
    EXPECT_EQ(setting(L"OptTimeFormat"), "3");
    EXPECT_EQ(setting(L"OptHomeLayoutReload"), "1");
    EXPECT_EQ(app_->timeText(t), L"15:05") << "was " << platform::toUtf8(before);
    choose(L"OptTimeFormat", 1);
    EXPECT_EQ(app_->timeText(t), L"3:05 PM");
}

TEST_F(OptionsScreenTest, ValuesOutOfRangeShowTheDefaultRow) {
    core::writeSetting(L"OptScheduler", L"5");
    core::writeSetting(L"OptSchedStartTime", L"77");
    core::writeSetting(L"OptTimeFormat", L"-4");
    core::writeSetting(L"OptSchedFilter", L"x");
    open();
    send(platform::wm::Command, 114);
    EXPECT_EQ(shown(L"OptScheduler"), L"Update: off");
    EXPECT_EQ(shown(L"OptSchedStartTime"), L"From 7:00 AM");
    send(platform::wm::Command, 110);
    EXPECT_EQ(shown(L"OptTimeFormat"), L"Clock: device setting");
    send(platform::wm::Command, 113);
    auto* filter = screen().findControl<FilterCheckList>(optionsControl::FilterList);
    EXPECT_EQ(filter->mask(), 14);
}

TEST_F(OptionsScreenTest, TickingFilterRowsStoresTheMask) {
    core::writeNumberSetting(L"OptSchedFilter", 0);
    open();
    send(platform::wm::Command, 113);
    auto* filter = screen().findControl<FilterCheckList>(optionsControl::FilterList);
    filter->toggle(0);
    filter->toggle(5);
    EXPECT_EQ(setting(L"OptSchedFilter"), "257");
    screen().setFocusedControl(filter);
    key(platform::vk::Return);  // row 6 again, by the action key
    EXPECT_EQ(setting(L"OptSchedFilter"), "1");
}

TEST_F(OptionsScreenTest, TheUpdatesPageReschedulesAndDisablesTheEndWithoutAStart) {
    open();
    send(platform::wm::Command, 114);
    choose(L"OptScheduler", 4);  // every 6 hours
    EXPECT_EQ(setting(L"OptScheduler"), "6");
    EXPECT_NE(setting(L"ScheduledUpdate"), "0");
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);
    auto* status = screen().findControl<ui::Label>(optionsControl::StatusBox);
    EXPECT_NE(status->text().find(L"Every 6 hours"), std::wstring::npos)
        << platform::toUtf8(status->text());
    choose(L"OptSchedStartTime", 0);  // no window
    EXPECT_EQ(setting(L"OptSchedStartTime"), "-1");
    EXPECT_FALSE(screen().findControl(listOf(L"OptSchedEndTime"))->isEnabled);
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);
    choose(L"OptScheduler", 0);
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_NE(status->text().find(L"No update is scheduled."), std::wstring::npos);
}

TEST_F(OptionsScreenTest, TheDockingChoiceFollowsTheCradleRegistration) {
    open();
    EXPECT_EQ(platform::stateNotifications().size(), 1u) << "registered at start-up";
    send(platform::wm::Command, 113);
    choose(L"OptSchedDocking", 1);
    EXPECT_EQ(setting(L"OptSchedDocking"), "2");
    EXPECT_TRUE(platform::stateNotifications().empty());
}

TEST_F(OptionsScreenTest, ChoosingALanguageSpeaksItAtOnceAndTellsOnce) {
    open();
    send(platform::wm::Command, 110);
    auto choices = optionChoices(*findOption(L"OptLang"), app_->mainPath());
    int german = -1;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].stored == L"0407")
            german = static_cast<int>(i);
    }
    ASSERT_GE(german, 0);
    choose(L"OptLang", german);
    EXPECT_EQ(setting(L"OptLang"), "0407");
    EXPECT_EQ(screen().findControl<ui::Label>(optionsControl::Title)->text(), L"Allgemein");
    EXPECT_EQ(messages_.size(), 1u);
    choose(L"OptLang", 0);
    EXPECT_EQ(messages_.size(), 1u) << "told once per visit";
    core::writeSetting(L"OptLang", L"0409");
    core::chooseStartLanguage(app_->mainPath());
}

TEST_F(OptionsScreenTest, TheHomePagePreviewsTheChosenLayoutAsTheTodayScreenShowsIt) {
    open();
    send(platform::wm::Command, page::Home);
    auto* preview = screen().findControl<home::LayoutPreview>(optionsControl::Preview);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible);
    EXPECT_TRUE(preview->layoutPath().ends_with(L"home\\today_default.xml"));
    int width = platform::workArea().width();
    int scale = static_cast<int>(home::layoutScale(width));
    // The item at the screen's width: the tab strip (16) over the first tab's layout (68).
    EXPECT_EQ(preview->item().width, width);
    EXPECT_EQ(preview->item().height, (16 + 68) * scale);
    auto before = preview->item().pixels;

    auto choices = optionChoices(*findOption(L"OptHomeLayout"), app_->mainPath());
    auto world = std::find_if(choices.begin(), choices.end(),
                              [](const auto& c) { return c.stored.ends_with(L"today_world.xml"); });
    ASSERT_NE(world, choices.end());
    choose(L"OptHomeLayout", static_cast<int>(world - choices.begin()));
    EXPECT_TRUE(preview->layoutPath().ends_with(L"today_world.xml"));
    EXPECT_EQ(preview->item().height, (16 + 64) * scale) << "the world tab's layout";
    EXPECT_NE(preview->item().pixels, before) << "the preview was painted again";
    EXPECT_EQ(setting(L"OptHomeLayoutReload"), "1");

    // A layout file that went missing leaves an empty preview, not a stale one.
    core::writeSetting(L"OptHomeLayout", L"\\Program Files\\Vorn Roamer\\home\\gone.xml");
    send(platform::wm::Command, ui::command::LeftSoftKey);
    send(platform::wm::Command, page::Home);
    EXPECT_EQ(preview->item().width, 0);
}

TEST_F(OptionsScreenTest, EveryPageFitsTheScreenInEveryShape) {
    open();
    for (const auto& r : optionsLayout()) {
        EXPECT_LE(r.x + r.width, 240) << r.id;
        EXPECT_LE(r.y + r.height, 268) << r.id;
        EXPECT_GE(r.x, 0);
        EXPECT_GE(r.y, 0);
    }
}
