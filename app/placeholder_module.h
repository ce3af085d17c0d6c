#pragma once
// The screen shown for a module id whose own screen is not part of this build: its title and
// a note, with the usual soft keys (the main menu on the left, Back on the right).

#include "ui/module.h"

namespace app {

class Application;

class PlaceholderModule final : public ui::Module {
  public:
    PlaceholderModule(Application& app, int id, int previousId);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

    int id() const { return id_; }
    // The screen it was opened from (ids 13 and 98 return there).
    int previousId() const { return previousId_; }

  private:
    Application& app_;
    int id_;
    int previousId_;
};

}  // namespace app
