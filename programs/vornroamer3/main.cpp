// The main program.

#include "app/application.h"

int main(int argc, char** argv) { return app::runMainProgram(argc, argv); }
