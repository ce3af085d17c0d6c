// The list control: rows chosen by the stylus and keys, one notification per change carrying
// the row and activation apart from it, models whose rows change under the list, the scroll
// bar's five zones, the auto-repeat of a held arrow through timer 9899, the press and release
// options, and the empty list.

#include <gtest/gtest.h>

#include "tests/ui/support/ui_test_support.h"
#include "ui/auto_repeat.h"
#include "ui/control_paint.h"
#include "ui/list_control.h"

using namespace ui;
using platform::Point;
using platform::Rect;

namespace {

// Plain rows that count how often the list asks for a row's text.
class CountingModel final : public ListModel {
  public:
    explicit CountingModel(int rows) {
        for (int i = 1; i <= rows; ++i) texts.push_back(L"Row " + std::to_wstring(i));
    }
    int rowCount() const override { return static_cast<int>(texts.size()); }
    std::wstring rowText(int row) const override {
        ++asked;
        return texts.at(static_cast<std::size_t>(row - 1));
    }
    int currentRow() const override { return current; }
    void setCurrentRow(int row) override { current = row; }

    std::vector<std::wstring> texts;
    int current = 0;
    mutable int asked = 0;
};

class ListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 30; ++i) {
            int row = table.appendRow();
            table.setField(row, 1, L"Row " + std::to_wstring(i));
        }
    }

    // A list of 30 rows at 10,10 - 170,130, shown in a live module.
    ListControl& makeList(ListOptions options = {}) {
        auto made = std::make_unique<ListControl>(options);
        ListControl& list = static_cast<ListControl&>(module.addControl(std::move(made)));
        list.setTable(&table);
        list.place({10, 10, 170, 130}, nullptr);
        list.show(true, false);
        host.attach(module);
        return list;
    }

    // The middle of a row as it shows now.
    Point rowPoint(const ListControl& list, int row) const {
        Rect rows = list.rowsRect();
        int h = list.rowHeight();
        return {rows.left + 10, rows.top + (row - list.firstVisibleRow()) * h + h / 2};
    }

    static Point middle(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    test::TestHost host;
    test::RecordingModule module{host};
    core::RecordTable table{1};
};

TEST_F(ListTest, TapsChooseRowsAndTellTheOwnerOnlyWithNotification) {
    ListControl& quiet = makeList();
    host.tap(rowPoint(quiet, 3));
    EXPECT_EQ(quiet.currentRow(), 3);
    EXPECT_TRUE(module.changed.empty());
    EXPECT_EQ(module.captureControl(), nullptr) << "the release gives the capture back";

    quiet.setOptions({.notify = true});
    host.down(rowPoint(quiet, 5));
    EXPECT_EQ(quiet.currentRow(), 5);
    EXPECT_EQ(module.captureControl(), &quiet);
    ASSERT_EQ(module.changed.size(), 1u);
    // Moving over the rows while holding follows the stylus.
    host.move(rowPoint(quiet, 2));
    EXPECT_EQ(quiet.currentRow(), 2);
    host.up(rowPoint(quiet, 2));
    EXPECT_EQ(module.changed.size(), 2u) << "one for each new row, none for the release";
    EXPECT_TRUE(module.pressed.empty());
}

TEST_F(ListTest, ATapTellsTheModuleOnceAndAgainOnlyForAnotherRow) {
    ListControl& list = makeList({.notify = true});
    host.tap(rowPoint(list, 3));
    EXPECT_EQ(module.changed.size(), 1u) << "press and release are one change";
    host.tap(rowPoint(list, 3));
    EXPECT_EQ(module.changed.size(), 1u) << "tapping the current row again changes nothing";
    host.tap(rowPoint(list, 5));
    EXPECT_EQ(module.changed.size(), 2u);
}

