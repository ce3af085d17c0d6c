// vorn alarms and vorn alarm: the alarm store as the alarm screens keep it, listed with each
// alarm's next ring, and alarms added, switched on or off and deleted through the same store
// code, which arms and clears their notifications.

#include <algorithm>
#include <array>
#include <cstdio>

#include "alarms/alarm_store.h"
#include "core/text_case.h"
#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "worldtime/cities.h"
#include "worldtime/zones.h"

namespace vorn {
namespace {

constexpr std::array<std::string_view, 7> kKindNames = {"once",    "daily",  "weekly", "workdays",
                                                        "monthly", "yearly", "custom"};
// Monday first, as the day mask's bits.
constexpr std::array<std::string_view, 7> kDayNames = {"mon", "tue", "wed", "thu",
                                                       "fri", "sat", "sun"};

std::string kindName(alarms::RepeatKind kind) {
    int k = static_cast<int>(kind);
    return k >= 1 && k <= 7 ? std::string(kKindNames[static_cast<std::size_t>(k - 1)])
                            : "kind " + std::to_string(k);
}

std::string daysText(int mask) {
    std::string text;
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (mask & (1 << i)) {
            if (!text.empty())
                text += ",";
            text += kDayNames[i];
        }
    }
    return text;
}

// The moment --at names: device local time, or UTC with a trailing "Z"; the device clock
// without --at.
std::optional<platform::SystemTime> localMomentAsked(const Invocation& invocation) {
    auto text = invocation.option("--at");
    if (!text)
        return platform::deviceLocalTime();
    auto moment = parseUtc(*text);
    if (moment && !text->empty() && (text->back() == 'Z' || text->back() == 'z'))
        moment = platform::utcToLocal(*moment);
    if (!moment)
        report(invocation, kExitUsage,
               "malformed time \"" + *text +
                   "\" (expected YYYY-MM-DDTHH:MM, device time, or with a Z for UTC)");
    return moment;
}

// The zone table, which alarms set in a city's time need; quiet when there are none.
bool zonesFor(const Invocation& invocation, const alarms::AlarmStore& store) {
    for (int row = 1; row <= store.rowCount(); ++row) {
        if (store.record(row).zone != alarms::kDeviceZone)
            return loadZoneTable(invocation);
    }
    return true;
}

struct Listed {
    alarms::AlarmRecord record;
    std::string state;  // "armed", "off", or "gone" (its notification is no longer there)
    std::optional<platform::SystemTime> armed;
    std::optional<platform::SystemTime> next;
    std::optional<platform::SystemTime> missed;  // the latest ring missed while the device was off
};

Listed listed(const alarms::AlarmStore& store, int row, const platform::SystemTime& at,
              const std::vector<alarms::MissedAlarm>& missed = {}) {
    Listed l;
    l.record = store.record(row);
    for (const alarms::MissedAlarm& m : missed) {
        if (!m.name.empty() && core::equalsIgnoringCase(m.name, l.record.name))
            l.missed = m.due;
    }
    l.armed = store.armedStart(row);
    l.state = l.record.handle == 0 ? "off" : l.armed ? "armed" : "gone";
    alarms::AlarmRecord fresh = l.record;
    fresh.armedDate.reset();
    fresh.armedTime.reset();
    alarms::RepeatResult next = alarms::occurrenceAfter(fresh, at);
    if (next.status == alarms::RepeatStatus::Found)
        l.next = next.time;
    return l;
}

std::string ruleText(const alarms::AlarmRecord& r) {
    using alarms::RepeatKind;
    switch (r.kind) {
        case RepeatKind::Once:
            return "once on " + std::to_string(r.startDate.year) + "-" +
                   (r.startDate.month < 10 ? "0" : "") + std::to_string(r.startDate.month) + "-" +
                   (r.startDate.day < 10 ? "0" : "") + std::to_string(r.startDate.day);
        case RepeatKind::Weekly:
        case RepeatKind::Custom:
            return kindName(r.kind) + " " + daysText(r.dayMask);
        case RepeatKind::Monthly:
            return "monthly on day " + std::to_string(r.dayOfMonth);
        case RepeatKind::Yearly:
            return "yearly on " + std::to_string(r.dayOfMonth) + "/" + std::to_string(r.month);
        default:
            return kindName(r.kind);
    }
}

void printList(const std::vector<Listed>& all) {
    if (all.empty()) {
        writeOut("no alarms\n");
        return;
    }
    for (const Listed& l : all) {
        const alarms::AlarmRecord& r = l.record;
        std::string line =
            hoursMinutes(r.hour(), r.minute()) + "  " + utf8(r.name) + "  " + ruleText(r);
        if (r.hasCity())
            line += " (" + utf8(r.city) + " time)";
        line += "  " + l.state;
        line += l.next ? "  next " + isoDateTime(*l.next) : "  no next ring";
        if (l.missed)
            line += "  missed " + isoDateTime(*l.missed);
        writeOut(line + "\n");
    }
}

void printJson(const platform::SystemTime& at, const std::vector<Listed>& all) {
    Json json;
    json.beginObject().field("at", isoDateTime(at)).beginArray("alarms");
    for (const Listed& l : all) {
        const alarms::AlarmRecord& r = l.record;
        json.beginObject()
            .field("name", utf8(r.name))
            .field("message", utf8(r.message))
            .field("time", hoursMinutes(r.hour(), r.minute()))
            .field("repeat", kindName(r.kind));
        if (r.kind == alarms::RepeatKind::Weekly || r.kind == alarms::RepeatKind::Custom)
            json.field("days", daysText(r.dayMask));
        if (r.kind == alarms::RepeatKind::Monthly || r.kind == alarms::RepeatKind::Yearly)
            json.field("day", r.dayOfMonth);
        if (r.kind == alarms::RepeatKind::Yearly)
            json.field("month", r.month);
        json.key("city");
        if (r.hasCity())
            json.value(utf8(r.city));
        else
            json.value("");
        json.field("zone", r.zone)
            .field("state", l.state)
            .field("armed", l.armed ? isoDateTime(*l.armed) : std::string())
            .field("next", l.next ? isoDateTime(*l.next) : std::string())
            .field("missed", l.missed ? isoDateTime(*l.missed) : std::string())
            .endObject();
    }
    json.endArray().endObject();
    writeOut(json.text() + "\n");
}

std::optional<int> number(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> dayMaskOf(std::string_view text) {
    int mask = 0;
    while (!text.empty()) {
        std::size_t comma = text.find(',');
        std::string day(text.substr(0, comma));
        std::transform(day.begin(), day.end(), day.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        auto found = std::find(kDayNames.begin(), kDayNames.end(), day);
        if (found == kDayNames.end())
            return std::nullopt;
        mask |= 1 << (found - kDayNames.begin());
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return mask;
}

// The new alarm that vorn alarm add's options describe; nothing after reporting a fault.
std::optional<alarms::AlarmRecord> recordAsked(const Invocation& invocation,
                                               const std::string& name,
                                               const platform::SystemTime& now) {
    auto fail = [&](const std::string& message) -> std::optional<alarms::AlarmRecord> {
        report(invocation, kExitUsage, message);
        return std::nullopt;
    };
    alarms::AlarmRecord r;
    r.name = platform::fromUtf8(name);
    if (!alarms::isValidAlarmName(r.name))
        return fail("an alarm name is 1 to 100 characters without ~, quotes or line breaks");
    auto time = invocation.option("--time");
    if (!time)
        return fail("alarm add needs --time HH:MM");
    std::size_t colon = time->find(':');
    auto hour = colon == std::string::npos ? std::nullopt : number(time->substr(0, colon), 0, 23);
    auto minute =
        colon == std::string::npos ? std::nullopt : number(time->substr(colon + 1), 0, 59);
    if (!hour || !minute)
        return fail("malformed time \"" + *time + "\" (expected HH:MM)");
    r.timeOfDayMs = *hour * 3600000 + *minute * 60000;

    std::string repeat = invocation.option("--repeat").value_or("once");
    auto kind = std::find(kKindNames.begin(), kKindNames.end(), repeat);
    if (kind == kKindNames.end())
        return fail("unknown repeat \"" + repeat +
                    "\" (once, daily, weekly, workdays, monthly, yearly or custom)");
    r.kind = static_cast<alarms::RepeatKind>(kind - kKindNames.begin() + 1);

    r.dayMask = 0;
    if (auto days = invocation.option("--days")) {
        auto mask = dayMaskOf(*days);
        if (!mask)
            return fail("malformed days \"" + *days + "\" (expected mon,tue,wed,thu,fri,sat,sun)");
        r.dayMask = *mask;
    }
    if ((r.kind == alarms::RepeatKind::Weekly || r.kind == alarms::RepeatKind::Custom) &&
        r.dayMask == 0)
        return fail(repeat + " alarms need --days");
    r.dayOfMonth = 1;
    if (auto day = invocation.option("--day")) {
        auto value = number(*day, 1, 31);
        if (!value)
            return fail("--day takes a day of the month from 1 to 31");
        r.dayOfMonth = *value;
    }
    r.month = 1;
    if (auto month = invocation.option("--month")) {
        auto value = number(*month, 1, 12);
        if (!value)
            return fail("--month takes a month from 1 to 12");
        r.month = *value;
    }
    r.startDate = {now.day, now.month, now.year};
    if (auto start = invocation.option("--start")) {
        alarms::AlarmDate date{0, 0, 0};
        std::wstring text = platform::fromUtf8(*start);
        if (std::count(text.begin(), text.end(), L':') != 2 || !alarms::readDateText(text, date) ||
            date.year < 1601 || date.year > 30827 || date.month < 1 || date.month > 12 ||
            date.day < 1 || date.day > platform::daysInMonth(date.year, date.month))
            return fail("malformed start date \"" + *start + "\" (expected D:M:YYYY)");
        r.startDate = date;
    }
    r.volume = 1;
    r.ringTime = 1;
    r.snooze = 2;
    r.soundName = L"Alarm1.wav";
    r.soundPath = invocation.mainPath + L"sounds\\Alarm1.wav";
    return r;
}

// Sets the alarm's city from --city, a favourite's name; false after reporting.
bool cityAsked(const Invocation& invocation, alarms::AlarmRecord& r) {
    auto city = invocation.option("--city");
    if (!city)
        return true;
    if (!loadZoneTable(invocation))
        return false;
    core::RecordTable favourites(worldtime::cityField::Count);
    favourites.load(invocation.mainPath, L"mycities.dat", L'~', true);
    int row = favourites.find(worldtime::cityField::Name, platform::fromUtf8(*city), true);
    if (row == 0) {
        std::vector<std::string> names;
        for (int i = 1; i <= favourites.rowCount(); ++i)
            names.push_back(utf8(favourites.fieldText(i, worldtime::cityField::Name)));
        report(invocation, kExitUsage, "\"" + *city + "\" is not a favourite city", names);
        return false;
    }
    r.city = favourites.fieldText(row, worldtime::cityField::Name);
    r.zone = alarms::zoneOfCity(favourites, r.city);
    return true;
}

// What a change did: "added", "on" or "off" with the alarm's state and armed ring.
int done(const Invocation& invocation, const alarms::AlarmStore& store, std::string_view verb) {
    Listed l = listed(store, store.current(), platform::deviceLocalTime());
    std::string armed = l.armed ? isoDateTime(*l.armed) : std::string();
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("done", verb)
            .field("name", utf8(l.record.name))
            .field("state", l.state)
            .field("armed", armed)
            .endObject();
        writeOut(json.text() + "\n");
    } else {
        std::string what = verb == "added" ? "added " : "switched " + std::string(verb) + " ";
        writeOut(what + utf8(l.record.name) + (l.armed ? ", rings " + armed : ", off") + "\n");
    }
    return kExitOk;
}

std::string armFailure(alarms::ArmResult result) {
    switch (result) {
        case alarms::ArmResult::NoOccurrence:
            return "the alarm has no ring to come (Alarm Set Error)";
        case alarms::ArmResult::Refused:
            return "the notification service refused the alarm";
        case alarms::ArmResult::NotSaved:
            return "the alarm store could not be written";
        default:
            return "the alarm is gone";
    }
}

int addAlarm(const Invocation& invocation, alarms::AlarmStore& store, const std::string& name) {
    platform::SystemTime now = platform::deviceLocalTime();
    auto r = recordAsked(invocation, name, now);
    if (!r || !cityAsked(invocation, *r))
        return kExitUsage;
    if (r->kind == alarms::RepeatKind::Once &&
        alarms::occurrenceAfter(*r, now).status != alarms::RepeatStatus::Found)
        return report(invocation, kExitUsage, "the alarm time lies in the past");
    switch (store.addNew(*r)) {
        case alarms::EditResult::Saved:
            return done(invocation, store, "added");
        case alarms::EditResult::DuplicateName:
            return report(invocation, kExitUsage, "an alarm named \"" + name + "\" exists already");
        case alarms::EditResult::SavedUnarmed:
            return report(invocation, kExitFailure,
                          "added " + name + " but could not arm it: " +
                              armFailure(store.lastRepeatStatus() == alarms::RepeatStatus::Found
                                             ? alarms::ArmResult::Refused
                                             : alarms::ArmResult::NoOccurrence));
        case alarms::EditResult::InvalidName:
            return report(invocation, kExitUsage, "invalid alarm name");
        default:
            return report(invocation, kExitFailure, "the alarm store could not be written");
    }
}

}  // namespace

int runAlarms(const Invocation& invocation) {
    if (!invocation.arguments.empty())
        return report(invocation, kExitUsage, "alarms takes no arguments (see vorn alarms --help)");
    auto at = localMomentAsked(invocation);
    if (!at)
        return kExitUsage;
    alarms::AlarmStore store;
    warnAboutDamage(store.table());
    if (!zonesFor(invocation, store))
        return kExitFailure;
    const std::vector<alarms::MissedAlarm> missed = alarms::missedAlarms();
    std::vector<Listed> all;
    for (int row = 1; row <= store.rowCount(); ++row)
        all.push_back(listed(store, row, *at, missed));
    if (invocation.json)
        printJson(*at, all);
    else
        printList(all);
    return kExitOk;
}

int runAlarm(const Invocation& invocation) {
    const auto& args = invocation.arguments;
    if (args.size() != 2)
        return report(invocation, kExitUsage,
                      "usage: vorn alarm add|on|off|delete NAME [options] (see vorn alarm --help)");
    const std::string& verb = args[0];
    const std::string& name = args[1];
    alarms::AlarmStore store;
    warnAboutDamage(store.table());
    if (verb == "add")
        return addAlarm(invocation, store, name);
    if (verb != "on" && verb != "off" && verb != "delete")
        return report(invocation, kExitUsage,
                      "unknown alarm action \"" + verb + "\" (add, on, off or delete)");
    if (!store.select(platform::fromUtf8(name)))
        return report(invocation, kExitUsage, "no alarm named \"" + name + "\"");
    if (!zonesFor(invocation, store))
        return kExitFailure;
    if (verb == "off")
        return store.disarm()
                   ? done(invocation, store, "off")
                   : report(invocation, kExitFailure, "the alarm store could not be written");
    if (verb == "delete") {
        std::string stored = utf8(store.name());
        if (!store.remove())
            return report(invocation, kExitFailure, "the alarm store could not be written");
        if (invocation.json) {
            Json json;
            json.beginObject().field("done", "deleted").field("name", stored).endObject();
            writeOut(json.text() + "\n");
        } else {
            writeOut("deleted " + stored + "\n");
        }
        return kExitOk;
    }
    // Switching on arms the next ring from now, as saving the alarm in the editor does (arm
    // alone would search on from the ring that was pending when it was switched off).
    alarms::AlarmRecord record = store.record();
    if (record.kind == alarms::RepeatKind::Once &&
        alarms::occurrenceAfter(record, platform::deviceLocalTime()).status !=
            alarms::RepeatStatus::Found)
        return report(invocation, kExitFailure,
                      "cannot switch " + name + " on: its time lies in the past");
    alarms::EditResult saved = store.saveEdited(record);
    if (saved != alarms::EditResult::Saved)
        return report(invocation, kExitFailure,
                      "cannot switch " + name + " on: " +
                          armFailure(saved == alarms::EditResult::NotSaved
                                         ? alarms::ArmResult::NotSaved
                                         : alarms::ArmResult::NoOccurrence));
    return done(invocation, store, "on");
}

}  // namespace vorn
