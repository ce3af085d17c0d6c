#include "travel/flight_file.h"

#include <cwctype>

#include "core/format.h"
#include "core/language.h"
#include "core/xml_reader.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "travel/flight_list.h"

namespace travel {

namespace {

constexpr std::wstring_view kResponse = L"FlightHistoryGetHistoryResponse";
// How deep the response may sit below the document (a declaration, an envelope, a body).
constexpr int kResponseDepth = 6;

namespace text {
constexpr int NoFlights = 206, FlightOf = 207, Departure = 208, Scheduled = 209, Actual = 210,
              Estimated = 211, Gate = 212, GateAndTerminal = 213, Status = 214, Arrival = 215,
              Baggage = 216, BlockTime = 205, DataFrom = 190;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return true;
}

// The child named exactly so: the reader's own look-up also takes longer names that begin
// with it, which would let "Origin" stand for an "OriginalAirport" element.
const core::XmlElement* childNamed(const core::XmlElement& parent, std::wstring_view name) {
    for (const core::XmlElement& child : parent.children) {
        if (sameName(child.name, name))
            return &child;
    }
    return nullptr;
}

const core::XmlElement* findResponse(const core::XmlElement& element, int depth) {
    if (sameName(element.name, kResponse))
        return &element;
    if (depth == 0)
        return nullptr;
    for (const core::XmlElement& child : element.children) {
        if (const core::XmlElement* found = findResponse(child, depth - 1))
            return found;
    }
    return nullptr;
}

// The element's text without double quotes; empty when there is no such element.
std::wstring valueOf(const core::XmlElement& flight, std::wstring_view name,
                     std::wstring_view inner = {}) {
    const core::XmlElement* element = childNamed(flight, name);
    if (element && !inner.empty())
        element = childNamed(*element, inner);
    if (!element)
        return {};
    std::wstring value = element->text();
    std::erase(value, L'"');
    return value;
}

// The first of the named times that is present and reads, as shown; nothing when none does.
std::optional<std::wstring> timeOf(const core::XmlElement& flight,
                                   std::initializer_list<std::wstring_view> names) {
    for (std::wstring_view name : names) {
        if (auto time = parseFlightTime(valueOf(flight, name)))
            return flightTimeText(*time);
    }
    return std::nullopt;
}

std::wstring orText(std::wstring value, std::wstring_view fallback) {
    return value.empty() ? std::wstring(fallback) : value;
}

void addFlight(FlightFile& file, const core::XmlElement& flight) {
    int dep = file.departures.appendRow();
    int arr = file.arrivals.appendRow();
    core::RecordTable& d = file.departures;
    core::RecordTable& a = file.arrivals;
    const std::wstring na(kNotAvailable);

    d.setField(dep, flightField::AirportName, orText(valueOf(flight, L"Origin", L"Name"), na));
    d.setField(dep, flightField::AirportCode, valueOf(flight, L"Origin", L"AirportCode"));
    d.setField(
        dep, flightField::Scheduled,
        timeOf(flight, {L"PublishedDepartureDate", L"ScheduledRunwayDepartureDate"}).value_or(na));
    d.setField(dep, flightField::Estimated,
               timeOf(flight, {L"EstimatedRunwayDepartureDate"}).value_or(na));
    d.setField(
        dep, flightField::Actual,
        timeOf(flight, {L"ActualGateDepartureDate", L"ActualRunwayDepartureDate"}).value_or(na));
    d.setField(dep, flightField::Gate, orText(valueOf(flight, L"DepartureGate"), kUnknownGate));
    d.setField(dep, flightField::Terminal, orText(valueOf(flight, L"DepartureTerminal"), na));
    d.setField(dep, flightField::BlockTime, orText(valueOf(flight, L"ScheduledBlockTime"), na));

    a.setField(arr, flightField::AirportName, orText(valueOf(flight, L"Destination", L"Name"), na));
    a.setField(arr, flightField::AirportCode, valueOf(flight, L"Destination", L"AirportCode"));
    a.setField(
        arr, flightField::Scheduled,
        timeOf(flight, {L"PublishedArrivalDate", L"ScheduledRunwayArrivalDate"}).value_or(na));
    a.setField(arr, flightField::Estimated,
               timeOf(flight, {L"EstimatedGateArrivalDate", L"EstimatedRunwayArrivalDate",
                               L"ScheduledRunwayArrivalDate"})
                   .value_or(na));
    // An arrival that has not happened yet shows nothing rather than "N/A".
    a.setField(
        arr, flightField::Actual,
        timeOf(flight, {L"ActualGateArrivalDate", L"EstimatedRunwayArrivalDate"}).value_or(L""));
    a.setField(arr, flightField::Gate, orText(valueOf(flight, L"ArrivalGate"), kUnknownGate));
    a.setField(arr, flightField::Terminal, orText(valueOf(flight, L"ArrivalTerminal"), na));
    a.setField(arr, flightField::Baggage, orText(valueOf(flight, L"BaggageClaim"), na));
    a.setField(arr, flightField::BlockTime, orText(valueOf(flight, L"ActualBlockTime"), na));

    file.statusCodes.push_back(valueOf(flight, L"StatusCode"));
}

// Reads up to `digits` digits at text[at]; nothing when fewer than `minimum` are there.
std::optional<int> digitsAt(std::wstring_view text, std::size_t& at, int minimum, int digits) {
    int value = 0, count = 0;
    while (count < digits && at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        value = value * 10 + (text[at] - L'0');
        ++at;
        ++count;
    }
    if (count < minimum)
        return std::nullopt;
    return value;
}

bool expect(std::wstring_view text, std::size_t& at, wchar_t c) {
    if (at >= text.size() || text[at] != c)
        return false;
    ++at;
    return true;
}

std::wstring statusLetterOf(const FlightFile& file, int flight) {
    if (flight < 0 || flight >= static_cast<int>(file.statusCodes.size()))
        return {};
    return file.statusCodes[flight];
}

std::wstring gateLine(const core::RecordTable& rows, int row) {
    return core::formatText(core::languageString(text::GateAndTerminal),
                            rows.fieldText(row, flightField::Gate),
                            rows.fieldText(row, flightField::Terminal));
}

std::wstring airportLine(const core::RecordTable& rows, int row) {
    std::wstring line(rows.fieldText(row, flightField::AirportCode));
    if (!line.empty())
        line += L' ';
    line += rows.fieldText(row, flightField::AirportName);
    return line;
}

}  // namespace

std::optional<platform::SystemTime> parseFlightTime(std::wstring_view text) {
    std::size_t at = 0;
    while (at < text.size() && std::iswspace(text[at])) ++at;
    platform::SystemTime time;
    auto year = digitsAt(text, at, 4, 4);
    if (!year || !expect(text, at, L'-'))
        return std::nullopt;
    auto month = digitsAt(text, at, 1, 2);
    if (!month || !expect(text, at, L'-'))
        return std::nullopt;
    auto day = digitsAt(text, at, 1, 2);
    if (!day || !expect(text, at, L'T'))
        return std::nullopt;
    auto hour = digitsAt(text, at, 1, 2);
    if (!hour || !expect(text, at, L':'))
        return std::nullopt;
    auto minute = digitsAt(text, at, 1, 2);
    if (!minute)
        return std::nullopt;
    int second = 0;
    if (expect(text, at, L':')) {
        auto seconds = digitsAt(text, at, 1, 2);
        if (!seconds)
            return std::nullopt;
        second = *seconds;
    }
    // A fraction of a second, and whatever zone mark follows, do not change the shown time.
    time.year = static_cast<std::uint16_t>(*year);
    time.month = static_cast<std::uint16_t>(*month);
    time.day = static_cast<std::uint16_t>(*day);
    time.hour = static_cast<std::uint16_t>(*hour);
    time.minute = static_cast<std::uint16_t>(*minute);
    time.second = static_cast<std::uint16_t>(second);
    if (*hour > 23 || *minute > 59 || second > 59 || !platform::isValidSystemTime(time))
        return std::nullopt;
    time.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(*year, *month, *day));
    return time;
}

