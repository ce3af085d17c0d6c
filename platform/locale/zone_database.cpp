// TZif files (RFC 8536) and the POSIX TZ rule they end with. Every count, index and offset of
// a file is checked against the file and against what the zone database ever holds before it
// is used: a damaged or hostile file gives no zone, never a wrong read.

#include "platform/api/zone_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/api/clock.h"
#include "platform/locale/civil_days.h"

namespace platform {
namespace {

constexpr std::size_t kHeaderSize = 44;
constexpr std::uint32_t kMaxTransitions = 1u << 16;
constexpr std::uint32_t kMaxTypes = 256;
constexpr std::uint32_t kMaxCharacters = 1024;
constexpr std::uint32_t kMaxLeapSeconds = 1u << 12;
constexpr std::size_t kMaxFileBytes = 1u << 20;
constexpr std::int32_t kMaxOffsetSeconds = 26 * 3600;  // RFC 8536: within a day or so
constexpr std::int32_t kMaxRuleTimeSeconds = 167 * 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
// Moments beyond some 35,000 years either way are taken as the last one this side; the rule
// arithmetic stays far from overflowing there.
constexpr std::int64_t kMaxSeconds = std::int64_t{1} << 40;

std::int64_t bounded(std::int64_t utcSeconds) {
    return std::clamp(utcSeconds, -kMaxSeconds, kMaxSeconds);
}

std::int64_t civilYearOf(std::int64_t utcSeconds) {
    int year = 0, month = 0, day = 0;
    civilFromDays(utcSeconds / kSecondsPerDay - (utcSeconds % kSecondsPerDay < 0), year, month,
                  day);
    return year;
}

// ---- POSIX TZ text

class RuleText {
  public:
    explicit RuleText(std::string_view text) : text_(text) {}
    bool atEnd() const { return at_ == text_.size(); }
    bool next(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    // "CET" (three letters or more) or "<+0545>" (letters, digits, "+" and "-").
    std::optional<std::string> name() {
        std::size_t from = at_;
        if (next('<')) {
            while (at_ < text_.size() && text_[at_] != '>') {
                char c = text_[at_];
                if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-')
                    return std::nullopt;
                ++at_;
            }
            if (!next('>') || at_ - from - 2 < 3)
                return std::nullopt;
            return std::string(text_.substr(from + 1, at_ - from - 2));
        }
        while (at_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[at_]))) ++at_;
        if (at_ - from < 3)
            return std::nullopt;
        return std::string(text_.substr(from, at_ - from));
    }

    // [+-]hh[:mm[:ss]] with hours up to maxHours.
    std::optional<std::int32_t> time(int maxHours) {
        int sign = 1;
        if (next('-'))
            sign = -1;
        else
            next('+');
        auto hours = number(maxHours);
        if (!hours)
            return std::nullopt;
        std::int32_t seconds = *hours * 3600;
        if (next(':')) {
            auto minutes = number(59);
            if (!minutes)
                return std::nullopt;
            seconds += *minutes * 60;
            if (next(':')) {
                auto secs = number(59);
                if (!secs)
                    return std::nullopt;
                seconds += *secs;
            }
        }
        return sign * seconds;
    }

