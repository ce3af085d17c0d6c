// Text files: line splitting at the byte level, both encodings, line limits, and writing
// that never leaves a torn or missing file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/text_file.h"
#include "platform/api/device.h"
#include "tests/core/support/core_test_support.h"

using core::openTextFile;
using core::TextFile;
using core::test::readDeviceFile;
using core::test::writeDeviceFile;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

// Every line of a file's bytes, read with the given limit.
std::vector<std::wstring> linesOf(std::string_view bytes, std::size_t limit = 255) {
    writeDeviceFile(L"\\lines.txt", bytes);
    auto file = openTextFile(L"\\lines.txt", "r");
    EXPECT_TRUE(file);
    std::vector<std::wstring> lines;
    if (!file)
        return lines;
    while (auto line = file->readLine(limit)) lines.push_back(*line);
    return lines;
}

using Lines = std::vector<std::wstring>;

TEST(TextFileRead, ByteOrderMarkAloneIsAnEmptyUtf8Text) {
    writeDeviceFile(L"\\mark.txt", kMark);
    auto file = openTextFile(L"\\mark.txt", "r");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->isUtf8());
    EXPECT_EQ(file->textSize(), 0u);
    EXPECT_FALSE(file->readLine(255));
}

TEST(TextFileRead, LineEnds) {
    EXPECT_EQ(linesOf("a\r\nb"), (Lines{L"a", L"b"}));
    // The last byte always belongs to the last line, even a line feed.
    EXPECT_EQ(linesOf("a\nb\n"), (Lines{L"a", L"b\n"}));
    EXPECT_EQ(linesOf("\n"), (Lines{L"\n"}));
    // CR LF at the very end is a line end all the same.
    EXPECT_EQ(linesOf("a\r\n"), (Lines{L"a"}));
    // A lone CR is text.
    EXPECT_EQ(linesOf("a\rb"), (Lines{L"a\rb"}));
    EXPECT_EQ(linesOf("a\r\rb\r"), (Lines{L"a\r\rb\r"}));
    EXPECT_EQ(linesOf("a\r\r\nb"), (Lines{L"a\r", L"b"}));
    // Empty lines are lines.
    EXPECT_EQ(linesOf("a\n\n\r\nb"), (Lines{L"a", L"", L"", L"b"}));
    EXPECT_EQ(linesOf(kMark + "x\r\ny"), (Lines{L"x", L"y"}));
    EXPECT_EQ(linesOf(""), Lines{});
}

TEST(TextFileRead, ShortFilesAreNotTakenForTheMark) {
    // Two bytes of the mark are OEM text, not UTF-8.
    auto lines = linesOf("\xEF\xBB");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"\u2229\u2557");
}

TEST(TextFileRead, LimitCutsLongLinesAndKeepsTheNext) {
    EXPECT_EQ(linesOf("abcdefghij\nxy", 5), (Lines{L"abcd", L"xy"}));
    EXPECT_EQ(linesOf("abc\nd", 1), (Lines{L"", L""}));
    EXPECT_EQ(linesOf("abc", 0), Lines{L""});
    // The limit counts UTF-16 code units: a character beyond U+FFFF takes two and is never
    // split in half.
    std::string emoji = kMark +
                        "a\xF0\x9F\x98\x80"
                        "b";
    EXPECT_EQ(linesOf(emoji, 3), Lines{L"a"});
    EXPECT_EQ(linesOf(emoji, 4), Lines{L"a\U0001F600"});
    EXPECT_EQ(linesOf(kMark + "\xC3\xA9\xC3\xA9\xC3\xA9", 3), Lines{L"\u00e9\u00e9"});
}

TEST(TextFileRead, OemCodePageWithoutMark) {
    // 437: 0x82 e-acute, 0x9C pound sign, 0xB0 light shade, 0xE1 sharp s; ASCII unchanged.
    auto lines = linesOf("caf\x82 \x9C\xB0\xE1\n~");
    EXPECT_EQ(lines, (Lines{L"caf\u00e9 \u00a3\u2591\u00df", L"~"}));
    auto file = openTextFile(L"\\lines.txt", "r");
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->isUtf8());
}

