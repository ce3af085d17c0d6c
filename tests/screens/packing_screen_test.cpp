// The packing screen inside the program's own application: new lists from a template or
// empty, names that exist or cannot be file names, ticks and flags by stylus and keys with
// the heading's counts, saving (and a save that fails), leaving without saving, the master
// list, editing and deleting with their questions, templates, rotation and every screen shape.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/application.h"
#include "core/language.h"
#include "core/message_box.h"
#include "gfx/display_metrics.h"
#include "platform/api/control.h"
#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"
#include "tests/platform/support/message_pump.h"
#include "tests/screens/support/screen_device.h"
#include "travel/packing_store.h"
#include "travel/screens/packing_parts.h"
#include "travel/screens/packing_screen.h"
#include "travel/screens/packing_view.h"
#include "travel/screens/screens.h"
#include "ui/edit_field.h"
#include "ui/module_ids.h"
#include "worldtime/screens/screens.h"

using namespace platform;

namespace travel::test {
namespace {

namespace c = packingCommand;

class PackingScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        packing_ = screens::test::screenTestDevice() / "packing";
        std::filesystem::remove_all(packing_);
        std::filesystem::copy(std::filesystem::path(VORN_SOURCE_DIR) / "data" / "packing", packing_,
                              std::filesystem::copy_options::recursive);
        messages_.clear();
        answer_ = id::Yes;
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return answer_;
        });
        startProgram();
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
    }

    void startProgram() {
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        travel::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(ui::moduleId::Packing, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Packing);
    }

    PackingScreen& screen() {
        auto* s = dynamic_cast<PackingScreen*>(app_->currentModule());
        EXPECT_NE(s, nullptr) << "the live screen is not the packing screen";
        return *s;
    }
    PackingView& view() { return screen().view(); }
    const PackingViewRow& row(int r) {
        static const PackingViewRow none{
            PackingViewRow::Kind::Heading, L"<no row>", L"", L"", false, false, -1};
        return r >= 1 && r <= view().rowCount() ? view().rows().row(r) : none;
    }
    int rowTitled(std::wstring_view title) {
        for (int r = 1; r <= view().rowCount(); ++r)
            if (row(r).title == title)
                return r;
        ADD_FAILURE() << "no row " << platform::toUtf8(title);
        return 0;
    }

    void pump() { platform::test::deliverPosted(); }
    void send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        sendMessage(app_->mainWindow(), message, wParam, lParam);
        pump();
    }
    void command(std::uint32_t id) { send(wm::Command, id, 0); }
    void key(std::uint32_t code) {
        send(wm::KeyDown, code, 1);
        send(wm::KeyUp, code, static_cast<LParam>(0xC0000001u));
    }
    void tap(Point p) {
        send(wm::LButtonDown, 1, makeLParam(p.x, p.y));
        send(wm::LButtonUp, 0, makeLParam(p.x, p.y));
    }
    void tapRow(int r) {
        view().showRow(r);
        Rect line = view().rowRect(r);
        ASSERT_FALSE(line.isEmpty()) << "row " << r << " is not on the screen";
        tap({(line.left + line.right) / 2, (line.top + line.bottom) / 2});
    }
    Point centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    void tapTick(int r) {
        view().showRow(r);
        tap(centre(view().tickZone(view().rowRect(r))));
    }
    void tapFlag(int r) {
        view().showRow(r);
        tap(centre(view().flagZone(view().rowRect(r))));
    }
    bool menuEnabled(std::uint32_t id) {
        for (const ui::MenuEntry& e : screen().menuEntries())
            if (e.commandId == id)
                return e.enabled;
        ADD_FAILURE() << "no menu entry " << id;
        return false;
    }
    std::string fileText(const std::string& name) {
        std::ifstream in(packing_ / name, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
    }

    // From the lists page: a new list named NAME from the template titled TEMPLATE (empty for
    // the empty list), by stylus.
    void makeList(std::wstring_view name, std::wstring_view templateTitle) {
        ASSERT_EQ(screen().page(), packingPage::Lists);
        // The first row is chosen already, so a tap on it opens it.
        ASSERT_EQ(view().currentRow(), 1);
        tapRow(1);
        ASSERT_EQ(screen().page(), packingPage::Templates);
        ASSERT_EQ(view().currentRow(), 1);
        if (templateTitle.empty()) {
            tapRow(1);
        } else {
            tapRow(rowTitled(templateTitle));
            command(c::Confirm);
        }
        ASSERT_EQ(screen().page(), packingPage::Naming);
        screen().nameField().setText(name);
        command(c::Confirm);
    }

    std::filesystem::path packing_;
    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
    int answer_ = id::Yes;
};

