#include "platform/controls/native_controls.h"

#include "platform/api/controls.h"

namespace platform {

void registerNativeControls() {
    if (!isWindowClassRegistered(kEditClass))
        registerWindowClass(controls::editWindowClass());
    if (!isWindowClassRegistered(kDateTimePickerClass)) {
        registerWindowClass(controls::dateTimePickerWindowClass());
    }
}

}  // namespace platform
