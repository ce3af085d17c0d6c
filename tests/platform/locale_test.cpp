// Language ids, separators, date and time pictures and their formatting in three languages.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/device/state_store.h"
#include "platform/locale/locale_data.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr LanguageId kEnglishUs = 0x0409;
constexpr LanguageId kEnglishUk = 0x0809;
constexpr LanguageId kGerman = 0x0407;

class Locale : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-locale-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
    }
    void TearDown() override {
        state::Store::closeInstance();
        fs::remove_all(root_);
    }
    fs::path root_;
};

// 2026-12-08 was a Tuesday; the weekday field is deliberately wrong, as callers often leave it.
const SystemTime kTuesday{2026, 12, 0, 8, 14, 5, 9, 250};

TEST_F(Locale, LanguageIdsMapToLocaleNamesBothWays) {
    EXPECT_EQ(localeNameOf(kEnglishUs), "en_US");
    EXPECT_EQ(localeNameOf(kEnglishUk), "en_GB");
    EXPECT_EQ(localeNameOf(kGerman), "de_DE");
    EXPECT_FALSE(localeNameOf(0));
    EXPECT_FALSE(localeNameOf(0xFFFF));
    EXPECT_EQ(languageOfLocaleName("en-GB"), kEnglishUk);
    EXPECT_EQ(languageOfLocaleName("de_DE"), kGerman);
    EXPECT_EQ(languageOfLocaleName("en_US"), kEnglishUs);
    EXPECT_FALSE(languageOfLocaleName("xx_YY"));
    EXPECT_FALSE(languageOfLocaleName(""));
}

TEST_F(Locale, TheDeviceLanguageComesFromTheProfile) {
    EXPECT_EQ(userInterfaceLanguage(), kEnglishUs);
    EXPECT_EQ(decimalSeparator(), L".");
    EXPECT_TRUE(setUserInterfaceLanguage(kGerman));
    EXPECT_EQ(userInterfaceLanguage(), kGerman);
    EXPECT_EQ(decimalSeparator(), L",");
    EXPECT_EQ(monthName(3), L"März");
    EXPECT_FALSE(setUserInterfaceLanguage(0xFFFF));
    EXPECT_EQ(userInterfaceLanguage(), kGerman);
    // Unknown ids fall back to English - United States rather than to nothing.
    EXPECT_EQ(thousandsSeparator(0xFFFF), L",");
}

TEST_F(Locale, SeparatorsAndNumbers) {
    EXPECT_EQ(decimalSeparator(kEnglishUk), L".");
    EXPECT_EQ(thousandsSeparator(kEnglishUk), L",");
    EXPECT_EQ(decimalSeparator(kGerman), L",");
    EXPECT_EQ(thousandsSeparator(kGerman), L".");
    EXPECT_EQ(formatNumber(1234567.891, 2, kEnglishUs), L"1,234,567.89");
    EXPECT_EQ(formatNumber(1234567.891, 2, kGerman), L"1.234.567,89");
    EXPECT_EQ(formatNumber(-1234.5, 2, kEnglishUk), L"-1,234.50");
    EXPECT_EQ(formatNumber(2.5, 0, kEnglishUs), L"2");
    EXPECT_EQ(formatNumber(3.5, 0, kEnglishUs), L"4");
    EXPECT_EQ(formatNumber(0.125, 9, kEnglishUs), L"0.125000000");
}

TEST_F(Locale, PicturesInTheHandheldsLetters) {
    EXPECT_EQ(shortDatePicture(kEnglishUs), L"M/d/yyyy");
    EXPECT_EQ(longDatePicture(kEnglishUs), L"dddd, MMMM d, yyyy");
    EXPECT_EQ(timePicture(kEnglishUs), L"h:mm:ss tt");
    EXPECT_EQ(shortDatePicture(kEnglishUk), L"dd/MM/yyyy");
    EXPECT_EQ(longDatePicture(kEnglishUk), L"dddd, d MMMM yyyy");
    EXPECT_EQ(timePicture(kEnglishUk), L"HH:mm:ss");
    EXPECT_EQ(shortDatePicture(kGerman), L"dd.MM.yyyy");
    EXPECT_EQ(longDatePicture(kGerman), L"dddd, d. MMMM yyyy");
    EXPECT_EQ(timePicture(kGerman), L"HH:mm:ss");
}

