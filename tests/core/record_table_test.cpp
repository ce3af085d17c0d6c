// Record tables: loading and saving the "~" files, searching, row operations and the stable
// sort.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "tests/core/support/core_test_support.h"

using core::RecordTable;
using core::test::readDeviceFile;
using core::test::writeDeviceFile;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

RecordTable loaded(std::string_view bytes, int columns = 1) {
    writeDeviceFile(L"\\tables\\t.dat", bytes);
    RecordTable table(columns);
    table.load(L"\\tables\\", L"t.dat");
    return table;
}

// Column c of every row, "-" for an empty field.
std::vector<std::wstring> column(const RecordTable& t, int c) {
    std::vector<std::wstring> values;
    for (int r = 1; r <= t.rowCount(); ++r) values.emplace_back(t.field(r, c).value_or(L"-"));
    return values;
}

using Values = std::vector<std::wstring>;

TEST(RecordTableLoad, RowsKeepTheFieldsOfTheirOwnLine) {
    writeDeviceFile(L"\\tables\\t.dat", "1~2~3~4~5~6~7~8~9~10\na~b~c~d~e~f~g~h~i~j~k~l\nx~y");
    RecordTable t(3);
    EXPECT_EQ(t.load(L"\\tables", L"t.dat"), 10);
    EXPECT_EQ(t.columnCount(), 10);
    ASSERT_EQ(t.rowCount(), 3);
    // A longer line keeps its further fields, so saving writes the line as it was.
    EXPECT_EQ(t.row(2)->size(), 12u);
    EXPECT_EQ(t.fieldText(2, 12), L"l");
    EXPECT_EQ(t.fieldText(3, 2), L"y");
    EXPECT_FALSE(t.field(3, 3));
    EXPECT_FALSE(t.field(4, 1));
    // A short row still takes fields up to the column count.
    EXPECT_TRUE(t.setField(3, 10, L"z"));
    EXPECT_FALSE(t.setField(3, 11, L"z"));
    ASSERT_TRUE(t.save(L"\\tables", L"t.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\t.dat"),
              kMark + "1~2~3~4~5~6~7~8~9~10\na~b~c~d~e~f~g~h~i~j~k~l\nx~y~~~~~~~~z");
}

TEST(RecordTableLoad, ADamagedFirstLineChangesNoOtherRow) {
    const std::string city = "54~London~United Kingdom~51.5~-0.1~x~GB2643743~1~BritishIsles~1";
    writeDeviceFile(L"\\tables\\fav.dat",
                    kMark + "junk\n" + city +
                        "\n1~2~3~4~5~6~7~8~9~10~11~12~13~14~15~16~17~18~19~"
                        "20~21~22~23~24~25~26~27~28~29~30~31~32~33~34~35~36~37~38~39~"
                        "40~41~42~43~44");
    RecordTable t(10);
    EXPECT_EQ(t.load(L"\\tables", L"fav.dat"), 10);
    EXPECT_EQ(t.columnCount(), 10);
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.fieldText(2, 10), L"1");
    EXPECT_EQ(t.fieldText(2, 2), L"London");
    // More fields than any table has: the row holds the bound and the line is reported.
    EXPECT_EQ(t.row(3)->size(), static_cast<std::size_t>(core::kMaxTableFields));
    const core::TableDamage& damage = t.damage();
    EXPECT_EQ(damage.faultsOf(1), core::lineFault::FewFields);
    EXPECT_EQ(damage.faultsOf(2), 0u);
    EXPECT_EQ(damage.faultsOf(3), core::lineFault::TooManyFields);
    EXPECT_EQ(damage.describe(), "fav.dat: line 1 has too few fields; line 3 has too many fields");
    t.removeRow(3);
    ASSERT_TRUE(t.save(L"\\tables", L"fav.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\fav.dat"), kMark + "junk\n" + city);
}

