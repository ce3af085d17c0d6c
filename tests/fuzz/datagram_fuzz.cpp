// Feeds arbitrary bytes to the decoder of the datagrams programs send each other. Whatever
// decodes must encode back to the very same bytes, and decode again to the same message.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/gui/datagram.h"

namespace {

using platform::gui::Datagram;

bool sameMessage(const Datagram& a, const Datagram& b) {
    return a.kind == b.kind && a.sequence == b.sequence && a.window == b.window &&
           a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.senderPid == b.senderPid && a.ok == b.ok && a.replyPath == b.replyPath &&
           a.text == b.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    auto decoded = platform::gui::decodeDatagram(bytes);
    if (!decoded)
        return 0;
    std::vector<std::uint8_t> encoded = platform::gui::encodeDatagram(*decoded);
    if (encoded.size() != size || !std::equal(encoded.begin(), encoded.end(), data))
        std::abort();
    auto again = platform::gui::decodeDatagram(encoded);
    if (!again || !sameMessage(*decoded, *again))
        std::abort();
    return 0;
}