TEST_F(ListTest, ChangesCarryTheirRowAndActivationIsApart) {
    ListControl& list = makeList({.pressOnReselect = true});
    std::vector<int> changes;
    std::vector<int> activations;
    list.onSelectionChange = [&](ListControl&, int row) { changes.push_back(row); };
    list.onActivate = [&](ListControl&, int row) {
        activations.push_back(row);
        return true;
    };
    host.tap(rowPoint(list, 3));
    EXPECT_EQ(changes, std::vector<int>{3});
    EXPECT_TRUE(activations.empty()) << "choosing a row is not activating it";
    host.tap(rowPoint(list, 3));
    EXPECT_EQ(changes, std::vector<int>{3});
    EXPECT_EQ(activations, std::vector<int>{3});

    module.setFocusedControl(&list, false);
    host.pressKey(platform::vk::Down);
    host.pressKey(platform::vk::Return);
    EXPECT_EQ(changes, (std::vector<int>{3, 4}));
    EXPECT_EQ(activations, (std::vector<int>{3, 4}));
    // Selecting from code is the caller's own doing and is not reported back.
    list.selectRow(9, false);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_TRUE(module.changed.empty());
    EXPECT_TRUE(module.pressed.empty()) << "the callbacks stand in for the module";
}

TEST_F(ListTest, RowsChangingUnderTheListKeepItsRowAndViewValid) {
    CountingModel model(30);
    model.current = 28;
    ListControl& list = makeList();
    list.setModel(&model);
    EXPECT_EQ(list.table(), nullptr) << "another model than the list's table adapter";
    int visible = list.visibleRowCount();
    EXPECT_EQ(list.firstVisibleRow(), 28 - visible + 1) << "the current row is in view";
    std::vector<int> changes;
    list.onSelectionChange = [&](ListControl&, int row) { changes.push_back(row); };

    model.texts.push_back(L"Row 31");
    model.rowsChanged();
    EXPECT_EQ(list.currentRow(), 28);
    EXPECT_TRUE(changes.empty()) << "rows added below move nothing";

    // The current row removed: the last row becomes current, once, and the view follows.
    model.texts.resize(10);
    model.rowsChanged();
    EXPECT_EQ(list.currentRow(), 10);
    EXPECT_EQ(changes, std::vector<int>{10});
    EXPECT_EQ(list.firstVisibleRow(), std::max(1, 10 - visible + 1));

    model.texts.clear();
    model.rowsChanged();
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(changes, (std::vector<int>{10, 0}));
    EXPECT_EQ(list.firstVisibleRow(), 1);
    EXPECT_FALSE(list.hasScrollBar());
    host.tap({list.rect.left + 20, list.rect.top + 20});
    module.setFocusedControl(&list, false);
    host.pressKey(platform::vk::Down);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(ListTest, TheListAsksOnlyForTheRowsItShows) {
    CountingModel model(100000);
    ListControl& list = makeList();
    list.setModel(&model);
    host.render();
    EXPECT_GT(model.asked, 0);
    EXPECT_LE(model.asked, list.visibleRowCount() + 1);
    // The text comes from the model as it paints, never from a copy.
    model.texts[0] = L"Changed";
    model.asked = 0;
    host.render();
    EXPECT_GT(model.asked, 0);
}

TEST_F(ListTest, AModelThatGoesFirstLeavesTheListEmpty) {
    ListControl& list = makeList({.notify = true});
    {
        CountingModel model(5);
        list.setModel(&model);
        list.selectRow(2, false);
        EXPECT_EQ(list.currentRow(), 2);
    }
    EXPECT_EQ(list.model(), nullptr);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.currentRow(), 0);
    host.render();
    host.tap({list.rect.left + 20, list.rect.top + 20});
    EXPECT_TRUE(module.changed.empty());
    // A table shown again goes through the list's adapter.
    list.setTable(&table);
    EXPECT_EQ(list.table(), &table);
    EXPECT_EQ(list.rowCount(), 30);
}

TEST_F(ListTest, PressOnReselectAndEnterOnRelease) {
    ListControl& list = makeList({.pressOnReselect = true});
    host.tap(rowPoint(list, 4));
    EXPECT_TRUE(module.pressed.empty()) << "the first tap only chooses the row";
    host.tap(rowPoint(list, 4));
    ASSERT_EQ(module.pressed.size(), 1u);
    EXPECT_EQ(module.pressed[0], &list);

    module.pressed.clear();
    list.setOptions({.enterOnRelease = true});
    host.down(rowPoint(list, 6));
    EXPECT_TRUE(module.pressed.empty());
    host.up(rowPoint(list, 6));
    EXPECT_EQ(module.pressed.size(), 1u) << "lifting off a row presses the list";
    // A press on the scroll bar is no choice.
    host.tap(middle(list.scrollBar().downArrow));
    EXPECT_EQ(module.pressed.size(), 1u);
}