TEST(RecordTableLoad, AHugeLineCostsNoMoreThanItsText) {
    std::string wide(20000, '~');
    std::string rows;
    for (int i = 0; i < 2000; ++i)
        rows += "\n54~London~United Kingdom~51.5~-0.1~x~GB" + std::to_string(i) + "~1~~1";
    RecordTable t = loaded(kMark + wide + rows, 10);
    ASSERT_EQ(t.rowCount(), 2001);
    EXPECT_EQ(t.columnCount(), core::kMaxTableFields);
    std::size_t fields = 0;
    for (int r = 1; r <= t.rowCount(); ++r) fields += t.row(r)->size();
    // Before rows kept their own fields, every row took the first line's 20,001.
    EXPECT_EQ(fields, static_cast<std::size_t>(core::kMaxTableFields) + 2000u * 10u);
    EXPECT_EQ(t.damage().faultsOf(1), core::lineFault::TooManyFields);
}

TEST(RecordTableLoad, DamageNamesFileAndLine) {
    std::string longLine(30000, 'x');
    RecordTable t =
        loaded(kMark + "a~b\n" + std::string("c\0d~e", 5) + "\nf\xFF~g\n" + longLine + "\nh~i");
    ASSERT_EQ(t.rowCount(), 5);
    EXPECT_EQ(t.damage().faultsOf(1), 0u);
    EXPECT_EQ(t.damage().faultsOf(2), core::lineFault::Nul);
    EXPECT_EQ(t.damage().faultsOf(3), core::lineFault::BadEncoding);
    EXPECT_EQ(t.damage().faultsOf(4), core::lineFault::Cut);
    EXPECT_EQ(t.damage().describe(2),
              "t.dat: line 2 holds a NUL byte; line 3 holds bytes that are not text; and 1 more "
              "damaged lines");
    EXPECT_TRUE(t.damage().rewriteLosesText());
    RecordTable whole = loaded(kMark + "a~b\n\xEF\xBF\xBD~c");
    EXPECT_FALSE(whole.damage().damaged());
}

TEST(RecordTableLoad, TextIsReadInTheEncodingItHas) {
    // UTF-8 without the mark: accented names stay as they are.
    RecordTable plain = loaded("Z\xC3\xBCrich~CH");
    EXPECT_EQ(plain.fieldText(1, 1), L"Z\u00fcrich");
    EXPECT_FALSE(plain.damage().rewriteLosesText());
    // UTF-16 with its mark, both byte orders.
    RecordTable little = loaded(std::string("\xFF\xFEZ\0\xFC\0r\0~\0C\0H\0\n\0x\0", 18));
    ASSERT_EQ(little.rowCount(), 2);
    EXPECT_EQ(little.fieldText(1, 1), L"Z\u00fcr");
    EXPECT_EQ(little.fieldText(1, 2), L"CH");
    EXPECT_EQ(little.fieldText(2, 1), L"x");
    RecordTable big = loaded(std::string("\xFE\xFF\0Z\0\xFC\0~\xD8\x3D\xDE\0", 12));
    EXPECT_EQ(big.fieldText(1, 1), L"Z\u00fc");
    EXPECT_EQ(big.fieldText(1, 2), L"\U0001F600");
    // The old code page, for files that are not UTF-8.
    RecordTable oem = loaded("caf\x82~1");
    EXPECT_EQ(oem.fieldText(1, 1), L"caf\u00e9");
    EXPECT_TRUE(oem.damage().rewriteLosesText());
    // UTF-16 that lost its mark is no text the system can read: nothing is loaded.
    RecordTable lost = loaded(std::string("Z\0\xFC\0r\0~\0C\0H\0", 12));
    EXPECT_TRUE(lost.empty());
    EXPECT_EQ(lost.damage().encoding, core::TextEncoding::Undecodable);
    EXPECT_TRUE(lost.damage().damaged());
}

