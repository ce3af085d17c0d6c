#pragma once
// Flight status through a service that needs the user's own key (AeroDataBox through its
// marketplace): the flights of one number on one day, and the flight file the flight status
// screen reads.

#include <string>
#include <string_view>
#include <vector>

#include "commsprogram/providers.h"

namespace commsprogram {

std::string flightStatusUrl(const std::string& base, const FlightQuery& query);
Answer<std::vector<Flight>> parseFlightStatus(std::string_view text);

// The request text "AIRLINE~NUMBER~FROM~TO" (times "YYYY-MM-DDTHH:MM"); nothing when a part is
// missing or malformed. The key is not part of it.
std::optional<FlightQuery> parseFlightRequest(std::wstring_view text);

// The flight file: an XML declaration, then one FlightHistoryGetHistoryResponse element with
// one child per flight.
std::string flightFileText(const std::vector<Flight>& flights);
// "BA_117.fls"
std::wstring flightFileName(const FlightQuery& query);

class AeroDataBoxFlights : public FlightSource {
  public:
    explicit AeroDataBoxFlights(std::string base) : base_(std::move(base)) {}
    Answer<std::vector<Flight>> status(Fetcher& fetcher, const FlightQuery& query) override;

  private:
    std::string base_;
};

}  // namespace commsprogram
