// The native date/time picker through its toolkit wrapper: the time and long-date kinds,
// fields changed with Up and Down, chosen with Left, Right and the stylus, typed digits, and
// the change notifications that come back to the control.

#include <gtest/gtest.h>

#include "platform/api/locale.h"
#include "platform/controls/date_time_fields.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/date_time_picker.h"

using namespace ui;
using namespace platform;
using platform::controls::FieldKind;

namespace {

SystemTime at(int year, int month, int day, int hour, int minute) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return t;
}

class PickerTest : public ::testing::Test {
  protected:
    DateTimePicker& make(int kind) {
        auto& picker = static_cast<DateTimePicker&>(
            module.addControl(std::make_unique<DateTimePicker>(host, kind)));
        picker.place({10, 10, 200, 34}, nullptr);
        picker.show(true, false);
        host.attach(module);
        module.setFocusedControl(&picker, false);
        return picker;
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(PickerTest, TheTimeKindShowsHoursAndMinutesAndWrapsEachField) {
    DateTimePicker& picker = make(pickerKind::Time);
    EXPECT_EQ(picker.kind, controlKind::DateTimePicker);
    EXPECT_EQ(windowStyle(picker.nativeWindow()) & dts::TimeFormat, dts::TimeFormat);
    ASSERT_TRUE(picker.setTime(at(2024, 3, 10, 23, 59)));
    EXPECT_EQ(picker.changeCount(), 0) << "setting the time is not a change by the user";

    host.pressKey(vk::Up);  // the hour is chosen first
    EXPECT_EQ(picker.time().hour, 0);
    EXPECT_EQ(picker.time().day, 10) << "no carry into the date";
    host.pressKey(vk::Right);
    host.pressKey(vk::Up);
    EXPECT_EQ(picker.time().minute, 0);
    EXPECT_EQ(picker.time().hour, 0) << "no carry into the hour";
    host.pressKey(vk::Down);
    EXPECT_EQ(picker.time().minute, 59);
    EXPECT_EQ(picker.changeCount(), 3);
    EXPECT_EQ(module.changed.size(), 3u);
    // Right past the last field comes back to the first.
    host.pressKey(vk::Right);
    host.pressKey(vk::Down);
    EXPECT_EQ(picker.time().hour, 23);
}

TEST_F(PickerTest, TheDateKindClampsTheDayToTheMonth) {
    DateTimePicker& picker = make(pickerKind::Date);
    ASSERT_TRUE(picker.setTime(at(2023, 1, 31, 8, 0)));
    // Choose the month field with the stylus: find it by stepping from the left.
    auto fields = controls::parsePicture(longDatePicture());
    int monthSteps = 0;
    for (const auto& f : fields) {
        if (f.kind == FieldKind::Month)
            break;
        if (f.editable())
            ++monthSteps;
    }
    for (int i = 0; i < monthSteps; ++i) host.pressKey(vk::Right);
    host.pressKey(vk::Up);
    EXPECT_EQ(picker.time().month, 2);
    EXPECT_EQ(picker.time().day, 28);
    EXPECT_EQ(picker.time().dayOfWeek, 2) << "28 February 2023 was a Tuesday";
    EXPECT_FALSE(picker.setTime(at(2023, 2, 30, 0, 0)));
    EXPECT_EQ(picker.time().day, 28);
}

TEST_F(PickerTest, DigitsTypeIntoTheChosenField) {
    DateTimePicker& picker = make(pickerKind::Time);
    picker.setTime(at(2024, 5, 5, 9, 15));
    host.pressKey(vk::Digit0 + 1);
    host.pressKey(vk::Digit0 + 7);
    EXPECT_EQ(picker.time().hour, 17);
    host.pressKey(vk::Digit0 + 9);  // 179 is no hour: a new number starts
    EXPECT_EQ(picker.time().hour, 9);
    host.pressKey(vk::Right);
    host.pressKey(vk::Digit0 + 4);
    host.pressKey(vk::Digit0 + 5);
    EXPECT_EQ(picker.time().minute, 45);
}

TEST_F(PickerTest, TheStylusChoosesFieldsAndTheUpDownButtonSteps) {
    DateTimePicker& picker = make(pickerKind::Time);
    picker.setTime(at(2024, 5, 5, 9, 15));
    WindowHandle w = picker.nativeWindow();
    Rect client = clientRect(w);
    int buttonX = client.right - 3;
    // The lower half of the button steps down the chosen field (the hour).
    sendMessage(w, wm::LButtonDown, 1, makeLParam(buttonX, client.bottom - 3));
    EXPECT_EQ(picker.time().hour, 8);
    // The minutes sit right of the middle of "08:15"; tap them, then the upper half.
    auto dc = windowDc(w);
    sendMessage(w, wm::LButtonDown, 1, makeLParam(3 + dc->textExtent(L"08:1").width, 5));
    sendMessage(w, wm::LButtonDown, 1, makeLParam(buttonX, 2));
    EXPECT_EQ(picker.time().minute, 16);
    EXPECT_EQ(picker.time().hour, 8);
}

TEST_F(PickerTest, TheNotificationCarriesTheNewTime) {
    DateTimePicker& picker = make(pickerKind::Time);
    picker.setTime(at(2024, 5, 5, 9, 15));
    static DateTimeChange seen;
    static int count = 0;
    count = 0;
    WindowProc previous = setWindowProc(
        host.mainWindow(), [](WindowHandle, std::uint32_t m, WParam, LParam lp) -> LResult {
            if (m == wm::Notify) {
                seen = *reinterpret_cast<const DateTimeChange*>(lp);
                ++count;
            }
            return 0;
        });
    host.pressKey(vk::Up);
    setWindowProc(host.mainWindow(), previous);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(seen.header.code, 0xFFFFFD09u);
    EXPECT_EQ(seen.header.from, picker.nativeWindow());
    EXPECT_EQ(seen.time.hour, 10);
    EXPECT_EQ(seen.time.minute, 15);
}

TEST(DateTimeFields, PicturesSplitIntoFieldsAndLiterals) {
    auto fields = controls::parsePicture(L"dddd', 'd MMMM yyyy HH':'mm tt");
    std::vector<FieldKind> kinds;
    for (const auto& f : fields) kinds.push_back(f.kind);
    EXPECT_EQ(kinds, (std::vector<FieldKind>{
                         FieldKind::Weekday, FieldKind::Literal, FieldKind::Day, FieldKind::Literal,
                         FieldKind::Month, FieldKind::Literal, FieldKind::Year, FieldKind::Literal,
                         FieldKind::Hour24, FieldKind::Literal, FieldKind::Minute,
                         FieldKind::Literal, FieldKind::AmPm}));
    EXPECT_EQ(fields[1].picture, L", ");
    EXPECT_EQ(controls::parsePicture(L"'it''s'")[0].picture, L"it's");
    // The 12-hour field stays in its half of the day; AM/PM flips it.
    SystemTime t = at(2024, 1, 1, 11, 0);
    EXPECT_EQ(controls::stepField(t, FieldKind::Hour12, 1).hour, 0);
    EXPECT_EQ(controls::stepField(t, FieldKind::AmPm, 1).hour, 23);
    EXPECT_EQ(controls::stepField(at(2024, 2, 29, 0, 0), FieldKind::Year, 1).day, 28);
}

}  // namespace