TEST(TextFileRead, Utf8WithMarkAndBrokenSequences) {
    EXPECT_EQ(linesOf(kMark + "Z\xC3\xBCrich~\xE6\x9D\xB1\xE4\xBA\xAC"),
              Lines{L"Z\u00fcrich~\u6771\u4eac"});
    // Invalid bytes, a sequence cut by the line end, overlong forms and surrogates all
    // become U+FFFD and the text goes on.
    EXPECT_EQ(linesOf(kMark + "a\xFF"
                              "b\xE2\x82\nc\xC0\xAF"
                              "d\xED\xA0\x80"
                              "e"),
              (Lines{L"a\uFFFDb\uFFFD", L"c\uFFFD\uFFFDd\uFFFD\uFFFD\uFFFDe"}));
}

TEST(TextFileRead, EncodingIsToldByTheText) {
    // UTF-8 without the mark was read in the code page: "Zürich" came out as "Z├╝rich".
    EXPECT_EQ(linesOf("Z\xC3\xBCrich\nx"), (Lines{L"Z\u00fcrich", L"x"}));
    EXPECT_EQ(linesOf(std::string("\xFF\xFEZ\0\xFC\0\r\0\n\0\x3D\xD8\x00\xDE", 14)),
              (Lines{L"Z\u00fc", L"\U0001F600"}));
    // A lone surrogate and a dangling byte are broken text, replaced like broken UTF-8.
    EXPECT_EQ(linesOf(std::string("\xFE\xFF\xDC\x00\x00"
                                  "a\x00",
                                  7)),
              (Lines{L"\uFFFDa\uFFFD"}));
    EXPECT_TRUE(linesOf(std::string("x\0y\0z\0", 6)).empty());
    struct Case {
        std::string bytes;
        core::TextEncoding encoding;
    };
    for (const Case& c :
         {Case{kMark + "a", core::TextEncoding::Utf8Marked},
          Case{"plain", core::TextEncoding::Utf8}, Case{"caf\x82", core::TextEncoding::Oem},
          Case{"\xFE\xFF", core::TextEncoding::Utf16},
          Case{std::string("a\0b\0", 4), core::TextEncoding::Undecodable}}) {
        writeDeviceFile(L"\\enc.txt", c.bytes);
        auto file = openTextFile(L"\\enc.txt", "r");
        ASSERT_TRUE(file);
        EXPECT_EQ(file->encoding(), c.encoding) << c.bytes;
    }
}

TEST(TextFileRead, EachLineSaysWhatWentWrong) {
    writeDeviceFile(L"\\faults.txt", kMark + "whole\n" + "toolong\n" + std::string("n\0ul\n", 5) +
                                         "bad\xC0\n" + "\xEF\xBF\xBD\n");
    auto file = openTextFile(L"\\faults.txt", "r");
    ASSERT_TRUE(file);
    std::vector<unsigned> faults;
    std::wstring line;
    while (file->readLine(line, 6)) faults.push_back(file->lastLineFaults());
    using namespace core::lineFault;
    EXPECT_EQ(faults, (std::vector<unsigned>{0, Cut, Nul, BadEncoding, 0}));
}

TEST(TextFileRead, EmbeddedNulEndsTheLine) {
    EXPECT_EQ(linesOf(std::string("ab\0cd\nef", 8)), (Lines{L"ab", L"ef"}));
}

TEST(TextFileOpen, FailuresYieldNothing) {
    core::test::useDevice();
    EXPECT_FALSE(openTextFile(L"\\no such file.txt", "r"));
    EXPECT_FALSE(openTextFile(L"\\no such folder\\new.txt", "w"));
    EXPECT_FALSE(openTextFile(L"\\..\\outside.txt", "w"));
    writeDeviceFile(L"\\mode.txt", "x");
    EXPECT_FALSE(openTextFile(L"\\mode.txt", "a"));
    platform::createFolder(L"\\a folder");
    EXPECT_FALSE(openTextFile(L"\\a folder", "w"));
    // Paths match without regard to case, as on the handheld.
    writeDeviceFile(L"\\Windows\\Case.TXT", "x");
    EXPECT_TRUE(openTextFile(L"\\WINDOWS\\case.txt", "r"));
}

