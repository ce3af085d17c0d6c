#pragma once
// The device every screen test runs on: a 240x320 test device holding a copy of the install
// folder (screens write their files into it, never into the source tree), the stand-in comms
// program at its device path, and the shell and native controls of a headless program. Made
// once per test program; each test restores the files it changes.

#include <filesystem>
#include <string>

namespace screens::test {

// The device's install folder ("\Program Files\Vorn Roamer\").
const std::filesystem::path& screenTestDevice();

// The shipped copy of an install-folder file ("mycities.dat", "conversions/rates.dat") put
// back over the device's.
void restoreInstalledFile(const std::string& name);

}  // namespace screens::test