TEST(PictureFromPattern, ConvertsFieldsAndQuotesLiterals) {
    EXPECT_EQ(pictureFromPattern(L"h:mm a zzzz"), L"h:mm tt");
    EXPECT_EQ(pictureFromPattern(L"d 'de' MMMM 'de' y"), L"d 'de' MMMM 'de' yyyy");
    EXPECT_EQ(pictureFromPattern(L"y\u5E74M\u6708d\u65E5EEEE"), L"yyyy\u5E74M\u6708d\u65E5dddd");
    EXPECT_EQ(pictureFromPattern(L"h 'o''clock' a"), L"h 'o''clock' tt");
    EXPECT_EQ(pictureFromPattern(L"G y"), L"yyyy");
    EXPECT_EQ(pictureFromPattern(L"EEE, d.M.yy"), L"ddd, d.M.yy");
    EXPECT_EQ(pictureFromPattern(L"HH:mm:ss.SSS"), L"HH:mm:ss.");
    EXPECT_EQ(pictureFromPattern(L"h:mm\u202Fa"), L"h:mm tt");
    EXPECT_EQ(pictureFromPattern(L"'unclosed"), L"'unclosed'");
}

TEST_F(Locale, DatesFormattedByPicture) {
    EXPECT_EQ(formatDate(kTuesday, L"ddd',' MMM dd", kEnglishUs), L"Tue, Dec 08");
    EXPECT_EQ(formatDate(kTuesday, L"MMMM yyyy", kEnglishUs), L"December 2026");
    EXPECT_EQ(formatDate(kTuesday, shortDatePicture(kEnglishUs), kEnglishUs), L"12/8/2026");
    EXPECT_EQ(formatDate(kTuesday, longDatePicture(kEnglishUs), kEnglishUs),
              L"Tuesday, December 8, 2026");
    EXPECT_EQ(formatDate(kTuesday, shortDatePicture(kEnglishUk), kEnglishUk), L"08/12/2026");
    EXPECT_EQ(formatDate(kTuesday, longDatePicture(kEnglishUk), kEnglishUk),
              L"Tuesday, 8 December 2026");
    EXPECT_EQ(formatDate(kTuesday, longDatePicture(kGerman), kGerman),
              L"Dienstag, 8. Dezember 2026");
    EXPECT_EQ(formatDate(kTuesday, L"ddd',' MMM dd", kGerman), L"Di, Dez 08");
    EXPECT_EQ(formatDate(kTuesday, shortDatePicture(kGerman), kGerman), L"08.12.2026");
    EXPECT_EQ(formatDate({2005, 3, 0, 1}, L"y|yy|yyyy|M|MM", kEnglishUs), L"5|05|2005|3|03");
    // Quoted text, doubled quotes, an unclosed quote; time letters are copied.
    EXPECT_EQ(formatDate(kTuesday, L"'d''M' d HH:mm 'x", kEnglishUs), L"d'M 8 HH:mm x");
    EXPECT_EQ(formatDate(kTuesday, L"", kEnglishUs), L"");
}

TEST_F(Locale, TimesFormattedByPicture) {
    EXPECT_EQ(formatTime(kTuesday, L"HH':'mm tt", kEnglishUs), L"14:05 PM");
    EXPECT_EQ(formatTime(kTuesday, L"HH':'mm", kGerman), L"14:05");
    EXPECT_EQ(formatTime(kTuesday, timePicture(kEnglishUs), kEnglishUs), L"2:05:09 PM");
    EXPECT_EQ(formatTime(kTuesday, L"hh t|H|m|s", kEnglishUs), L"02 P|14|5|9");
    EXPECT_EQ(formatTime({2026, 12, 0, 8, 0, 7}, L"h:mm tt", kEnglishUs), L"12:07 AM");
    EXPECT_EQ(formatTime({2026, 12, 0, 8, 12, 0}, L"h tt", kEnglishUs), L"12 PM");
    EXPECT_EQ(formatTime(kTuesday, L"d MMMM HH", kEnglishUs), L"d MMMM 14");
}

TEST_F(Locale, InvalidTimesAreNotFormatted) {
    EXPECT_FALSE(formatDate({2026, 13, 0, 1}, L"d", kEnglishUs));
    EXPECT_FALSE(formatDate({2026, 2, 0, 29}, L"d", kEnglishUs));
    EXPECT_TRUE(formatDate({2024, 2, 0, 29}, L"d", kEnglishUs));
    EXPECT_FALSE(formatTime({2026, 1, 0, 1, 24, 0}, L"HH", kEnglishUs));
    EXPECT_FALSE(formatTime({2026, 1, 0, 1, 10, 60}, L"HH", kEnglishUs));
}

