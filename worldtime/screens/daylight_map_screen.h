#pragma once

#include "ui/module.h"

namespace app {
class Application;
}

namespace worldtime {

class DaylightMapScreen final : public ui::Module {
  public:
    DaylightMapScreen(app::Application& app, int previousId);

  private:
    app::Application& app_;
    int previousId_;
};

}  // namespace worldtime
