#pragma once
// The main program on a throw-away device, driven as a person would through `vorndev ctl`:
// taps, keys, the program's own answers (`ctl app module`) and the settings it stores.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/support/e2e_device.h"

namespace e2e {

inline const std::string kMainProgram = "\\Program Files\\Vorn Roamer\\vornroamer3.exe";
inline const std::string kSettingsKey = "Software\\VornSoftware\\VornRoamer3";

class MainProgramSession : public ::testing::Test {
  protected:
    explicit MainProgramSession(const std::string& screen = "240x320") : device_(screen) {}

    // Marks the agreement accepted and the set-up wizard finished, so the program opens on
    // its start screen; call before startProgram.
    void skipWizard();
    // Starts the program headless and waits for its window and its first screen.
    void startProgram(int firstScreen);

    // A ctl command that must succeed; its output without the final line end.
    std::string ask(const std::vector<std::string>& args);
    // The live screen's module id (-100 when the program does not answer).
    int module();
    bool waitForModule(int id) {
        return waitUntil([&] { return module() == id; });
    }
    void key(const std::string& name) { ask({"key", name}); }
    void tap(int x, int y) { ask({"tap", std::to_string(x), std::to_string(y)}); }
    void tap(std::pair<int, int> point) { tap(point.first, point.second); }
    // A value the program stored under its settings key; empty when there is none.
    std::string registryValue(const std::string& name);

    TestDevice device_;
};

}  // namespace e2e