TEST_F(Locale, DayAndMonthNames) {
    EXPECT_EQ(dayName(0, kEnglishUs), L"Sunday");
    EXPECT_EQ(dayName(2, kEnglishUs), L"Tuesday");
    EXPECT_EQ(abbreviatedDayName(6, kEnglishUs), L"Sat");
    EXPECT_EQ(dayName(2, kGerman), L"Dienstag");
    EXPECT_EQ(abbreviatedDayName(2, kGerman), L"Di");
    EXPECT_EQ(monthName(1, kEnglishUk), L"January");
    EXPECT_EQ(abbreviatedMonthName(12, kEnglishUs), L"Dec");
    EXPECT_EQ(monthName(12, kGerman), L"Dezember");
    EXPECT_EQ(abbreviatedMonthName(3, kGerman), L"Mär");
    EXPECT_EQ(amDesignator(kEnglishUs), L"AM");
    EXPECT_EQ(pmDesignator(kEnglishUs), L"PM");
    EXPECT_EQ(dayName(7, kEnglishUs), L"");
    EXPECT_EQ(dayName(-1, kEnglishUs), L"");
    EXPECT_EQ(monthName(0, kEnglishUs), L"");
    EXPECT_EQ(monthName(13, kEnglishUs), L"");
}

// The conventions kept in the store read back as the locale library gave them; a damaged row
// is not used.
TEST_F(Locale, KeptConventionsReadBackWholeAndDamagedOnesAreRefused) {
    using namespace platform::locale;
    EXPECT_EQ(keptLocaleData(kGerman), nullptr) << "nothing kept on a new device";
    auto fresh = localeDataFromLibrary(kGerman);
    keepLocaleData(*fresh);
    auto kept = keptLocaleData(kGerman);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->language, kGerman);
    EXPECT_EQ(kept->shortDate, fresh->shortDate);
    EXPECT_EQ(kept->longDate, fresh->longDate);
    EXPECT_EQ(kept->time, fresh->time);
    EXPECT_EQ(kept->am, fresh->am);
    EXPECT_EQ(kept->pm, fresh->pm);
    EXPECT_EQ(kept->era, fresh->era);
    EXPECT_EQ(kept->days, fresh->days);
    EXPECT_EQ(kept->shortDays, fresh->shortDays);
    EXPECT_EQ(kept->months, fresh->months);
    EXPECT_EQ(kept->shortMonths, fresh->shortMonths);
    EXPECT_EQ(kept->monthsInDate, fresh->monthsInDate);
    EXPECT_EQ(kept->days[2], L"Dienstag");
    EXPECT_EQ(keptLocaleData(kEnglishUs), nullptr) << "kept per language";

    auto& store = state::Store::instance();
    auto damage = [&](const char* sql) {
        std::lock_guard lock(store.mutex());
        store.transaction([&] { store.exec(sql); });
    };
    damage("UPDATE locale_conventions SET fields = fields || char(31) || 'extra'");
    EXPECT_EQ(keptLocaleData(kGerman), nullptr) << "one field too many";
    keepLocaleData(*fresh);
    damage("UPDATE locale_conventions SET fields = substr(fields, 1, 20)");
    EXPECT_EQ(keptLocaleData(kGerman), nullptr) << "cut short";
    keepLocaleData(*fresh);
    damage(
        "UPDATE locale_conventions SET fields = replace(fields, 'Dienstag', printf('%.300c', "
        "'x'))");
    EXPECT_EQ(keptLocaleData(kGerman), nullptr) << "a field longer than any convention";
}

}  // namespace

namespace {

TEST(SearchLetter, FoldsCaseAndAccentsButKeepsLettersOfTheirOwn) {
    std::wstring folded;
    for (wchar_t c : std::wstring_view(L"ÅÉéíÑÇŁøßƏЖЁ Ab-9")) folded += searchLetter(c);
    // Ł, ø, ß and Ə are letters of their own, not accented forms; Ё is Е with a diaeresis.
    EXPECT_EQ(folded, L"aeeincłøßəже ab-9");
    EXPECT_EQ(searchLetter(L'\x4E2D'), L'\x4E2D');  // beyond the alphabets: unchanged
}

}  // namespace
