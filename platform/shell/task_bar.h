#pragma once
// The task bar's drawing and what it shows. Internal to the shell.

#include <string>

#include "platform/api/draw.h"

namespace platform::shell {

struct TaskBarLook {
    bool hidden = false;
    bool flagHidden = false;
    std::wstring title;
    std::wstring clock;  // "HH:mm"
    friend bool operator==(const TaskBarLook&, const TaskBarLook&) = default;
};

TaskBarLook currentTaskBarLook();
void paintTaskBar(DeviceContext& dc);
std::wstring deviceClockText();
int millisecondsToNextMinute();
void forgetFullScreenOfDeadWindows();
// The window in front asked the shell to hide the start icon.
bool startIconHidden();

}  // namespace platform::shell
