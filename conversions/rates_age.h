#pragma once
// Where the currency rates come from and how old they are. "rates.dat" may carry a line
// keyed "#rates" (source ~ unused ~ date as YYYY-MM-DD) that the generator and the comms
// program write; without it the rates are as old as the file. Rates older than a week are
// stale: a traveller should not pay by them.

#include <optional>
#include <string>

#include "conversions/unit_table.h"
#include "platform/api/clock.h"

namespace conversions {

constexpr int kStaleAfterDays = 7;

struct RatesAge {
    std::wstring source;        // empty when the file does not say
    platform::SystemTime date;  // the day the rates are of (UTC)
    int days = 0;               // whole days between that day and now
    bool stale = false;         // older than a week
};

// None when the table has neither a dated "#rates" line nor a file time.
std::optional<RatesAge> ratesAge(const UnitTable& table, platform::FileTime nowUtc);

// A date written as YYYY-MM-DD; none for anything else or a day that does not exist.
std::optional<platform::SystemTime> parseIsoDate(std::wstring_view text);

}  // namespace conversions
