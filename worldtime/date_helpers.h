#pragma once
// The small date, time and number helpers the whole program shares. Date arithmetic goes
// through the 100-ns file time, so every result is a real calendar moment with its weekday
// filled in; numbers are printed and read the way the data files and the user's locale
// write them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace worldtime {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr std::int64_t kTicksPerHour = 60 * kTicksPerMinute;
constexpr std::int64_t kTicksPerDay = 24 * kTicksPerHour;
// File ticks (from 1601) of 1970-01-01, where the host's seconds count from.
constexpr std::int64_t kUnixEpochTicks = 11'644'473'600LL * kTicksPerSecond;

// The Julian day number of a Gregorian date (2000-01-01 is 2451545).
int dayNumber(int month, int day, int year);

// Moves a date-time by (days * 24 + hours) hours and the minutes, then by whole months (after
// December comes January of the next year) and years. A day beyond the new month's length
// becomes the month's last day (31 January + 1 month is 28 or 29 February). With
// skipWeekend a result on a Sunday moves on one day, one on a Saturday two days. Nothing
// when the date-time is not a real moment or the result leaves the file-time range.
std::optional<platform::SystemTime> shiftDateTime(const platform::SystemTime& dateTime,
                                                  std::int64_t minutes, std::int64_t hours,
                                                  std::int64_t days, std::int64_t months,
                                                  std::int64_t years, bool skipWeekend);
// The same movement backwards; its weekend skip still moves forward, to the Monday.
std::optional<platform::SystemTime> unshiftDateTime(const platform::SystemTime& dateTime,
                                                    std::int64_t minutes, std::int64_t hours,
                                                    std::int64_t days, std::int64_t months,
                                                    std::int64_t years, bool skipWeekend);

// File time of a date-time, as a signed count so that differences can be negative; nothing
// for a date-time that is not a real moment.
std::optional<std::int64_t> fileTicks(const platform::SystemTime& dateTime);
// The date-time of a signed file time; nothing before 1601 or after 30827.
std::optional<platform::SystemTime> fromFileTicks(std::int64_t ticks);

// The value with 0 to 8 decimals (more are printed as 8, fewer as 0); with localise the "."
// becomes the device locale's decimal separator.
std::wstring formatFixed(double value, int decimals, bool localise);
std::wstring formatInt(std::int64_t value, bool localise);

// Keeps digits, "-", "." and the locale's decimal separator, drops the locale's thousands
// separator and turns its decimal separator into ".": "1.234,5" in German reads "1234.5".
std::wstring normaliseNumber(std::wstring_view text);
// An integer read after normalisation, up to the first character that is not a digit; 0
// when there is none.
int readInt(std::wstring_view text);
// A decimal number with "." as its point, after normalisation unless asked not to; leading
// blanks are skipped and reading stops at the first character that does not belong to the
// number. 0 when there is no number or it is out of the double range.
double readNumber(std::wstring_view text, bool normalise = true);

std::wstring removeChar(std::wstring_view text, wchar_t c);

// A date from six characters "MMDDYY" (two-digit year in this century); nothing when the
// text does not name a real date.
std::optional<platform::SystemTime> dateFromMmddyy(std::wstring_view mmddyy);
// That date written by a date picture (the locale's short date when the picture is empty).
std::optional<std::wstring> shortDate(std::wstring_view mmddyy, std::wstring_view picture = {});
// The day of month ("21"), with its English ordinal suffix ("21st") unless bare.
std::optional<std::wstring> dayWithSuffix(std::wstring_view mmddyy, bool bare);
// The suffix alone: "st" for 1, 21, 31, "nd" for 2, 22, "rd" for 3, 23, else "th".
std::wstring_view ordinalSuffix(int day);

}  // namespace worldtime
