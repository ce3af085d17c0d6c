// The sending side of control requests: a short-lived socket of its own that the program
// answers to.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "platform/api/control.h"
#include "platform/gui/device_windows.h"
#include "platform/gui/ipc.h"
#include "platform/gui/window_system.h"

namespace platform {

using namespace gui;

std::optional<ControlReply> sendControl(int processId, std::string_view request, int timeoutMs) {
    if (!isProcessRunning(processId))
        return std::nullopt;
    static std::atomic<int> counter{0};
    int n = counter++;
    Endpoint client(runFolder() /
                    ("ctl-" + std::to_string(::getpid()) + "-" + std::to_string(n) + ".sock"));
    Datagram d;
    d.kind = DatagramKind::Control;
    d.sequence = static_cast<std::uint64_t>(n) + 1;
    d.replyPath = client.path().string();
    d.text = std::string(request);
    if (!client.sendToProcess(processId, d))
        return std::nullopt;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (auto reply = client.receive()) {
            if (reply->kind == DatagramKind::ControlReply && reply->sequence == d.sequence) {
                return ControlReply{reply->ok, reply->text};
            }
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0 || !isProcessRunning(processId))
            return std::nullopt;
        client.waitReadable(static_cast<int>(std::min<long long>(left, 200)));
    }
}

void broadcastScreenChanged() {
    std::vector<int> done;
    int self = static_cast<int>(::getpid());
    for (const auto& w : liveTopLevelWindows()) {
        if (std::find(done.begin(), done.end(), w.processId) != done.end())
            continue;
        done.push_back(w.processId);
        if (w.processId == self) {
            gui::applyScreenProfile();
        } else {
            sendControl(w.processId, "screen-changed", 3000);
        }
    }
    if (std::find(done.begin(), done.end(), self) == done.end())
        gui::applyScreenProfile();
}

int foregroundProcess() {
    auto windows = liveTopLevelWindows();
    WindowHandle fg = deviceForegroundWindow();
    for (const auto& w : windows) {
        if (w.handle == fg)
            return w.processId;
    }
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (it->visible)
            return it->processId;
    }
    return 0;
}

}  // namespace platform