    std::optional<int> number(int max) {
        std::size_t from = at_;
        int value = 0;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])) &&
               at_ - from < 4) {
            value = value * 10 + (text_[at_] - '0');
            ++at_;
        }
        if (at_ == from || value > max)
            return std::nullopt;
        return value;
    }

    std::optional<PosixZoneRule::Date> date() {
        PosixZoneRule::Date out;
        using Kind = PosixZoneRule::Date::Kind;
        if (next('M')) {
            auto month = number(12);
            if (!month || *month < 1 || !next('.'))
                return std::nullopt;
            auto week = number(5);
            if (!week || *week < 1 || !next('.'))
                return std::nullopt;
            auto weekday = number(6);
            if (!weekday)
                return std::nullopt;
            out.kind = Kind::MonthWeekDay;
            out.month = *month;
            out.week = *week;
            out.weekday = *weekday;
        } else if (next('J')) {
            auto day = number(365);
            if (!day || *day < 1)
                return std::nullopt;
            out.kind = Kind::JulianNoLeap;
            out.day = *day;
        } else {
            auto day = number(365);
            if (!day)
                return std::nullopt;
            out.kind = Kind::DayOfYear;
            out.day = *day;
        }
        if (next('/')) {
            auto at = time(kMaxRuleTimeSeconds / 3600);
            if (!at)
                return std::nullopt;
            out.timeSeconds = *at;
        }
        return out;
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// The day (from 1970-01-01) a rule's date falls on in a year.
std::int64_t dayOfChange(const PosixZoneRule::Date& date, std::int64_t year) {
    using Kind = PosixZoneRule::Date::Kind;
    const std::int64_t newYear = daysFromCivil(year, 1, 1);
    switch (date.kind) {
        case Kind::JulianNoLeap:
            // 29 February is never counted: day 60 is always 1 March.
            return newYear + date.day - 1 +
                   (daysInMonth(static_cast<int>(year), 2) == 29 && date.day >= 60 ? 1 : 0);
        case Kind::DayOfYear:
            return newYear + date.day;
        case Kind::MonthWeekDay:
            break;
    }
    const std::int64_t first = daysFromCivil(year, date.month, 1);
    const int firstWeekday = dayOfWeekOf(static_cast<int>(year), date.month, 1);
    int day = 1 + (date.weekday - firstWeekday + 7) % 7 + (date.week - 1) * 7;
    while (day > daysInMonth(static_cast<int>(year), date.month)) day -= 7;
    return first + day - 1;
}

struct RuleEvent {
    std::int64_t utcSeconds;
    bool daylight;
};

// The rule's changes of the years around a year, in time order; where a change back to
// standard time and the next change to daylight time coincide (daylight time all year), the
// change back comes first.
std::vector<RuleEvent> ruleEvents(const PosixZoneRule& rule, std::int64_t year) {
    std::vector<RuleEvent> events;
    for (std::int64_t y = year - 2; y <= year + 2; ++y) {
        events.push_back({dayOfChange(rule.start, y) * kSecondsPerDay + rule.start.timeSeconds -
                              rule.standard.offsetSeconds,
                          true});
        events.push_back({dayOfChange(rule.end, y) * kSecondsPerDay + rule.end.timeSeconds -
                              rule.daylight->offsetSeconds,
                          false});
    }
    std::stable_sort(events.begin(), events.end(), [](const RuleEvent& a, const RuleEvent& b) {
        return a.utcSeconds < b.utcSeconds ||
               (a.utcSeconds == b.utcSeconds && !a.daylight && b.daylight);
    });
    return events;
}

const ZoneMoment& ruleMoment(const PosixZoneRule& rule, bool daylight) {
    return daylight ? *rule.daylight : rule.standard;
}

ZoneMoment ruleAt(const PosixZoneRule& rule, std::int64_t utcSeconds) {
    utcSeconds = bounded(utcSeconds);
    if (!rule.daylight)
        return rule.standard;
    bool daylight = false;
    for (const RuleEvent& e : ruleEvents(rule, civilYearOf(utcSeconds))) {
        if (e.utcSeconds > utcSeconds)
            break;
        daylight = e.daylight;
    }
    return ruleMoment(rule, daylight);
}

std::optional<ZoneChange> ruleNextChange(const PosixZoneRule& rule, std::int64_t utcSeconds) {
    utcSeconds = bounded(utcSeconds);
    if (!rule.daylight)
        return std::nullopt;
    const ZoneMoment now = ruleAt(rule, utcSeconds);
    for (std::int64_t year = civilYearOf(utcSeconds); year <= civilYearOf(utcSeconds) + 2; ++year) {
        for (const RuleEvent& e : ruleEvents(rule, year)) {
            if (e.utcSeconds <= utcSeconds || e.daylight == now.daylight)
                continue;
            // The state just after this change, should two changes coincide.
            ZoneMoment after = ruleAt(rule, e.utcSeconds);
            if (after.daylight == now.daylight)
                continue;
            return ZoneChange{e.utcSeconds, now, after};
        }
    }
    return std::nullopt;
}

bool sameTime(const ZoneMoment& a, const ZoneMoment& b) {
    return a.offsetSeconds == b.offsetSeconds && a.daylight == b.daylight;
}

// ---- TZif

class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t count) const { return bytes_.size() - at_ >= count; }
    std::size_t at() const { return at_; }
    std::span<const std::uint8_t> take(std::size_t count) {
        auto out = bytes_.subspan(at_, count);
        at_ += count;
        return out;
    }
    std::span<const std::uint8_t> rest() const { return bytes_.subspan(at_); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

std::uint32_t readU32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

std::int64_t readI64(const std::uint8_t* p) {
    std::uint64_t v = (std::uint64_t{readU32(p)} << 32) | readU32(p + 4);
    return static_cast<std::int64_t>(v);
}

struct Header {
    int version = 0;
    std::uint32_t isUtc = 0, isStd = 0, leaps = 0, times = 0, types = 0, characters = 0;

    std::size_t blockSize(std::size_t timeBytes) const {
        return times * timeBytes + times + types * 6 + characters + leaps * (timeBytes + 4) +
               isStd + isUtc;
    }
};

std::optional<Header> readHeader(Bytes& in) {
    if (!in.has(kHeaderSize))
        return std::nullopt;
    auto h = in.take(kHeaderSize);
    if (std::memcmp(h.data(), "TZif", 4) != 0)
        return std::nullopt;
    Header out;
    const std::uint8_t version = h[4];
    if (version == 0)
        out.version = 1;
    else if (version >= '2' && version <= '4')
        out.version = version - '0';
    else
        return std::nullopt;
    out.isUtc = readU32(h.data() + 20);
    out.isStd = readU32(h.data() + 24);
    out.leaps = readU32(h.data() + 28);
    out.times = readU32(h.data() + 32);
    out.types = readU32(h.data() + 36);
    out.characters = readU32(h.data() + 40);
    if (out.times > kMaxTransitions || out.types == 0 || out.types > kMaxTypes ||
        out.characters == 0 || out.characters > kMaxCharacters || out.leaps > kMaxLeapSeconds ||
        (out.isUtc != 0 && out.isUtc != out.types) || (out.isStd != 0 && out.isStd != out.types)) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<PosixZoneRule> parsePosixZoneRule(std::string_view text) {
    RuleText in(text);
    PosixZoneRule rule;
    auto standardName = in.name();
    auto standardOffset = in.time(24);
    if (!standardName || !standardOffset)
        return std::nullopt;
    rule.standard = {-*standardOffset, false, *standardName};
    if (in.atEnd())
        return rule;
    auto daylightName = in.name();
    if (!daylightName)
        return std::nullopt;
    std::int32_t daylightOffset = rule.standard.offsetSeconds + 3600;
    if (in.peek() != ',' && !in.atEnd()) {
        auto offset = in.time(24);
        if (!offset)
            return std::nullopt;
        daylightOffset = -*offset;
    }
    rule.daylight = ZoneMoment{daylightOffset, true, *daylightName};
    if (in.atEnd()) {
        // No dates: the rule that POSIX systems assume, second Sunday of March to first of
        // November at 02:00.
        rule.start = {PosixZoneRule::Date::Kind::MonthWeekDay, 3, 2, 0, 0, 7200};
        rule.end = {PosixZoneRule::Date::Kind::MonthWeekDay, 11, 1, 0, 0, 7200};
        return rule;
    }
    if (!in.next(','))
        return std::nullopt;
    auto start = in.date();
    if (!start || !in.next(','))
        return std::nullopt;
    auto end = in.date();
    if (!end || !in.atEnd())
        return std::nullopt;
    rule.start = *start;
    rule.end = *end;
    return rule;
}

std::optional<ZoneDefinition> ZoneDefinition::parse(std::span<const std::uint8_t> bytes) {
    Bytes in(bytes);
    auto header = readHeader(in);
    if (!header)
        return std::nullopt;
    std::size_t timeBytes = 4;
    if (header->version >= 2) {
        // The first block holds 32-bit times for old readers; the second, after its own
        // header, the same data with 64-bit times.
        if (!in.has(header->blockSize(4)))
            return std::nullopt;
        in.take(header->blockSize(4));
        header = readHeader(in);
        if (!header || header->version < 2)
            return std::nullopt;
        timeBytes = 8;
    }
    if (!in.has(header->blockSize(timeBytes)))
        return std::nullopt;
    auto times = in.take(header->times * timeBytes);
    auto typeIndexes = in.take(header->times);
    auto types = in.take(header->types * 6);
    auto characters = in.take(header->characters);
    in.take(header->leaps * (timeBytes + 4) + header->isStd + header->isUtc);

    ZoneDefinition zone;
    for (std::uint32_t i = 0; i < header->types; ++i) {
        const std::uint8_t* t = types.data() + i * 6;
        const auto offset = static_cast<std::int32_t>(readU32(t));
        const std::uint8_t daylight = t[4];
        const std::uint8_t nameAt = t[5];
        if (offset < -kMaxOffsetSeconds || offset > kMaxOffsetSeconds || daylight > 1 ||
            nameAt >= header->characters) {
            return std::nullopt;
        }
        auto name = characters.subspan(nameAt);
        auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
        if (end == name.end())
            return std::nullopt;
        zone.types_.push_back({offset, daylight == 1, std::string(name.begin(), end)});
    }
    for (std::uint32_t i = 0; i < header->times; ++i) {
        const std::int64_t at = timeBytes == 8
                                    ? readI64(times.data() + i * 8)
                                    : static_cast<std::int32_t>(readU32(times.data() + i * 4));
        const std::uint8_t type = typeIndexes[i];
        if (type >= header->types ||
            (!zone.transitions_.empty() && at <= zone.transitions_.back().utcSeconds)) {
            return std::nullopt;
        }
        zone.transitions_.push_back({at, type});
    }
    if (header->version >= 2) {
        // The footer: the rule for the times after the last transition, between line feeds.
        auto rest = in.rest();
        if (rest.empty() || rest[0] != '\n')
            return std::nullopt;
        auto close = std::find(rest.begin() + 1, rest.end(), std::uint8_t{'\n'});
        if (close == rest.end())
            return std::nullopt;
        std::string_view text(reinterpret_cast<const char*>(rest.data()) + 1,
                              static_cast<std::size_t>(close - rest.begin() - 1));
        if (!text.empty()) {
            zone.rule_ = parsePosixZoneRule(text);
            if (!zone.rule_)
                return std::nullopt;
        }
    }
    return zone;
}

ZoneMoment ZoneDefinition::at(std::int64_t utcSeconds) const {
    if (transitions_.empty())
        return rule_ ? ruleAt(*rule_, utcSeconds) : types_.front();
    if (utcSeconds < transitions_.front().utcSeconds)
        return types_.front();
    auto after =
        std::upper_bound(transitions_.begin(), transitions_.end(), utcSeconds,
                         [](std::int64_t t, const Transition& tr) { return t < tr.utcSeconds; });
    if (after == transitions_.end() && rule_)
        return ruleAt(*rule_, utcSeconds);
    return types_[std::prev(after)->type];
}

std::optional<ZoneChange> ZoneDefinition::nextChange(std::int64_t utcSeconds) const {
    const ZoneMoment now = at(utcSeconds);
    auto next =
        std::upper_bound(transitions_.begin(), transitions_.end(), utcSeconds,
                         [](std::int64_t t, const Transition& tr) { return t < tr.utcSeconds; });
    for (; next != transitions_.end(); ++next) {
        ZoneMoment then = at(next->utcSeconds);
        if (!sameTime(then, now))
            return ZoneChange{next->utcSeconds, now, then};
    }
    if (!rule_)
        return std::nullopt;
    const std::int64_t from =
        transitions_.empty() ? utcSeconds : std::max(utcSeconds, transitions_.back().utcSeconds);
    auto change = ruleNextChange(*rule_, from);
    if (change && sameTime(change->after, now))
        return std::nullopt;
    if (change)
        change->before = now;
    return change;
}

bool isZoneName(std::string_view text) {
    if (text.empty() || text.size() > 255 || text.front() == '/' || text.back() == '/' ||
        text.find("//") != std::string_view::npos) {
        return false;
    }
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '+' &&
            c != '/') {
            return false;
        }
    }
    return true;
}

std::optional<ZoneDefinition> hostZone(std::string_view ianaName) {
    if (!isZoneName(ianaName))
        return std::nullopt;
    const char* folder = std::getenv("TZDIR");
    std::string path = folder && *folder ? folder : "/usr/share/zoneinfo";
    path += '/';
    path += ianaName;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::vector<std::uint8_t> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) <= kMaxFileBytes) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    if (bytes.empty())
        return std::nullopt;
    return ZoneDefinition::parse(bytes);
}

}  // namespace platform
