#pragma once

#include "ui/module.h"

namespace app {
class Application;
}

namespace worldtime {

class CityScreen final : public ui::Module {
  public:
    CityScreen(app::Application& app, int previousId);

  private:
    app::Application& app_;
    int previousId_;
};

}  // namespace worldtime
