#pragma once
// The headless display: the framebuffer stays in memory; input comes only from control
// requests and tests. The default for tests and CI.

#include <memory>

#include "platform/gui/screen.h"

namespace platform::headless {

std::unique_ptr<gui::DisplayBackend> createBackend();

}  // namespace platform::headless