TEST(TextFileOpen, ModesDoNotMix) {
    writeDeviceFile(L"\\mix.txt", "line");
    auto reader = openTextFile(L"\\mix.txt", "r");
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->writeText(L"x"));
    auto writer = openTextFile(L"\\mix2.txt", "w");
    ASSERT_TRUE(writer);
    EXPECT_FALSE(writer->readLine(255));
    EXPECT_TRUE(writer->close());
    EXPECT_FALSE(writer->close());
    EXPECT_FALSE(writer->writeText(L"late"));
}

TEST(TextFileWrite, MarkThenUtf8AsGiven) {
    core::test::useDevice();
    auto file = openTextFile(L"\\w.txt", "w");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->isUtf8());
    EXPECT_TRUE(file->writeText(L"x=1"));
    EXPECT_TRUE(core::closeTextFile(file));
    EXPECT_FALSE(file);
    EXPECT_EQ(readDeviceFile(L"\\w.txt"), kMark + "x=1");

    file = openTextFile(L"\\w.txt", "w");
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->writeText(L""));  // nothing to convert is a failure, as on the device
    EXPECT_TRUE(file->writeText(L"\u00e9\r\n"));
    EXPECT_TRUE(file->writeText(L"\U0001F600\n"));
    EXPECT_TRUE(file->close());
    EXPECT_EQ(readDeviceFile(L"\\w.txt"), kMark + "\xC3\xA9\r\n\xF0\x9F\x98\x80\n");
}

TEST(TextFileWrite, NothingChangesUntilClose) {
    writeDeviceFile(L"\\keep.txt", kMark + "old");
    {
        auto file = openTextFile(L"\\keep.txt", "w");
        ASSERT_TRUE(file);
        file->writeText(L"new");
        EXPECT_EQ(readDeviceFile(L"\\keep.txt"), kMark + "old");
    }
    // Destroyed without close: the old file stays.
    EXPECT_EQ(readDeviceFile(L"\\keep.txt"), kMark + "old");
    std::unique_ptr<TextFile> none;
    EXPECT_FALSE(core::closeTextFile(none));
}

// Runs a save in a child process that is stopped by the given setup, and answers whether
// the child reported success.
template <typename Setup>
std::optional<bool> saveInChild(Setup setup, std::size_t bytes) {
    pid_t pid = fork();
    if (pid == 0) {
        setup();
        auto file = openTextFile(L"\\victim.txt", "w");
        if (!file)
            _exit(3);
        file->writeText(std::wstring(bytes, L'n'));
        _exit(file->close() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Files in the device root whose names mention the victim, temporary ones included.
int victimFiles() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*platform::hostPath(L"\\")))
        count += entry.path().filename().string().find("victim") != std::string::npos;
    return count;
}

TEST(TextFileWrite, FailedSaveKeepsTheOldFile) {
    const std::string old = kMark + "old content";
    writeDeviceFile(L"\\victim.txt", old);
    // A file-size limit makes the write fail part-way, as a full storage card would.
    auto result = saveInChild(
        [] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        100000);
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(*result);
    EXPECT_EQ(readDeviceFile(L"\\victim.txt"), old);
    EXPECT_EQ(victimFiles(), 1);  // the half-written copy is gone too
}

TEST(TextFileWrite, KilledSaveLeavesOldOrNewNeverTorn) {
    const std::string old = kMark + "old content";
    const std::size_t size = 2'000'000;
    const std::string complete = kMark + std::string(size, 'n');
    int oldSeen = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        writeDeviceFile(L"\\victim.txt", old);
        pid_t pid = fork();
        if (pid == 0) {
            auto file = openTextFile(L"\\victim.txt", "w");
            file->writeText(std::wstring(size, L'n'));
            file->close();
            _exit(0);
        }
        usleep(static_cast<useconds_t>(2000 * attempt));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        std::string now = readDeviceFile(L"\\victim.txt");
        ASSERT_TRUE(now == old || now == complete) << "torn file of " << now.size() << " bytes";
        oldSeen += now == old;
    }
    // The early kills land before the rename, so the old content was really at stake.
    EXPECT_GT(oldSeen, 0);
}

}  // namespace
