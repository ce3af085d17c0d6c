#pragma once
// Day counts of the proleptic Gregorian calendar, for the platform's own calendar arithmetic
// (file times, time zone rules). Days are counted from 1970-01-01.

#include <cstdint>

namespace platform {

std::int64_t daysFromCivil(std::int64_t year, int month, int day);
void civilFromDays(std::int64_t days, int& year, int& month, int& day);

}  // namespace platform
