// vorn plan: the meeting planner's rows for a day, the device's hours beside the same moments
// in the cities named (the favourites by default), as the planner screen lays them out.

#include <cstdio>

#include "platform/api/clock.h"
#include "programs/vorn/commands.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/planner.h"

namespace vorn {
namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// The cities' records gathered into one table in the order named, as favourites are.
core::RecordTable tableOf(const std::vector<CityMatch>& cities) {
    core::RecordTable table{worldtime::cityField::Count};
    for (const CityMatch& city : cities) {
        int row = table.appendRow();
        for (int column = 1; column <= worldtime::cityField::Count; ++column)
            table.setField(row, column, city.table->fieldText(city.row, column));
    }
    return table;
}

std::string cellText(const worldtime::PlannerCell& cell) {
    const platform::SystemTime& t = cell.local;
    return std::string(kWeekdays[platform::dayOfWeekOf(t.year, t.month, t.day)]) + " " +
           hoursMinutes(t.hour, t.minute) + (cell.workingHour ? "*" : " ");
}

void printText(const worldtime::PlannerGrid& grid) {
    std::printf("%-3s %-10s", "", "device");
    for (std::size_t c = 1; c < grid.columns.size(); ++c)
        std::printf(" %-10.10s", utf8(grid.columns[c].heading).c_str());
    std::printf("\n");
    for (std::size_t r = 0; r < grid.utcTicks.size(); ++r) {
        std::printf("%2zu%c", r + 1, static_cast<int>(r + 1) == grid.presentRow ? '>' : ' ');
        for (const auto& column : grid.columns)
            std::printf(" %-10s", cellText(column.cells[r]).c_str());
        std::printf("\n");
    }
    std::printf("* working hours (%02d:00 to %02d:59)\n", worldtime::kFirstWorkingHour,
                worldtime::kLastWorkingHour);
}

void printJson(const platform::SystemTime& date, const worldtime::PlannerGrid& grid) {
    Json json;
    json.beginObject()
        .field("date", isoDate(date))
        .field("deviceZone", platform::deviceTimeZone())
        .field("presentRow", grid.presentRow)
        .beginArray("columns");
    for (std::size_t c = 0; c < grid.columns.size(); ++c)
        json.value(c == 0 ? std::string("device") : utf8(grid.columns[c].heading));
    json.endArray().beginArray("rows");
    for (std::size_t r = 0; r < grid.utcTicks.size(); ++r) {
        auto utc = worldtime::fromFileTicks(grid.utcTicks[r]);
        json.beginObject()
            .field("row", static_cast<int>(r + 1))
            .field("utc", utc ? isoDateTime(*utc) + "Z" : std::string())
            .beginArray("cells");
        for (const auto& column : grid.columns) {
            json.beginObject()
                .field("local", isoDateTime(column.cells[r].local))
                .field("workingHour", column.cells[r].workingHour)
                .endObject();
        }
        json.endArray().endObject();
    }
    json.endArray().endObject();
    writeOut(json.text() + "\n");
}

}  // namespace

int runPlan(const Invocation& invocation) {
    platform::SystemTime date = platform::deviceLocalTime();
    if (auto text = invocation.option("--date")) {
        auto parsed = parseDate(*text);
        if (!parsed)
            return report(invocation, kExitUsage,
                          "malformed date \"" + *text + "\" (expected YYYY-MM-DD)");
        date = *parsed;
    }
    if (!loadZoneTable(invocation))
        return kExitFailure;
    CityFinder finder(invocation.mainPath);
    std::vector<CityMatch> cities;
    for (const std::string& query : invocation.arguments) {
        auto city = cityNamed(finder, invocation, query);
        if (!city)
            return kExitUsage;
        cities.push_back(*city);
    }
    if (invocation.arguments.empty()) {
        for (int row = 1; row <= finder.favourites().rowCount(); ++row)
            cities.push_back({&finder.favourites(), row});
    }
    warnAboutDamage(finder.favourites());
    for (const CityMatch& city : cities) {
        warnAboutDamage(*city.table);
        if (!answerIsTrusted(invocation, city))
            return kExitFailure;
    }
    const worldtime::PlannerGrid grid = worldtime::plannerGrid(
        tableOf(cities), date, static_cast<std::int64_t>(platform::deviceUtcFileTime()));
    if (grid.columns.empty())
        return report(invocation, kExitUsage, "the date " + isoDate(date) + " has no hours");
    if (invocation.json) {
        printJson(date, grid);
    } else {
        printText(grid);
    }
    return kExitOk;
}

}  // namespace vorn