TEST_F(PackingScreenTest, ThePagesStartWithTheirFirstRow) {
    EXPECT_EQ(screen().page(), packingPage::Lists);
    ASSERT_EQ(view().rowCount(), 1);
    EXPECT_EQ(row(1).title, L"New List");
    EXPECT_FALSE(menuEnabled(c::Open));
    EXPECT_FALSE(menuEnabled(c::DeleteList));
    command(c::DeleteList);
    EXPECT_TRUE(messages_.empty());
    command(c::NewList);
    ASSERT_EQ(screen().page(), packingPage::Templates);
    EXPECT_EQ(row(1).title, L"New Empty List");
    EXPECT_EQ(view().rowCount(), 7);
    EXPECT_EQ(row(rowTitled(L"Hiking")).detail, L"27 items, 0 packed");
    EXPECT_EQ(row(rowTitled(L"Hiking")).icon, L"list_travel.tga");
    command(c::Back);
    EXPECT_EQ(screen().page(), packingPage::Lists);
}

TEST_F(PackingScreenTest, ANewListFromATemplateIsWrittenOnlyWhenDone) {
    command(c::NewList);
    view().selectRow(rowTitled(L"Beach holiday"), true);
    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Naming);
    // The template's icon is chosen in advance.
    EXPECT_EQ(screen().iconChooser().chosen(), L"list_beach.tga");
    screen().nameField().setText(L"Crete");
    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Items);
    ASSERT_TRUE(screen().openList());
    EXPECT_EQ(screen().openList()->itemCount(), 28);
    EXPECT_EQ(screen().heading().title(), L"Crete");
    EXPECT_EQ(row(1).title, L"Documents (4)");
    // The first item is chosen, not the heading above it.
    EXPECT_EQ(view().currentRow(), 2);
    EXPECT_FALSE(std::filesystem::exists(packing_ / "Crete.lst"));

    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Lists);
    EXPECT_EQ(fileText("Crete.lst").substr(0, 33), "Crete:list_beach.tga~28~0~0\n0~0~P");
    EXPECT_EQ(row(rowTitled(L"Crete")).detail, L"28 items, 0 packed");
}

TEST_F(PackingScreenTest, ANameThatExistsOrCannotBeAFileNameKeepsTheFormOpen) {
    makeList(L"Weekend", L"");
    command(c::Confirm);
    ASSERT_TRUE(std::filesystem::exists(packing_ / "Weekend.lst"));
    makeList(L"weekend", L"City weekend");
    EXPECT_EQ(screen().page(), packingPage::Naming);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(557));
    screen().nameField().setText(L"..\\..\\windows\\evil");
    command(c::Confirm);
    EXPECT_EQ(screen().page(), packingPage::Naming);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1], core::languageString(885));
    command(c::Cancel);
    EXPECT_EQ(screen().page(), packingPage::Templates);
    EXPECT_FALSE(
        std::filesystem::exists(screens::test::screenTestDevice() / "windows" / "evil.lst"));
}

