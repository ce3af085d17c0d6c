// The device time zone: local time from the host's zone database (the rules the system keeps
// current), and the handheld's description of the zone from the locale library, whose own
// copy of the rules serves only for a zone the host does not know.

#include <unicode/basictz.h>
#include <unicode/dtrule.h>
#include <unicode/timezone.h>
#include <unicode/tzrule.h>

#include <memory>
#include <mutex>

#include "platform/api/profile.h"
#include "platform/api/zone_database.h"
#include "platform/locale/locale_data.h"

namespace platform {
namespace {

constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000LL;

UDate toUDate(FileTime t) {
    return static_cast<UDate>((static_cast<std::int64_t>(t) - kTicksFrom1601To1970) /
                              kTicksPerMillisecond);
}

std::unique_ptr<icu::TimeZone> createZone(std::string_view name) {
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(std::string(name))));
    if (!zone || *zone == icu::TimeZone::getUnknown())
        return nullptr;
    return zone;
}

// The host's zone: named by the system's settings, else as the locale library detects it.
std::string hostsOwnZone() {
    if (auto name = hostZoneName())
        return *name;
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    if (!host || *host == icu::TimeZone::getUnknown())
        return "UTC";
    icu::UnicodeString id;
    host->getID(id);
    std::string name;
    id.toUTF8String(name);
    return name;
}

// Runs fn with the device's zone, created once per zone name and shared under a lock.
template <typename Fn>
auto withDeviceZone(Fn fn) {
    static std::mutex mutex;
    static std::string cachedName;
    static std::unique_ptr<icu::TimeZone> cachedZone;
    std::string name = deviceTimeZone();
    std::lock_guard lock(mutex);
    if (!cachedZone || cachedName != name) {
        cachedZone = createZone(name);
        if (!cachedZone)
            cachedZone = createZone("UTC");
        cachedName = name;
    }
    return fn(*cachedZone);
}

// Runs fn with the device's zone from the host's database, read once per zone name; nothing
// when the host does not know the zone.
template <typename Fn>
auto withHostZone(Fn fn) -> std::optional<decltype(fn(std::declval<const ZoneDefinition&>()))> {
    static std::mutex mutex;
    static std::string cachedName;
    static std::optional<ZoneDefinition> cachedZone;
    std::string name = deviceTimeZone();
    std::lock_guard lock(mutex);
    if (cachedName != name || name.empty()) {
        cachedZone = hostZone(name);
        cachedName = name;
    }
    if (!cachedZone)
        return std::nullopt;
    return fn(*cachedZone);
}

std::int64_t unixSeconds(FileTime t) {
    return (static_cast<std::int64_t>(t) - kTicksFrom1601To1970) / (kTicksPerMillisecond * 1000);
}

// The UTC moment of a local time in a zone. A local time that happens twice is read with the
// offset in force before the change (the first); one that does not happen (skipped by a
// change forwards) too, so it lands just after the change.
std::int64_t localSecondsToUtc(const ZoneDefinition& zone, std::int64_t local) {
    constexpr std::int64_t kDay = 86400;
    const std::int32_t former = zone.at(local - kDay).offsetSeconds;
    const std::int64_t first = local - former;
    if (zone.at(first).offsetSeconds == former)
        return first;
    const std::int32_t latter = zone.at(first).offsetSeconds;
    const std::int64_t second = local - latter;
    return zone.at(second).offsetSeconds == latter ? second : first;
}

std::optional<FileTime> shifted(FileTime t, std::int64_t milliseconds) {
    std::int64_t result = static_cast<std::int64_t>(t) + milliseconds * kTicksPerMillisecond;
    if (result < 0)
        return std::nullopt;
    return static_cast<FileTime>(result);
}

// A yearly change rule in the handheld's form: day = week of the month (5 = last).
SystemTime ruleDate(const icu::AnnualTimeZoneRule& rule, std::int32_t wallOffsetMs) {
    const icu::DateTimeRule* r = rule.getRule();
    SystemTime date{0, 0, 0, 0, 0, 0, 0, 0};
    date.month = static_cast<std::uint16_t>(r->getRuleMonth() + 1);
    date.dayOfWeek = static_cast<std::uint16_t>(std::max(r->getRuleDayOfWeek() - 1, 0));
    switch (r->getDateRuleType()) {
        case icu::DateTimeRule::DOW: {
            int week = r->getRuleWeekInMonth();
            date.day = static_cast<std::uint16_t>(week < 0 || week > 4 ? 5 : week);
            break;
        }
        case icu::DateTimeRule::DOW_GEQ_DOM:
            date.day =
                static_cast<std::uint16_t>(std::min((r->getRuleDayOfMonth() - 1) / 7 + 1, 5));
            break;
        case icu::DateTimeRule::DOW_LEQ_DOM:
            date.day = static_cast<std::uint16_t>(
                r->getRuleDayOfMonth() >= 28 ? 5 : r->getRuleDayOfMonth() / 7);
            break;
        case icu::DateTimeRule::DOM:
            // A fixed date: the handheld's absolute form carries a year.
            date.year = 1;
            date.day = static_cast<std::uint16_t>(r->getRuleDayOfMonth());
            break;
    }
    std::int64_t ms = r->getRuleMillisInDay();
    if (r->getTimeRuleType() == icu::DateTimeRule::UTC_TIME)
        ms += wallOffsetMs;
    ms = std::clamp<std::int64_t>(ms, 0, 86399999);
    date.hour = static_cast<std::uint16_t>(ms / 3600000);
    date.minute = static_cast<std::uint16_t>(ms / 60000 % 60);
    date.second = static_cast<std::uint16_t>(ms / 1000 % 60);
    date.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return date;
}

