// Feeds arbitrary bytes to what a program does with a datagram from another program before
// any window procedure sees it: the decoder, then the check of which messages may cross. A
// window message whose parameters are addresses must never be let through.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/api/controls.h"
#include "platform/api/window.h"
#include "platform/gui/datagram.h"
#include "platform/gui/message_params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    using namespace platform::gui;
    auto d = decodeDatagram(std::span<const std::uint8_t>(data, size));
    if (!d || !mayCrossProcesses(*d))
        return 0;
    if (d->kind != DatagramKind::Post && d->kind != DatagramKind::Send)
        return 0;
    switch (d->message) {
        case wm::Create:
        case wm::SetText:
        case wm::GetText:
        case wm::Notify:
        case wm::EraseBackground:
        case wm::SetFont:
        case wm::CtlColorEdit:
        case em::GetSel:
        case em::ReplaceSel:
        case dtm::GetSystemTime:
        case dtm::SetSystemTime:
        case dtm::SetFormat:
            std::abort();
        default:
            break;
    }
    if (carriesPointer(d->message) || !messageMayCrossPrograms(d->message))
        std::abort();
    return 0;
}
