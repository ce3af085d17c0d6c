#pragma once
// The comms program: started with a request line, it shows a hidden window of class and
// title "Vorn Roamer Comms", sets SchedulerStatus while it works, reports to the main window
// with the message "VornRoamerComms" (1 started; 3 after leaving SchedErrorStr; 2 done with
// lParam 1 or 0; 0 ended) and ends cleanly on WM_CLOSE at any moment. A request while another
// comms program runs is refused.

namespace commsprogram {

int runCommsProgram(int argc, char** argv);

}  // namespace commsprogram
