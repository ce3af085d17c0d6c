#pragma once
// Keeps the screen lit while something rings: the system power state forced on and the
// backlight device required at full power. One hold per process.

namespace alarms {

// On: when not yet held, keeps the present power-state flags, forces the power state on and
// requires "BKL1:" at D0. Off: when held, releases the requirement and restores the flags
// kept by the first on. Repeated calls in the same direction change nothing.
void holdBacklight(bool on);
bool backlightHoldActive();

}  // namespace alarms
