// A program's message socket takes datagrams from anyone on the device: malformed and
// over-long ones are dropped and logged, and the program goes on answering.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/api/control.h"
#include "platform/gui/datagram.h"
#include "platform/gui/ipc.h"
#include "tests/e2e/programs/test_program.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
using platform::gui::Datagram;
using platform::gui::DatagramKind;

namespace {

// Sends raw bytes to a program's socket from an unbound socket of the test's own.
bool sendRaw(int processId, const std::vector<std::uint8_t>& bytes) {
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    int size = 1 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = platform::gui::socketPathFor(processId).string();
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ssize_t n = ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&addr),
                         sizeof addr);
    ::close(fd);
    return n == static_cast<ssize_t>(bytes.size());
}

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

class BadDatagramTest : public ::testing::Test {
  protected:
    void SetUp() override { pid_ = device_.startTestProgram("Victim", "Victim"); }

    // The program still takes a posted message and a control request.
    void expectStillAnswering(std::uint64_t marker) {
        CommandResult post =
            device_.ctl({"post", "--class", "Victim", "WM_USER+20", std::to_string(marker)});
        ASSERT_EQ(post.exitCode, 0) << post.err;
        std::wstring expected = std::to_wstring(marker) + L" 0";
        EXPECT_TRUE(waitUntil([&] {
            return device_.reportedString(
                       "Victim", L"Msg" + std::to_wstring(platform::wm::User + 20)) == expected;
        }));
        auto ping = platform::sendControl(pid_, "ping");
        ASSERT_TRUE(ping);
        EXPECT_TRUE(ping->ok);
        EXPECT_TRUE(isRunning(pid_));
    }

    TestDevice device_;
    int pid_ = 0;
};

TEST_F(BadDatagramTest, MalformedDatagramsAreDroppedAndLogged) {
    Datagram post;
    post.kind = DatagramKind::Post;
    post.window = platform::findWindow(L"Victim", L"Victim");
    post.message = platform::wm::User + 20;
    post.wParam = 666;
    std::vector<std::uint8_t> valid = platform::gui::encodeDatagram(post);

    std::vector<std::vector<std::uint8_t>> bad;
    bad.push_back({});                  // empty
    bad.push_back({0x01, 0x02, 0x03});  // shorter than the header
    bad.push_back(std::vector<std::uint8_t>(valid.begin(), valid.end() - 1));  // cut short
    auto trailing = valid;
    trailing.push_back(0);  // a byte too many
    bad.push_back(trailing);
    auto wrongMagic = valid;
    wrongMagic[0] ^= 0xFF;
    bad.push_back(wrongMagic);
    auto unknownKind = valid;
    unknownKind[4] = 0x7F;  // no such kind
    bad.push_back(unknownKind);
    // A control request whose text claims more bytes than follow.
    Datagram control;
    control.kind = DatagramKind::Control;
    control.text = "ping";
    auto lying = platform::gui::encodeDatagram(control);
    lying[lying.size() - 5] = 0xFF;
    bad.push_back(lying);
    for (const auto& bytes : bad) ASSERT_TRUE(sendRaw(pid_, bytes));

    expectStillAnswering(1);
    // None of the broken posts got through as a message.
    EXPECT_EQ(device_.reportedNumber("Victim", L"Count" + std::to_wstring(platform::wm::User + 20)),
              1u);
    EXPECT_TRUE(waitUntil([&] {
        return countOf(device_.deviceLog(), "dropped a malformed message datagram") >= bad.size();
    })) << device_.deviceLog();
}

TEST_F(BadDatagramTest, OverLongDatagramIsDroppedAndLogged) {
    // A well-formed control request, but larger than any datagram may be.
    Datagram control;
    control.kind = DatagramKind::Control;
    control.text = "type " + std::string(platform::gui::kMaxDatagramSize, 'x');
    ASSERT_TRUE(sendRaw(pid_, platform::gui::encodeDatagram(control)));
    ASSERT_TRUE(
        sendRaw(pid_, std::vector<std::uint8_t>(platform::gui::kMaxDatagramSize + 1, 0xAB)));

    expectStillAnswering(2);
    EXPECT_TRUE(waitUntil([&] {
        return countOf(device_.deviceLog(), "dropped an oversized message datagram") >= 2;
    })) << device_.deviceLog();
}

TEST_F(BadDatagramTest, MessagesWithAddressesFromAnotherProgramAreRefused) {
    platform::WindowHandle window = platform::findWindow(L"Victim", L"Victim");
    ASSERT_NE(window, 0u);
    // Parameters that would be read or written as addresses by the window procedure: a
    // wild one, a small number, and one that is a valid address in the test's own memory.
    static const wchar_t kSecret[] = L"a secret of the test process";
    const std::int64_t addresses[] = {1, 0x41414141, reinterpret_cast<std::int64_t>(kSecret)};
    std::vector<std::uint32_t> messages = {platform::wm::SetText, platform::wm::GetText,
                                           platform::wm::Notify, platform::wm::Create,
                                           platform::wm::EraseBackground};
    std::size_t sent = 0;
    for (auto kind : {DatagramKind::Post, DatagramKind::Send}) {
        for (std::uint32_t message : messages) {
            for (std::int64_t address : addresses) {
                Datagram d;
                d.kind = kind;
                d.window = window;
                d.message = message;
                d.wParam = static_cast<std::uint64_t>(address);
                d.lParam = address;
                d.senderPid = static_cast<int>(::getpid());
                ASSERT_TRUE(sendRaw(pid_, platform::gui::encodeDatagram(d)));
                ++sent;
            }
        }
    }

    expectStillAnswering(3);
    EXPECT_EQ(platform::windowText(window), L"Victim");
    EXPECT_TRUE(waitUntil([&] {
        return countOf(device_.deviceLog(), "from another program: its parameters are addresses") >=
               1;
    })) << device_.deviceLog();
}

TEST_F(BadDatagramTest, ControlRequestsAnswerOnlyInsideTheDevice) {
    // A socket outside the device that a forged request names for the answer.
    platform::gui::Endpoint outside(device_.root().parent_path() / "outside.sock");
    Datagram control;
    control.kind = DatagramKind::Control;
    control.sequence = 77;
    control.replyPath = outside.path().string();
    control.text = "ping";
    ASSERT_TRUE(sendRaw(pid_, platform::gui::encodeDatagram(control)));
    expectStillAnswering(5);
    EXPECT_TRUE(waitUntil([&] {
        return countOf(device_.deviceLog(), "control request that answers outside the device") >= 1;
    })) << device_.deviceLog();
    EXPECT_FALSE(outside.receive());
}

TEST_F(BadDatagramTest, FloodOfBadDatagramsWritesFewLogLines) {
    for (int i = 0; i < 2000; ++i) ASSERT_TRUE(sendRaw(pid_, {0x01, 0x02, 0x03}));
    expectStillAnswering(4);
    EXPECT_LE(countOf(device_.deviceLog(), "dropped a malformed message datagram"), 20u)
        << device_.deviceLog().substr(0, 2000);
}

}  // namespace
