#include "core/comms.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_keys.h"
#include "core/window_link.h"
#include "platform/api/process.h"

namespace core {

std::uint32_t commsMessage() {
    return windowLink().registerMessage(kCommsMessageName);
}

int commsBusy() {
    int status = settings::read(keys::SchedulerStatus);
    if (status != 0 && !windowLink().findWindow(kCommsWindowName, kCommsWindowName)) {
        settings::write(keys::SchedulerStatus, 0);
        return 0;
    }
    return status;
}

bool isCommsRunning() {
    return commsBusy() != 0;
}

bool sendCommsRequest(std::wstring_view request) {
    return platform::startProgram(kCommsProgramPath, request).has_value();
}

bool cancelComms() {
    const WindowLink& link = windowLink();
    platform::WindowHandle window = link.findWindow(kCommsWindowName, kCommsWindowName);
    return window && link.postMessage(window, platform::wm::Close, 0, 0);
}

std::optional<int> commsErrorString(int code) {
    // Codes 2..7 are those every comms program reports; 8 says that flight status needs the
    // user's own key for the flight data service.
    static constexpr int kStrings[] = {686, 685, 682, 683, 684, 687, 820};
    if (code < 2 || code > 8)
        return std::nullopt;
    return kStrings[code - 2];
}

void showCommsError() {
    auto stringNumber = commsErrorString(settings::read(keys::SchedErrorStr));
    if (!stringNumber)
        return;
    // The box is modal and its loop keeps delivering comms messages, so a repeated report
    // would stack a second box with the same text over the first.
    static std::vector<std::wstring> onScreen;
    std::wstring text = languageString(*stringNumber);
    if (std::find(onScreen.begin(), onScreen.end(), text) != onScreen.end())
        return;
    onScreen.push_back(text);
    showExclamation(text, L"Vorn Roamer Updates");
    onScreen.erase(std::find(onScreen.begin(), onScreen.end(), text));
}

}  // namespace core
