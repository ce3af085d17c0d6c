// vorn flight: a flight's status as the flight status screen shows it, from the saved flight
// in the download folder, or asked of the comms program with the screen's own query.

#include <chrono>
#include <thread>

#include "core/comms.h"
#include "core/language.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "travel/airline_table.h"
#include "travel/flight_file.h"
#include "travel/flight_list.h"
#include "travel/flight_request.h"
#include "travel/settings_keys.h"

namespace vorn {

namespace {

using namespace travel;

constexpr int kDefaultWaitSeconds = 60;
constexpr int kMaxWaitSeconds = 3600;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

// The airline's code: the code itself (case aside), else the airline of that exact name, else
// of that name case aside. Empty when none.
std::wstring airlineCodeFor(const core::RecordTable& airlines, std::wstring_view asked) {
    int row = airlines.find(airlineField::Code, asked, true);
    if (row == 0)
        row = airlines.find(airlineField::Name, asked);
    if (row == 0)
        row = airlines.find(airlineField::Name, asked, true);
    return row == 0 ? std::wstring() : std::wstring(airlines.fieldText(row, airlineField::Code));
}

std::optional<int> dayChoice(const Invocation& invocation) {
    auto date = invocation.option("--date");
    if (!date || *date == "today")
        return flightDay::Today;
    if (*date == "yesterday")
        return flightDay::Yesterday;
    if (*date == "tomorrow")
        return flightDay::Tomorrow;
    return std::nullopt;
}

std::optional<int> waitSeconds(const Invocation& invocation) {
    auto wait = invocation.option("--wait");
    if (!wait)
        return kDefaultWaitSeconds;
    if (wait->empty() || wait->size() > 4 ||
        wait->find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int seconds = std::stoi(*wait);
    return seconds <= kMaxWaitSeconds ? std::optional<int>(seconds) : std::nullopt;
}

// Asks the comms program and waits until it has ended; the name of the file it answered
// with, or an error message.
std::pair<std::wstring, std::string> askCommsProgram(std::wstring_view code,
                                                     std::wstring_view number, int day,
                                                     int seconds) {
    core::settings::write(keys::FltHstResult, L"");
    const FlightWindow window = flightWindow(platform::deviceLocalTime(), day);
    switch (sendFlightRequest(code, number, window)) {
        case FlightRequestResult::Sent:
            break;
        case FlightRequestResult::CancelledComms:
            return {{}, "the comms program was busy and has been asked to stop; try again"};
        case FlightRequestResult::NotStarted:
            return {{}, "the comms program could not be started"};
        default:
            return {{}, "the query was refused"};
    }
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::seconds(seconds);
    bool seenRunning = false;
    while (std::chrono::steady_clock::now() < deadline) {
        std::wstring result = core::settings::read(keys::FltHstResult);
        bool running = core::isCommsRunning();
        seenRunning = seenRunning || running;
        if (!result.empty() && !running)
            return {result, {}};
        // A program that ended without an answer, or never showed itself, has failed.
        if (!running &&
            (seenRunning || std::chrono::steady_clock::now() - start > std::chrono::seconds(5)))
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    std::wstring result = core::settings::read(keys::FltHstResult);
    if (!result.empty())
        return {result, {}};
    int error = core::settings::read(core::keys::SchedErrorStr);
    if (auto string = core::commsErrorString(error))
        return {{}, "the comms program failed: " + utf8(core::languageString(*string))};
    return {{}, "no answer from the comms program"};
}

void printFlights(const FlightFile& file, const std::string& heading, const std::string& data) {
    std::string out = heading + "\n";
    if (!data.empty())
        out += data + "\n";
    const int count = std::max(1, file.flightCount());
    for (int flight = 0; flight < count; ++flight) {
        const std::wstring title = flightTitle(file, flight);
        if (!title.empty())
            out += "\n" + utf8(title) + "\n";
        for (const FlightDetailLine& line : flightDetail(file, flight)) {
            if (line.heading)
                out += utf8(line.label) + "\n";
            else if (line.label.empty())
                out += "  " + utf8(line.value) + "\n";
            else
                out += "  " + utf8(line.label) + " " + utf8(line.value) + "\n";
        }
    }
    writeOut(out);
}

void writeEnd(Json& json, const core::RecordTable& rows, int row, bool arrival) {
    json.beginObject()
        .field("code", utf8(rows.fieldText(row, flightField::AirportCode)))
        .field("name", utf8(rows.fieldText(row, flightField::AirportName)))
        .field("scheduled", utf8(rows.fieldText(row, flightField::Scheduled)))
        .field("estimated", utf8(rows.fieldText(row, flightField::Estimated)))
        .field("actual", utf8(rows.fieldText(row, flightField::Actual)))
        .field("gate", utf8(rows.fieldText(row, flightField::Gate)))
        .field("terminal", utf8(rows.fieldText(row, flightField::Terminal)));
    if (arrival)
        json.field("baggageClaim", utf8(rows.fieldText(row, flightField::Baggage)));
    json.field("blockTime", utf8(rows.fieldText(row, flightField::BlockTime))).endObject();
}

void printJson(const FlightFile& file, const std::string& code, const std::string& number,
               const std::string& airline, const std::string& fileName, const std::string& data) {
    Json json;
    json.beginObject()
        .field("airline", code)
        .field("airlineName", airline)
        .field("number", number)
        .field("file", fileName)
        .field("dataTime", data);
    json.beginArray("flights");
    for (int flight = 0; flight < file.flightCount(); ++flight) {
        const std::wstring& status = file.statusCodes[static_cast<std::size_t>(flight)];
        json.beginObject()
            .field("status", utf8(status))
            .field("statusText", utf8(core::languageString(flightStatusString(status))));
        json.key("departure");
        writeEnd(json, file.departures, flight + 1, false);
        json.key("arrival");
        writeEnd(json, file.arrivals, flight + 1, true);
        json.endObject();
    }
    json.endArray().endObject();
    writeOut(json.text() + "\n");
}

}  // namespace

int runFlight(const Invocation& invocation) {
    if (invocation.arguments.size() != 2)
        return report(invocation, kExitUsage,
                      "flight takes an airline and a flight number (see vorn flight --help)");
    const auto day = dayChoice(invocation);
    if (!day)
        return report(invocation, kExitUsage, "--date takes yesterday, today or tomorrow");
    const auto seconds = waitSeconds(invocation);
    if (!seconds)
        return report(invocation, kExitUsage, "--wait takes a number of seconds up to 3600");
    openShownLanguage(invocation.mainPath);
    const core::RecordTable airlines = loadAirlines(invocation.mainPath);
    const std::string asked = invocation.arguments[0];
    const std::wstring code = airlineCodeFor(airlines, platform::fromUtf8(asked));
    if (code.empty())
        return report(invocation, kExitUsage, "unknown airline \"" + asked + "\"");
    const std::wstring number = platform::fromUtf8(invocation.arguments[1]);
    if (!isValidFlightNumber(number))
        return report(invocation, kExitUsage,
                      "a flight number is letters and digits only, up to 80 of them");

    const std::wstring folder = downloadFolder(invocation.mainPath);
    std::wstring fileName = flightFileName(code, number);
    const bool saved = platform::fileExists(core::joinDevicePath(folder, fileName));
    if (!saved || invocation.option("--date")) {
        auto [answer, error] = askCommsProgram(code, number, *day, *seconds);
        if (answer.empty())
            return report(invocation, kExitFailure, error);
        if (!isSafeFlightFileName(answer))
            return report(invocation, kExitFailure,
                          "the comms program answered with no flight file name");
        fileName = answer;
    }
    const FlightFile file = readFlightFile(folder, fileName);
    const std::string data = utf8(flightDataTime(folder, fileName));
    const std::string airline = utf8(airlineNameOf(airlines, code));
    if (invocation.json) {
        printJson(file, utf8(code), utf8(number), airline, utf8(fileName), data);
        return kExitOk;
    }
    printFlights(file,
                 utf8(code) + " " + utf8(number) + (airline.empty() ? "" : " (" + airline + ")"),
                 data);
    return kExitOk;
}

}  // namespace vorn
