// The main program: the application with every subsystem's screens.

#include "app/application.h"
#include "worldtime/screens/screens.h"

namespace {

// Each subsystem answers for its own module ids; ids nobody answers get the placeholder.
std::unique_ptr<ui::Module> createScreen(app::Application& app, int id, int previousId) {
    if (auto screen = worldtime::createWorldTimeScreen(app, id, previousId))
        return screen;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    return app::runMainProgram(argc, argv, createScreen);
}
