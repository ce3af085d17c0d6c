// The alarm program, started by the notification service: rings one alarm and ends.

#include "alarmprogram/alarm_program.h"

int main(int argc, char** argv) {
    return alarmprogram::runAlarmProgram(argc, argv);
}
