// Device files: listing by pattern, atomic writes, mappings, creation times.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

class DeviceFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-files-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
        fs::create_directories(root_ / "Graphics");
    }
    void TearDown() override { fs::remove_all(root_); }

    void put(const fs::path& relative, const std::string& content) {
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }
    std::string content(const fs::path& relative) {
        std::ifstream in(root_ / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> hostNames(const fs::path& relative) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / relative)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::span<const std::uint8_t> bytesOf(const std::string& s) {
        return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
    }
    fs::path root_;
};

std::vector<std::wstring> namesOf(const std::vector<DirectoryEntry>& entries) {
    std::vector<std::wstring> names;
    for (const auto& e : entries) names.push_back(e.name);
    return names;
}

TEST_F(DeviceFiles, ListingMatchesPatternsAndSkipsFoldersAndDotNames) {
    put("Graphics/b.tga", "bb");
    put("Graphics/A.TGA", "a");
    put("Graphics/c.jpg", "c");
    put("Graphics/.hidden.tga", "h");
    put("Graphics/README", "r");
    fs::create_directory(root_ / "Graphics" / "d.tga");
    fs::create_symlink(root_ / "Graphics" / "b.tga", root_ / "Graphics" / "Link.tga");
    fs::create_symlink(root_ / "missing", root_ / "Graphics" / "broken.tga");

    auto tga = listFolder(L"\\GRAPHICS", L"*.tga");
    EXPECT_EQ(namesOf(tga), (std::vector<std::wstring>{L"A.TGA", L"b.tga", L"Link.tga"}));
    ASSERT_EQ(tga.size(), 3u);
    EXPECT_EQ(tga[1].size, 2u);
    EXPECT_GT(tga[1].creationTime, 116444736000000000ULL);

    EXPECT_EQ(namesOf(listFolder(L"\\graphics\\", L"?.*")),
              (std::vector<std::wstring>{L"A.TGA", L"b.tga", L"c.jpg"}));
    EXPECT_EQ(listFolder(L"\\graphics", L"*.*").size(), 5u);  // "*.*" includes README
    EXPECT_EQ(listFolder(L"\\graphics").size(), 5u);
    EXPECT_TRUE(listFolder(L"\\nowhere", L"*").empty());
    EXPECT_TRUE(listFolder(L"\\..\\", L"*").empty());
}

TEST(MatchesPattern, WildcardsIgnoreCase) {
    EXPECT_TRUE(matchesPattern(L"Clock12.TGA", L"clock*.tga"));
    EXPECT_TRUE(matchesPattern(L"a.b.c", L"*.c"));
    EXPECT_TRUE(matchesPattern(L"abc", L"a?c"));
    EXPECT_FALSE(matchesPattern(L"ac", L"a?c"));
    EXPECT_TRUE(matchesPattern(L"axxbyyb", L"a*b"));
    EXPECT_FALSE(matchesPattern(L"axxbyyc", L"a*b"));
    EXPECT_TRUE(matchesPattern(L"", L"*"));
    EXPECT_FALSE(matchesPattern(L"x", L""));
    EXPECT_TRUE(matchesPattern(L"ÄPFEL.txt", L"äpfel.*"));
    EXPECT_FALSE(matchesPattern(std::wstring(200, L'a'), std::wstring(100, L'*') + L"b"));
}

TEST_F(DeviceFiles, AtomicWriteReplacesContentAndLeavesNoTemporaryFiles) {
    EXPECT_TRUE(writeFileAtomic(L"\\graphics\\Settings.dat", bytesOf("old content")));
    EXPECT_TRUE(writeFileAtomic(L"\\GRAPHICS\\settings.DAT", bytesOf("new")));
    EXPECT_EQ(content("Graphics/Settings.dat"), "new");
    EXPECT_EQ(hostNames("Graphics"), std::vector<std::string>{"Settings.dat"});
    EXPECT_TRUE(writeFileAtomic(L"\\graphics\\empty.dat", {}));
    EXPECT_EQ(readFile(L"\\graphics\\empty.dat")->size(), 0u);
    EXPECT_FALSE(writeFileAtomic(L"\\", bytesOf("x")));
    EXPECT_FALSE(writeFileAtomic(L"\\..\\escape.dat", bytesOf("x")));
}

