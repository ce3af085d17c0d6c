// vorn convert: an amount from one unit to another, through the conversion screen's code and
// the install folder's unit and rate files.

#include <cstdio>

#include "conversions/categories.h"
#include "conversions/unit_lookup.h"
#include "conversions/unit_table.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "platform/api/device.h"
#include "programs/vorn/commands.h"

namespace vorn {

int runConvert(const Invocation& invocation) {
    if (invocation.arguments.size() != 3)
        return report(invocation, kExitUsage,
                      "convert takes AMOUNT FROM TO (see vorn convert --help)");
    const std::string& amountText = invocation.arguments[0];
    std::optional<double> amount = conversions::parseAmount(platform::fromUtf8(amountText));
    if (!amount)
        return report(invocation, kExitUsage, "\"" + amountText + "\" is not a number");
    std::wstring from = platform::fromUtf8(invocation.arguments[1]);
    std::wstring to = platform::fromUtf8(invocation.arguments[2]);
    auto result =
        conversions::convertBetween(conversions::conversionsFolder(invocation.mainPath),
                                    core::settings::read(core::keys::OptLang), *amount, from, to);
    if (const auto* failure = std::get_if<conversions::LookupFailure>(&result)) {
        switch (*failure) {
            case conversions::LookupFailure::UnknownFrom:
                return report(invocation, kExitUsage,
                              "unknown unit \"" + invocation.arguments[1] + "\"");
            case conversions::LookupFailure::UnknownTo:
                return report(invocation, kExitUsage,
                              "unknown unit \"" + invocation.arguments[2] + "\"");
            case conversions::LookupFailure::NotComparable:
                return report(invocation, kExitUsage,
                              "cannot convert " + invocation.arguments[1] + " to " +
                                  invocation.arguments[2] + ": they measure different things");
            case conversions::LookupFailure::NoRate:
                return report(invocation, kExitFailure,
                              "no usable rate or factor for " + invocation.arguments[1] + " or " +
                                  invocation.arguments[2]);
        }
    }
    const auto& answer = std::get<conversions::ConversionAnswer>(result);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("category", utf8(answer.category))
            .field("amount", *amount)
            .field("from", utf8(answer.fromKey))
            .field("fromName", utf8(answer.fromName))
            .field("to", utf8(answer.toKey))
            .field("toName", utf8(answer.toName))
            .field("value", answer.value)
            .field("text", utf8(answer.valueText + L" " + answer.toSymbol))
            .endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    writeOut(amountText + " " + utf8(answer.fromSymbol) + " = " + utf8(answer.valueText) + " " +
             utf8(answer.toSymbol) + "\n");
    return kExitOk;
}

}  // namespace vorn
