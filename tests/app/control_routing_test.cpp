// The main window's routing for the toolkit, in the program's own application: the pop-up
// overlay takes keys and commands (100 cancels, others confirm), the screen-specific edit
// field of type 212 gets the theme's colours, picker notifications reach their control, timer
// 9899 drives the list holding the stylus, the main menu hides native windows, and the Back
// key erases in a text field but goes back everywhere else.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "ui/auto_repeat.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/layout.h"
#include "ui/list_control.h"
#include "ui/option_list.h"

using namespace platform;

namespace {

constexpr int kScreen = 20;
constexpr int kOtherScreen = 21;
constexpr std::uint16_t kColouredEditType = 212;
constexpr Colour kFieldColour = rgb(10, 60, 20);

const ui::LayoutRecord kLayout[] = {
    {1, ui::layoutType::OptionList, 4, 4, 150, 20, 1, 0, 0, 99},
    {2, kColouredEditType, 4, 30, 150, 20, 1, 0, 0, 99},
    {3, ui::layoutType::EditField, 4, 56, 150, 20, 1, 0, 0, 99},
    {4, ui::layoutType::DateTimePicker, 4, 82, 150, 20, 1, 1, 0, 99},
    {5, ui::layoutType::List, 4, 108, 150, 80, 1, 0, 0, 99},
};

class Screen : public ui::Module {
  public:
    using Module::Module;
    void build() override {
        ui::buildLayout(*this, kLayout);
        auto* options = findControl<ui::OptionList>(1);
        options->addOption(L"One", L"1");
        options->addOption(L"Two", L"2");
        options->selectValue(L"1");
        for (int i = 1; i <= 40; ++i) rows.setField(rows.appendRow(), 1, std::to_wstring(i));
        findControl<ui::ListControl>(5)->setTable(&rows);
    }
    void controlChanged(ui::Control& c) override { changed.push_back(c.id); }
    core::RecordTable rows{1};
    std::vector<int> changed;
};

class ControlRoutingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const auto& root = test::useTestDevice("240x320");
        std::filesystem::create_directories(root / "Program Files");
        auto link = root / "Program Files" / "Vorn Roamer";
        if (!std::filesystem::exists(link)) {
            // A copy, not a link: the application writes its settings file into the
            // install folder, which must not be the source tree.
            std::filesystem::copy(std::filesystem::path(VORN_SOURCE_DIR) / "data", link,
                                  std::filesystem::copy_options::recursive);
        }
        installShell();
        registerNativeControls();
    }

    void SetUp() override {
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        app_->controlFactory().add(kColouredEditType,
                                   [](const ui::LayoutRecord&, ui::ModuleHost& host) {
                                       auto edit = std::make_unique<ui::EditField>(host, 0);
                                       edit->kind = ui::controlKind::ColouredEdit;
                                       edit->setFieldColour(kFieldColour);
                                       return edit;
                                   });
        for (int id : {kScreen, kOtherScreen}) {
            app_->screens().add(id, [this](ui::ModuleHost& host, int previousId) {
                openedFrom.push_back(previousId);
                return std::make_unique<Screen>(host);
            });
        }
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(kScreen, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), kScreen);
    }

    void TearDown() override {
        app_.reset();
        pump();
    }

    void pump() { platform::test::deliverPosted(); }
    LResult send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        LResult r = sendMessage(app_->mainWindow(), message, wParam, lParam);
        pump();
        return r;
    }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    Screen& screen() { return *static_cast<Screen*>(app_->currentModule()); }
    template <class T>
    T& control(int id) {
        return *screen().findControl<T>(id);
    }

    std::unique_ptr<app::Application> app_;
    std::vector<int> openedFrom;  // what each new module was told it was opened from
};

TEST_F(ControlRoutingTest, ARotatedScreenStillKnowsWhereItWasOpenedFrom) {
    app_->switchModule(kOtherScreen, {.saveOld = true});
    pump();
    ASSERT_EQ(openedFrom.back(), kScreen);
    std::size_t made = openedFrom.size();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_GT(openedFrom.size(), made) << "the rotation rebuilt the screen";
    EXPECT_EQ(openedFrom.back(), kScreen);
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen);
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
}

TEST_F(ControlRoutingTest, TheOverlayTakesKeysAndCommands) {
    auto& options = control<ui::OptionList>(1);
    screen().setFocusedControl(&options, false);
    key(vk::Return);
    ASSERT_NE(app_->overlay(), nullptr);
    key(vk::Down);
    EXPECT_EQ(options.currentValue(), L"2") << "keys go to the overlay";
    EXPECT_EQ(screen().focusedControl(), &options) << "not to the module's focus movement";
    send(wm::Command, ui::command::RightSoftKey);
    EXPECT_EQ(app_->overlay(), nullptr);
    EXPECT_EQ(options.currentValue(), L"1");

    key(vk::Return);
    key(vk::Down);
    send(wm::Command, ui::command::LeftSoftKey);
    EXPECT_EQ(app_->overlay(), nullptr);
    EXPECT_EQ(options.currentValue(), L"2");
    EXPECT_EQ(screen().changed, std::vector<int>{1});

    // Back cancels an open overlay, and a screen switch closes it first.
    key(vk::Return);
    app_->applicationCommand(ui::command::Back, 0);
    EXPECT_EQ(app_->overlay(), nullptr);
    EXPECT_EQ(app_->currentModuleId(), kScreen);
    key(vk::Return);
    ASSERT_NE(app_->overlay(), nullptr);
    app_->switchModule(kOtherScreen, {.saveOld = true});
    EXPECT_EQ(app_->overlay(), nullptr);
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen);
}

