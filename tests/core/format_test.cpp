// The checked formatter: printf conversions with their flags, and conversions that do not
// match their arguments, which print as written instead of misreading them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/format.h"

using core::formatText;

namespace {

TEST(Format, IntegerConversions) {
    EXPECT_EQ(formatText(L"%d|%i|%5d|%-5d|%05d|%+d|% d", 42, -7, 3, 3, -42, 5, 5),
              L"42|-7|    3|3    |-0042|+5| 5");
    EXPECT_EQ(formatText(L"%02d:%02d", 9, 5), L"09:05");
    EXPECT_EQ(formatText(L"%ld %lu %lX %x %#x %o", 70000L, 4000000000UL, 0xC0AL, 255, 255, 8),
              L"70000 4000000000 C0A ff 0xff 10");
    // Unsigned conversions see the argument's own width.
    EXPECT_EQ(formatText(L"%u %X", -1, static_cast<std::int16_t>(-1)), L"4294967295 FFFF");
    EXPECT_EQ(formatText(L"%lld %I64d", INT64_MIN, std::int64_t{1} << 40),
              L"-9223372036854775808 1099511627776");
    EXPECT_EQ(formatText(L"%d", UINT64_MAX), L"9223372036854775807");
    EXPECT_EQ(formatText(L"%.3d", 7), L"007");
}

TEST(Format, RealConversions) {
    EXPECT_EQ(formatText(L"%f %.2f %.0f %8.3f", 1.5, 3.14159, 2.5, -1.0),
              L"1.500000 3.14 2   -1.000");
    EXPECT_EQ(formatText(L"%e %g %G", 12345.678, 0.0001, 1e20), L"1.234568e+04 0.0001 1E+20");
    // An integer where a real is expected is widened.
    EXPECT_EQ(formatText(L"%.1f", 3), L"3.0");
    EXPECT_EQ(formatText(L"%.1f", 2.0f), L"2.0");
}

TEST(Format, TextAndCharacters) {
    std::wstring city = L"Z\u00fcrich";
    EXPECT_EQ(formatText(L"%s, %ls, %S", city, L"wide", "utf8 \xC3\xA9"),
              L"Z\u00fcrich, wide, utf8 \u00e9");
    EXPECT_EQ(formatText(L"[%8s][%-4s][%.2s]", L"abc", L"ab", L"abcdef"), L"[     abc][ab  ][ab]");
    EXPECT_EQ(formatText(L"%c%c%lc|%3c", L'a', 'b', 0x263A, L'x'), L"ab\u263A|  x");
    EXPECT_EQ(formatText(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(formatText(L"[%c]", 0), L"[]");
    EXPECT_EQ(formatText(L"%c", 0xD800), L"\uFFFD");
    EXPECT_EQ(formatText(L"%s\u00b0 %s'", L"12", L"30"), L"12\u00b0 30'");
}

TEST(Format, PercentAndStarWidths) {
    EXPECT_EQ(formatText(L"100%% %d%%", 5), L"100% 5%");
    EXPECT_EQ(formatText(L"[%*d][%-*d][%.*f]", 4, 7, 3, 7, 1, 2.25), L"[   7][7  ][2.2]");
    EXPECT_EQ(formatText(L"[%*d]", -4, 7), L"[7   ]");
    EXPECT_EQ(formatText(L"trailing %"), L"trailing %");
}

TEST(Format, MismatchesPrintTheConversion) {
    // A string where a number is expected, and the reverse.
    EXPECT_EQ(formatText(L"%d items in %s", L"many", 3), L"%d items in %s");
    EXPECT_EQ(formatText(L"%d and %d", 1), L"1 and %d");
    EXPECT_EQ(formatText(L"%s"), L"%s");
    EXPECT_EQ(formatText(L"%f", L"x"), L"%f");
    EXPECT_EQ(formatText(L"%c", 1.5), L"%c");
    // A mismatch still takes its argument, so the ones after it stay in place.
    EXPECT_EQ(formatText(L"%d %s", L"x", L"y"), L"%d y");
    // Conversions that write memory or show addresses are never performed.
    EXPECT_EQ(formatText(L"%n %p %q", 1, 2), L"%n %p %q");
    EXPECT_EQ(formatText(L"%*d", L"w", 5), L"%*d");
    EXPECT_EQ(formatText(L"no conversions", 1, 2), L"no conversions");
}

TEST(Format, HugeWidthsAreCapped) {
    EXPECT_EQ(formatText(L"%99999999999d", 1).size(),
              static_cast<std::size_t>(core::kMaxFormatWidth));
    EXPECT_EQ(formatText(L"%.99999999f", 1.0).size(),
              static_cast<std::size_t>(core::kMaxFormatWidth) + 2);
    EXPECT_EQ(formatText(L"%*s", 1 << 30, L"x").size(),
              static_cast<std::size_t>(core::kMaxFormatWidth));
    EXPECT_LT(formatText(L"%.0f", 1e308).size(), 400u);
}

}  // namespace
