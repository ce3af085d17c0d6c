#pragma once
// Which window messages may travel between programs. A message crossing a process boundary
// carries its two parameters as plain numbers, so a message whose parameter is an address in
// the sender's memory (a string, a structure, a buffer to fill, a drawing context) would make
// the receiver read or write whatever lies at that number in its own memory. Such messages
// are refused on both sides: a program never sends one to another program, and a program
// never hands one it received from another program to a window procedure.

#include <cstdint>

#include "platform/gui/datagram.h"

namespace platform::gui {

// True when wParam or lParam of the message is an address in the sender's memory.
bool carriesPointer(std::uint32_t message);

// True when a datagram received from another program may be handled: every kind except a
// posted or sent window message whose parameters are addresses.
bool mayCrossProcesses(const Datagram& d);

}  // namespace platform::gui
