// What this program accepts from other programs: window messages whose parameters are
// addresses never cross, answers nobody waits for are not kept, and a flood of bad datagrams
// writes a bounded number of log lines.

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/api/controls.h"
#include "platform/api/window.h"
#include "platform/gui/ipc.h"
#include "platform/gui/log_limiter.h"
#include "platform/gui/message_params.h"
#include "platform/gui/window_system.h"
#include "tests/platform/support/test_device.h"

using namespace platform;
using namespace platform::gui;

namespace {

Datagram windowMessage(DatagramKind kind, std::uint32_t message) {
    Datagram d;
    d.kind = kind;
    d.window = 1;
    d.message = message;
    d.wParam = 1;
    d.lParam = 0x41414141;
    return d;
}

TEST(CrossProcessMessages, MessagesWithAddressesAreRefusedEitherWay) {
    for (std::uint32_t message :
         {wm::Create, wm::SetText, wm::GetText, wm::Notify, wm::EraseBackground, wm::SetFont,
          wm::CtlColorEdit, std::uint32_t{0x004A}, em::GetSel, em::ReplaceSel, dtm::GetSystemTime,
          dtm::SetSystemTime, dtm::SetFormat}) {
        SCOPED_TRACE(message);
        EXPECT_TRUE(carriesPointer(message));
        EXPECT_FALSE(mayCrossProcesses(windowMessage(DatagramKind::Post, message)));
        EXPECT_FALSE(mayCrossProcesses(windowMessage(DatagramKind::Send, message)));
    }
}

TEST(CrossProcessMessages, MessagesOfNumbersStillCross) {
    test::useTestDevice();  // registered names live in the device state
    // What the system's own programs post to each other: closing, commands, keys, the
    // hand-over notice (wm::User + 201), user and application messages and registered names.
    for (std::uint32_t message :
         {wm::Close, wm::Command, wm::KeyDown, wm::Char, wm::Timer, wm::SettingChange, wm::User,
          wm::User + 3, wm::User + 201, std::uint32_t{0x8000},
          registerWindowMessage(L"VornRoamerComms"), registerWindowMessage(L"VornEmbedded")}) {
        SCOPED_TRACE(message);
        EXPECT_FALSE(carriesPointer(message));
        EXPECT_TRUE(mayCrossProcesses(windowMessage(DatagramKind::Post, message)));
    }
    // Kinds other than window messages carry no message number to judge.
    Datagram control;
    control.kind = DatagramKind::Control;
    control.message = wm::SetText;
    EXPECT_TRUE(mayCrossProcesses(control));
}

TEST(CrossProcessMessages, ReceivedPointerMessageNeverReachesTheProgram) {
    test::useTestDevice();
    auto& own = Endpoint::own();
    ASSERT_TRUE(own.sendToProcess(static_cast<int>(::getpid()),
                                  windowMessage(DatagramKind::Post, wm::SetText)));
    ASSERT_TRUE(own.sendToProcess(static_cast<int>(::getpid()),
                                  windowMessage(DatagramKind::Post, wm::User + 7)));
    ASSERT_TRUE(own.waitReadable(5000));
    auto first = own.receive();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->message, wm::User + 7u);
    EXPECT_FALSE(own.receive());
}

TEST(CrossProcessMessages, AnswersNobodyWaitsForAreNotKept) {
    test::useTestDevice();
    auto& own = Endpoint::own();
    // Forged answers to sends this program never made, in rounds the socket can queue.
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 100; ++i) {
            Datagram reply;
            reply.kind = DatagramKind::SendReply;
            reply.sequence = static_cast<std::uint64_t>(round * 100 + i) + 1000;
            reply.lParam = 7;
            ASSERT_TRUE(own.sendToProcess(static_cast<int>(::getpid()), reply));
        }
        drainSocket();
    }
    EXPECT_TRUE(windowSystem().sendReplies.empty());
}

TEST(LogLimiterTest, LogsAFewPerIntervalThenOneCount) {
    LogLimiter limiter(3, std::chrono::seconds(10));
    auto start = LogLimiter::Clock::time_point{} + std::chrono::hours(1);
    int admitted = 0;
    for (int i = 0; i < 1000; ++i) admitted += limiter.admit(start + std::chrono::milliseconds(i));
    EXPECT_EQ(admitted, 3);
    // Nothing to report while the interval lasts.
    EXPECT_FALSE(limiter.endIntervalIfOver(start + std::chrono::seconds(9), "drops"));
    auto summary = limiter.endIntervalIfOver(start + std::chrono::seconds(10), "drops");
    ASSERT_TRUE(summary);
    EXPECT_EQ(*summary, "997 more drops in the last 10 s");
    // The count is given once, and the next interval logs its first few again.
    EXPECT_FALSE(limiter.endIntervalIfOver(start + std::chrono::seconds(30), "drops"));
    EXPECT_TRUE(limiter.admit(start + std::chrono::seconds(31)));
}

TEST(LogLimiterTest, QuietIntervalReportsNothing) {
    LogLimiter limiter(3, std::chrono::seconds(10));
    auto start = LogLimiter::Clock::time_point{} + std::chrono::hours(1);
    EXPECT_TRUE(limiter.admit(start));
    EXPECT_TRUE(limiter.admit(start));
    EXPECT_FALSE(limiter.endIntervalIfOver(start + std::chrono::seconds(11), "drops"));
}

}  // namespace
