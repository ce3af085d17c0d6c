// vorn pack: the packing lists and templates of the install folder's "packing\" folder with
// their counts and status texts, and one list's items by category with their ticks and
// flags, read through the same code as the packing screen.

#include <cstdio>

#include "core/language.h"
#include "core/text_case.h"
#include "programs/vorn/commands.h"
#include "travel/packing_groups.h"
#include "travel/packing_store.h"

namespace vorn {
namespace {

namespace text {
constexpr int NoCategory = 880;
}

void writeOverviewJson(Json& json, std::string_view key,
                       const std::vector<travel::OverviewRow>& rows) {
    json.beginArray(key);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const travel::OverviewRow& row = rows[i];
        json.beginObject()
            .field("name", utf8(travel::titleDisplayName(row.title)))
            .field("file", utf8(row.fileName))
            .field("icon", utf8(travel::titleIcon(row.title)))
            .field("items", row.itemCount)
            .field("packed", row.tickedCount)
            .field("status", utf8(row.status))
            .endObject();
    }
    json.endArray();
}

void writeOverviewText(std::string_view heading, const std::vector<travel::OverviewRow>& rows) {
    writeOut(std::string(heading) + ":\n");
    if (rows.size() <= 1)
        writeOut("  (none)\n");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::printf("  %-28s %s\n", utf8(travel::titleDisplayName(rows[i].title)).c_str(),
                    utf8(rows[i].status).c_str());
    }
}

int runList(const Invocation& invocation) {
    auto lists = travel::packingOverview(invocation.mainPath, travel::OverviewKind::Lists);
    auto templates = travel::packingOverview(invocation.mainPath, travel::OverviewKind::Templates);
    if (invocation.json) {
        Json json;
        json.beginObject();
        writeOverviewJson(json, "lists", lists);
        writeOverviewJson(json, "templates", templates);
        json.endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    writeOverviewText("Lists", lists);
    writeOverviewText("Templates", templates);
    return kExitOk;
}

// The file a name stands for: a list before a template, by its shown name or its file name,
// case aside.
std::optional<std::wstring> fileNamed(const Invocation& invocation, const std::wstring& name) {
    for (auto kind : {travel::OverviewKind::Lists, travel::OverviewKind::Templates}) {
        auto rows = travel::packingOverview(invocation.mainPath, kind);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (core::equalsIgnoringCase(travel::titleDisplayName(rows[i].title), name) ||
                core::equalsIgnoringCase(rows[i].fileName, name)) {
                return rows[i].fileName;
            }
        }
    }
    return std::nullopt;
}

int runShow(const Invocation& invocation, const std::string& name) {
    auto file = fileNamed(invocation, platform::fromUtf8(name));
    if (!file)
        return report(invocation, kExitUsage,
                      "no packing list or template \"" + name + "\" (see vorn pack list)");
    auto list = travel::loadPackingFile(invocation.mainPath, *file);
    if (!list)
        return report(invocation, kExitFailure,
                      "the packing list " + utf8(*file) + " cannot be read");
    const std::wstring other = core::languageString(text::NoCategory);
    const std::wstring status = travel::packingStatusText(list->itemCount(), list->tickedCount());
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("name", utf8(list->displayName()))
            .field("file", utf8(list->fileName()))
            .field("icon", utf8(list->icon()))
            .field("items", list->itemCount())
            .field("packed", list->tickedCount())
            .field("flagged", list->flaggedCount())
            .field("status", utf8(status))
            .beginArray("entries");
        for (const travel::PackingItem& item : list->items()) {
            json.beginObject()
                .field("text", utf8(item.text))
                .field("category", utf8(travel::shownCategory(item, other)))
                .field("packed", item.ticked)
                .field("flagged", item.flagged)
                .endObject();
        }
        json.endArray().endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    writeOut(utf8(list->displayName()) + " (" + utf8(list->fileName()) + "): " + utf8(status) +
             "\n");
    for (const travel::PackingRow& row : travel::groupByCategory(list->items(), other)) {
        if (row.heading) {
            writeOut(utf8(row.text) + "\n");
            continue;
        }
        const travel::PackingItem& item = list->items()[static_cast<std::size_t>(row.item)];
        writeOut(std::string("  [") + (item.ticked ? "x" : " ") + "] " + utf8(item.text) +
                 (item.flagged ? "  (marked)" : "") + "\n");
    }
    return kExitOk;
}

}  // namespace

int runPack(const Invocation& invocation) {
    const auto& args = invocation.arguments;
    if (!openShownLanguage(invocation.mainPath)) {
        return report(invocation, kExitFailure,
                      "no language files in the install folder " + utf8(invocation.mainPath));
    }
    if (args.size() == 1 && args[0] == "list")
        return runList(invocation);
    if (args.size() == 2 && args[0] == "show")
        return runShow(invocation, args[1]);
    return report(invocation, kExitUsage, "pack takes list, or show NAME (see vorn pack --help)");
}

}  // namespace vorn