TEST_F(ListTest, ScrollBarZonesInTheirOrder) {
    ListControl& list = makeList();
    ASSERT_TRUE(list.hasScrollBar());
    list.scrollTo(10);
    ScrollBarGeometry bar = list.scrollBar();
    int x = (bar.bar.left + bar.bar.right) / 2;
    EXPECT_EQ(bar.zoneAt({x, bar.upArrow.top}), scrollZone::UpArrow);
    EXPECT_EQ(bar.zoneAt({x, bar.track.top}), scrollZone::PageUp);
    EXPECT_EQ(bar.zoneAt(middle(bar.thumb)), scrollZone::Thumb);
    EXPECT_EQ(bar.zoneAt({x, bar.track.bottom - 1}), scrollZone::PageDown);
    EXPECT_EQ(bar.zoneAt({x, bar.downArrow.bottom - 1}), scrollZone::DownArrow);
    EXPECT_EQ(bar.zoneAt({bar.bar.left - 1, bar.track.top}), scrollZone::None);

    // The page areas move by a whole view and leave the current row alone.
    int visible = list.visibleRowCount();
    host.tap({x, bar.track.bottom - 1});
    EXPECT_EQ(list.firstVisibleRow(), 10 + visible);
    host.tap({x, bar.track.top});
    EXPECT_EQ(list.firstVisibleRow(), 10);
    EXPECT_EQ(list.currentRow(), 0);

    // Dragging the thumb to the bottom shows the last rows.
    host.down(middle(list.scrollBar().thumb));
    host.move({x, bar.bar.bottom + 200});
    host.up({x, bar.bar.bottom + 200});
    EXPECT_EQ(list.firstVisibleRow(), 30 - visible + 1);
}

TEST_F(ListTest, HoldingTheDownArrowRepeatsAfter500ThenEvery50Milliseconds) {
    ListControl& list = makeList();
    Point arrow = middle(list.scrollBar().downArrow);
    host.down(arrow);
    EXPECT_EQ(list.firstVisibleRow(), 2) << "the press scrolls once at once";
    EXPECT_EQ(autoRepeatState().zone, scrollZone::DownArrow);
    EXPECT_EQ(autoRepeatState().intervalMs, kAutoRepeatDelayMs);
    EXPECT_EQ(module.captureControl(), &list);

    host.autoRepeatTick();
    EXPECT_EQ(list.firstVisibleRow(), 3);
    EXPECT_EQ(autoRepeatState().intervalMs, kAutoRepeatIntervalMs);
    host.autoRepeatTick();
    host.autoRepeatTick();
    EXPECT_EQ(list.firstVisibleRow(), 5);
    EXPECT_EQ(autoRepeatState().intervalMs, kAutoRepeatIntervalMs);

    // A stylus wiggle inside the zone does not scroll by itself; the timer does.
    host.move({arrow.x + 1, arrow.y});
    EXPECT_EQ(list.firstVisibleRow(), 5);

    host.up(arrow);
    EXPECT_EQ(autoRepeatState().intervalMs, 0u);
    EXPECT_EQ(autoRepeatState().zone, scrollZone::None);
    EXPECT_EQ(module.captureControl(), nullptr);
    host.autoRepeatTick();
    EXPECT_EQ(list.firstVisibleRow(), 5) << "no repeat after the release";
}

TEST_F(ListTest, LeavingTheHeldZoneStopsTheRepeatForThatPress) {
    ListControl& list = makeList();
    Point arrow = middle(list.scrollBar().downArrow);
    host.down(arrow);
    host.move({arrow.x - 60, arrow.y});
    EXPECT_EQ(autoRepeatState().intervalMs, 0u);
    EXPECT_EQ(list.heldZone(), scrollZone::None);
    host.move(arrow);
    host.autoRepeatTick();
    EXPECT_EQ(list.firstVisibleRow(), 2) << "coming back does not restart it";
    host.up(arrow);
}

TEST_F(ListTest, RepeatStopsAtTheEndOfTheTable) {
    ListControl& list = makeList();
    Point arrow = middle(list.scrollBar().downArrow);
    host.down(arrow);
    for (int i = 0; i < 60; ++i) host.autoRepeatTick();
    EXPECT_EQ(list.firstVisibleRow(), 30 - list.visibleRowCount() + 1);
    host.up(arrow);
}