TEST_F(PackingScreenTest, TicksAndFlagsByStylusAndKeysShowInTheCounts) {
    makeList(L"Crete", L"Beach holiday");
    int passport = rowTitled(L"Passport");
    int tickets = rowTitled(L"Tickets");
    tapTick(passport);
    EXPECT_TRUE(row(passport).ticked);
    EXPECT_FALSE(row(passport).flagged);
    tapFlag(tickets);
    EXPECT_TRUE(row(tickets).flagged);
    EXPECT_FALSE(row(tickets).ticked);
    // Enter ticks the chosen row; the menu's Marked flags it.
    view().selectRow(rowTitled(L"Snorkel"), true);
    key(vk::Return);
    command(c::Flag);
    EXPECT_TRUE(row(rowTitled(L"Snorkel")).ticked);
    EXPECT_TRUE(row(rowTitled(L"Snorkel")).flagged);
    // A second tap on the text of the chosen row ticks it too; a tap on the tick unticks.
    tapRow(rowTitled(L"Book"));
    tapRow(rowTitled(L"Book"));
    EXPECT_TRUE(row(rowTitled(L"Book")).ticked);
    tapTick(passport);
    EXPECT_FALSE(row(passport).ticked);
    auto summary = screen().heading().summary();
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->items, 28);
    EXPECT_EQ(summary->packed, 2);
    EXPECT_EQ(summary->marked, 2);
    // Headings are not items: the menu's item commands are off there and do nothing.
    view().selectRow(1, true);
    EXPECT_FALSE(menuEnabled(c::Tick));
    command(c::Tick);
    EXPECT_EQ(screen().openList()->tickedCount(), 2);

    command(c::Confirm);
    std::string saved = fileText("Crete.lst");
    EXPECT_EQ(saved.substr(0, saved.find('\n')), "Crete:list_beach.tga~28~2~0");
    EXPECT_NE(saved.find("\n0~1~Tickets~Documents\n"), std::string::npos);
    EXPECT_NE(saved.find("\n1~1~Snorkel~Beach\n"), std::string::npos);
    EXPECT_NE(saved.find("\n1~0~Book~Beach\n"), std::string::npos);
}

TEST_F(PackingScreenTest, TheKeysStepOverCategoryHeadings) {
    makeList(L"Crete", L"Beach holiday");
    view().selectRow(rowTitled(L"Hotel booking"), true);
    key(vk::Down);
    EXPECT_EQ(row(view().currentRow()).title, L"Credit card");
    key(vk::Up);
    EXPECT_EQ(row(view().currentRow()).title, L"Hotel booking");
    view().selectRow(rowTitled(L"Passport"), true);
    key(vk::Up);
    EXPECT_EQ(row(view().currentRow()).title, L"Passport");
}

TEST_F(PackingScreenTest, BackWithoutSavingDropsTheChangesAndTheBackKeyKeepsThem) {
    makeList(L"Crete", L"Beach holiday");
    command(c::Confirm);
    view().selectRow(rowTitled(L"Crete"), true);
    command(c::Open);
    ASSERT_EQ(screen().page(), packingPage::Items);
    tapTick(rowTitled(L"Passport"));
    command(c::Back);
    EXPECT_EQ(screen().page(), packingPage::Lists);
    EXPECT_EQ(row(rowTitled(L"Crete")).detail, L"28 items, 0 packed");

    view().selectRow(rowTitled(L"Crete"), true);
    key(vk::Return);
    ASSERT_EQ(screen().page(), packingPage::Items);
    tapTick(rowTitled(L"Passport"));
    send(wm::Command, ui::command::Back, 0);
    EXPECT_EQ(screen().page(), packingPage::Lists);
    EXPECT_EQ(row(rowTitled(L"Crete")).detail, L"28 items, 1 packed");
}

TEST_F(PackingScreenTest, ASaveThatFailsKeepsTheListOpenAndSaysSo) {
    makeList(L"Crete", L"Beach holiday");
    tapTick(rowTitled(L"Passport"));
    // Something that is not a file stands where the list would go.
    std::filesystem::create_directory(packing_ / "Crete.lst");
    command(c::Confirm);
    EXPECT_EQ(screen().page(), packingPage::Items);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(896));
    ASSERT_TRUE(screen().openList());
    EXPECT_EQ(screen().openList()->tickedCount(), 1);
    std::filesystem::remove(packing_ / "Crete.lst");
    command(c::Confirm);
    EXPECT_EQ(screen().page(), packingPage::Lists);
    EXPECT_NE(fileText("Crete.lst").find("~28~1~0"), std::string::npos);
}

