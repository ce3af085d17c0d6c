// ctl verbs about the device's services: the notification records and their runs, the
// play log of sounds, the power state with the backlight and LEDs, and the phone status.

#include <cstdio>
#include <iostream>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/phone.h"
#include "platform/api/power.h"
#include "platform/api/sound.h"
#include "platform/api/state_notifications.h"
#include "tools/vorndev/ctl_verbs.h"

namespace vorndev {
namespace {

using platform::toUtf8;

const char* kindName(platform::NotificationKind kind) {
    switch (kind) {
        case platform::NotificationKind::Event:
            return "event";
        case platform::NotificationKind::Time:
            return "time";
        case platform::NotificationKind::Period:
            return "period";
        case platform::NotificationKind::ClassicTime:
            return "classic-time";
    }
    return "unknown";
}

const char* outcomeName(platform::NotificationOutcome outcome) {
    switch (outcome) {
        case platform::NotificationOutcome::Started:
            return "started";
        case platform::NotificationOutcome::Late:
            return "late";
        case platform::NotificationOutcome::Missed:
            return "missed";
        case platform::NotificationOutcome::Failed:
            return "failed";
    }
    return "unknown";
}

// When a record fires: its start for time records, its event for event records.
std::string triggerText(const platform::NotificationRecord& r) {
    if (r.kind == platform::NotificationKind::Event)
        return r.event == platform::NotificationEvent::Rs232Detected ? "docked" : "event";
    return isoTime(r.start, false);
}

std::string utcText(platform::FileTime t) {
    auto time = platform::toSystemTime(t);
    return time ? isoTime(*time, true) : "-";
}

void listNotifications() {
    std::cout << "handle\tkind\tstart\tapplication\targuments\n";
    for (auto handle : platform::userNotificationHandles()) {
        auto r = platform::userNotification(handle);
        if (!r)
            continue;  // cleared meanwhile
        std::cout << handle << "\t" << kindName(r->kind) << "\t" << triggerText(*r) << "\t"
                  << toUtf8(r->application) << "\t" << toUtf8(r->arguments) << "\n";
    }
    // State registrations have names rather than handles; they follow the records.
    for (const auto& n : platform::stateNotifications()) {
        std::cout << toUtf8(n.name) << "\tstate\t" << toUtf8(n.key) << "\\" << toUtf8(n.value)
                  << "\t" << toUtf8(n.application) << "\t" << toUtf8(n.arguments) << "\n";
    }
}

void listRuns() {
    std::cout << "ran_at\thandle\toutcome\tstart\tapplication\targuments\tpid\n";
    for (const auto& run : platform::notificationRunLog()) {
        std::cout << utcText(run.ranAt) << "\t" << run.handle << "\t" << outcomeName(run.outcome)
                  << "\t" << triggerText(run.record) << "\t" << toUtf8(run.record.application)
                  << "\t" << toUtf8(run.record.arguments) << "\t" << run.processId << "\n";
    }
}

int clearNotifications(const Arguments& a) {
    if (a.has("all")) {
        a.expectAtMost(1);
        int cleared = 0;
        for (auto handle : platform::userNotificationHandles())
            cleared += platform::clearUserNotification(handle) ? 1 : 0;
        std::cout << "Cleared " << cleared << " notification(s).\n";
        return 0;
    }
    a.expectAtMost(2);
    auto handle = static_cast<platform::NotificationHandle>(
        parseNumber(a.required(1, "HANDLE"), "HANDLE", 1, 0xFFFFFFFFLL));
    if (!platform::clearUserNotification(handle))
        throw Failure("no notification with handle " + std::to_string(handle));
    return 0;
}

// "+SECONDS" from now, or a device-local time.
platform::SystemTime startOf(const std::string& text) {
    if (!text.starts_with("+"))
        return parseIsoTime(text, false, "TIME");
    std::int64_t seconds = parseNumber(text.substr(1), "TIME", 0, 400LL * 366 * 24 * 3600);
    auto now = platform::toFileTime(platform::deviceLocalTime());
    auto start = platform::toSystemTime(*now + static_cast<platform::FileTime>(seconds) *
                                                   platform::kFileTimeTicksPerSecond);
    if (!start)
        throw UsageError("no such moment: " + text);
    return *start;
}

int addNotification(const Arguments& a) {
    platform::NotificationRecord r;
    r.kind = platform::NotificationKind::Time;
    r.start = startOf(a.required(1, "TIME"));
    r.end = platform::SystemTime{0, 0, 0, 0, 0, 0, 0, 0};
    r.application = platform::fromUtf8(a.required(2, "DEVICEPATH"));
    for (std::size_t i = 3; i < a.positional().size(); ++i) {
        if (i > 3)
            r.arguments += L' ';
        r.arguments += platform::fromUtf8(a.positional()[i]);
    }
    platform::NotificationHandle handle = platform::setUserNotification(0, r);
    if (!handle)
        throw Failure("the notification was refused (a program path and arguments of at most " +
                      std::to_string(platform::kMaxNotificationText) + " characters)");
    std::cout << handle << "\t" << isoTime(r.start, false) << "\n";
    return 0;
}

const char* phoneName(std::uint32_t status) {
    if (status & platform::kPhoneIncomingCall)
        return "incoming";
    if (status & (platform::kPhoneCallInProgress | platform::kPhoneCallTalking))
        return "busy";
    return "idle";
}

}  // namespace

void printNotificationRuns(const std::vector<platform::NotificationRun>& runs) {
    for (const auto& run : runs) {
        std::cout << "ran\t" << run.handle << "\t" << outcomeName(run.outcome) << "\t"
                  << triggerText(run.record) << "\t" << toUtf8(run.record.application) << "\t"
                  << toUtf8(run.record.arguments) << "\t" << run.processId << "\n";
    }
}

int ctlNotifications(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    std::string action = a.optional(0).value_or("list");
    if (action == "list") {
        a.expectAtMost(1);
        listNotifications();
    } else if (action == "runs") {
        a.expectAtMost(1);
        listRuns();
    } else if (action == "clear") {
        return clearNotifications(a);
    } else if (action == "add") {
        return addNotification(a);
    } else {
        throw UsageError("unknown notifications action \"" + action +
                         "\"; use list, runs, add or clear");
    }
    return 0;
}

int ctlSound(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(0);
    if (a.has("clear")) {
        platform::clearPlayLog();
        return 0;
    }
    char volume[16];
    std::snprintf(volume, sizeof volume, "0x%08X", platform::waveOutVolume());
    std::cout << "volume=" << volume << "\n";
    std::cout << "start\tduration_ms\tvolume\tstopped\tpid\tfile\n";
    for (const auto& p : platform::playLog()) {
        std::snprintf(volume, sizeof volume, "0x%08X", p.volume);
        std::cout << utcText(p.start) << "\t" << p.durationMs << "\t" << volume << "\t"
                  << (p.stopped ? 1 : 0) << "\t" << p.processId << "\t" << toUtf8(p.file) << "\n";
    }
    return 0;
}

int ctlPower(CtlContext& ctx) {
    ctx.args().expectAtMost(0);
    char state[16];
    std::snprintf(state, sizeof state, "0x%08X", platform::systemPowerState());
    std::cout << "state=" << state << "\n"
              << "backlight=" << (platform::backlightHeld() ? "held" : "free") << "\n";
    for (int led = 0; led < platform::ledCount(); ++led) {
        auto info = platform::ledInfo(led);
        bool vibrator = info && info->cycleAdjust == -1;
        std::cout << (vibrator ? "vibrator" : "led" + std::to_string(led)) << "="
                  << platform::ledState(led) << "\n";
    }
    return 0;
}

int ctlPhone(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(1);
    if (auto state = a.optional(0)) {
        if (*state == "idle") {
            platform::setPhoneStatus(0);
        } else if (*state == "incoming") {
            platform::setPhoneStatus(platform::kPhoneIncomingCall);
        } else if (*state == "busy") {
            platform::setPhoneStatus(platform::kPhoneCallInProgress);
        } else {
            throw UsageError("phone takes idle, incoming or busy, not \"" + *state + "\"");
        }
    }
    std::uint32_t status = platform::phoneStatus();
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", status);
    std::cout << phoneName(status) << "\t" << text << "\n";
    return 0;
}

// The cradle: "Cradled" under HKLM\System\State\Hardware is 1 while the device sits in it.
// Docking also signals the serial-connection event that event notifications wait for.
int ctlDock(CtlContext& ctx) {
    ctx.args().expectAtMost(0);
    bool docking = ctx.verb() == "dock";
    auto key =
        platform::RegistryKey::create(platform::Hive::LocalMachine, L"System\\State\\Hardware");
    if (!key || !key->setDword(L"Cradled", docking ? 1 : 0))
        throw Failure("cannot set the cradle state");
    // What waits for the change starts now rather than at the service's next look, as
    // `ctl clock` does for timed records; each change starts its program once either way.
    printNotificationRuns(platform::runStateNotifications());
    if (docking)
        printNotificationRuns(
            platform::signalNotificationEvent(platform::NotificationEvent::Rs232Detected));
    std::cout << (docking ? "docked" : "undocked") << "\n";
    return 0;
}

}  // namespace vorndev
