// The moon (module 24) and the dialling codes (module 23) in the program's own application
// on a 240x320 test device at fixed device times: the moon's texts and picture at known
// phases and in the current favourite's time, the day steps, and the dialling list's letter
// groups by key and tap and its empty state.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "core/settings.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/world_time_fixture.h"
#include "ui/label.h"
#include "worldtime/dial_codes.h"
#include "worldtime/screens/dial_code_list.h"
#include "worldtime/screens/dial_codes_screen.h"
#include "worldtime/screens/moon_screen.h"
#include "worldtime/screens/moon_view.h"
#include "worldtime/screens/screens.h"

using namespace platform;
using namespace worldtime;
using worldtime::test::installFolder;
using worldtime::test::utcAt;

namespace {

constexpr int kDialCodes = 23;
constexpr int kMoon = 24;

class InternationalScreens : public worldtime::test::WorldTimeScreenTest {
  protected:
    MoonScreen& moon() { return *static_cast<MoonScreen*>(app_->currentModule()); }
    DialCodesScreen& dial() { return *static_cast<DialCodesScreen*>(app_->currentModule()); }
};

}  // namespace

namespace {

// The mean brightness of the picture's opaque pixels in a band of columns.
double brightness(const gfx::TargaPixels& picture, int fromColumn, int toColumn) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = fromColumn; x < toColumn; ++x) {
            const std::uint8_t* p = picture.row(y) + x * picture.bytesPerPixel;
            if (picture.bytesPerPixel == 4 && p[3] == 0)
                continue;
            sum += p[0] + p[1] + p[2];
            ++count;
        }
    }
    return count ? sum / count : 0;
}

}  // namespace

TEST_F(InternationalScreens, MoonNearANewMoonInTheCurrentCitysTime) {
    // Half an hour before the new moon of 2026-01-18 19:52 UTC, with London current.
    setClockOverride(utcAt(2026, 1, 18, 19, 20));
    open(kMoon);
    EXPECT_EQ(label(moonId::Lit), L"New moon");
    EXPECT_EQ(label(moonId::NextDate).substr(0, 20), L"18 January 2026 19:5");
    EXPECT_EQ(label(moonId::LastDate).substr(0, 21), L"20 December 2025 01:4");
    EXPECT_EQ(label(moonId::Age).substr(0, 13), L"Age: 29 days ");
    EXPECT_EQ(label(moonId::Distance).substr(0, 10), L"Distance: ");

    // With Tokyo current the same new moon falls at 04:5x on the 19th.
    app_.reset();
    pump();
    core::writeNumberSetting(L"FavCity", 3);
    open(kMoon);
    EXPECT_EQ(label(moonId::NextDate).substr(0, 20), L"19 January 2026 04:5");

    // A day on, that new moon is the last one; Enter returns to the present.
    key(vk::Right);
    EXPECT_EQ(moon().dayShift(), 1);
    EXPECT_EQ(label(moonId::LastDate).substr(0, 20), L"19 January 2026 04:5");
    EXPECT_LE(moon().report().newMoons.last, moon().report().julianDate);
    key(vk::Return);
    EXPECT_EQ(moon().dayShift(), 0);
    EXPECT_EQ(label(moonId::NextDate).substr(0, 20), L"19 January 2026 04:5");
}

TEST_F(InternationalScreens, MoonPictureMatchesThePhase) {
    // Full moon of 2026-01-03 10:03 UTC: nothing darkened, the whole disc lit.
    setClockOverride(utcAt(2026, 1, 3, 10, 3));
    open(kMoon);
    // The lit part is cut to whole percent: a moment off the exact full moon reads 99.
    EXPECT_EQ(label(moonId::Lit), L"99% lit");
    const gfx::TargaPixels& full = moon().view()->shaded();
    ASSERT_GT(full.width, 50);
    const int w = full.width;
    const double fullLeft = brightness(full, w / 8, w * 3 / 8);
    const double fullRight = brightness(full, w * 5 / 8, w * 7 / 8);
    EXPECT_NEAR(fullLeft / fullRight, 1.0, 0.15);

    // Seven days later (waning, past the last quarter on the 10th) the left part is lit and
    // the right part is in shadow.
    for (int day = 0; day < 8; ++day) key(vk::Right);
    EXPECT_GT(moon().report().state.phase, 0.75);
    const gfx::TargaPixels& waning = moon().view()->shaded();
    EXPECT_LT(brightness(waning, w * 5 / 8, w * 7 / 8), fullRight * 0.7);
    EXPECT_NEAR(brightness(waning, w / 8, w * 3 / 8), fullLeft, fullLeft * 0.15);
    EXPECT_NE(label(moonId::Lit), L"99% lit");
}