std::wstring zoneName(const icu::TimeZone& zone, bool daylight, const icu::Locale& loc) {
    icu::UnicodeString name;
    zone.getDisplayName(daylight, icu::TimeZone::LONG, loc, name);
    return locale::toWide(name);
}

}  // namespace

std::string deviceTimeZone() {
    std::wstring name = profileText("clock.timezone");
    if (!name.empty())
        return toUtf8(name);
    static const std::string host = hostsOwnZone();
    return host;
}

bool setDeviceTimeZone(std::string_view ianaName) {
    if (ianaName.empty() || (!hostZone(ianaName) && !createZone(ianaName)))
        return false;
    setProfileText("clock.timezone", fromUtf8(ianaName));
    return true;
}

std::optional<FileTime> utcToLocal(FileTime utc) {
    if (auto local = withHostZone([&](const ZoneDefinition& zone) {
            return shifted(utc, std::int64_t{zone.at(unixSeconds(utc)).offsetSeconds} * 1000);
        })) {
        return *local;
    }
    return withDeviceZone([&](const icu::TimeZone& zone) -> std::optional<FileTime> {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone.getOffset(toUDate(utc), false, raw, dst, status);
        if (U_FAILURE(status))
            return std::nullopt;
        return shifted(utc, std::int64_t{raw} + dst);
    });
}

std::optional<FileTime> localToUtc(FileTime local) {
    if (auto utc = withHostZone([&](const ZoneDefinition& zone) {
            const std::int64_t seconds = unixSeconds(local);
            return shifted(local, (localSecondsToUtc(zone, seconds) - seconds) * 1000);
        })) {
        return *utc;
    }
    return withDeviceZone([&](const icu::TimeZone& zone) -> std::optional<FileTime> {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        if (auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&zone)) {
            // Skipped local times take the offset from before the change (so they land just
            // after it); repeated ones take the first.
            basic->getOffsetFromLocal(toUDate(local), UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER,
                                      raw, dst, status);
        } else {
            zone.getOffset(toUDate(local), true, raw, dst, status);
        }
        if (U_FAILURE(status))
            return std::nullopt;
        return shifted(local, -(std::int64_t{raw} + dst));
    });
}

std::optional<SystemTime> utcToLocal(const SystemTime& utc) {
    auto t = toFileTime(utc);
    if (!t)
        return std::nullopt;
    auto local = utcToLocal(*t);
    return local ? toSystemTime(*local) : std::nullopt;
}

std::optional<SystemTime> localToUtc(const SystemTime& local) {
    auto t = toFileTime(local);
    if (!t)
        return std::nullopt;
    auto utc = localToUtc(*t);
    return utc ? toSystemTime(*utc) : std::nullopt;
}

TimeZoneInformation deviceTimeZoneInformation() {
    const icu::Locale& loc = locale::localeData(kDeviceLanguage).locale;
    UDate now = toUDate(deviceUtcFileTime());
    return withDeviceZone([&](const icu::TimeZone& zone) {
        TimeZoneInformation info;
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone.getOffset(now, false, raw, dst, status);
        info.bias = -raw / 60000;
        info.daylightNow = dst != 0;
        info.standardName = zoneName(zone, false, loc);
        auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&zone);
        if (!basic)
            return info;
        icu::InitialTimeZoneRule* initial = nullptr;
        icu::AnnualTimeZoneRule* standard = nullptr;
        icu::AnnualTimeZoneRule* daylight = nullptr;
        status = U_ZERO_ERROR;
        basic->getSimpleRulesNear(now, initial, standard, daylight, status);
        std::unique_ptr<icu::InitialTimeZoneRule> ownInitial(initial);
        std::unique_ptr<icu::AnnualTimeZoneRule> ownStandard(standard);
        std::unique_ptr<icu::AnnualTimeZoneRule> ownDaylight(daylight);
        if (U_FAILURE(status))
            return info;
        if (initial)
            info.bias = -initial->getRawOffset() / 60000;
        if (standard && daylight) {
            std::int32_t savings = daylight->getDSTSavings();
            info.daylightBias = -savings / 60000;
            info.daylightName = zoneName(zone, true, loc);
            // Each change happens at a wall time read on the clock in force before it.
            info.daylightDate = ruleDate(*daylight, standard->getRawOffset());
            info.standardDate = ruleDate(*standard, daylight->getRawOffset() + savings);
        }
        return info;
    });
}

}  // namespace platform