TEST(RecordTableSave, ADamagedFileIsCopiedBesideBeforeItIsReplaced) {
    const std::string utf16("\xFF\xFEZ\0\xFC\0r\0~\0C\0H\0", 14);
    writeDeviceFile(L"\\tables\\fav.dat", utf16);
    platform::deleteFile(L"\\tables\\fav.dat.bak");
    RecordTable t(2);
    t.load(L"\\tables", L"fav.dat");
    t.setField(1, 2, L"DE");
    ASSERT_TRUE(t.save(L"\\tables", L"fav.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\fav.dat"), kMark + "Z\xC3\xBCr~DE");
    EXPECT_EQ(readDeviceFile(L"\\tables\\fav.dat.bak"), utf16);
    // The rewritten file is whole: saving again leaves the copy alone.
    t.setField(1, 2, L"AT");
    ASSERT_TRUE(t.save(L"\\tables", L"fav.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\fav.dat.bak"), utf16);

    // A file that could not be read at all is kept even when the table saved over it is empty.
    const std::string lost("a\0b\0c\0d\0", 8);
    writeDeviceFile(L"\\tables\\lost.dat", lost);
    RecordTable empty(2);
    empty.load(L"\\tables", L"lost.dat");
    ASSERT_TRUE(empty.empty());
    ASSERT_TRUE(empty.save(L"\\tables", L"lost.dat"));
    EXPECT_FALSE(platform::fileExists(L"\\tables\\lost.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\lost.dat.bak"), lost);

    // A whole file, with or without the mark, is replaced without a copy.
    writeDeviceFile(L"\\tables\\whole.dat", "Z\xC3\xBCrich~CH");
    RecordTable whole = loaded("Z\xC3\xBCrich~CH");
    ASSERT_TRUE(whole.save(L"\\tables", L"whole.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\whole.dat"), kMark + "Z\xC3\xBCrich~CH");
    EXPECT_FALSE(platform::fileExists(L"\\tables\\whole.dat.bak"));
}

TEST(RecordTableLoad, EmptyFieldsAndLineEnds) {
    RecordTable t = loaded(kMark + "a~~c\r\n~\nlast~x~\n");
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(column(t, 2), (Values{L"-", L"-", L"x"}));
    EXPECT_EQ(column(t, 3), (Values{L"c", L"-", L"-"}));
    // The trailing line feed of the last line goes; no empty row follows.
    EXPECT_EQ(t.fieldText(3, 1), L"last");
}

TEST(RecordTableLoad, AppendsAndReportsMissingOrEmptyFiles) {
    RecordTable t = loaded("a~b\nc~d");
    writeDeviceFile(L"\\tables\\more.dat", "e~f~g");
    EXPECT_EQ(t.load(L"\\tables\\", L"more.dat"), 3);
    EXPECT_EQ(column(t, 1), (Values{L"a", L"c", L"e"}));
    EXPECT_EQ(t.load(L"\\tables\\", L"missing.dat"), 0);
    writeDeviceFile(L"\\tables\\empty.dat", kMark);
    EXPECT_EQ(t.load(L"\\tables\\", L"empty.dat"), 0);
    EXPECT_EQ(t.columnCount(), 3);
    EXPECT_EQ(t.rowCount(), 3);
}

TEST(RecordTableLoad, QuotesStrippedOrHonoured) {
    writeDeviceFile(L"\\tables\\q.dat", "\"Zone~1\"~\"x\"y~3\n\"a\"b\"~\"open~end");
    RecordTable stripped(1);
    EXPECT_EQ(stripped.load(L"\\tables", L"q.dat", L'~', true), 4);
    EXPECT_EQ(column(stripped, 1), (Values{L"Zone", L"ab"}));
    EXPECT_EQ(column(stripped, 2), (Values{L"1", L"open"}));

    RecordTable quoted(1);
    EXPECT_EQ(quoted.loadQuoted(L"\\tables", L"q.dat"), 3);
    EXPECT_EQ(column(quoted, 1), (Values{L"Zone~1", L"ab\""}));
    EXPECT_EQ(column(quoted, 2), (Values{L"xy", L"open~end"}));
    EXPECT_EQ(column(quoted, 3), (Values{L"3", L"-"}));
}

TEST(RecordTableLoad, OverlongLinesAreCutNotSplit) {
    std::string longField(30000, 'x');
    RecordTable t = loaded("a~" + longField + "\nb~c");
    ASSERT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.fieldText(1, 2).size(), 20479u - 2u);
    EXPECT_EQ(t.fieldText(2, 1), L"b");
}