TEST_F(InternationalScreens, DialCodesByLetterGroupKeysAndTaps) {
    open(kDialCodes);
    const int all = dial().all().rowCount();
    ASSERT_GE(all, 240);
    EXPECT_EQ(dial().group(), kAllLettersGroup);
    EXPECT_EQ(dial().view().rowCount(), all);
    EXPECT_EQ(dial().list()->currentRow(), 1);

    // Right goes round from "all" to "abc".
    key(vk::Right);
    EXPECT_EQ(dial().group(), 1);
    EXPECT_EQ(dial().view().fieldText(1, dialField::Country), L"Afghanistan");

    // A letter goes to its group and its first country.
    key(vk::LetterA + ('y' - 'a'));
    EXPECT_EQ(dial().group(), 9);
    ASSERT_GE(dial().list()->currentRow(), 1);
    EXPECT_EQ(dial().view().fieldText(dial().list()->currentRow(), dialField::Country), L"Yemen");
    for (int row = 1; row <= dial().view().rowCount(); ++row) {
        wchar_t initial = dial().view().fieldText(row, dialField::Country).front();
        EXPECT_TRUE(initial == L'Y' || initial == L'Z') << row;
    }
    key(vk::LetterA + ('u' - 'a'));
    EXPECT_EQ(dial().group(), 7);
    EXPECT_EQ(dial().view().fieldText(dial().list()->currentRow(), dialField::Country),
              L"U.S. Virgin Islands");

    // A tap on the "def" cell shows that group from its first country.
    auto* bar = app_->currentModule()->findControl<LetterGroupBar>(dialCodesId::Groups);
    ASSERT_NE(bar, nullptr);
    Rect cell = bar->cellRect(2);
    tap({(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
    EXPECT_EQ(dial().group(), 2);
    EXPECT_EQ(dial().view().fieldText(dial().list()->currentRow(), dialField::Country),
              L"Democratic Republic of the Congo");
}

TEST_F(InternationalScreens, WithoutTheTableTheDialListIsEmptyAndSaysSo) {
    const auto table = installFolder() / "dialcodes.dat";
    const auto aside = installFolder() / "dialcodes.aside";
    std::filesystem::rename(table, aside);
    open(kDialCodes);
    EXPECT_EQ(dial().all().rowCount(), 0);
    EXPECT_FALSE(dial().list()->isVisible);
    EXPECT_TRUE(app_->currentModule()->findControl(dialCodesId::Empty)->isVisible);
    EXPECT_EQ(label(dialCodesId::Empty), L"No countries in this group.");
    // The groups still step, and stay empty.
    key(vk::Right);
    EXPECT_EQ(dial().group(), 1);
    EXPECT_EQ(dial().view().rowCount(), 0);
    app_.reset();
    pump();
    std::filesystem::rename(aside, table);
}

TEST_F(InternationalScreens, GroupRowAndDayShiftSurviveATurnOfTheScreen) {
    open(kDialCodes);
    key(vk::LetterA + ('g' - 'a'));
    key(vk::Down);
    ASSERT_EQ(dial().group(), 3);
    const std::wstring chosen(
        dial().view().fieldText(dial().list()->currentRow(), dialField::Country));
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(dial().group(), 3);
    EXPECT_EQ(dial().view().fieldText(dial().list()->currentRow(), dialField::Country), chosen);
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    app_.reset();
    pump();

    open(kMoon);
    key(vk::Left);
    key(vk::Left);
    ASSERT_EQ(moon().dayShift(), -2);
    const std::wstring last = label(moonId::LastDate);
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(moon().dayShift(), -2);
    EXPECT_EQ(label(moonId::LastDate), last);
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
}
