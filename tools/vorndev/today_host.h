#pragma once
// The device's Today screen: the home screen of the handheld, showing the date, the owner and
// the Today items that plug-ins add, with a start menu of the installed programs. Runs as its
// own program of the device (`vorndev today`), started by `vorndev start`.

namespace vorndev {

int runTodayHost(int argc, char** argv);

}  // namespace vorndev
