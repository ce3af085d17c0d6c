#pragma once

#include "ui/module.h"

namespace app {
class Application;
}

namespace worldtime {

class WorldClockScreen final : public ui::Module {
  public:
    WorldClockScreen(app::Application& app, int previousId);

  private:
    app::Application& app_;
    int previousId_;
};

}  // namespace worldtime
