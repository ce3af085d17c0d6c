#pragma once
// The device-wide table of windows: which program owns which window handle, so that any
// program can find a window by class and title and reach its owner. Kept in the machine-state
// store; rows of programs that died are dropped when noticed.

#include <optional>
#include <string>
#include <vector>

#include "platform/api/window.h"

namespace platform::gui {

struct DeviceWindow {
    WindowHandle handle = 0;
    int processId = 0;
    WindowHandle parent = 0;
    std::wstring className;
    std::wstring title;
    std::wstring program;
    bool visible = false;
    Rect rect;
};

// Allocates a device-wide handle for a new window of this program.
WindowHandle registerDeviceWindow(const DeviceWindow& w);
void forgetDeviceWindow(WindowHandle handle);
void forgetAllWindowsOfThisProgram();
void updateDeviceWindow(WindowHandle handle, const std::wstring& title, bool visible,
                        const Rect& rect);

std::optional<DeviceWindow> lookupDeviceWindow(WindowHandle handle);
std::vector<DeviceWindow> liveTopLevelWindows();
bool isProcessRunning(int processId);

WindowHandle deviceForegroundWindow();
void setDeviceForegroundWindow(WindowHandle handle);

std::uint32_t registeredMessageNumber(std::wstring_view name);

}  // namespace platform::gui