std::wstring flightTimeText(const platform::SystemTime& time) {
    auto date = platform::formatDate(time, L"ddd',' MMM dd");
    auto clock = platform::formatTime(time, L"HH:mm");
    if (!date || !clock)
        return std::wstring(kNotAvailable);
    return *date + L" " + *clock;
}

FlightFile parseFlightFile(std::span<const std::uint8_t> bytes) {
    FlightFile file;
    if (bytes.size() > kMaxFlightFileBytes)
        return file;
    auto document = core::parseXmlUtf8(bytes);
    if (!document)
        return file;
    const core::XmlElement* response = findResponse(*document, kResponseDepth);
    if (!response)
        return file;
    for (const core::XmlElement& flight : response->children) {
        if (file.flightCount() >= kMaxFlights)
            break;
        addFlight(file, flight);
    }
    return file;
}

FlightFile readFlightFile(std::wstring_view downloadPath, std::wstring_view fileName) {
    if (!isSafeFlightFileName(fileName) || downloadPath.empty())
        return {};
    const std::wstring path = core::joinDevicePath(downloadPath, fileName);
    auto host = platform::hostPath(path);
    std::error_code error;
    if (!host || std::filesystem::file_size(*host, error) > kMaxFlightFileBytes || error)
        return {};
    auto bytes = platform::readFile(path);
    if (!bytes)
        return {};
    return parseFlightFile(*bytes);
}