TEST_F(ControlRoutingTest, OnlyType212FieldsGetTheThemeColours) {
    DeviceContext dc;
    auto& coloured = control<ui::EditField>(2);
    LResult answer = send(wm::CtlColorEdit, reinterpret_cast<WParam>(&dc),
                          static_cast<LParam>(coloured.nativeWindow()));
    EXPECT_EQ(brushOfAnswer(answer), kFieldColour);
    EXPECT_EQ(dc.textColour(), app_->theme().textColour);
    EXPECT_EQ(dc.backgroundColour(), kFieldColour);
    auto& plain = control<ui::EditField>(3);
    EXPECT_EQ(send(wm::CtlColorEdit, reinterpret_cast<WParam>(&dc),
                   static_cast<LParam>(plain.nativeWindow())),
              0);
}

TEST_F(ControlRoutingTest, PickerNotificationsAndFieldChangesReachTheirControls) {
    auto& picker = control<ui::DateTimePicker>(4);
    screen().setFocusedControl(&picker, false);
    key(vk::Up);
    EXPECT_EQ(picker.changeCount(), 1);
    // A notification with another code, or from a window that is no picker, is not its.
    NotifyHeader other{picker.nativeWindow(), 4, 0xFFFFFFF0u};
    send(wm::Notify, 4, reinterpret_cast<LParam>(&other));
    NotifyHeader fromEdit{control<ui::EditField>(3).nativeWindow(), 3, DtnDateTimeChange};
    send(wm::Notify, 3, reinterpret_cast<LParam>(&fromEdit));
    EXPECT_EQ(picker.changeCount(), 1);

    auto& edit = control<ui::EditField>(3);
    screen().changed.clear();
    screen().setFocusedControl(&edit, false);
    sendMessage(edit.nativeWindow(), wm::Char, L'a', 1);
    pump();
    EXPECT_EQ(screen().changed, std::vector<int>{3}) << "EN_CHANGE reaches the field's control";
    EXPECT_EQ(app_->currentModuleId(), kScreen) << "and is not taken for a menu command";
}

TEST_F(ControlRoutingTest, Timer9899DrivesTheListHoldingTheStylus) {
    auto& list = control<ui::ListControl>(5);
    ui::ScrollBarGeometry bar = list.scrollBar();
    Point arrow{(bar.downArrow.left + bar.downArrow.right) / 2,
                (bar.downArrow.top + bar.downArrow.bottom) / 2};
    send(wm::LButtonDown, 1, makeLParam(arrow.x, arrow.y));
    EXPECT_EQ(list.firstVisibleRow(), 2);
    send(wm::Timer, ui::kAutoRepeatTimer);
    send(wm::Timer, ui::kAutoRepeatTimer);
    EXPECT_EQ(list.firstVisibleRow(), 4);
    EXPECT_EQ(ui::autoRepeatState().intervalMs, ui::kAutoRepeatIntervalMs);
    send(wm::LButtonUp, 0, makeLParam(arrow.x, arrow.y));
    send(wm::Timer, ui::kAutoRepeatTimer);
    EXPECT_EQ(list.firstVisibleRow(), 4);
}

TEST_F(ControlRoutingTest, TheMainMenuHidesNativeWindows) {
    WindowHandle edit = control<ui::EditField>(3).nativeWindow();
    ASSERT_TRUE(isWindowVisible(edit));
    app_->showMainMenu(true);
    EXPECT_FALSE(isWindowVisible(edit));
    app_->showMainMenu(false);
    EXPECT_TRUE(isWindowVisible(edit));
}

TEST_F(ControlRoutingTest, BackErasesInTextFieldsAndGoesBackElsewhere) {
    app_->switchModule(kOtherScreen, {.saveOld = true});
    auto& edit = control<ui::EditField>(3);
    screen().setFocusedControl(&edit, false);
    sendMessage(edit.nativeWindow(), wm::Char, L'x', 1);
    auto backKey = makeLParam(0, static_cast<int>(vk::Escape));
    send(wm::HotKey, 0, backKey);
    EXPECT_EQ(edit.text(), L"");
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen);

    auto& picker = control<ui::DateTimePicker>(4);
    screen().setFocusedControl(&picker, false);
    send(wm::HotKey, 0, backKey);
    EXPECT_EQ(app_->currentModuleId(), kScreen) << "a picker does not keep the Back key";
}

}  // namespace