TEST_F(DeviceFiles, FailedWriteKeepsOldContentAndCleansUp) {
    put("Graphics/Settings.dat", "old content");
    // A file-size limit makes the write itself fail half-way, as a full disk would.
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = writeFileAtomic(L"\\graphics\\settings.dat", bytesOf(std::string(100, 'n')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(content("Graphics/Settings.dat"), "old content");
    EXPECT_EQ(hostNames("Graphics"), std::vector<std::string>{"Settings.dat"});

    // The rename fails when a folder holds the name; the temporary file must not linger.
    fs::create_directories(root_ / "Graphics" / "Busy.dat" / "inner");
    EXPECT_FALSE(writeFileAtomic(L"\\graphics\\busy.dat", bytesOf("x")));
    EXPECT_EQ(hostNames("Graphics"), (std::vector<std::string>{"Busy.dat", "Settings.dat"}));
}

TEST_F(DeviceFiles, ReadMoveAndDelete) {
    put("Graphics/a.bin", std::string("\0\1\2", 3));
    auto bytes = readFile(L"\\graphics\\A.BIN");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (std::vector<std::uint8_t>{0, 1, 2}));
    EXPECT_FALSE(readFile(L"\\graphics"));
    EXPECT_FALSE(readFile(L"\\graphics\\none"));

    put("Graphics/b.bin", "target");
    EXPECT_TRUE(moveFile(L"\\graphics\\a.bin", L"\\GRAPHICS\\B.BIN"));
    EXPECT_EQ(content("Graphics/b.bin").size(), 3u);
    EXPECT_FALSE(fileExists(L"\\graphics\\a.bin"));
    EXPECT_FALSE(moveFile(L"\\graphics\\a.bin", L"\\graphics\\c.bin"));

    EXPECT_TRUE(deleteFile(L"\\Graphics\\b.BIN"));
    EXPECT_FALSE(deleteFile(L"\\Graphics\\b.BIN"));
    EXPECT_FALSE(deleteFile(L"\\Graphics"));
    EXPECT_TRUE(fs::is_directory(root_ / "Graphics"));
}

TEST_F(DeviceFiles, MappedFilesShowTheWholeContent) {
    std::string data(100000, 'x');
    data[99999] = 'y';
    put("Graphics/big.dat", data);
    put("Graphics/empty.dat", "");
    auto mapped = MappedFile::open(L"\\graphics\\BIG.DAT");
    ASSERT_TRUE(mapped);
    ASSERT_EQ(mapped->bytes().size(), data.size());
    EXPECT_EQ(mapped->bytes()[99999], 'y');
    MappedFile moved = std::move(*mapped);
    EXPECT_EQ(moved.bytes().size(), data.size());
    EXPECT_TRUE(mapped->bytes().empty());
    auto empty = MappedFile::open(L"\\graphics\\empty.dat");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->bytes().empty());
    EXPECT_FALSE(MappedFile::open(L"\\graphics\\none.dat"));
    EXPECT_FALSE(MappedFile::open(L"\\graphics"));
}

// A data file replaced by a named pipe, a folder or a device node must be refused at once:
// opening a pipe for reading waits for a writer that never comes.
TEST_F(DeviceFiles, OnlyRegularFilesAreOpened) {
    ASSERT_EQ(mkfifo((root_ / "Graphics/pipe.dat").c_str(), 0600), 0);
    // Should the open block, the alarm ends the test program instead of hanging the run.
    alarm(10);
    EXPECT_FALSE(MappedFile::open(L"\\graphics\\pipe.dat"));
    EXPECT_FALSE(readFile(L"\\graphics\\pipe.dat"));
    EXPECT_FALSE(fileExists(L"\\graphics\\pipe.dat"));
    alarm(0);
    fs::create_symlink("/dev/zero", root_ / "Graphics/zero.dat");
    EXPECT_FALSE(MappedFile::open(L"\\graphics\\zero.dat"));
    EXPECT_FALSE(readFile(L"\\graphics\\zero.dat"));
}

TEST_F(DeviceFiles, CreationTimeIsTheHostTimeAsFileTime) {
    struct timeval before;
    gettimeofday(&before, nullptr);
    put("Graphics/new.dat", "n");
    auto created = fileCreationTime(L"\\graphics\\NEW.dat");
    ASSERT_TRUE(created);
    FileTime expected = (static_cast<FileTime>(before.tv_sec) + 11644473600ULL) * 10000000ULL;
    EXPECT_GE(*created + 20000000ULL, expected);  // within two seconds
    EXPECT_LE(*created, expected + 20000000ULL);
    EXPECT_FALSE(fileCreationTime(L"\\graphics\\none.dat"));
}

TEST_F(DeviceFiles, AStampChangesWithTheFileAndOnlyThen) {
    put("Graphics/pic.tga", "12345");
    auto first = fileStamp(L"\\graphics\\PIC.tga");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5u);
    EXPECT_EQ(fileStamp(L"\\graphics\\pic.tga"), first) << "read again, unchanged";
    ASSERT_TRUE(readFile(L"\\graphics\\pic.tga"));
    EXPECT_EQ(fileStamp(L"\\graphics\\pic.tga"), first) << "reading changes nothing";

    // Written anew with the same length: another file, and a later write when the clock moved.
    ASSERT_TRUE(writeFileAtomic(L"\\graphics\\pic.tga", bytesOf("54321")));
    fs::last_write_time(root_ / "Graphics/pic.tga",
                        fs::last_write_time(root_ / "Graphics/pic.tga") + std::chrono::seconds(1));
    auto second = fileStamp(L"\\graphics\\pic.tga");
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    ASSERT_TRUE(writeFileAtomic(L"\\graphics\\pic.tga", bytesOf("543210")));
    EXPECT_EQ(fileStamp(L"\\graphics\\pic.tga")->size, 6u);

    EXPECT_FALSE(fileStamp(L"\\graphics\\none.tga"));
    EXPECT_FALSE(fileStamp(L"\\graphics")) << "a folder has no stamp";
}

}  // namespace
