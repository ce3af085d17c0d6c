// vorn airport: airports by code, city or name, from the table the airport codes screen
// lists.

#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "travel/airport_codes.h"

namespace vorn {

namespace {

// More than this many answers are cut, with a note of how many there were.
constexpr std::size_t kMaxShown = 50;

}  // namespace

int runAirport(const Invocation& invocation) {
    if (invocation.arguments.size() != 1)
        return report(invocation, kExitUsage, "airport takes one query (see vorn airport --help)");
    using namespace travel;
    const core::RecordTable table = loadAirports(invocation.mainPath);
    if (table.empty()) {
        return report(invocation, kExitFailure,
                      "no airport table (travel\\airportcodes.dat) in the install folder " +
                          utf8(invocation.mainPath));
    }
    warnAboutDamage(table);
    const std::string query = invocation.arguments.front();
    const std::vector<int> rows = findAirports(table, platform::fromUtf8(query));
    if (rows.empty())
        return report(invocation, kExitUsage, "no airport found for \"" + query + "\"");
    const std::size_t shown = std::min(rows.size(), kMaxShown);
    if (invocation.json) {
        Json json;
        json.beginObject().field("query", query).field("count", static_cast<int>(rows.size()));
        json.beginArray("airports");
        for (std::size_t i = 0; i < shown; ++i) {
            json.beginObject()
                .field("code", utf8(table.fieldText(rows[i], airportField::Code)))
                .field("name", utf8(table.fieldText(rows[i], airportField::Name)))
                .field("city", utf8(table.fieldText(rows[i], airportField::City)))
                .endObject();
        }
        json.endArray().endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    std::string out;
    for (std::size_t i = 0; i < shown; ++i) {
        out += utf8(table.fieldText(rows[i], airportField::Code)) + "  " +
               utf8(table.fieldText(rows[i], airportField::Name)) + "  (" +
               utf8(table.fieldText(rows[i], airportField::City)) + ")\n";
    }
    if (rows.size() > shown)
        out += "... and " + std::to_string(rows.size() - shown) + " more\n";
    writeOut(out);
    return kExitOk;
}

}  // namespace vorn
