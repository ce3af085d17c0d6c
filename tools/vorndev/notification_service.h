#pragma once
// The device's notification service: a program of the device (`vorndev notifications-service`,
// started by `vorndev start`) that starts the programs of time notifications when their time
// comes, and at its own start those whose time passed while the device was off. It has a
// hidden window so that closing the device's programs closes it too.

namespace vorndev {

int runNotificationService();

}  // namespace vorndev
