#pragma once
// Helpers for the shared core's tests: files on the throw-away device, and a message-box
// collector that answers boxes instead of waiting for a person.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_box.h"

namespace core::test {

// Prepares the test device (once per program) and answers its root as a device path "\".
void useDevice();

// Writes bytes (or UTF-8 text) to a device file, creating its folder.
void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes);
// The file's bytes; empty when it is missing.
std::string readDeviceFile(std::wstring_view devicePath);

// Deletes the settings key and the Today item key.
void clearRegistry();

struct ShownBox {
    std::wstring text;
    std::wstring caption;
    std::uint32_t flags = 0;
};

// Collects every box shown while it lives; boxes answer OK.
class BoxCollector {
  public:
    BoxCollector();
    ~BoxCollector();
    BoxCollector(const BoxCollector&) = delete;
    BoxCollector& operator=(const BoxCollector&) = delete;
    const std::vector<ShownBox>& boxes() const { return boxes_; }

  private:
    std::vector<ShownBox> boxes_;
    MessageBoxHook previous_;
};

// True when a quit message is waiting in this thread's queue (it is taken out).
bool takeQuitMessage();

}  // namespace core::test
