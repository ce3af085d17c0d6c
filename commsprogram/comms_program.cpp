#include "commsprogram/comms_program.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "commsprogram/comms_job.h"
#include "commsprogram/http_fetcher.h"
#include "commsprogram/job_input.h"
#include "commsprogram/replay_fetcher.h"
#include "core/comms.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/windows/windows_link.h"
#include "home/settings_keys.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/window.h"
#include "travel/settings_keys.h"
#include "updates/schedule.h"
#include "updates/settings_keys.h"

namespace commsprogram {
namespace {

constexpr std::uintptr_t kPollTimer = 1;
constexpr std::uint32_t kPollMs = 40;

// The one run of this process, shared with the window procedure.
struct Run {
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    JobOutcome outcome;
};
Run* theRun = nullptr;

void report(platform::WParam what, platform::LParam detail = 0) {
    platform::WindowHandle main =
        platform::findWindow(core::kMainWindowName, core::kMainWindowName);
    if (main)
        platform::postMessage(main, core::commsMessage(), what, detail);
}

platform::LResult windowProc(platform::WindowHandle window, std::uint32_t id, platform::WParam wp,
                             platform::LParam lp) {
    switch (id) {
        case platform::wm::Close:
            // The worker stops at its next check; the window goes when it has.
            if (theRun)
                theRun->cancel = true;
            return 0;
        case platform::wm::Timer:
            if (wp == kPollTimer && theRun && theRun->finished.load()) {
                platform::killTimer(window, kPollTimer);
                platform::destroyWindow(window);
            }
            return 0;
        case platform::wm::Destroy:
            platform::postQuitMessage(0);
            return 0;
        default:
            return platform::defWindowProc(window, id, wp, lp);
    }
}

std::unique_ptr<Fetcher> makeFetcher(const Request& request, const std::atomic<bool>& cancel) {
    std::wstring replay = request.replay;
    if (replay.empty())
        replay = core::readSetting(setting::ReplayPath, core::byteLimit::Path).value_or(L"");
    if (!replay.empty())
        return std::make_unique<ReplayFetcher>(replay);
    return std::make_unique<HttpFetcher>(cancel, httpOptions());
}

std::wstring nowText() {
    platform::SystemTime t = platform::deviceLocalTime();
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}

// The settings a finished request leaves, then its reports.
void finish(const Request& request, const JobOutcome& outcome) {
    // The notification that started a scheduled update is gone once it fired: set the next
    // one, whether this run succeeded or not, so scheduled updates keep coming.
    if (request.kind == RequestKind::Schedule)
        updates::scheduleNextUpdate();
    // Likewise the retry that started this run is gone.
    if (request.kind == RequestKind::Retry)
        updates::clearRetry();
    if (outcome.failure) {
        platform::logLine("comms: request failed (code " + std::to_string(outcome.failure.code) +
                          "): " + outcome.failure.detail);
        // Docked without a connection (to charge, say): with the connection checked first the
        // docking update ends quietly, nothing to report and nothing to retry.
        if (request.kind == RequestKind::Docking && outcome.failure.code == errorCode::NoNetwork &&
            core::settings::read(updates::keys::OptSchedDockCheck) ==
                updates::keys::kCheckConnectionFirst) {
            platform::logLine("comms: docked without a connection; nothing fetched");
            report(core::commsReport::Done, 0);
            return;
        }
        core::settings::write(core::keys::SchedErrorStr, outcome.failure.code);
        // An unattended update that failed tries again later when the options say so; a
        // retry that fails waits for the next scheduled or docking update.
        if ((request.kind == RequestKind::Schedule || request.kind == RequestKind::Docking) &&
            outcome.failure.code != errorCode::Cancelled && updates::armRetry()) {
            platform::logLine("comms: retry armed");
        }
        report(core::commsReport::Error);
        report(core::commsReport::Done, 0);
        return;
    }
    if (isUnattended(request.kind))
        updates::clearRetry();
    if (request.kind == RequestKind::FlightHistory)
        core::settings::write(travel::keys::FltHstResult, outcome.flightFile);
    if (outcome.weatherWritten)
        core::settings::write(home::keys::PluginUpdateData, 1);
    if (isUnattended(request.kind))
        core::settings::write(updates::keys::ScheduledUpdateLastDisp, nowText());
    platform::logLine("comms: request done, " + std::to_string(outcome.filesWritten) +
                      " files written");
    report(core::commsReport::Done, 1);
}

}  // namespace

int runCommsProgram(int argc, char** argv) {
    std::wstring line = platform::startProgram(
        argc, argv, {std::wstring(core::kCommsProgramPath), std::wstring(core::kCommsWindowName)});
    core::linkWindows();
    std::optional<Request> request = parseRequest(line);
    if (!request) {
        platform::logLine("comms: not a request: " + platform::toUtf8(line));
        return 2;
    }
    // One request at a time: a second one is refused, not interleaved.
    if (platform::findWindow(core::kCommsWindowName, core::kCommsWindowName)) {
        platform::logLine("comms: another request runs; refused " + platform::toUtf8(line));
        return 3;
    }
    platform::registerWindowClass({std::wstring(core::kCommsWindowName), windowProc});
    platform::WindowCreate create;
    create.className = core::kCommsWindowName;
    create.title = core::kCommsWindowName;
    create.visible = false;
    platform::WindowHandle self = platform::createWindow(create);
    if (!self)
        return 4;

    Run run;
    theRun = &run;
    core::settings::write(core::keys::SchedulerStatus, 1);
    report(core::commsReport::Started);

    JobInput input = gatherInput(*request);
    platform::createFolder(input.downloadPath);
    std::unique_ptr<Fetcher> fetcher = makeFetcher(*request, run.cancel);
    Providers providers = standardProviders(serviceBases(), input.today);
    std::thread worker([&] {
        run.outcome = runJob(input, *fetcher, providers, run.cancel);
        run.finished = true;
    });
    platform::setTimer(self, kPollTimer, kPollMs);
    platform::Message message;
    while (platform::getMessage(message)) {
        platform::translateMessage(message);
        platform::dispatchMessage(message);
    }
    run.cancel = true;
    worker.join();
    theRun = nullptr;

    finish(*request, run.outcome);
    // Idle before the last report, so the receiver sees the program gone when it asks.
    core::settings::write(core::keys::SchedulerStatus, 0);
    if (platform::isWindow(self))
        platform::destroyWindow(self);
    report(core::commsReport::Ended);
    return run.outcome.failure ? 1 : 0;
}

}  // namespace commsprogram
