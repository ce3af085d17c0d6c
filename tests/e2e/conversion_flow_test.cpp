// The conversion screen driven as a traveller would: "Length" from the main menu, an amount
// typed on the keypad with the stylus, the answer read off the list; then the same with the
// device's hardware keys. The program tells its rows through `ctl app conversion`.

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// A 240x320 screen: the window starts below the 26-pixel task bar; the main menu's group
// cells are 39 pixels high in a column from 2,2, its entries 72 x 82 in two columns from 47,6.
constexpr int kTaskBar = 26;
constexpr int kConversionGroup = 6, kLengthEntry = 4;
// An id no subsystem registers: the placeholder screen, whose left soft key is the main menu's.
constexpr int kStartScreen = 12;

std::pair<int, int> groupPoint(int group) {
    return {21, kTaskBar + 2 + (group - 1) * 39 + 19};
}

std::pair<int, int> entryPoint(int entry) {
    int col = (entry - 1) % 2, row = (entry - 1) / 2;
    return {47 + col * 72 + 36, kTaskBar + 6 + row * 82 + 30};
}

// The keypad fills the 232-pixel width below the category bar (4,22 to 236,266 of the 240 x 268
// window, 232 x 193 centred), its keys laid out on a 240 x 200 picture: columns from 10, 66,
// 122 and 178, rows from 50, 87, 124 and 161, each key 52 x 33.
std::pair<int, int> keyPoint(int column, int row) {
    constexpr int kColumns[] = {10, 66, 122, 178}, kRows[] = {50, 87, 124, 161};
    int x = 4 + (kColumns[column] + 26) * 232 / 240;
    int y = kTaskBar + 47 + (kRows[row] + 16) * 193 / 200;
    return {x, y};
}

class ConversionFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string",
             std::to_string(kStartScreen)});
        startProgram(kStartScreen);
    }

    void openLength() {
        key("softleft");
        tap(groupPoint(kConversionGroup));
        tap(entryPoint(kLengthEntry));
        ASSERT_TRUE(waitForModule(64));
        EXPECT_EQ(registryValue("ConversionMode"), "4");
    }
    std::string rows() { return ask({"app", "conversion"}); }
};

TEST_F(ConversionFlowTest, AMarathonTypedOnTheKeypadReadsInMiles) {
    openLength();
    EXPECT_EQ(rows(), "Length: 1.000 km; 0.621 mi;");
    // The keypad opens on the first row (kilometres) with its value as the placeholder.
    key("enter");
    EXPECT_EQ(rows(), "Length: 1.000 km; 0.621 mi; keypad 1.000");
    for (auto [column, row] : {std::pair{0, 1}, {1, 0}, {0, 3}, {0, 0}, {2, 2}, {1, 1}})
        tap(keyPoint(column, row));  // 4 2 . 1 9 5
    EXPECT_EQ(rows(), "Length: 1.000 km; 0.621 mi; keypad 42.195");
    tap(keyPoint(3, 3));  // done
    EXPECT_EQ(rows(), "Length: 42.195 km; 26.219 mi;");
}

TEST_F(ConversionFlowTest, HardwareKeysTypeTheAmountAndBackCancels) {
    openLength();
    key("down");
    key("enter");                                              // the keypad on the miles row
    for (const char* name : {"2", "6", "delete", "2", "119"})  // 26.2, the star key a second "."
        key(name);
    key("backspace");
    key("1");
    EXPECT_EQ(rows(), "Length: 1.000 km; 0.621 mi; keypad 26.1");
    key("enter");
    EXPECT_EQ(rows(), "Length: 42.004 km; 26.100 mi;");
    // Back closes the keypad and converts nothing.
    key("enter");
    key("9");
    key("back");
    EXPECT_EQ(rows(), "Length: 42.004 km; 26.100 mi;");
    EXPECT_EQ(module(), 64);
    // Turning the device keeps what was entered.
    ask({"rotate"});
    EXPECT_EQ(rows(), "Length: 42.004 km; 26.100 mi;");
}

TEST_F(ConversionFlowTest, TheCategoryDropDownSwitchesAndStoresTheMode) {
    openLength();
    // The drop-down across the top, then a tap on "Volume", the sixth category.
    tap(120, kTaskBar + 11);
    tap(60, kTaskBar + 8 + 5 * 17 + 8);
    EXPECT_EQ(rows(), "Volume: 1.000 l; 0.264 gal (US);");
    EXPECT_EQ(registryValue("ConversionMode"), "1")
        << "a category without a mode reopens as currency";
    // With the keys this time: four up from Volume is Temperature, and OK.
    tap(120, kTaskBar + 11);
    for (int i = 0; i < 4; ++i) key("up");
    key("softleft");
    EXPECT_EQ(rows(), "Temperature: 1.00 \u00B0F; -17.22 \u00B0C; 255.93 K; 460.67 \u00B0R;");
    EXPECT_EQ(registryValue("ConversionMode"), "2");
}

}  // namespace
