// Device paths: case-insensitive mapping onto the host, refusal of escapes, UTF-8 text.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/api/device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

class DevicePaths : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-paths-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
        fs::create_directories(root_ / "Windows" / "Lang");
        std::ofstream(root_ / "Windows" / "Lang" / "Lang.dat") << "x";
        fs::create_directories(root_ / "Äpfel");
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(DevicePaths, ExistingComponentsMatchWithoutRegardToCase) {
    EXPECT_EQ(hostPath(L"\\WINDOWS\\lang\\LANG.DAT"), root_ / "Windows" / "Lang" / "Lang.dat");
    EXPECT_EQ(hostPath(L"windows/LANG/lang.dat"), root_ / "Windows" / "Lang" / "Lang.dat");
    EXPECT_EQ(hostPath(L"\\äPFEL"), root_ / "Äpfel");
    // Missing parts keep the spelling given, below the existing ones.
    EXPECT_EQ(hostPath(L"\\windows\\New Folder\\X.Txt"),
              root_ / "Windows" / "New Folder" / "X.Txt");
    EXPECT_EQ(hostPath(L"\\"), root_);
    EXPECT_EQ(hostPath(L""), root_);
    EXPECT_EQ(hostPath(L"\\.\\windows\\\\lang\\"), root_ / "Windows" / "Lang");
}

TEST_F(DevicePaths, EscapesAreRefused) {
    EXPECT_FALSE(hostPath(L"..\\..\\etc"));
    EXPECT_FALSE(hostPath(L"\\..\\x"));
    EXPECT_FALSE(hostPath(L"\\windows\\..\\windows\\x"));
    EXPECT_FALSE(hostPath(L"../etc/passwd"));
    EXPECT_FALSE(hostPath(L"C:\\x"));
    EXPECT_FALSE(hostPath(L"c:x"));
    EXPECT_FALSE(hostPath(L"\\windows\\file.txt:stream"));
    EXPECT_FALSE(hostPath(L"\\\\host\\x"));
    EXPECT_FALSE(hostPath(L"//host/x"));
    EXPECT_FALSE(hostPath(std::wstring(L"\\windows\\a\0/../../etc", 21)));
    EXPECT_FALSE(fileExists(L"\\..\\" + root_.filename().wstring() + L"\\Windows\\Lang\\Lang.dat"));
}

TEST_F(DevicePaths, CreatingUnderMixedCaseReusesExistingFolders) {
    EXPECT_TRUE(createFolder(L"\\WINDOWS\\lang\\Extra\\Deep"));
    EXPECT_TRUE(fs::is_directory(root_ / "Windows" / "Lang" / "Extra" / "Deep"));
    EXPECT_FALSE(fs::exists(root_ / "WINDOWS"));
    std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_TRUE(writeFileAtomic(L"\\windows\\LANG\\extra\\deep\\F.bin", bytes));
    EXPECT_TRUE(fs::is_regular_file(root_ / "Windows" / "Lang" / "Extra" / "Deep" / "F.bin"));
    EXPECT_TRUE(fileExists(L"\\Windows\\Lang\\EXTRA\\DEEP\\f.BIN"));
    EXPECT_TRUE(folderExists(L"\\windows\\lang\\extra"));
    EXPECT_FALSE(fileExists(L"\\windows\\lang\\extra"));
    EXPECT_FALSE(folderExists(L"\\windows\\lang\\lang.dat"));
}

TEST_F(DevicePaths, HostPathsMapBackToDevicePaths) {
    EXPECT_EQ(devicePathOf(root_ / "Windows" / "Lang" / "Lang.dat"), L"\\Windows\\Lang\\Lang.dat");
    EXPECT_EQ(devicePathOf(root_), L"\\");
    EXPECT_EQ(devicePathOf(root_ / "Windows" / "." / "Lang/"), L"\\Windows\\Lang");
    EXPECT_FALSE(devicePathOf(root_.parent_path()));
    EXPECT_FALSE(devicePathOf(root_ / ".." / "elsewhere"));
    EXPECT_FALSE(devicePathOf("/etc/passwd"));
    EXPECT_EQ(devicePathOf(root_ / "Äpfel"), L"\\Äpfel");
}

TEST_F(DevicePaths, LinksInsideTheDeviceAreKeptNotResolved) {
    // Installed programs and the data folder are links out of the device tree; paths through
    // them stay spelled below the root.
    fs::create_directory_symlink("/usr", root_ / "Data");
    EXPECT_EQ(hostPath(L"\\data\\bin"), root_ / "Data" / "bin");
    EXPECT_TRUE(folderExists(L"\\DATA\\bin"));
}

TEST(FolderOf, KeepsTheTrailingSeparator) {
    EXPECT_EQ(folderOf(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe"),
              L"\\Program Files\\Vorn Roamer\\");
    EXPECT_EQ(folderOf(L"\\x.exe"), L"\\");
    EXPECT_EQ(folderOf(L"x.exe"), L"");
    EXPECT_EQ(folderOf(L"\\windows\\"), L"\\windows\\");
}

TEST(OwnDevicePath, SetValueWins) {
    setOwnDevicePath(L"\\windows\\vornalarms.exe");
    EXPECT_EQ(ownDevicePath(), L"\\windows\\vornalarms.exe");
}

TEST(Utf8, RoundTripsEveryPlane) {
    std::wstring text = L"Zürich € \U0001D11E ok";
    EXPECT_EQ(toUtf8(text), "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9D\x84\x9E ok");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(fromUtf8(""), L"");
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xC3"), L"a\uFFFD");                    // truncated at the end
    EXPECT_EQ(fromUtf8("\xC3x"), L"\uFFFDx");                    // truncated in the middle
    EXPECT_EQ(fromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");            // overlong "/"
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(fromUtf8("\xE2\x82"), L"\uFFFD");  // one character for the prefix
    EXPECT_EQ(fromUtf8("\xFF"), L"\uFFFD");
    // Wide text that is not a code point cannot be encoded either.
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::wstring{static_cast<wchar_t>(0xD834), static_cast<wchar_t>(0xDD1E)}),
              "\xF0\x9D\x84\x9E");
}

}  // namespace

// Test programs run with VORN_NO_DEFAULT_DEVICE: without a root of its own a program stops
// rather than falling back to the device below the home folder.
TEST(DeviceRootDeathTest, NoDefaultDeviceWhenRefused) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ::unsetenv("VORN_DEVICE");
            ::setenv("VORN_NO_DEFAULT_DEVICE", "1", 1);
            (void)deviceRoot();
        },
        "VORN_NO_DEFAULT_DEVICE forbids the default one");
    // With a root given, the same process finds it.
    EXPECT_FALSE(deviceRoot().empty());
}
