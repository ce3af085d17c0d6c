#include "platform/gui/message_params.h"

#include <algorithm>
#include <array>

#include "platform/api/controls.h"
#include "platform/api/window.h"

namespace platform::gui {
namespace {

// Every message of the system whose wParam or lParam is an address, with the numbers the
// handheld gives the standard ones that this system does not use itself, so a program that
// posts them by number is refused too. Registered messages, wm::User and up (apart from the
// controls' own below) and the application range carry numbers only.
constexpr std::array kPointerMessages = {
    wm::Create,             // lParam: the creation parameters
    wm::SetText,            // lParam: the new text
    wm::GetText,            // lParam: the buffer to fill
    wm::EraseBackground,    // wParam: the drawing context
    wm::Notify,             // lParam: the notification record
    wm::SetFont,            // wParam: the font
    wm::CtlColorEdit,       // wParam: the drawing context
    std::uint32_t{0x0024},  // get min-max info: lParam, the sizes to fill
    std::uint32_t{0x002B},  // draw item: lParam, the drawing record
    std::uint32_t{0x002C},  // measure item: lParam, the sizes to fill
    std::uint32_t{0x002D},  // delete item: lParam, the item record
    std::uint32_t{0x0039},  // compare item: lParam, the two items
    std::uint32_t{0x0046},  // window position changing: lParam, the position to adjust
    std::uint32_t{0x0047},  // window position changed: lParam, the position
    std::uint32_t{0x004A},  // copy data: lParam, the data record
    std::uint32_t{0x0081},  // non-client create: lParam, the creation parameters
    std::uint32_t{0x0083},  // non-client size: lParam, the rectangles to adjust
    std::uint32_t{0x0132},  // control colours (message box, list box, button, dialog, scroll
    std::uint32_t{0x0134},  // bar, static): wParam, the drawing context
    std::uint32_t{0x0135},
    std::uint32_t{0x0136},
    std::uint32_t{0x0137},
    std::uint32_t{0x0138},
    em::GetSel,          // wParam and lParam: where to store the selection
    em::ReplaceSel,      // lParam: the text
    dtm::GetSystemTime,  // lParam: the time to fill
    dtm::SetSystemTime,  // lParam: the new time
    dtm::SetFormat,      // lParam: the picture
};

}  // namespace

bool carriesPointer(std::uint32_t message) {
    return std::find(kPointerMessages.begin(), kPointerMessages.end(), message) !=
           kPointerMessages.end();
}

bool mayCrossProcesses(const Datagram& d) {
    if (d.kind != DatagramKind::Post && d.kind != DatagramKind::Send)
        return true;
    return !carriesPointer(d.message);
}

}  // namespace platform::gui

namespace platform {

bool messageMayCrossPrograms(std::uint32_t id) {
    return !gui::carriesPointer(id);
}

}  // namespace platform
