// Two programs on one device: they find each other's windows by class and title, exchange
// posted messages (registered ones included), close each other, and write the registry at
// the same time without losing or tearing a value.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/e2e/programs/test_program.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
using platform::wm::User;

namespace {

class TwoProgramsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pidA_ =
            device_.startTestProgram("PeerA", "A", {"--peer-class", "PeerB", "--peer-title", "B"});
        pidB_ =
            device_.startTestProgram("PeerB", "B", {"--peer-class", "PeerA", "--peer-title", "A"});
    }

    // Posts with `vorndev ctl post` to a test program's window.
    void post(const std::string& cls, const std::string& message, const std::string& wParam = "0",
              const std::string& lParam = "0") {
        CommandResult r = device_.ctl({"post", "--class", cls, message, wParam, lParam});
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }

    // Waits until a program has reported a message and returns the parameters it got.
    std::wstring received(const std::string& title, std::uint32_t id) {
        std::wstring name = L"Msg" + std::to_wstring(id);
        waitUntil([&] { return device_.reportedString(title, name).has_value(); });
        return device_.reportedString(title, name).value_or(L"(nothing)");
    }

    TestDevice device_;
    int pidA_ = 0;
    int pidB_ = 0;
};

TEST_F(TwoProgramsTest, FindEachOtherAndExchangePostedMessages) {
    platform::WindowHandle windowA = platform::findWindow(L"PeerA", L"A");
    platform::WindowHandle windowB = platform::findWindow(L"PeerB", L"B");
    ASSERT_NE(windowA, 0u);
    ASSERT_NE(windowB, 0u);
    EXPECT_EQ(platform::findWindow(L"PeerB", L"not B"), 0u);

    // A hands parameters on to B's window, which it looks up by class and title.
    post("PeerA", "WM_USER+3", "123456789", "-42");
    EXPECT_EQ(received("B", testprog::kFromPeer), L"123456789 -42");
    EXPECT_EQ(device_.reportedNumber("A", L"PeerWindow"), windowB);

    post("PeerB", "WM_USER+3", "7", "0x7FFFFFFF");
    EXPECT_EQ(received("A", testprog::kFromPeer), L"7 2147483647");
    EXPECT_EQ(device_.reportedNumber("B", L"PeerWindow"), windowA);
}

TEST_F(TwoProgramsTest, RegisteredMessagesHaveOneNumberOnTheDevice) {
    auto pingA = device_.reportedNumber("A", L"PingNumber");
    auto pingB = device_.reportedNumber("B", L"PingNumber");
    ASSERT_TRUE(pingA && pingB);
    EXPECT_EQ(*pingA, *pingB);
    EXPECT_GE(*pingA, platform::wm::FirstRegistered);
    // A third program (this test) gets the same numbers for the same names.
    EXPECT_EQ(platform::registerWindowMessage(testprog::kPingName), *pingA);
    std::uint32_t pong = platform::registerWindowMessage(testprog::kPongName);
    EXPECT_EQ(device_.reportedNumber("A", L"PongNumber"), pong);
    EXPECT_NE(pong, *pingA);

    // A pings B with the registered message; B answers with the other one, wParam + 1.
    post("PeerA", "WM_USER+5", "41");
    EXPECT_EQ(received("B", *pingA), L"41 0");
    EXPECT_EQ(received("A", pong), L"42 0");

    // The registered name works on the command line too.
    post("PeerB", "VornTestPing", "99", "5");
    // B already holds the first ping's report: wait for the new one to replace it.
    std::wstring pingName = L"Msg" + std::to_wstring(*pingA);
    waitUntil([&] { return device_.reportedString("B", pingName) == L"99 5"; });
    EXPECT_EQ(device_.reportedString("B", pingName), L"99 5");
    waitUntil(
        [&] { return device_.reportedString("A", L"Msg" + std::to_wstring(pong)) == L"100 5"; });
    EXPECT_EQ(device_.reportedString("A", L"Msg" + std::to_wstring(pong)), L"100 5");
}

TEST_F(TwoProgramsTest, CloseFromTheOtherProgramEndsItsLoop) {
    post("PeerA", "WM_USER+2");
    ASSERT_TRUE(waitUntil([&] { return !isRunning(pidB_); })) << device_.deviceLog();
    EXPECT_EQ(device_.reportedNumber("B", L"Destroyed"), 1u);
    EXPECT_EQ(device_.reportedNumber("B", L"LoopEnded"), 1u);
    EXPECT_EQ(platform::findWindow(L"PeerB", L"B"), 0u);

    // A is untouched and still answers.
    EXPECT_TRUE(isRunning(pidA_));
    EXPECT_FALSE(device_.reportedNumber("A", L"Destroyed").has_value());
    CommandResult windows = device_.ctl({"windows"});
    EXPECT_NE(windows.out.find("\tPeerA\tA\t"), std::string::npos) << windows.out;
    EXPECT_EQ(windows.out.find("PeerB"), std::string::npos) << windows.out;

    // A post to the closed program's window now fails instead of vanishing.
    CommandResult r = device_.ctl({"post", "--class", "PeerB", "WM_USER"});
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(TwoProgramsTest, ConcurrentRegistryWritesAllLandWhole) {
    constexpr int kWrites = 1000;
    post("PeerA", "WM_USER+1");
    post("PeerB", "WM_USER+1");
    for (const char* title : {"A", "B"}) {
        ASSERT_TRUE(
            waitUntil([&] { return device_.reportedNumber(title, L"WriteReady").has_value(); }));
    }
    auto shared = platform::RegistryKey::create(platform::Hive::CurrentUser, testprog::kSharedKey);
    ASSERT_TRUE(shared);
    ASSERT_TRUE(shared->setDword(L"Go", 1));
    for (const char* title : {"A", "B"}) {
        ASSERT_TRUE(
            waitUntil([&] { return device_.reportedNumber(title, L"WritesDone").has_value(); },
                      std::chrono::minutes(3)))
            << title << " did not finish writing";
        EXPECT_EQ(device_.reportedNumber(title, L"WritesDone"), std::uint32_t{kWrites});
        EXPECT_EQ(device_.reportedNumber(title, L"WriteFailures"), 0u);
    }

    // The two loops ran at the same time.
    auto startA = device_.reportedNumber("A", L"WriteStart"),
         endA = device_.reportedNumber("A", L"WriteEnd");
    auto startB = device_.reportedNumber("B", L"WriteStart"),
         endB = device_.reportedNumber("B", L"WriteEnd");
    ASSERT_TRUE(startA && endA && startB && endB);
    EXPECT_LT(std::max(*startA, *startB), std::min(*endA, *endB));

    auto values = shared->values();
    EXPECT_EQ(values.size(), 2u * kWrites + 2);  // with "Go" and "Last"
    int wrong = 0;
    for (const std::wstring writer : {L"A", L"B"}) {
        for (int i = 0; i < kWrites; ++i) {
            auto v = shared->queryString(writer + L"." + std::to_wstring(i), 4096);
            if (v != testprog::writtenValue(writer, i))
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    // The value both overwrote holds one writer's last value entirely.
    auto last = shared->queryString(L"Last", 4096);
    ASSERT_TRUE(last);
    EXPECT_TRUE(*last == testprog::writtenValue(L"A", kWrites - 1) ||
                *last == testprog::writtenValue(L"B", kWrites - 1))
        << platform::toUtf8(*last);
}

}  // namespace