TEST_F(PackingScreenTest, TheMasterListOpensWithoutChoicesAndAddsTheChosenEntries) {
    std::ofstream(packing_ / "fulllist.dat", std::ios::binary)
        << "1~0~Passport~Documents\n1~0~Kite~Beach\n0~0~Map~Travel\n";
    makeList(L"Trip", L"");
    ASSERT_EQ(screen().openList()->itemCount(), 0);
    command(c::Add);
    ASSERT_EQ(screen().page(), packingPage::Master);
    for (const auto& entry : screen().masterList().entries()) EXPECT_FALSE(entry.ticked);
    tapTick(rowTitled(L"Kite"));
    view().selectRow(rowTitled(L"Map"), true);
    key(vk::Return);
    EXPECT_TRUE(row(rowTitled(L"Kite")).ticked);
    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Items);
    ASSERT_EQ(screen().openList()->itemCount(), 2);
    EXPECT_EQ(screen().openList()->items()[0], (PackingItem{false, false, L"Kite", L"Beach"}));
    EXPECT_EQ(screen().openList()->items()[1], (PackingItem{false, false, L"Map", L"Travel"}));
    // Back from the master list adds nothing.
    command(c::Add);
    tapTick(rowTitled(L"Passport"));
    command(c::Back);
    EXPECT_EQ(screen().openList()->itemCount(), 2);
}

TEST_F(PackingScreenTest, NewAndEditedMasterEntriesAreSavedAndChosen) {
    std::ofstream(packing_ / "fulllist.dat", std::ios::binary)
        << "0~0~Passport~Documents\n0~0~Map~Travel\n";
    makeList(L"Trip", L"");
    command(c::Add);
    view().selectRow(rowTitled(L"Map"), true);
    command(c::Add);
    ASSERT_EQ(screen().page(), packingPage::Entry);
    EXPECT_EQ(screen().textField().text(), L"New item");
    EXPECT_EQ(screen().categoryField().text(), L"Travel");
    screen().textField().setText(L"Compass");
    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Master);
    EXPECT_EQ(fileText("fulllist.dat"),
              "0~0~Passport~Documents\n0~0~Map~Travel\n1~0~Compass~Travel");
    EXPECT_EQ(row(view().currentRow()).title, L"Compass");

    view().selectRow(rowTitled(L"Passport"), true);
    command(c::Edit);
    EXPECT_EQ(screen().textField().text(), L"Passport");
    screen().textField().setText(L"Passport~and visa");
    command(c::Confirm);
    EXPECT_EQ(fileText("fulllist.dat"),
              "1~0~Passport-and visa~Documents\n0~0~Map~Travel\n1~0~Compass~Travel");
    // A cancelled form changes nothing.
    command(c::Add);
    screen().textField().setText(L"Nothing");
    command(c::Cancel);
    EXPECT_EQ(screen().page(), packingPage::Master);
    EXPECT_EQ(screen().masterList().count(), 3);
    command(c::Confirm);
    EXPECT_EQ(screen().openList()->itemCount(), 2);
}

TEST_F(PackingScreenTest, DeletingAsksFirst) {
    makeList(L"Crete", L"Beach holiday");
    view().selectRow(rowTitled(L"Snorkel"), true);
    answer_ = id::No;
    command(c::Delete);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], L"Delete Snorkel?");
    EXPECT_EQ(screen().openList()->itemCount(), 28);
    answer_ = id::Yes;
    command(c::Delete);
    EXPECT_EQ(screen().openList()->itemCount(), 27);
    EXPECT_EQ(row(rowTitled(L"Beach (4)")).kind, PackingViewRow::Kind::Heading);
    command(c::Confirm);

    view().selectRow(rowTitled(L"Crete"), true);
    answer_ = id::No;
    command(c::DeleteList);
    EXPECT_EQ(messages_.back(), L"Delete the list Crete?");
    EXPECT_TRUE(std::filesystem::exists(packing_ / "Crete.lst"));
    answer_ = id::Yes;
    command(c::DeleteList);
    EXPECT_FALSE(std::filesystem::exists(packing_ / "Crete.lst"));
    EXPECT_EQ(view().rowCount(), 1);

    command(c::NewList);
    view().selectRow(rowTitled(L"Skiing"), true);
    command(c::Delete);
    EXPECT_EQ(messages_.back(), L"Delete the template Skiing?");
    EXPECT_FALSE(std::filesystem::exists(packing_ / "Skiing.tmp"));
    EXPECT_EQ(view().rowCount(), 6);
}

