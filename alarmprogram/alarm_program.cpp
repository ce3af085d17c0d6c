#include "alarmprogram/alarm_program.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "alarmprogram/alarm_window.h"
#include "alarmprogram/command_line.h"
#include "alarmprogram/ring_plan.h"
#include "alarms/alarm_player.h"
#include "alarms/alarm_store.h"
#include "alarms/backlight_hold.h"
#include "alarms/quick_alarm.h"
#include "alarms/settings_keys.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "core/windows/windows_link.h"
#include "gfx/display_metrics.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/phone.h"
#include "platform/api/program.h"
#include "platform/api/shell.h"
#include "worldtime/zones.h"

namespace alarmprogram {

namespace {

constexpr std::wstring_view kInstallFolderFallback = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kSnoozeFailedText = L"Snooze Alarm Setting Failed";
constexpr std::wstring_view kSnoozeFailedCaption = L"Vorn Roamer Alarms";

// For start-up measurements: VORN_EXIT_AFTER_FIRST_FRAME=1 ends the process the moment its
// window has been painted for the first time, so its run time is the time to that frame.
bool exitAfterFirstFrame() {
    const char* v = std::getenv("VORN_EXIT_AFTER_FIRST_FRAME");
    return v && std::string_view(v) == "1";
}

std::wstring installFolder() {
    std::wstring folder = core::readMainPath().value_or(std::wstring(kInstallFolderFallback));
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// The store lives beside the program ("\windows").
std::wstring storeFolder() {
    std::wstring folder = platform::folderOf(platform::ownDevicePath());
    while (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
    return folder.empty() ? std::wstring(alarms::kAlarmStoreFolder) : folder;
}

// The language the user chose, without asking anything when its files are missing: the
// window then shows its English labels.
void loadLanguage(const std::wstring& folder) {
    if (!platform::fileExists(folder + L"lang\\lang.dat"))
        return;
    if (!core::buildLanguageList(folder, 1, 9))
        return;
    core::RecordTable& list = core::languageList();
    if (auto stored = core::readSetting(core::keys::OptLang.name, core::keys::OptLang.byteLimit))
        list.setCurrentRow(list.find(core::languageListField::Code, *stored));
    core::openLanguage(folder, true, true);
}

std::wstring languageText(int number, std::wstring_view fallback) {
    std::wstring text = core::languageString(number);
    return text == core::kNotLoaded || text.empty() ? std::wstring(fallback) : text;
}

// Re-arms a repeating alarm for its next occurrence, in its city's time when it has one: the
// zones come from the install folder, and only such an alarm needs them.
void rearm(alarms::AlarmStore& store, const alarms::AlarmRecord& record,
           const std::wstring& installFolder) {
    if (record.zone != alarms::kDeviceZone && !worldtime::loadZones(installFolder))
        platform::logLine("alarm: the time zones did not load; a city alarm cannot be re-armed");
    store.rearmAfterRinging(record.name);
}

bool isAlarmCommand(Command c) {
    return c == Command::Alarm || c == Command::Snooze;
}

class AlarmProgram {
  public:
    AlarmProgram(ParsedCommandLine command, std::wstring installFolder)
        : command_(std::move(command)), installFolder_(std::move(installFolder)) {}

    // Finds the alarm and decides what rings; reads only, so the window can show at once.
    void prepare() {
        // The clock shows this moment and a snooze counts from it.
        ringStart_ = platform::deviceLocalTime();
        std::optional<alarms::AlarmRecord> record;
        if (isAlarmCommand(command_.command) && !command_.alarmName.empty()) {
            alarms::AlarmStore store(storeFolder());
            if (int row = store.find(command_.alarmName))
                record = store.record(row);
        }
        if (record && command_.command == Command::Alarm)
            dueAlarm_ = record;
        PreviewSettings preview;
        if (command_.command == Command::PlaySound) {
            preview.sound = core::settings::read(alarms::keys::AlarmSound);
            preview.volume = core::settings::read(alarms::keys::AlarmVol);
        }
        plan_ = planRinging(command_, record, installFolder_, preview);
    }

    int run() {
        gfx::computeDisplayMetrics();
        // A call that comes in silences the alarm at once; the watch ends before the player.
        phoneWatch_ = platform::watchPhoneStatus([this](std::uint32_t status) {
            if (status & platform::kPhoneIncomingCall)
                player_.silence();
        });
        alarms::holdBacklight(true);
        loadLanguage(installFolder_);

        AlarmWindowOptions options;
        options.installFolder = installFolder_;
        options.visible = command_.command != Command::PlaySound;
        options.texts.dismiss = languageText(kDismissString, L"Dismiss");
        options.texts.snooze = languageText(kSnoozeString, L"Snooze");
        options.texts.hour = ringStart_.hour;
        options.texts.minute = ringStart_.minute;
        AlarmWindowEvents events;
        events.dismiss = [this] { window_->close(); };
        events.snooze = [this] { snooze(); };
        events.embedded = [this](platform::WParam w) { embedded(w); };
        if (exitAfterFirstFrame())
            events.firstPaint = [] { std::_Exit(0); };
        window_ = std::make_unique<AlarmWindow>(std::move(events));
        window_->setMessage(plan_.message);
        if (!window_->create(options)) {
            // Without a window nothing rings, but the alarm's chain still goes on.
            settleNotifications();
            cleanUp();
            return 0;
        }
        settleNotifications();
        startRinging(plan_);

        platform::Message message;
        while (platform::getMessage(message)) {
            platform::translateMessage(message);
            platform::dispatchMessage(message);
        }
        cleanUp();
        return 0;
    }

  private:
    // Before anything rings: a due alarm is armed for its next occurrence (the chain goes on
    // even when this ringing is cut short), and a due quick alarm is no longer pending.
    void settleNotifications() {
        if (dueAlarm_) {
            alarms::AlarmStore store(storeFolder());
            rearm(store, *dueAlarm_, installFolder_);
        }
        if (command_.command == Command::Quick)
            alarms::cancelQuickAlarm();
    }

    void startRinging(const RingPlan& plan) {
        if (plan.sound.empty())
            return;
        // An alarm due during a call shows without sound.
        if (platform::phoneStatus() & platform::kPhoneBusyMask) {
            platform::logLine("alarm: the phone is busy; ringing silently");
            return;
        }
        player_.start(plan.sound, alarms::ringVolumeFor(plan.volumeChoice), plan.seconds);
        // A call that came in between the look and the start was not seen by the watch.
        if (platform::phoneStatus() & platform::kPhoneIncomingCall)
            player_.silence();
    }

    void snooze() {
        if (plan_.canSnooze()) {
            const std::wstring name = plan_.snoozeQuick ? std::wstring() : plan_.snoozeName;
            const auto handle = alarms::armSnooze(name, ringStart_, plan_.snoozeMinutes);
            if (!handle && plan_.snoozeQuick)
                platform::messageBox(window_->handle(), kSnoozeFailedText, kSnoozeFailedCaption,
                                     platform::mb::Ok | platform::mb::IconExclamation);
        }
        window_->close();
    }

    void embedded(platform::WParam wParam) {
        player_.stop();
        if (wParam != 1)
            return;
        PreviewSettings preview{core::settings::read(alarms::keys::AlarmSound),
                                core::settings::read(alarms::keys::AlarmVol)};
        // The preview rings on its own; what Snooze arms stays the alarm's.
        startRinging(planRinging({Command::PlaySound, {}}, std::nullopt, installFolder_, preview));
    }

    void cleanUp() {
        phoneWatch_.reset();
        player_.shutdown();
        alarms::holdBacklight(false);
        window_.reset();
    }

    ParsedCommandLine command_;
    std::wstring installFolder_;
    RingPlan plan_;
    std::optional<alarms::AlarmRecord> dueAlarm_;  // "/ALARM": re-armed before it rings
    platform::SystemTime ringStart_{};
    alarms::AlarmPlayer player_;
    std::unique_ptr<platform::RegistryValueWatch> phoneWatch_;
    std::unique_ptr<AlarmWindow> window_;
};

// A time notification that came due long before the device could run it (the device was
// off): the chain of a repeating alarm goes on, but nothing rings hours late. The alarms list
// shows the miss from the service's run log.
bool handleMissed(const ParsedCommandLine& command) {
    auto start = platform::startedByNotification();
    if (!start || start->outcome != platform::NotificationOutcome::Missed)
        return false;
    if (command.command == Command::Alarm && !command.alarmName.empty()) {
        alarms::AlarmStore store(storeFolder());
        if (int row = store.find(command.alarmName))
            rearm(store, store.record(row), installFolder());
    } else if (command.command == Command::Quick) {
        alarms::cancelQuickAlarm();
    } else if (command.command != Command::Snooze) {
        return false;
    }
    platform::logLine("alarm: missed, not ringing: " + platform::toUtf8(command.alarmName));
    return true;
}

}  // namespace

int runAlarmProgram(int argc, char** argv) {
    const std::wstring line = platform::startProgram(
        argc, argv, {std::wstring(alarms::kAlarmProgramPath), std::wstring(kWindowTitle)});
    core::linkWindows();
    const ParsedCommandLine command = parseCommandLine(line);
    if (handleMissed(command))
        return 0;
    AlarmProgram program(command, installFolder());
    program.prepare();
    return program.run();
}

}  // namespace alarmprogram
