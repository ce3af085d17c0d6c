// The comms program, installed as \windows\vornroamer3_sched.exe: runs one download request
// for the main program and ends.

#include "commsprogram/comms_program.h"

int main(int argc, char** argv) {
    return commsprogram::runCommsProgram(argc, argv);
}