TEST_F(ListTest, HoldingAboveOrBelowTheRowsScrollsOneRowPerMove) {
    ListControl& list = makeList({.notify = true});
    host.down(rowPoint(list, 1));
    Point below{rowPoint(list, 1).x, list.rect.bottom + 5};
    host.move(below);
    host.move(below);
    EXPECT_EQ(list.firstVisibleRow(), 3);
    EXPECT_EQ(list.currentRow(), 2 + list.visibleRowCount());
    host.move({below.x, list.rect.top - 5});
    EXPECT_EQ(list.firstVisibleRow(), 2);
    EXPECT_EQ(list.currentRow(), 2);
    host.up(below);
}

TEST_F(ListTest, KeysMoveTheRowAndHandTheEdgesOn) {
    ListControl& list = makeList({.notify = true});
    module.setFocusedControl(&list, false);
    host.pressKey(platform::vk::Down);
    EXPECT_EQ(list.currentRow(), 1);
    host.pressKey(platform::vk::Down);
    EXPECT_EQ(list.currentRow(), 2);
    host.pressKey(platform::vk::Up);
    host.pressKey(platform::vk::Up);
    EXPECT_EQ(list.currentRow(), 1);
    // Up on the first row is not the list's: the module gets it.
    EXPECT_EQ(module.keys.back(), platform::vk::Up);
    host.pressKey(platform::vk::Right);
    EXPECT_EQ(list.currentRow(), 1 + list.visibleRowCount());
    EXPECT_GE(list.currentRow(), list.firstVisibleRow());
    EXPECT_LT(list.currentRow(), list.firstVisibleRow() + list.visibleRowCount());
    host.pressKey(platform::vk::Return);
    EXPECT_EQ(module.pressed.size(), 1u);
    EXPECT_EQ(module.changed.size(), 4u) << "down, down, up, page";
}

TEST_F(ListTest, AnEmptyListSaysSoAndIgnoresPresses) {
    core::RecordTable empty{1};
    ListControl& list = makeList({.notify = true, .enterOnRelease = true});
    list.setTable(&empty);
    host.tap({list.rect.left + 20, list.rect.top + 20});
    EXPECT_EQ(module.captureControl(), nullptr);
    EXPECT_TRUE(module.changed.empty());
    EXPECT_TRUE(module.pressed.empty());
    EXPECT_FALSE(list.hasScrollBar());

    auto pixels = host.render();
    // Grey text in the middle of the white area, nothing in the selection colour.
    EXPECT_GT(test::countNear(*pixels, list.rowsRect(), kDisabledTextColour, 40), 20);
    EXPECT_EQ(test::countNear(*pixels, list.rowsRect(), host.theme().mainColour, 8), 0);
}

TEST_F(ListTest, TheCurrentRowIsDrawnInTheSelectionColours) {
    ListControl& list = makeList();
    list.selectRow(2, false);
    auto pixels = host.render();
    Rect rows = list.rowsRect();
    int h = list.rowHeight();
    Rect second{rows.left, rows.top + h, rows.right, rows.top + 2 * h};
    Rect third{rows.left, rows.top + 2 * h, rows.right, rows.top + 3 * h};
    EXPECT_GT(test::countNear(*pixels, second, host.theme().mainColour, 8), second.width() * h / 2);
    EXPECT_EQ(test::countNear(*pixels, third, host.theme().mainColour, 8), 0);
    EXPECT_GT(test::countNear(*pixels, third, 0x000000, 60), 10) << "dark text on white";
}

TEST_F(ListTest, ATableSharedWithOthersKeepsItsCurrentRowWhenTheListKeepsItsOwn) {
    table.setCurrentRow(7);
    RecordTableListModel shared(&table);
    shared.keepOwnCurrentRow();
    ListControl& list = makeList();
    list.setModel(&shared);
    EXPECT_EQ(list.currentRow(), 0);
    host.tap(rowPoint(list, 3));
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(table.currentRow(), 7);
    // Rows removed from the table: the list's own row stays inside them.
    while (table.rowCount() > 2) table.removeRow(table.rowCount());
    shared.rowsChanged();
    EXPECT_EQ(list.currentRow(), 2);
}

}  // namespace
