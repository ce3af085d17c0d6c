// Drop-downs and option lists: the placeholder, the pop-up overlay that Enter or a tap opens,
// cancelling with the right soft key and confirming with any other command or a row.

#include <gtest/gtest.h>

#include "tests/ui/support/ui_test_support.h"
#include "ui/layout.h"
#include "ui/option_list.h"
#include "ui/popup_list.h"

using namespace ui;
using platform::Point;

namespace {

class DropDownTest : public ::testing::Test {
  protected:
    OptionList& makeOptions() {
        auto made = host.createControl(LayoutRecord{7, layoutType::OptionList});
        EXPECT_TRUE(made);
        auto& options = static_cast<OptionList&>(module.addControl(std::move(made)));
        options.addOption(L"Small", L"s");
        options.addOption(L"Medium", L"m");
        options.addOption(L"Large", L"l");
        options.place({10, 10, 150, 30}, nullptr);
        options.show(true, false);
        host.attach(module);
        module.setFocusedControl(&options, false);
        return options;
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(DropDownTest, ShowsThePlaceholderUntilARowIsCurrent) {
    DropDown plain;
    EXPECT_EQ(plain.shownText(), L"Please Select...");
    core::RecordTable table{1};
    table.setField(table.appendRow(), 1, L"Berlin");
    plain.setTable(&table);
    EXPECT_EQ(plain.shownText(), L"Please Select...");
    table.setCurrentRow(1);
    EXPECT_EQ(plain.shownText(), L"Berlin");
}

TEST_F(DropDownTest, TheFactoryMakesOptionListsForType209Only) {
    auto options = host.createControl(LayoutRecord{1, layoutType::OptionList});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->kind, 209);
    EXPECT_FALSE(host.createControl(LayoutRecord{1, 210}));
    host.factory.add(5, [](const LayoutRecord&, ModuleHost&) { return nullptr; });
    EXPECT_FALSE(host.factory.has(5)) << "toolkit types are not the factory's";
}

TEST_F(DropDownTest, TheRightSoftKeyCancelsAndPutsTheOldRowBack) {
    OptionList& options = makeOptions();
    options.selectValue(L"m");
    module.takePresses = false;
    host.pressKey(platform::vk::Return);
    ASSERT_TRUE(options.isPopupOpen());
    EXPECT_EQ(host.overlay(), options.popup());
    EXPECT_EQ(host.menu.size(), 2u) << "the overlay's own soft keys";
    host.pressKey(platform::vk::Down);
    EXPECT_EQ(options.currentValue(), L"l");
    host.command(command::RightSoftKey);
    EXPECT_FALSE(options.isPopupOpen());
    EXPECT_EQ(options.currentValue(), L"m");
    EXPECT_TRUE(module.changed.empty());
}

TEST_F(DropDownTest, AnyOtherCommandConfirmsAndTellsTheModule) {
    OptionList& options = makeOptions();
    module.takePresses = false;
    host.pressKey(platform::vk::Return);
    ASSERT_TRUE(options.isPopupOpen());
    EXPECT_EQ(options.currentValue(), L"s") << "with nothing chosen the first option is offered";
    host.pressKey(platform::vk::Down);
    host.command(command::LeftSoftKey);
    EXPECT_FALSE(options.isPopupOpen());
    EXPECT_EQ(options.currentValue(), L"m");
    ASSERT_EQ(module.changed.size(), 1u);
    EXPECT_EQ(module.changed[0], &options);
    EXPECT_EQ(options.shownText(), L"Medium");
}

TEST_F(DropDownTest, TappingARowInThePopupChoosesIt) {
    OptionList& options = makeOptions();
    module.takePresses = false;
    host.tap({20, 20});
    ASSERT_TRUE(options.isPopupOpen());
    ListControl& list = options.popup()->list();
    Point third{list.rowsRect().left + 10, list.rowsRect().top + list.rowHeight() * 5 / 2};
    host.down(third);
    EXPECT_TRUE(options.isPopupOpen()) << "the release chooses, not the press";
    host.up(third);
    EXPECT_FALSE(options.isPopupOpen());
    EXPECT_EQ(options.currentValue(), L"l");
    EXPECT_EQ(module.changed.size(), 1u);
}

TEST_F(DropDownTest, TheOwnerMayTakeThePressAndDisabledListsStayShut) {
    OptionList& options = makeOptions();
    module.takePresses = true;
    host.pressKey(platform::vk::Return);
    EXPECT_FALSE(options.isPopupOpen());
    EXPECT_EQ(module.pressed.size(), 1u);
    module.takePresses = false;
    options.isEnabled = false;
    host.tap({20, 20});
    EXPECT_FALSE(options.isPopupOpen());
}

TEST_F(DropDownTest, ThePopupCoversTheWindowAndClosesWithItsControl) {
    auto owner = std::make_unique<test::RecordingModule>(host);
    owner->takePresses = false;
    auto& options = static_cast<OptionList&>(owner->addControl(std::make_unique<OptionList>(host)));
    options.addOption(L"One", L"1");
    options.place({10, 10, 150, 30}, nullptr);
    options.show(true, false);
    host.attach(*owner);
    options.openPopup();
    ASSERT_EQ(host.overlay(), options.popup());
    auto pixels = host.render();
    // Nothing of the grey under the module shows through.
    EXPECT_EQ(test::countNear(*pixels, {0, 0, pixels->width(), pixels->height()}, 0x808080, 2), 0);
    // A module switch destroys the control; its overlay must not outlive it.
    host.detach();
    owner.reset();
    EXPECT_EQ(host.overlay(), nullptr);
}

// A screen that rebuilds its options whenever one is chosen, as the options screen does when
// a choice changes what the other lists offer.
class RefillingModule : public test::RecordingModule {
  public:
    using RecordingModule::RecordingModule;
    OptionList* options = nullptr;
    int refills = 0;
    void controlChanged(Control& control) override {
        RecordingModule::controlChanged(control);
        ++refills;
        std::wstring chosen(options->currentValue());
        options->adoptTable(std::make_unique<core::RecordTable>(2));
        for (int i = 0; i < refills + 3; ++i)
            options->addOption(L"Option " + std::to_wstring(i), std::to_wstring(i));
        options->selectValue(chosen);
    }
};

TEST_F(DropDownTest, AnOwnerThatReplacesTheOptionsWhenToldOfAChoiceCanReopenTheList) {
    RefillingModule owner{host};
    owner.takePresses = false;
    auto& options = static_cast<OptionList&>(owner.addControl(std::make_unique<OptionList>(host)));
    owner.options = &options;
    for (int i = 0; i < 3; ++i)
        options.addOption(L"Option " + std::to_wstring(i), std::to_wstring(i));
    options.place({10, 10, 150, 30}, nullptr);
    options.show(true, false);
    host.attach(owner);
    owner.setFocusedControl(&options, false);
    for (int round = 1; round <= 3; ++round) {
        host.pressKey(platform::vk::Return);
        ASSERT_TRUE(options.isPopupOpen()) << "round " << round;
        EXPECT_EQ(options.popup()->list().rowCount(), options.table()->rowCount())
            << "the reopened list shows the options the owner put in, round " << round;
        host.pressKey(platform::vk::Down);
        host.pressKey(platform::vk::Return);
        EXPECT_FALSE(options.isPopupOpen());
        EXPECT_EQ(owner.refills, round);
    }
    EXPECT_EQ(options.table()->rowCount(), 6);
    EXPECT_EQ(options.currentValue(), L"3") << "each round moved one option down";
    host.detach();
}

TEST_F(DropDownTest, ReplacingTheOptionsWhileTheListIsOpenClosesIt) {
    OptionList& options = makeOptions();
    module.takePresses = false;
    host.pressKey(platform::vk::Return);
    ASSERT_TRUE(options.isPopupOpen());
    options.adoptTable(std::make_unique<core::RecordTable>(2));
    options.addOption(L"Only", L"o");
    EXPECT_FALSE(options.isPopupOpen());
    EXPECT_EQ(options.popup()->list().rowCount(), 0) << "the list let go of the old options";
    host.pressKey(platform::vk::Return);
    ASSERT_TRUE(options.isPopupOpen());
    EXPECT_EQ(options.popup()->list().rowCount(), 1);
}

}  // namespace
