#include "commsprogram/flight_status.h"

#include "commsprogram/json_reading.h"
#include "platform/api/device.h"

namespace commsprogram {
namespace {

constexpr std::size_t kMaxFlights = 16;
constexpr std::size_t kMaxText = 120;

bool isCode(std::string_view text, std::size_t shortest, std::size_t longest, bool digits) {
    if (text.size() < shortest || text.size() > longest)
        return false;
    for (char c : text) {
        bool ok = (c >= '0' && c <= '9') || (!digits && c >= 'A' && c <= 'Z');
        if (!ok)
            return false;
    }
    return true;
}

// The service's local time "YYYY-MM-DD HH:MM+01:00" (or with "T", or UTC "…Z") as the flight
// file writes it, "YYYY-MM-DDTHH:MM:00"; empty for anything else.
std::string fileTime(std::string_view text) {
    if (text.size() < 16)
        return {};
    std::string out(text.substr(0, 16));
    out[10] = 'T';
    for (std::size_t i = 0; i < out.size(); ++i) {
        bool digit = out[i] >= '0' && out[i] <= '9';
        bool separator = (i == 4 || i == 7) ? out[i] == '-'
                         : i == 10          ? true
                         : i == 13          ? out[i] == ':'
                                            : digit;
        if (!separator)
            return {};
    }
    return out + ":00";
}

std::string cleanText(std::optional<std::string> text) {
    std::string value = text.value_or("");
    if (value.size() > kMaxText)
        value.resize(kMaxText);
    return value;
}

std::string timeOf(const nlohmann::json& leg, std::string_view name, std::string_view form) {
    const nlohmann::json* block = member(leg, name);
    if (!block)
        return {};
    auto text = textAt(*block, form);
    return text ? fileTime(*text) : std::string();
}

FlightLeg readLeg(const nlohmann::json& leg, bool arrival, bool landed, bool departed) {
    FlightLeg out;
    if (const nlohmann::json* airport = member(leg, "airport")) {
        out.airportCode = cleanText(textAt(*airport, "iata"));
        if (!isCode(out.airportCode, 3, 3, false))
            out.airportCode.clear();
        out.airportName = cleanText(textAt(*airport, "name"));
    }
    out.terminal = cleanText(textAt(leg, "terminal"));
    out.gate = cleanText(textAt(leg, "gate"));
    if (arrival)
        out.baggage = cleanText(textAt(leg, "baggageBelt"));
    out.scheduled = timeOf(leg, "scheduledTime", "local");
    out.scheduledUtc = timeOf(leg, "scheduledTime", "utc");
    std::string revised = timeOf(leg, "revisedTime", "local");
    std::string predicted = timeOf(leg, "predictedTime", "local");
    std::string runway = timeOf(leg, "runwayTime", "local");
    out.estimated = !revised.empty() ? revised : predicted;
    // A revised time of a leg that has happened is when it happened.
    if ((arrival && landed) || (!arrival && departed)) {
        out.actual = !runway.empty() ? runway : revised;
        std::string runwayUtc = timeOf(leg, "runwayTime", "utc");
        out.actualUtc = !runwayUtc.empty() ? runwayUtc : timeOf(leg, "revisedTime", "utc");
    }
    return out;
}

// The status letters the flight status screen knows: L landed, A in the air, S scheduled,
// C cancelled, D diverted, "NO" no status.
std::string statusLetters(std::string_view status, bool& departed, bool& landed) {
    departed = landed = false;
    if (status == "Arrived") {
        departed = landed = true;
        return "L";
    }
    if (status == "Departed" || status == "EnRoute" || status == "Approaching") {
        departed = true;
        return "A";
    }
    if (status == "Canceled" || status == "CanceledUncertain")
        return "C";
    if (status == "Diverted") {
        departed = true;
        return "D";
    }
    if (status == "Expected" || status == "CheckIn" || status == "Boarding" ||
        status == "GateClosed" || status == "Delayed")
        return "S";
    return "NO";
}

// Minutes between two file times of the same form; nothing when either is missing.
std::optional<long long> minutesBetween(const std::string& from, const std::string& to) {
    auto minutes = [](const std::string& t) -> std::optional<long long> {
        if (t.size() < 16)
            return std::nullopt;
        int y = std::stoi(t.substr(0, 4)), m = std::stoi(t.substr(5, 2)),
            d = std::stoi(t.substr(8, 2));
        int hh = std::stoi(t.substr(11, 2)), mm = std::stoi(t.substr(14, 2));
        // Days from the civil date (proleptic Gregorian).
        y -= m <= 2;
        long long era = (y >= 0 ? y : y - 399) / 400;
        long long yoe = y - era * 400;
        long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        long long days = era * 146097 + doe - 719468;
        return days * 1440 + hh * 60 + mm;
    };
    auto a = minutes(from), b = minutes(to);
    if (!a || !b || *b < *a || *b - *a > 48 * 60)
        return std::nullopt;
    return *b - *a;
}

void escapeInto(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                break;  // the reader drops double quotes anyway
            default:
                if (static_cast<unsigned char>(c) >= 0x20)
                    out += c;
        }
    }
}

void element(std::string& out, std::string_view indent, std::string_view name,
             std::string_view text) {
    if (text.empty())
        return;
    out += indent;
    out += '<';
    out += name;
    out += '>';
    escapeInto(out, text);
    out += "</";
    out += name;
    out += ">\n";
}

