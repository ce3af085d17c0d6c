#pragma once
// Messages between the programs of the device travel as datagrams on each program's socket
// in <root>/.device/run/. This is their wire format: a fixed little-endian header and a body
// that depends on the kind. Anything malformed decodes to nothing and is dropped.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::gui {

constexpr std::uint32_t kDatagramMagic = 0x314E5256;  // "VRN1"
constexpr std::size_t kMaxDatagramSize = 64 * 1024;

enum class DatagramKind : std::uint16_t {
    Post = 1,          // a posted window message
    Send = 2,          // a sent window message that waits for its answer
    SendReply = 3,     // the answer to Send
    Control = 4,       // a control request (text) with the path to answer to
    ControlReply = 5,  // the answer to Control
    Activate = 6,      // bring a window of the receiver to the front (window), or deactivate
};

struct Datagram {
    DatagramKind kind = DatagramKind::Post;
    std::uint64_t sequence = 0;  // Send, SendReply, Control, ControlReply
    std::uint32_t window = 0;
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;     // also the result of SendReply
    std::int32_t senderPid = 0;  // Send: who waits for the reply
    bool ok = false;             // ControlReply; Activate: true = activate
    std::string replyPath;       // Control: where to answer
    std::string text;            // Control request, ControlReply answer (UTF-8)
};

std::vector<std::uint8_t> encodeDatagram(const Datagram& d);
std::optional<Datagram> decodeDatagram(std::span<const std::uint8_t> bytes);

}  // namespace platform::gui
