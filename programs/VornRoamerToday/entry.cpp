// VornRoamerToday: the Today screen item. The host finds these two entry points by name; the
// library exports nothing else (exports.map), so its own copies of the shared code never mix
// with the host's.

#include "platform/api/today_item.h"
#include "todayplugin/today_plugin.h"

extern "C" {

__attribute__((visibility("default"))) std::uint32_t InitializeCustomItem(VornTodayListItem* item,
                                                                          std::uint32_t parent) {
    return todayplugin::initializeItem(item, parent);
}

__attribute__((visibility("default"))) std::intptr_t CustomItemOptionsDlgProc(std::uint32_t dialog,
                                                                              std::uint32_t message,
                                                                              std::uint64_t wParam,
                                                                              std::int64_t lParam) {
    return todayplugin::optionsDialog(dialog, message, wParam, lParam);
}

}  // extern "C"