TEST(RecordTableSave, FormatAndRoundTrip) {
    RecordTable t = loaded(kMark + "a~~c\n\u00e9~2~3");
    ASSERT_TRUE(t.save(L"\\tables", L"out.dat"));
    EXPECT_EQ(readDeviceFile(L"\\tables\\out.dat"), kMark + "a~~c\n\u00e9~2~3");
    t.setField(1, 2, L"b");
    ASSERT_TRUE(t.save(L"\\tables\\", L"out.dat", L';'));
    EXPECT_EQ(readDeviceFile(L"\\tables\\out.dat"), kMark + "a;b;c\n\u00e9;2;3");
    EXPECT_FALSE(t.save(L"\\no folder", L"out.dat"));
}

TEST(RecordTableSave, EmptyTableDeletesTheFile) {
    RecordTable t = loaded("only~row");
    ASSERT_TRUE(t.save(L"\\tables", L"gone.dat"));
    ASSERT_TRUE(platform::fileExists(L"\\tables\\gone.dat"));
    EXPECT_TRUE(t.removeRow(1));
    EXPECT_TRUE(t.save(L"\\tables", L"gone.dat"));
    EXPECT_FALSE(platform::fileExists(L"\\tables\\gone.dat"));
    EXPECT_TRUE(t.save(L"\\tables", L"gone.dat"));  // already gone is fine
}

TEST(RecordTableFind, ExactCaseInsensitiveAndInitial) {
    RecordTable t = loaded(kMark + "London~GB\n~\nlondon~gb\n\u00c9vora~PT\nBerlin~DE");
    EXPECT_EQ(t.find(1, L"london"), 3);
    EXPECT_EQ(t.find(1, L"LONDON", true), 1);
    EXPECT_EQ(t.find(1, L"\u00e9VORA", true), 4);
    EXPECT_EQ(t.find(1, L"\u00e9VORA"), 0);
    EXPECT_EQ(t.find(2, L"DE"), 5);
    EXPECT_EQ(t.find(3, L"DE"), 0);
    // Empty fields never match, not even an empty text.
    EXPECT_EQ(t.find(1, L""), 0);
    EXPECT_EQ(t.find(1, L"", true), 0);
    EXPECT_EQ(t.findInitial(1, L"b"), 5);
    EXPECT_EQ(t.findInitial(1, L"Lima"), 1);
    EXPECT_EQ(t.findInitial(1, L"\u00e9"), 4);
    EXPECT_EQ(t.findInitial(1, L""), 0);
    EXPECT_EQ(t.findInitial(1, L"z"), 0);
    // Column 0 is the default column.
    t.setDefaultColumn(2);
    EXPECT_EQ(t.find(0, L"gb"), 3);
}

TEST(RecordTableFields, CurrentRowAndConversions) {
    RecordTable t = loaded("12abc~x\n-7~y\n~z");
    EXPECT_EQ(t.currentRow(), 0);
    EXPECT_FALSE(t.field(0, 1));
    EXPECT_EQ(t.fieldInt(1, 1), 12);
    EXPECT_EQ(t.fieldInt(2, 1), -7);
    EXPECT_EQ(t.fieldInt(3, 1), 0);
    EXPECT_TRUE(t.setCurrentRow(2));
    EXPECT_FALSE(t.setCurrentRow(4));
    EXPECT_EQ(t.fieldText(0, 2), L"y");
    EXPECT_TRUE(t.setFieldInt(0, 1, 2147483647));
    EXPECT_EQ(t.fieldText(2, 1), L"2147483647");
    EXPECT_TRUE(t.setField(3, 2, L""));
    EXPECT_FALSE(t.field(3, 2));
    EXPECT_FALSE(t.setField(4, 1, L"x"));
    EXPECT_FALSE(t.setField(1, 3, L"x"));
    EXPECT_FALSE(t.setField(1, -1, L"x"));
}