int flightStatusString(std::wstring_view statusCode) {
    if (statusCode.starts_with(L"NO"))
        return 203;
    switch (statusCode.empty() ? L'\0' : statusCode.front()) {
        case L'L':
            return 197;
        case L'A':
            return 198;
        case L'S':
            return 199;
        case L'C':
            return 200;
        case L'R':
            return 201;
        case L'D':
            return 202;
        default:
            return 204;
    }
}

std::wstring blockTimeText(std::wstring_view minutes) {
    std::size_t at = 0;
    while (at < minutes.size() && minutes[at] == L' ') ++at;
    // Up to a week of minutes; anything longer is no block time.
    auto value = digitsAt(minutes, at, 1, 5);
    if (!value || *value > 7 * 24 * 60)
        return {};
    while (at < minutes.size() && minutes[at] == L' ') ++at;
    if (at != minutes.size())
        return {};
    return core::formatText(core::languageString(text::BlockTime), *value / 60, *value % 60);
}

std::wstring flightTitle(const FlightFile& file, int flight) {
    if (flight < 0 || flight >= file.flightCount())
        return {};
    return core::formatText(core::languageString(text::FlightOf), flight + 1, file.flightCount());
}

std::vector<FlightDetailLine> flightDetail(const FlightFile& file, int flight) {
    if (flight < 0 || flight >= file.flightCount())
        return {{core::languageString(text::NoFlights), {}, true}};
    const int row = flight + 1;
    const core::RecordTable& d = file.departures;
    const core::RecordTable& a = file.arrivals;
    const std::wstring status = statusLetterOf(file, flight);
    const wchar_t letter = status.empty() ? L'\0' : status.front();
    const bool departed = letter == L'A' || letter == L'L';
    const bool landed = letter == L'L';
    auto label = [](int number) { return core::languageString(number); };

    std::vector<FlightDetailLine> lines;
    lines.push_back({label(text::Departure), {}, true});
    lines.push_back({{}, airportLine(d, row)});
    lines.push_back(
        {label(text::Scheduled), std::wstring(d.fieldText(row, flightField::Scheduled))});
    if (departed)
        lines.push_back({label(text::Actual), std::wstring(d.fieldText(row, flightField::Actual))});
    else
        lines.push_back(
            {label(text::Estimated), std::wstring(d.fieldText(row, flightField::Estimated))});
    lines.push_back({label(text::Gate), gateLine(d, row)});

    std::wstring statusLine = label(flightStatusString(status));
    statusLine += blockTimeText((landed ? a : d).fieldText(row, flightField::BlockTime));
    lines.push_back({label(text::Status), statusLine});

    lines.push_back({label(text::Arrival), {}, true});
    lines.push_back({{}, airportLine(a, row)});
    lines.push_back(
        {label(text::Scheduled), std::wstring(a.fieldText(row, flightField::Scheduled))});
    if (landed)
        lines.push_back({label(text::Actual), std::wstring(a.fieldText(row, flightField::Actual))});
    else
        lines.push_back(
            {label(text::Estimated), std::wstring(a.fieldText(row, flightField::Estimated))});
    lines.push_back({label(text::Gate), gateLine(a, row)});
    lines.push_back({label(text::Baggage), std::wstring(a.fieldText(row, flightField::Baggage))});
    return lines;
}

std::wstring flightDataTime(std::wstring_view downloadPath, std::wstring_view fileName) {
    if (!isSafeFlightFileName(fileName))
        return {};
    auto created = platform::fileCreationTime(core::joinDevicePath(downloadPath, fileName));
    if (!created)
        return {};
    auto local = platform::utcToLocal(*created);
    auto time = local ? platform::toSystemTime(*local) : std::nullopt;
    if (!time)
        return {};
    auto date = platform::formatDate(*time, L"ddd',' MMM dd yyyy");
    auto clock = platform::formatTime(*time, L"HH:mm");
    if (!date || !clock)
        return {};
    return core::languageString(text::DataFrom) + *date + L" " + *clock;
}

}  // namespace travel