TEST_F(PackingScreenTest, EditingAnItemAndSavingAsATemplate) {
    makeList(L"Crete", L"Beach holiday");
    view().selectRow(rowTitled(L"Book"), true);
    command(c::Edit);
    ASSERT_EQ(screen().page(), packingPage::Entry);
    EXPECT_EQ(screen().textField().text(), L"Book");
    EXPECT_EQ(screen().categoryField().text(), L"Beach");
    screen().textField().setText(L"Two books");
    screen().categoryField().setText(L"Reading");
    command(c::Confirm);
    ASSERT_EQ(screen().page(), packingPage::Items);
    EXPECT_EQ(row(view().currentRow()).title, L"Two books");
    EXPECT_NE(rowTitled(L"Reading (1)"), 0);

    command(c::SaveTemplate);
    ASSERT_EQ(screen().page(), packingPage::Naming);
    EXPECT_EQ(screen().nameField().text(), L"Crete");
    screen().nameField().setText(L"Islands");
    command(c::Confirm);
    EXPECT_EQ(screen().page(), packingPage::Items);
    std::string saved = fileText("Islands.tmp");
    EXPECT_EQ(saved.substr(0, saved.find('\n')), "Islands:list_beach.tga~28~0~0");
    EXPECT_NE(saved.find("0~0~Two books~Reading"), std::string::npos);
}

TEST_F(PackingScreenTest, ARotationKeepsTheOpenListAndAnUnfinishedForm) {
    makeList(L"Crete", L"Beach holiday");
    tapTick(rowTitled(L"Passport"));
    view().selectRow(rowTitled(L"Book"), true);
    command(c::Edit);
    screen().textField().setText(L"Two books");
    int generation = app_->layoutGeneration();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    ASSERT_GT(app_->layoutGeneration(), generation);
    EXPECT_EQ(screen().page(), packingPage::Entry);
    EXPECT_EQ(screen().textField().text(), L"Two books");
    command(c::Confirm);
    EXPECT_EQ(screen().page(), packingPage::Items);
    EXPECT_EQ(screen().openList()->tickedCount(), 1);
    EXPECT_EQ(row(view().currentRow()).title, L"Two books");
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(screen().page(), packingPage::Items);
    EXPECT_EQ(screen().openList()->itemCount(), 28);
    EXPECT_FALSE(std::filesystem::exists(packing_ / "Crete.lst"));
}

TEST_F(PackingScreenTest, EveryShapeHoldsTheListAndTheForms) {
    for (const char* shape : {"240x320", "480x640", "320x240", "240x240"}) {
        SCOPED_TRACE(shape);
        app_.reset();
        pump();
        setScreenProfile(*screenProfileFromName(shape));
        broadcastScreenChanged();
        gfx::computeDisplayMetrics();
        pump();
        startProgram();
        const Rect client = clientRect(app_->mainWindow());
        makeList(L"Shape", L"Hiking");
        ASSERT_EQ(screen().page(), packingPage::Items);
        for (const ui::Control* control : {static_cast<const ui::Control*>(&view()),
                                           static_cast<const ui::Control*>(&screen().heading())}) {
            EXPECT_LE(control->rect.right, client.right);
            EXPECT_LE(control->rect.bottom, client.bottom);
            EXPECT_GE(control->rect.left, 0);
        }
        EXPECT_GE(view().visibleRowCount(), 5);
        // The summary row does not run into the list.
        EXPECT_LE(screen().heading().rect.bottom, view().rect.top);
        command(c::Back);
        command(c::NewList);
        command(c::Confirm);
        ASSERT_EQ(screen().page(), packingPage::Naming);
        const IconChooser& icons = screen().iconChooser();
        EXPECT_LE(icons.iconRect(static_cast<int>(icons.icons().size()) - 1).bottom, client.bottom);
        EXPECT_LE(screen().nameField().rect.right, client.right);
        command(c::Cancel);
    }
    app_.reset();
    pump();
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
    gfx::computeDisplayMetrics();
}

}  // namespace
}  // namespace travel::test
