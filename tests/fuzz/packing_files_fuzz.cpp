// Loads arbitrary bytes as a packing list and as the master list, saves what was read and
// loads it again: nothing may crash, the saved header counts are the items', and a list
// read back is the list written (text cleaned as saving cleans it).

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"
#include "travel/packing_groups.h"
#include "travel/packing_store.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path made = fuzz::makeMemoryDevice("packing");
        std::filesystem::create_directories(made / "install" / "packing");
        return made;
    }();
    return root;
}

void expect(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "packing_files_fuzz: %s\n", what);
    fuzz::check(condition);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = fuzzRoot();
    const std::wstring mainPath = L"\\install\\";
    const std::wstring folder = travel::packingFolder(mainPath);
    fuzz::writeHostFile(root / "install" / "packing" / "Trip.lst", data, size);
    fuzz::writeHostFile(root / "install" / "packing" / "fulllist.dat", data, size);

    std::optional<travel::PackingList> list = travel::loadPackingFile(mainPath, L"Trip.lst");
    if (list) {
        for (const travel::PackingItem& item : list->items())
            expect(!item.text.empty(), "an item without text was kept");
        auto rows = travel::groupByCategory(list->items(), L"-");
        int itemRows = 0;
        for (const travel::PackingRow& row : rows) itemRows += row.heading ? 0 : 1;
        expect(itemRows == list->itemCount(), "grouping lost or doubled items");

        travel::PackingList copy = *list;
        copy.setFileName(L"Copy.lst");
        for (auto& item : copy.items()) {
            item.text = travel::cleanFieldText(item.text);
            item.category = travel::cleanFieldText(item.category);
        }
        if (copy.save(folder)) {
            auto again = travel::loadPackingFile(mainPath, L"Copy.lst");
            expect(again.has_value(), "a saved list does not load");
            if (again) {
                std::vector<travel::PackingItem> kept;
                for (const auto& item : copy.items())
                    if (!item.text.empty())
                        kept.push_back(item);
                expect(again->items() == kept, "a list read back differs from the list saved");
                auto overview = travel::packingOverview(mainPath, travel::OverviewKind::Lists);
                for (const auto& row : overview) {
                    if (row.fileName == L"Copy.lst")
                        expect(row.itemCount == again->itemCount() &&
                                   row.tickedCount == again->tickedCount(),
                               "overview counts differ from the items");
                }
            }
        }
    }

    travel::MasterList master = travel::MasterList::load(mainPath);
    master.clearChoices();
    for (const auto& entry : master.entries()) expect(!entry.ticked, "a choice survived clearing");
    std::vector<travel::PackingItem> items;
    expect(master.addChosenTo(items) == 0, "cleared entries were added");
    platform::deleteFile(folder + L"Copy.lst");
    return 0;
}
