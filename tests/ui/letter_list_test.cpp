// The key-pad letter jump: digit groups, repeated digits stepping through a group, the
// process-wide last digit, and the letter list jumping to the first matching row.

#include <gtest/gtest.h>

#include "tests/ui/support/ui_test_support.h"
#include "ui/keypad_letters.h"
#include "ui/letter_list.h"

using namespace ui;
using platform::vk::Digit0;

namespace {

std::wstring presses(std::initializer_list<int> digits) {
    std::wstring out;
    for (int d : digits) out += keypadCharacter(d);
    return out;
}

TEST(KeypadLetters, RepeatedDigitsStepThroughTheirGroupAndWrap) {
    resetKeypadDigit();
    EXPECT_EQ(presses({7, 7, 7, 7, 7}), L"pqrs7");
    resetKeypadDigit();
    EXPECT_EQ(presses({2, 2, 2, 2, 2}), L"abc2a");
    resetKeypadDigit();
    EXPECT_EQ(presses({3, 2, 2, 9, 9, 9, 9, 9}), L"dabwxyz9");
    resetKeypadDigit();
    EXPECT_EQ(presses({0, 0, 1, 1}), L"0011");
    EXPECT_EQ(keypadCharacter(10), 0);
    EXPECT_EQ(keypadGroup(-1), L"");
}

TEST(KeypadLetters, LettersAloneWrapWithinTheLetters) {
    auto letters = [](std::initializer_list<int> digits) {
        std::wstring out;
        for (int d : digits) out += keypadLetter(d);
        return out;
    };
    resetKeypadDigit();
    EXPECT_EQ(letters({7, 7, 7, 7, 7}), L"pqrsp");
    resetKeypadDigit();
    EXPECT_EQ(letters({2, 3, 2}), L"ada");
    resetKeypadDigit();
    EXPECT_EQ(letters({8, 8, 8, 8, 9, 9, 9, 9, 9}), L"tuvtwxyzw");
    // 0 and 1 hold no letters and start the next digit afresh.
    resetKeypadDigit();
    EXPECT_EQ(keypadLetter(2), L'a');
    EXPECT_EQ(keypadLetter(1), 0);
    EXPECT_EQ(keypadLetter(2), L'a');
    EXPECT_EQ(keypadLetter(-3), 0);
}

TEST(KeypadLetters, ANonDigitKeyStartsTheNextDigitAfresh) {
    resetKeypadDigit();
    EXPECT_EQ(keypadCharacter(5), L'j');
    resetKeypadDigit();
    EXPECT_EQ(keypadCharacter(5), L'j');
    EXPECT_EQ(keypadCharacter(5), L'k');
}

class LetterListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetKeypadDigit();
        for (const wchar_t* name : {L"Amsterdam", L"Bangkok", L"Cairo", L"Dakar", L"Delhi",
                                    L"Paris", L"Quito", L"Rome", L"Sydney", L"7 Seas"}) {
            table.setField(table.appendRow(), 1, name);
        }
        auto made = std::make_unique<LetterList>(ListOptions{.notify = true});
        list = static_cast<LetterList*>(&module.addControl(std::move(made)));
        list->setTable(&table);
        list->place({0, 0, 200, 60}, nullptr);
        list->show(true, false);
        host.attach(module);
        module.setFocusedControl(list, false);
    }

    std::wstring currentName() const {
        return std::wstring(table.fieldText(table.currentRow(), 1));
    }

    test::TestHost host;
    test::RecordingModule module{host};
    core::RecordTable table{1};
    LetterList* list = nullptr;
};

TEST_F(LetterListTest, SevenFiveTimesVisitsPQRSAndSeven) {
    std::vector<std::wstring> seen;
    for (int i = 0; i < 5; ++i) {
        host.pressKey(Digit0 + 7);
        seen.push_back(currentName());
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Paris", L"Quito", L"Rome", L"Sydney", L"7 Seas"}));
    // The jumped-to row comes into view.
    EXPECT_LE(list->firstVisibleRow(), list->currentRow());
    EXPECT_GT(list->firstVisibleRow() + list->visibleRowCount(), list->currentRow());
    EXPECT_EQ(module.changed.size(), 5u);
}

TEST_F(LetterListTest, ThreeThenTwoJumpsToDThenA) {
    host.pressKey(Digit0 + 3);
    EXPECT_EQ(currentName(), L"Dakar");
    host.pressKey(Digit0 + 2);
    EXPECT_EQ(currentName(), L"Amsterdam");
    // 2 again is "b"; an arrow in between would have started over at "a".
    host.pressKey(Digit0 + 2);
    EXPECT_EQ(currentName(), L"Bangkok");
    host.pressKey(platform::vk::Down);
    EXPECT_EQ(currentName(), L"Cairo");
    host.pressKey(Digit0 + 2);
    EXPECT_EQ(currentName(), L"Amsterdam");
}

TEST_F(LetterListTest, NoMatchOrTheSameRowChangesNothing) {
    host.pressKey(Digit0 + 3);
    ASSERT_EQ(currentName(), L"Dakar");
    module.changed.clear();
    host.pressKey(Digit0 + 3);  // "e": no city starts with it
    EXPECT_EQ(currentName(), L"Dakar");
    EXPECT_TRUE(list->jumpTo(L'd') == false) << "already current";
    EXPECT_TRUE(module.changed.empty());
}

TEST_F(LetterListTest, TheLastDigitIsSharedByEveryList) {
    core::RecordTable other{1};
    other.setField(other.appendRow(), 1, L"apple");
    other.setField(other.appendRow(), 1, L"banana");
    LetterList second;
    second.setTable(&other);
    host.pressKey(Digit0 + 2);  // the focused list takes "a"
    second.key(platform::wm::KeyDown, Digit0 + 2, 0);
    EXPECT_EQ(other.fieldText(other.currentRow(), 1), L"banana");
}

}  // namespace
