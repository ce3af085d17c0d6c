// The main program: the application with every subsystem's screens, one line per subsystem.

#include "app/application.h"
#include "worldtime/screens/screens.h"

int main(int argc, char** argv) {
    ui::ScreenRegistry screens;
    worldtime::registerScreens(screens);
    return app::runMainProgram(argc, argv, std::move(screens));
}
