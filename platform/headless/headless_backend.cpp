#include "platform/headless/headless_backend.h"

#include <poll.h>

namespace platform::headless {
namespace {

class HeadlessBackend final : public gui::DisplayBackend {
  public:
    const char* name() const override { return "headless"; }
    void present(const Bitmap&, const Rect&) override {}
    void pollInput(std::vector<gui::InputEvent>&, int timeoutMs, int wakeFd) override {
        // Nothing arrives from a display; sleep until other work wakes the loop.
        if (timeoutMs == 0 || wakeFd < 0)
            return;
        pollfd fd{wakeFd, POLLIN, 0};
        ::poll(&fd, 1, timeoutMs);
    }
    void screenResized(Size) override {}
    void setTitle(const std::wstring&) override {}
    void setBusy(bool) override {}
    void raise() override {}
};

}  // namespace

std::unique_ptr<gui::DisplayBackend> createBackend() {
    return std::make_unique<HeadlessBackend>();
}

}  // namespace platform::headless