TEST(RecordTableRows, InsertRemoveSwapKeep) {
    RecordTable t = loaded("a\nb\nc");
    t.setCurrentRow(3);
    EXPECT_EQ(t.appendRow(), 4);
    EXPECT_EQ(t.row(4)->size(), 1u);
    t.setField(4, 1, L"d");
    EXPECT_EQ(t.insertRowAfter(1), 2);
    t.setField(2, 1, L"a2");
    EXPECT_EQ(column(t, 1), (Values{L"a", L"a2", L"b", L"c", L"d"}));
    // Row 0 inserts after the current row.
    EXPECT_EQ(t.insertRowAfter(0), 4);
    EXPECT_TRUE(t.removeRow(4));
    EXPECT_TRUE(t.swapWithPrevious());
    EXPECT_EQ(column(t, 1), (Values{L"a", L"b", L"a2", L"c", L"d"}));
    EXPECT_EQ(t.currentRow(), 3);
    // Removing rows below the current one moves it down to the last row.
    t.setCurrentRow(5);
    EXPECT_TRUE(t.removeRow(5));
    EXPECT_EQ(t.currentRow(), 4);
    EXPECT_FALSE(t.removeRow(9));
    t.setCurrentRow(1);
    EXPECT_FALSE(t.swapWithPrevious());
    t.setCurrentRow(3);
    t.keepOnlyCurrent();
    EXPECT_EQ(column(t, 1), Values{L"a2"});
    EXPECT_EQ(t.currentRow(), 1);
    t.clear();
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.currentRow(), 0);
    EXPECT_EQ(t.insertRowAfter(0), 1);
    t.setCurrentRow(0);
    t.keepOnlyCurrent();
    EXPECT_TRUE(t.empty());
}

TEST(RecordTableRows, CopyFromTakesRowsAndColumns) {
    RecordTable source = loaded("a~b~c\nd~e~f");
    RecordTable copy(1);
    copy.appendRow();
    copy.appendRow();
    copy.appendRow();
    copy.setCurrentRow(3);
    copy.copyFrom(source);
    EXPECT_EQ(copy.columnCount(), 3);
    EXPECT_EQ(column(copy, 3), (Values{L"c", L"f"}));
    EXPECT_EQ(copy.currentRow(), 2);
    source.setField(1, 1, L"changed");
    EXPECT_EQ(copy.fieldText(1, 1), L"a");
    copy.copyFrom(copy);
    EXPECT_EQ(copy.rowCount(), 2);
}

TEST(RecordTableSort, StableByTextAndNumber) {
    RecordTable t = loaded("b~2~1\na~10~2\nB~2~3\na~-1~4\nb~9x~5");
    t.sort(1, false);
    // Code-unit order: capitals first; equal keys keep their order.
    EXPECT_EQ(column(t, 3), (Values{L"3", L"2", L"4", L"1", L"5"}));
    t.sort(2, true);
    EXPECT_EQ(column(t, 2), (Values{L"-1", L"2", L"2", L"9x", L"10"}));
    EXPECT_EQ(column(t, 3), (Values{L"4", L"3", L"1", L"5", L"2"}));
    // Sorting again by the same column changes nothing.
    t.sort(2, true);
    EXPECT_EQ(column(t, 3), (Values{L"4", L"3", L"1", L"5", L"2"}));
}

TEST(RecordTableSort, EmptyFieldsCompareEqualToAnything) {
    // The merge meets the empty key beside 3 first, so it stays there.
    RecordTable t = loaded("3~a\n~b\n1~c");
    t.sort(1, true);
    EXPECT_EQ(column(t, 2), (Values{L"c", L"a", L"b"}));
    RecordTable u = loaded("z\n\ny\n\nx\nw");
    u.sort(1, false);
    EXPECT_EQ(u.rowCount(), 6);
    EXPECT_EQ(column(u, 1), (Values{L"y", L"z", L"-", L"-", L"w", L"x"}));
}

TEST(RecordTableSort, Utf16CodeUnitOrder) {
    // U+1F600 is stored as surrogates (D83D), which come before U+FF21.
    RecordTable t = loaded(kMark + "\xEF\xBC\xA1\n\xF0\x9F\x98\x80\n\xE4\xB8\x80");
    t.sort(1, false);
    EXPECT_EQ(column(t, 1), (Values{L"\u4e00", L"\U0001F600", L"\uFF21"}));
}

}  // namespace
