// A stand-in for the comms program, for the shared core's tests. It does what the main
// program can observe of the real one: shows its window, sets SchedulerStatus, reports to the
// main window with the comms message, and clears the status when it ends.
//
// Its request line steers it:
//   "/hold"      reports "started" and then waits until it is closed (WM_CLOSE);
//   "/error N"   leaves error code N in SchedErrorStr and reports an error instead of success;
//   "/dword"     sets SchedulerStatus as a 32-bit number value instead of text;
//   "/manual"    writes weather files into the download folder: for the city of
//                "$$city CODE $$" when the line names one, else for every favourite;
//   "/flighthistory" answers the query in FltHstRequest (airline code "~" number "~" ...)
//                with a flight file named CODE_NUMBER.fls, a flight delayed by an hour and
//                a half, and names it in FltHstResult.
// Every request line is left in the setting FakeCommsRequest. The setting FakeCommsDelayMs
// (0 when absent) keeps it working that long after it reported "started", so that a watcher
// can see it busy.

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/comms.h"
#include "core/decimal.h"
#include "core/record_table.h"
#include "core/settings.h"
#include "core/text_file.h"
#include "core/windows/windows_link.h"
#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"

namespace {

using namespace platform;

bool has(std::wstring_view request, std::wstring_view option) {
    return request.find(option) != std::wstring_view::npos;
}

void setBusy(std::wstring_view request) {
    if (has(request, L"/dword")) {
        if (auto key = RegistryKey::create(Hive::CurrentUser, core::kSettingsKeyPath)) {
            key->setDword(L"SchedulerStatus", 1);
        }
    } else {
        core::writeNumberSetting(L"SchedulerStatus", 1);
    }
}

void report(WParam what, LParam detail = 0) {
    WindowHandle main = findWindow(core::kMainWindowName, core::kMainWindowName);
    if (main)
        postMessage(main, core::commsMessage(), what, detail);
}

// The city codes a weather request asks for.
std::vector<std::wstring> requestedCities(std::wstring_view request) {
    constexpr std::wstring_view kCityMark = L"$$city";
    if (std::size_t at = request.find(kCityMark); at != std::wstring_view::npos) {
        std::size_t start = at + kCityMark.size();
        std::size_t end = request.find(L"$$", start);
        if (end == std::wstring_view::npos)
            return {};
        return {std::wstring(request.substr(start, end - start))};
    }
    std::vector<std::wstring> codes;
    core::RecordTable favourites(10);
    favourites.load(core::readMainPath().value_or(L""), L"mycities.dat");
    for (int row = 1; row <= favourites.rowCount(); ++row)
        codes.emplace_back(favourites.fieldText(row, 7));
    return codes;
}

void writeFile(const std::wstring& folder, const std::wstring& name, std::wstring_view text) {
    if (auto file = core::openTextFile(folder + name, "w")) {
        file->writeText(text);
        core::closeTextFile(file);
    }
}

// What the comms program leaves after a weather download: a week of days, the parts of two
// days, two stations and the outlook, all Celsius and kilometres. Texts say they are fresh.
void writeWeather(std::wstring_view request) {
    std::wstring folder = core::readDownloadPath().value_or(L"");
    if (folder.empty())
        return;
    for (const std::wstring& code : requestedCities(request)) {
        if (code.empty() || code.find_first_of(L"\\/:.") != std::wstring::npos)
            continue;
        std::wstring daily, periods;
        for (int day = 1; day <= 7; ++day) {
            std::wstring n = std::to_wstring(day);
            daily += L"1~" + std::wstring(day % 2 ? L"1" : L"3") + L"~" +
                     std::to_wstring(20 + day) + L"~" + std::to_wstring(10 + day) + L"~SW~" +
                     std::to_wstring(10 + day) + L"~" + n + L"~Fresh forecast day " + n + L"~12" +
                     (day < 10 ? L"0" : L"") + std::to_wstring(day) + L"26~M~~~~~\n";
        }
        const wchar_t* parts[] = {L"M", L"A", L"E", L"N"};
        for (int i = 0; i < 8; ++i) {
            periods += L"1~2~" + std::to_wstring(15 + i) + L"~" + std::to_wstring(8 + i) +
                       L"~W~12~" + std::to_wstring(1 + i / 4) + L"~Fresh period " +
                       std::to_wstring(i + 1) + L"~120" + std::to_wstring(1 + i / 4) + L"26~" +
                       parts[i % 4] + L"~~~~~\n";
        }
        writeFile(folder, code + L".dat", daily);
        writeFile(folder, code + L"_d.dat", periods);
        writeFile(folder, code + L"_c.dat",
                  L"1~1~19~11~NW~15~1016~Fresh conditions~~Station one~17~10~Sunny~Updated now\n"
                  L"1~3~18~10~N~9~1012~Second station~~Station two~16~8~Cloudy~Updated too\n");
        std::wstring outlook = L"1~Fresh week~";
        for (int k = 1; k <= 8; ++k) {
            outlook += std::wstring(L"~") + parts[(k - 1) % 4] + L"~" + std::to_wstring(1 + k / 4) +
                       L"~" + std::to_wstring(k % 6) + L"~Fresh group " + std::to_wstring(k);
        }
        outlook += L"~Fresh footer\n";
        writeFile(folder, code + L"_a.dat", outlook);
    }
}

// A flight delayed by an hour and a half, as the flight service answers it.
void writeFlight() {
    std::wstring folder = core::readDownloadPath().value_or(L"");
    std::wstring query = core::readSetting(L"FltHstRequest", 512).value_or(L"");
    std::size_t first = query.find(L'~');
    std::size_t second = query.find(L'~', first == std::wstring::npos ? first : first + 1);
    if (folder.empty() || second == std::wstring::npos || !createFolder(folder))
        return;
    std::wstring name =
        query.substr(0, first) + L"_" + query.substr(first + 1, second - first - 1) + L".fls";
    if (name.find_first_of(L"\\/:") != std::wstring::npos || name.find(L"..") != std::wstring::npos)
        return;
    writeFile(folder, name,
              L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FlightHistoryGetHistoryResponse>"
              L"<FlightHistory><StatusCode>S</StatusCode>"
              L"<Origin><Name>Zurich Airport</Name><AirportCode>ZRH</AirportCode></Origin>"
              L"<Destination><Name>Heathrow</Name><AirportCode>LHR</AirportCode></Destination>"
              L"<PublishedDepartureDate>2027-03-01T07:05:00</PublishedDepartureDate>"
              L"<EstimatedRunwayDepartureDate>2027-03-01T08:35:00</EstimatedRunwayDepartureDate>"
              L"<PublishedArrivalDate>2027-03-01T07:50:00</PublishedArrivalDate>"
              L"<EstimatedGateArrivalDate>2027-03-01T09:20:00</EstimatedGateArrivalDate>"
              L"<DepartureGate>A52</DepartureGate><DepartureTerminal>1</DepartureTerminal>"
              L"<ScheduledBlockTime>105</ScheduledBlockTime></FlightHistory>"
              L"</FlightHistoryGetHistoryResponse>\n");
    core::writeSetting(L"FltHstResult", name);
}

// Runs the window's message loop until it is closed.
void waitUntilClosed() {
    Message m;
    while (getMessage(m)) {
        translateMessage(m);
        dispatchMessage(m);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring request =
        startProgram(argc, argv, {std::wstring(core::kCommsProgramPath), L"Comms"});
    core::linkWindows();
    core::writeSetting(L"FakeCommsRequest", request);

    registerWindowClass({std::wstring(core::kCommsWindowName),
                         [](WindowHandle w, std::uint32_t id, WParam wp, LParam lp) -> LResult {
                             if (id == wm::Destroy)
                                 postQuitMessage(0);
                             // A test that failed before cancelling must not leave it behind.
                             if (id == wm::Timer)
                                 destroyWindow(w);
                             return defWindowProc(w, id, wp, lp);
                         }});
    WindowCreate create;
    create.className = core::kCommsWindowName;
    create.title = core::kCommsWindowName;
    create.visible = false;
    WindowHandle self = createWindow(create);
    if (!self)
        return 2;

    setTimer(self, 1, 30000);
    setBusy(request);
    report(core::commsReport::Started);
    if (int delay = core::readNumberSetting(L"FakeCommsDelayMs", 0); delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(delay, 20000)));
    if (has(request, L"/hold")) {
        // The default handling of WM_CLOSE destroys the window, which ends the loop.
        waitUntilClosed();
    } else if (std::size_t at = request.find(L"/error "); at != std::wstring::npos) {
        core::writeNumberSetting(L"SchedErrorStr", core::parseDecimal(request.substr(at + 7)));
        report(core::commsReport::Error);
    } else {
        if (has(request, L"/manual"))
            writeWeather(request);
        if (has(request, L"/flighthistory"))
            writeFlight();
        report(core::commsReport::Done, 1);
    }
    // Idle before the last report, so the receiver sees the program gone when it asks.
    core::writeNumberSetting(L"SchedulerStatus", 0);
    if (isWindow(self))
        destroyWindow(self);
    report(core::commsReport::Ended);
    return 0;
}