void airport(std::string& out, std::string_view name, const FlightLeg& leg) {
    out += "    <";
    out += name;
    out += ">\n";
    element(out, "      ", "Name", leg.airportName);
    element(out, "      ", "AirportCode", leg.airportCode);
    out += "    </";
    out += name;
    out += ">\n";
}

}  // namespace

std::optional<FlightQuery> parseFlightRequest(std::wstring_view text) {
    if (text.size() > 200)
        return std::nullopt;
    std::vector<std::string> parts;
    std::string utf8 = platform::toUtf8(text);
    std::size_t start = 0;
    while (parts.size() < 5) {
        std::size_t end = utf8.find('~', start);
        parts.push_back(utf8.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (parts.size() != 4)
        return std::nullopt;
    FlightQuery query;
    query.airline = parts[0];
    for (char& c : query.airline) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    query.number = parts[1];
    if (!isCode(query.airline, 2, 3, false) || !isCode(query.number, 1, 5, true))
        return std::nullopt;
    if (fileTime(parts[2]).empty() || fileTime(parts[3]).empty())
        return std::nullopt;
    query.date = parts[2].substr(0, 10);
    return query;
}

std::string flightStatusUrl(const std::string& base, const FlightQuery& query) {
    return base + "/flights/number/" + query.airline + query.number + "/" + query.date +
           "?withAircraftImage=false&withLocation=false";
}

Answer<std::vector<Flight>> parseFlightStatus(std::string_view text) {
    Answer<std::vector<Flight>> answer;
    auto document = parseJson(text, answer.failure);
    if (!document)
        return answer;
    if (!document->is_array() || document->empty()) {
        answer.failure = fail(errorCode::Unreadable, "flight answer holds no flight");
        return answer;
    }
    std::vector<Flight> flights;
    for (std::size_t i = 0; i < document->size() && i < kMaxFlights; ++i) {
        const nlohmann::json& item = (*document)[i];
        const nlohmann::json* departure = member(item, "departure");
        const nlohmann::json* arrival = member(item, "arrival");
        if (!departure || !arrival || !departure->is_object() || !arrival->is_object()) {
            answer.failure = fail(errorCode::Unreadable, "flight without departure or arrival");
            return answer;
        }
        Flight flight;
        bool departed = false, landed = false;
        flight.status = statusLetters(textAt(item, "status").value_or(""), departed, landed);
        flight.departure = readLeg(*departure, false, landed, departed);
        flight.arrival = readLeg(*arrival, true, landed, departed);
        if (flight.departure.scheduled.empty() && flight.arrival.scheduled.empty()) {
            answer.failure = fail(errorCode::Unreadable, "flight without its scheduled times");
            return answer;
        }
        flights.push_back(std::move(flight));
    }
    answer.value = std::move(flights);
    return answer;
}

std::string flightFileText(const std::vector<Flight>& flights) {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    out += "<FlightHistoryGetHistoryResponse>\n";
    for (const Flight& flight : flights) {
        out += "  <FlightHistory>\n";
        element(out, "    ", "StatusCode", flight.status);
        airport(out, "Origin", flight.departure);
        airport(out, "Destination", flight.arrival);
        element(out, "    ", "PublishedDepartureDate", flight.departure.scheduled);
        element(out, "    ", "EstimatedRunwayDepartureDate", flight.departure.estimated);
        element(out, "    ", "ActualRunwayDepartureDate", flight.departure.actual);
        element(out, "    ", "PublishedArrivalDate", flight.arrival.scheduled);
        element(out, "    ", "EstimatedGateArrivalDate", flight.arrival.estimated);
        element(out, "    ", "ActualGateArrivalDate", flight.arrival.actual);
        element(out, "    ", "DepartureGate", flight.departure.gate);
        element(out, "    ", "ArrivalGate", flight.arrival.gate);
        element(out, "    ", "DepartureTerminal", flight.departure.terminal);
        element(out, "    ", "ArrivalTerminal", flight.arrival.terminal);
        element(out, "    ", "BaggageClaim", flight.arrival.baggage);
        if (auto minutes =
                minutesBetween(flight.departure.scheduledUtc, flight.arrival.scheduledUtc))
            element(out, "    ", "ScheduledBlockTime", std::to_string(*minutes));
        if (auto minutes = minutesBetween(flight.departure.actualUtc, flight.arrival.actualUtc))
            element(out, "    ", "ActualBlockTime", std::to_string(*minutes));
        out += "  </FlightHistory>\n";
    }
    out += "</FlightHistoryGetHistoryResponse>\n";
    return out;
}

std::wstring flightFileName(const FlightQuery& query) {
    return platform::fromUtf8(query.airline + "_" + query.number + ".fls");
}

Answer<std::vector<Flight>> AeroDataBoxFlights::status(Fetcher& fetcher, const FlightQuery& query) {
    FetchRequest request{flightStatusUrl(base_, query), {}, 512 << 10};
    request.headers.push_back("X-RapidAPI-Key: " + query.key);
    request.headers.push_back("X-RapidAPI-Host: aerodatabox.p.rapidapi.com");
    Fetched fetched = fetcher.get(request);
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    return parseFlightStatus(fetched.body);
}

}  // namespace commsprogram
