// The flight file reader: every field and its fallback, the time forms it reads and those it
// refuses, files that are not XML, cut short, empty or huge, the status texts, block times and
// the detail lines the screens and `vorn flight` show.

#include <gtest/gtest.h>

#include <string>

#include "tests/travel/support/travel_test_support.h"
#include "travel/flight_file.h"

using namespace travel;
using travel::test::flightXml;

namespace {

FlightFile parse(std::string_view text) {
    return parseFlightFile({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

const char* kDelayed =
    "<StatusCode>\"S\"</StatusCode>"
    "<Origin><Name>Zurich Airport</Name><AirportCode>ZRH</AirportCode></Origin>"
    "<Destination><Name>London Heathrow</Name><AirportCode>LHR</AirportCode></Destination>"
    "<PublishedDepartureDate>2027-03-01T07:05:00</PublishedDepartureDate>"
    "<ScheduledRunwayDepartureDate>2027-03-01T07:15:00</ScheduledRunwayDepartureDate>"
    "<EstimatedRunwayDepartureDate>2027-03-01T08:40:00.000</EstimatedRunwayDepartureDate>"
    "<PublishedArrivalDate>2027-03-01T07:50</PublishedArrivalDate>"
    "<EstimatedGateArrivalDate>2027-03-01T09:25:00</EstimatedGateArrivalDate>"
    "<DepartureGate>A52</DepartureGate><ArrivalGate>B3</ArrivalGate>"
    "<DepartureTerminal>1</DepartureTerminal><ArrivalTerminal>2</ArrivalTerminal>"
    "<BaggageClaim>7</BaggageClaim>"
    "<ScheduledBlockTime>105</ScheduledBlockTime><ActualBlockTime>135</ActualBlockTime>";

std::wstring field(const core::RecordTable& rows, int column, int row = 1) {
    return std::wstring(rows.fieldText(row, column));
}

class FlightFiles : public ::testing::Test {
  protected:
    void SetUp() override { travel::test::prepareDevice(); }
};

}  // namespace

TEST_F(FlightFiles, ReadsEveryFieldOfADelayedFlight) {
    FlightFile file = parse(flightXml({kDelayed}));
    ASSERT_EQ(file.flightCount(), 1);
    const core::RecordTable& d = file.departures;
    const core::RecordTable& a = file.arrivals;
    EXPECT_EQ(field(d, flightField::AirportName), L"Zurich Airport");
    EXPECT_EQ(field(d, flightField::AirportCode), L"ZRH");
    EXPECT_EQ(field(d, flightField::Scheduled), L"Mon, Mar 01 07:05");  // published first
    EXPECT_EQ(field(d, flightField::Estimated), L"Mon, Mar 01 08:40");
    EXPECT_EQ(field(d, flightField::Actual), L"N/A");
    EXPECT_EQ(field(d, flightField::Gate), L"A52");
    EXPECT_EQ(field(d, flightField::Terminal), L"1");
    EXPECT_EQ(field(d, flightField::Baggage), L"");
    EXPECT_EQ(field(d, flightField::BlockTime), L"105");
    EXPECT_EQ(field(a, flightField::AirportName), L"London Heathrow");
    EXPECT_EQ(field(a, flightField::Scheduled), L"Mon, Mar 01 07:50");  // seconds missing
    EXPECT_EQ(field(a, flightField::Estimated), L"Mon, Mar 01 09:25");
    EXPECT_EQ(field(a, flightField::Actual), L"");
    EXPECT_EQ(field(a, flightField::Gate), L"B3");
    EXPECT_EQ(field(a, flightField::Terminal), L"2");
    EXPECT_EQ(field(a, flightField::Baggage), L"7");
    EXPECT_EQ(field(a, flightField::BlockTime), L"135");
    ASSERT_EQ(file.statusCodes.size(), 1u);
    EXPECT_EQ(file.statusCodes[0], L"S");  // quotes removed
}

TEST_F(FlightFiles, MissingFieldsFallBack) {
    FlightFile file = parse(flightXml({"<StatusCode>A</StatusCode>"}));
    ASSERT_EQ(file.flightCount(), 1);
    const core::RecordTable& d = file.departures;
    const core::RecordTable& a = file.arrivals;
    for (int column : {flightField::AirportName, flightField::Scheduled, flightField::Estimated,
                       flightField::Actual, flightField::Terminal, flightField::BlockTime})
        EXPECT_EQ(field(d, column), L"N/A") << column;
    for (int column : {flightField::AirportName, flightField::Scheduled, flightField::Estimated,
                       flightField::Terminal, flightField::Baggage, flightField::BlockTime})
        EXPECT_EQ(field(a, column), L"N/A") << column;
    EXPECT_EQ(field(d, flightField::Gate), L"??");
    EXPECT_EQ(field(a, flightField::Gate), L"??");
    // A missing actual arrival shows nothing.
    EXPECT_EQ(field(a, flightField::Actual), L"");
    EXPECT_EQ(field(d, flightField::AirportCode), L"");
}

TEST_F(FlightFiles, TimesFallBackInTheirOrder) {
    FlightFile file = parse(
        flightXml({"<ScheduledRunwayDepartureDate>2027-03-01T07:15</ScheduledRunwayDepartureDate>"
                   "<ActualRunwayDepartureDate>2027-03-01T07:20</ActualRunwayDepartureDate>"
                   "<ScheduledRunwayArrivalDate>2027-03-01T09:00</ScheduledRunwayArrivalDate>"
                   "<EstimatedRunwayArrivalDate>2027-03-01T09:10</EstimatedRunwayArrivalDate>",
                   "<ScheduledRunwayArrivalDate>2027-03-02T10:00</ScheduledRunwayArrivalDate>"
                   "<ActualGateArrivalDate>2027-03-02T10:30</ActualGateArrivalDate>"
                   "<EstimatedRunwayArrivalDate>2027-03-02T10:05</EstimatedRunwayArrivalDate>"}));
    ASSERT_EQ(file.flightCount(), 2);
    EXPECT_EQ(field(file.departures, flightField::Scheduled), L"Mon, Mar 01 07:15");
    EXPECT_EQ(field(file.departures, flightField::Actual), L"Mon, Mar 01 07:20");
    EXPECT_EQ(field(file.arrivals, flightField::Scheduled), L"Mon, Mar 01 09:00");
    // Estimated arrival: gate, else runway, else the scheduled runway time.
    EXPECT_EQ(field(file.arrivals, flightField::Estimated), L"Mon, Mar 01 09:10");
    EXPECT_EQ(field(file.arrivals, flightField::Actual), L"Mon, Mar 01 09:10");
    EXPECT_EQ(field(file.arrivals, flightField::Estimated, 2), L"Tue, Mar 02 10:05");
    EXPECT_EQ(field(file.arrivals, flightField::Actual, 2), L"Tue, Mar 02 10:30");
}

TEST_F(FlightFiles, UnreadableTimesShowNotAvailable) {
    for (const char* bad :
         {"", "soon", "2027-13-01T07:00", "2027-02-30T07:00", "2027-03-01T24:00",
          "2027-03-01T07:60", "2027-03-01 07:00", "27-03-01T07:00", "2027-03-01T07",
          "2027-03-01T07:00:99", "99999999999999999999-01-01T00:00"}) {
        std::string xml = flightXml(
            {std::string("<PublishedDepartureDate>") + bad + "</PublishedDepartureDate>"});
        FlightFile file = parse(xml);
        ASSERT_EQ(file.flightCount(), 1) << bad;
        EXPECT_EQ(field(file.departures, flightField::Scheduled), L"N/A") << bad;
    }
    // A bad published time falls back to the runway time.
    FlightFile file = parse(flightXml(
        {"<PublishedDepartureDate>later</PublishedDepartureDate>"
         "<ScheduledRunwayDepartureDate>2028-02-29T23:59:59.5Z</ScheduledRunwayDepartureDate>"}));
    EXPECT_EQ(field(file.departures, flightField::Scheduled), L"Tue, Feb 29 23:59");
}

TEST_F(FlightFiles, DamagedFilesGiveNoFlights) {
    EXPECT_EQ(parse("").flightCount(), 0);
    EXPECT_EQ(parse("this is not xml at all").flightCount(), 0);
    EXPECT_EQ(parse("<?xml version=\"1.0\"?><Other><a>1</a></Other>").flightCount(), 0);
    EXPECT_EQ(parse(flightXml({})).flightCount(), 0);
    std::string whole = flightXml({kDelayed, kDelayed});
    // Cut anywhere, the file gives at most the flights it held, and no crash.
    for (std::size_t cut = 0; cut < whole.size(); cut += 7)
        EXPECT_LE(parse(whole.substr(0, cut)).flightCount(), 2);
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37);
    EXPECT_EQ(parse(binary).flightCount(), 0);
}

TEST_F(FlightFiles, ThousandsOfFlightsAreCappedAndOversizedFilesRefused) {
    std::string many = "<?xml version=\"1.0\"?><FlightHistoryGetHistoryResponse>";
    for (int i = 0; i < 5000; ++i) many += "<F><StatusCode>L</StatusCode></F>";
    many += "</FlightHistoryGetHistoryResponse>";
    FlightFile file = parse(many);
    EXPECT_EQ(file.flightCount(), kMaxFlights);
    EXPECT_EQ(static_cast<int>(file.statusCodes.size()), kMaxFlights);
    std::string huge(kMaxFlightFileBytes + 1, ' ');
    huge.replace(0, 60, flightXml({"<StatusCode>L</StatusCode>"}).substr(0, 60));
    EXPECT_EQ(parse(huge).flightCount(), 0);
}

TEST_F(FlightFiles, ElementNamesMustMatchWhole) {
    FlightFile file =
        parse(flightXml({"<OriginalAirport><Name>Wrong</Name></"
                         "OriginalAirport><DepartureGateInfo>X</DepartureGateInfo>"}));
    ASSERT_EQ(file.flightCount(), 1);
    EXPECT_EQ(field(file.departures, flightField::AirportName), L"N/A");
    EXPECT_EQ(field(file.departures, flightField::Gate), L"??");
}

TEST_F(FlightFiles, StatusTexts) {
    EXPECT_EQ(flightStatusString(L"L"), 197);
    EXPECT_EQ(flightStatusString(L"A"), 198);
    EXPECT_EQ(flightStatusString(L"S"), 199);
    EXPECT_EQ(flightStatusString(L"C"), 200);
    EXPECT_EQ(flightStatusString(L"R"), 201);
    EXPECT_EQ(flightStatusString(L"DN"), 202);
    EXPECT_EQ(flightStatusString(L"NO"), 203);
    EXPECT_EQ(flightStatusString(L"NOSTATUS"), 203);
    EXPECT_EQ(flightStatusString(L"N"), 204);
    EXPECT_EQ(flightStatusString(L"X"), 204);
    EXPECT_EQ(flightStatusString(L""), 204);
    EXPECT_EQ(flightStatusString(L"l"), 204);
}

TEST_F(FlightFiles, BlockTimes) {
    EXPECT_EQ(blockTimeText(L"135"), L", flight time 2 h 15 min");
    EXPECT_EQ(blockTimeText(L"59"), L", flight time 0 h 59 min");
    EXPECT_EQ(blockTimeText(L"N/A"), L"");
    EXPECT_EQ(blockTimeText(L"-5"), L"");
    EXPECT_EQ(blockTimeText(L"12abc"), L"");
    EXPECT_EQ(blockTimeText(L"99999999999"), L"");
    EXPECT_EQ(blockTimeText(L""), L"");
}

TEST_F(FlightFiles, DetailOfADelayedFlightShowsEstimatesAndStatus) {
    FlightFile file = parse(flightXml({kDelayed}));
    EXPECT_EQ(flightTitle(file, 0), L"Flight 1 of 1");
    std::vector<FlightDetailLine> lines = flightDetail(file, 0);
    std::wstring all;
    for (const FlightDetailLine& line : lines) all += line.label + L"|" + line.value + L"\n";
    EXPECT_EQ(all,
              L"Departure|\n"
              L"|ZRH Zurich Airport\n"
              L"Scheduled:|Mon, Mar 01 07:05\n"
              L"Estimated:|Mon, Mar 01 08:40\n"
              L"Gate:|A52, terminal 1\n"
              L"Status:|Scheduled, flight time 1 h 45 min\n"
              L"Arrival|\n"
              L"|LHR London Heathrow\n"
              L"Scheduled:|Mon, Mar 01 07:50\n"
              L"Estimated:|Mon, Mar 01 09:25\n"
              L"Gate:|B3, terminal 2\n"
              L"Baggage claim:|7\n");
}

TEST_F(FlightFiles, DetailOfALandedFlightShowsActualTimesAndTheArrivalBlockTime) {
    std::string landed = std::string(kDelayed);
    landed.replace(landed.find("\"S\""), 3, "L");
    landed +=
        "<ActualGateDepartureDate>2027-03-01T08:45</ActualGateDepartureDate>"
        "<ActualGateArrivalDate>2027-03-01T09:20</ActualGateArrivalDate>";
    FlightFile file = parse(flightXml({kDelayed, landed}));
    ASSERT_EQ(file.flightCount(), 2);
    EXPECT_EQ(flightTitle(file, 1), L"Flight 2 of 2");
    std::vector<FlightDetailLine> lines = flightDetail(file, 1);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[3].label, L"Actual:");
    EXPECT_EQ(lines[3].value, L"Mon, Mar 01 08:45");
    EXPECT_EQ(lines[5].value, L"Landed, flight time 2 h 15 min");
    EXPECT_EQ(lines[9].label, L"Actual:");
    EXPECT_EQ(lines[9].value, L"Mon, Mar 01 09:20");
    // Each flight keeps its own status: the first is still scheduled.
    EXPECT_EQ(flightDetail(file, 0)[5].value, L"Scheduled, flight time 1 h 45 min");
}

TEST_F(FlightFiles, DetailWithoutFlightsSaysSo) {
    FlightFile empty;
    std::vector<FlightDetailLine> lines = flightDetail(empty, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].label, L"No flight data.");
    EXPECT_EQ(flightTitle(empty, 0), L"");
    FlightFile one = parse(flightXml({kDelayed}));
    EXPECT_EQ(flightDetail(one, 1).size(), 1u);
    EXPECT_EQ(flightDetail(one, -1).size(), 1u);
}

TEST_F(FlightFiles, ReadsFromTheDownloadFolderOnlySafeNames) {
    travel::test::writeDownload(L"LX_318.fls", flightXml({kDelayed}));
    EXPECT_EQ(readFlightFile(travel::test::kDownloads, L"LX_318.fls").flightCount(), 1);
    EXPECT_EQ(readFlightFile(travel::test::kDownloads, L"..\\downloads\\LX_318.fls").flightCount(),
              0);
    EXPECT_EQ(readFlightFile(travel::test::kDownloads, L"missing.fls").flightCount(), 0);
    EXPECT_EQ(flightDataTime(travel::test::kDownloads, L"LX_318.fls").rfind(L"Data from ", 0), 0u);
    EXPECT_EQ(flightDataTime(travel::test::kDownloads, L"missing.fls"), L"");
}
