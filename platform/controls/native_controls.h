#pragma once
// The window classes of the native controls, registered by registerNativeControls.

#include "platform/api/window.h"

namespace platform::controls {

WindowClass editWindowClass();
WindowClass dateTimePickerWindowClass();

}  // namespace platform::controls
