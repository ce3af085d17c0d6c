// vorn dial: a country's calling code and its international and national (trunk) prefixes,
// from the dialling codes table the dialling codes screen lists.

#include <cstdio>

#include "platform/api/device.h"
#include "programs/vorn/commands.h"
#include "worldtime/dial_codes.h"

namespace vorn {
namespace {

// "none" for a prefix the table leaves empty: the country has none.
std::string prefixText(std::wstring_view prefix) {
    return prefix.empty() ? std::string("none") : utf8(prefix);
}

}  // namespace

int runDial(const Invocation& invocation) {
    if (invocation.arguments.size() != 1)
        return report(invocation, kExitUsage, "dial takes one country (see vorn dial --help)");
    using namespace worldtime;
    const core::RecordTable table = loadDialCodes(invocation.mainPath);
    if (table.empty()) {
        return report(
            invocation, kExitFailure,
            "no dialling codes (dialcodes.dat) in the install folder " + utf8(invocation.mainPath));
    }
    warnAboutDamage(table);
    const std::string query = invocation.arguments.front();
    std::vector<int> rows = findDialCountries(table, platform::fromUtf8(query));
    if (rows.empty())
        return report(invocation, kExitUsage, "unknown country \"" + query + "\"");
    if (rows.size() > 1) {
        std::vector<std::string> names;
        for (int row : rows) names.push_back(utf8(table.fieldText(row, dialField::Country)));
        return report(invocation, kExitUsage, "\"" + query + "\" names several countries:", names);
    }
    const int row = rows.front();
    const std::string country = utf8(table.fieldText(row, dialField::Country));
    const std::string code = utf8(table.fieldText(row, dialField::CallingCode));
    const std::wstring_view exitPrefix = table.fieldText(row, dialField::ExitPrefix);
    const std::wstring_view trunkPrefix = table.fieldText(row, dialField::TrunkPrefix);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("country", country)
            .field("callingCode", "+" + code)
            .field("internationalPrefix", utf8(exitPrefix))
            .field("trunkPrefix", utf8(trunkPrefix))
            .endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    std::printf(
        "%s\ncalling code          +%s\ninternational prefix  %s\ntrunk prefix          %s\n",
        country.c_str(), code.c_str(), prefixText(exitPrefix).c_str(),
        prefixText(trunkPrefix).c_str());
    return kExitOk;
}

}  // namespace vorn
