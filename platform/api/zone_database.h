#pragma once
// The host's time zone database: the IANA zones as the system keeps them current (the TZif
// files of /usr/share/zoneinfo, or $TZDIR). A zone answers its offset and daylight-saving
// state at any moment, and its next change, from the file's transitions and, past the last
// one, from the rule the file ends with.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ZoneMoment {
    std::int32_t offsetSeconds = 0;  // east of UTC
    bool daylight = false;
    std::string abbreviation;  // "CEST", "+0545"
};

struct ZoneChange {
    std::int64_t utcSeconds = 0;  // the first second of the new time
    ZoneMoment before;
    ZoneMoment after;
};

// One zone's rule as a POSIX TZ text gives it ("CET-1CEST,M3.5.0,M10.5.0/3"), for the years
// after the last transition of a file.
struct PosixZoneRule {
    // A day of the year: Mm.w.d (month, week 1 to 5 = last, weekday 0 = Sunday), Jn (day
    // 1 to 365 without 29 February) or n (day 0 to 365), then the local time of the change.
    struct Date {
        enum class Kind { MonthWeekDay, JulianNoLeap, DayOfYear } kind = Kind::MonthWeekDay;
        int month = 0, week = 0, weekday = 0, day = 0;
        std::int32_t timeSeconds = 7200;
    };
    ZoneMoment standard;
    std::optional<ZoneMoment> daylight;  // no daylight saving when absent
    Date start;                          // in standard time
    Date end;                            // in daylight time
};

// A POSIX TZ text with the extensions of RFC 8536 (hours -167 to 167); nothing when it is
// malformed.
std::optional<PosixZoneRule> parsePosixZoneRule(std::string_view text);

class ZoneDefinition {
  public:
    // A TZif file (version 1 to 4); nothing when it is malformed or out of bounds.
    static std::optional<ZoneDefinition> parse(std::span<const std::uint8_t> bytes);

    ZoneMoment at(std::int64_t utcSeconds) const;
    // The first change after the moment; nothing when the zone keeps its time from then on.
    std::optional<ZoneChange> nextChange(std::int64_t utcSeconds) const;

  private:
    struct Transition {
        std::int64_t utcSeconds;
        std::uint8_t type;
    };
    std::vector<Transition> transitions_;
    std::vector<ZoneMoment> types_;
    std::optional<PosixZoneRule> rule_;
};

// The zone of an IANA name ("Europe/Berlin") from the host's database; nothing when the name
// is not a zone's (only letters, digits, "_", "-", "+" and "/" between names, no "..") or its
// file does not read.
std::optional<ZoneDefinition> hostZone(std::string_view ianaName);

// Whether a text has the form of an IANA zone name: at most 255 characters, letters, digits,
// "_", "-" and "+" in names joined by single "/".
bool isZoneName(std::string_view text);

// The IANA name of the zone the host runs in: TZ when it names a zone of the database
// ("Europe/Berlin", or ":Europe/Berlin"), else the zone that the link /etc/localtime leads to
// (".../zoneinfo/Europe/Berlin"). Nothing when neither names a zone the database holds.
std::optional<std::string> hostZoneName();
// The same from given texts: the value of TZ (none when unset) and the target of the link
// (none when it is no link).
std::optional<std::string> hostZoneNameFrom(std::optional<std::string_view> tz,
                                            std::optional<std::string_view> localtimeLink);

}  // namespace platform
