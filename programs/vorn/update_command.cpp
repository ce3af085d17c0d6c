// vorn update: runs one request of the comms program (\windows\vornroamer3_sched.exe) as the
// screens send it, waits for its end while saying how it goes, and tells what it left: the
// weather files, the rates or the cities found. A comms program that is already working is
// not disturbed; the request is refused then.

#include <chrono>
#include <cstdio>
#include <thread>

#include "core/comms.h"
#include "core/language.h"
#include "core/record_table.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/process.h"
#include "programs/vorn/commands.h"
#include "worldtime/cities.h"

namespace vorn {
namespace {

// Daily forecast, parts of day, current conditions and the outlook; the maps.
constexpr int kWeatherMask = 0x2 | 0x4 | 0x8 | 0x10;
constexpr int kMapsMask = 0x100 | 0x200 | 0x400 | 0x800;
constexpr int kWaitSeconds = 180;
// Exit codes of the comms program.
constexpr int kCommsRefused = 3;

struct Plan {
    std::wstring request;
    std::wstring folder;  // where its files land
    std::string what;
};

std::string fileList(const std::wstring& folder, platform::FileTime since) {
    std::string names;
    int count = 0;
    for (const platform::DirectoryEntry& entry : platform::listFolder(folder)) {
        if (entry.creationTime + 10000000ULL < since)
            continue;
        if (count++ < 40)
            names += "  " + utf8(entry.name) + " (" + std::to_string(entry.size) + " bytes)\n";
    }
    if (count > 40)
        names += "  ... and " + std::to_string(count - 40) + " more\n";
    return names;
}

// The text of the error the comms program left, with its code.
std::string errorText(const std::wstring& mainPath) {
    const int code = core::readNumberSetting(L"SchedErrorStr", 0);
    std::string text = "error code " + std::to_string(code);
    if (auto number = core::commsErrorString(code)) {
        if (platform::fileExists(mainPath + L"lang\\lang.dat") &&
            core::buildLanguageList(mainPath, 1, 9) && core::openLanguage(mainPath, true, true))
            text = utf8(core::languageString(*number)) + " (" + text + ")";
    }
    return text;
}

std::string foundCities(const std::wstring& folder) {
    core::RecordTable found(10);
    found.load(folder, L"searchresult.dat", L'~', true);
    if (found.rowCount() == 0)
        return "no city of that name was found\n";
    std::string lines;
    for (int row = 1; row <= found.rowCount(); ++row) {
        lines += "  " + utf8(found.fieldText(row, 2)) + ", " + utf8(found.fieldText(row, 3)) +
                 " (" + utf8(found.fieldText(row, 7)) + ", UTC" +
                 (found.fieldText(row, 1).starts_with(L"-") ? "" : "+") +
                 utf8(found.fieldText(row, 1)) + ")\n";
    }
    return lines;
}

std::optional<Plan> planOf(const Invocation& invocation, const std::wstring& downloads) {
    const std::string& kind = invocation.arguments.front();
    Plan plan;
    plan.folder = downloads;
    if (kind == "weather" || kind == "maps") {
        const int mask = kind == "maps" ? kMapsMask : kWeatherMask;
        if (invocation.arguments.size() > 2)
            return std::nullopt;
        if (invocation.arguments.size() == 2) {
            CityFinder finder(invocation.mainPath);
            auto city = cityNamed(finder, invocation, invocation.arguments[1]);
            if (!city)
                return Plan{};  // reported
            std::wstring code(city->table->fieldText(city->row, worldtime::cityField::Code));
            plan.request = L"/manual $$city" + code + L"$$" + std::to_wstring(mask);
            plan.what = kind + " of " + invocation.arguments[1];
        } else {
            plan.request = L"/manual " + std::to_wstring(mask);
            plan.what = kind + " of the favourites";
        }
    } else if (kind == "currency") {
        if (invocation.arguments.size() != 1)
            return std::nullopt;
        plan.request = L"/currency";
        plan.folder = invocation.mainPath + L"conversions\\";
        plan.what = "currency rates";
    } else if (kind == "city") {
        if (invocation.arguments.size() != 2 || invocation.arguments[1].empty())
            return std::nullopt;
        core::writeSetting(L"CityLookupRequest", platform::fromUtf8(invocation.arguments[1]));
        plan.request = L"/citylookup";
        plan.what = "cities named " + invocation.arguments[1];
    } else {
        return std::nullopt;
    }
    if (auto replay = invocation.option("--replay"))
        plan.request += L" --replay " + platform::fromUtf8(*replay);
    return plan;
}

}  // namespace

int runUpdate(const Invocation& invocation) {
    if (invocation.arguments.empty())
        return report(invocation, kExitUsage,
                      "update needs weather [CITY], maps [CITY], currency or city NAME");
    std::wstring downloads = core::readDownloadPath().value_or(L"");
    if (downloads.empty())
        downloads = core::downloadPathOf(invocation.mainPath);
    auto plan = planOf(invocation, downloads);
    if (!plan)
        return report(invocation, kExitUsage,
                      "update needs weather [CITY], maps [CITY], currency or city NAME");
    if (plan->request.empty())
        return kExitUsage;  // the city was unknown or ambiguous, and said so
    if (core::readNumberSetting(L"SchedulerStatus", 0) != 0)
        writeError("vorn: note: the comms program may be busy; it refuses a second request\n");
    core::writeNumberSetting(L"SchedErrorStr", 0);
    const platform::FileTime started = platform::deviceUtcFileTime();
    writeError("vorn: asking the comms program for the " + plan->what + " (" + utf8(plan->request) +
               ")\n");
    auto pid = platform::startProgram(core::kCommsProgramPath, plan->request);
    if (!pid)
        return report(invocation, kExitFailure, "the comms program is not installed");
    platform::ProcessEnd end;
    for (int second = 1; second <= kWaitSeconds && !end.ended; ++second) {
        end = platform::waitForProcess(*pid, 1000);
        if (!end.ended && second % 3 == 0)
            writeError("vorn: still working (" + std::to_string(second) + " s)\n");
    }
    if (!end.ended)
        return report(invocation, kExitFailure, "the comms program did not end in time");
    if (end.exitCode == kCommsRefused)
        return report(invocation, kExitFailure, "the comms program is busy with another request");
    if (end.exitCode != 0)
        return report(invocation, kExitFailure, "update failed: " + errorText(invocation.mainPath));
    std::string summary = invocation.arguments.front() == "city" ? foundCities(plan->folder)
                                                                 : fileList(plan->folder, started);
    if (invocation.json) {
        Json json;
        json.beginObject().field("request", utf8(plan->request)).field("done", true);
        json.field("summary", summary).endObject();
        writeOut(json.text() + "\n");
    } else {
        writeOut("Updated the " + plan->what + ":\n" + summary);
    }
    return kExitOk;
}

}  // namespace vorn
