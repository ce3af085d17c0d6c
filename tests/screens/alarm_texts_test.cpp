// The words of the alarm screens: the "when" of an armed alarm against the present, the
// repeat summaries, the ordinal days and the stored date form they read.

#include <gtest/gtest.h>

#include "alarms/screens/alarm_texts.h"
#include "core/language.h"
#include "tests/screens/support/alarm_fixture.h"

using namespace platform;

namespace alarms::test {
namespace {

class AlarmTextsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        screens::test::screenTestDevice();
        core::buildLanguageList(L"\\Program Files\\Vorn Roamer\\", 1, 9);
        core::openLanguage(L"\\Program Files\\Vorn Roamer\\", true, true);
    }
    static std::wstring date(const SystemTime& t) {
        return std::to_wstring(t.day) + L"/" + std::to_wstring(t.month) + L"/" +
               std::to_wstring(t.year);
    }
    std::wstring when(std::optional<SystemTime> start, const SystemTime& now) {
        return whenText(start, true, now, date);
    }
};

TEST_F(AlarmTextsTest, WhenTextCountsDaysHoursAndMinutes) {
    const SystemTime now = localAt(2026, 12, 8, 10, 30);
    EXPECT_EQ(when(std::nullopt, now), L"Not set");
    EXPECT_EQ(whenText(localAt(2026, 12, 9, 7, 0), false, now, date), L"Time unknown");
    EXPECT_EQ(when(localAt(2027, 1, 2, 7, 0), now), L"2/1/2027") << "a later year";
    EXPECT_EQ(when(localAt(2027, 12, 8, 11, 0), now), L"8/12/2027") << "same month, later year";
    EXPECT_EQ(when(localAt(2026, 12, 9, 7, 0), now), L"Tomorrow");
    EXPECT_EQ(when(localAt(2026, 12, 31, 23, 59), now), L"In 23 days");
    EXPECT_EQ(when(localAt(2026, 12, 8, 22, 29), now), L"In 11 hours");
    EXPECT_EQ(when(localAt(2026, 12, 8, 11, 30), now), L"In 1 hours");
    EXPECT_EQ(when(localAt(2026, 12, 8, 11, 29), now), L"In 59 minutes");
    EXPECT_EQ(when(localAt(2026, 12, 8, 10, 31), now), L"In 1 minutes");
    SystemTime seconds = now;
    seconds.second = 30;
    EXPECT_EQ(when(seconds, now), L"Now");
    // A start that passed while the notification waits still reads as due, not as a
    // count of negative days.
    EXPECT_EQ(when(localAt(2026, 12, 1, 7, 0), now), L"Now");
    EXPECT_EQ(when(localAt(2025, 12, 31, 7, 0), now), L"Now");
}

TEST_F(AlarmTextsTest, RepeatTextsOfEveryKind) {
    RepeatFields f;
    f.kind = 1;
    f.startDate = {24, 12, 2026};
    EXPECT_EQ(repeatText(f, date), L"24/12/2026");
    f.startDate = {31, 2, 2026};
    EXPECT_EQ(repeatText(f, date), L"31:2:2026") << "a date that does not exist is shown as stored";
    f.kind = 2;
    EXPECT_EQ(repeatText(f, date), L"Every day");
    f.kind = 5;
    f.dayOfMonth = 31;
    EXPECT_EQ(repeatText(f, date), L"Monthly on day 31");
    f.kind = 6;
    f.month = 3;
    for (auto [day, text] : {std::pair{1, L"1st March every year"},
                             {2, L"2nd March every year"},
                             {3, L"3rd March every year"},
                             {11, L"11th March every year"},
                             {12, L"12th March every year"},
                             {21, L"21st March every year"},
                             {22, L"22nd March every year"},
                             {23, L"23rd March every year"},
                             {31, L"31st March every year"}}) {
        f.dayOfMonth = day;
        EXPECT_EQ(repeatText(f, date), text);
    }
    f.kind = 3;
    f.dayMask = 64 | 1 | 32;
    EXPECT_EQ(repeatText(f, date), L"Mon,Sat,Sun") << "Monday first, whatever the bits' order";
    f.kind = 7;
    f.dayMask = 0;
    EXPECT_EQ(repeatText(f, date), L"N/A");
    f.kind = 4;
    EXPECT_EQ(repeatText(f, date), L"Working days") << "rings Monday to Friday all the same";
    f.dayMask = 2;
    EXPECT_EQ(repeatText(f, date), L"Tue");
    f.kind = 9;
    EXPECT_EQ(repeatText(f, date), L"");
}

TEST_F(AlarmTextsTest, StoredDatesAreDatesOnlyWhenReal) {
    auto d = dateOf({29, 2, 2028});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->day, 29);
    EXPECT_EQ(d->month, 2);
    EXPECT_EQ(d->year, 2028);
    EXPECT_EQ(d->dayOfWeek, 2);
    for (AlarmDate bad : {AlarmDate{29, 2, 2027}, AlarmDate{0, 0, 0}, AlarmDate{1, 13, 2026},
                          AlarmDate{-1, 1, 2026}, AlarmDate{1, 1, 99999}, AlarmDate{31, 4, 2026}}) {
        EXPECT_FALSE(dateOf(bad)) << platform::toUtf8(dateText(bad));
    }
}

TEST_F(AlarmTextsTest, StatesAfterTheName) {
    EXPECT_EQ(stateSuffix(AlarmState::Off, L"Paris"), L" : Off");
    EXPECT_EQ(stateSuffix(AlarmState::Expired, L""), L" : Expired");
    EXPECT_EQ(stateSuffix(AlarmState::Armed, L"Paris"), L" : Paris");
    EXPECT_EQ(stateSuffix(AlarmState::Armed, L""), L"");
}

}  // namespace
}  // namespace alarms::test
