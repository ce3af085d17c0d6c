#include "todayplugin/today_plugin.h"

#include <cstring>
#include <optional>
#include <string>

#include "core/language.h"
#include "core/record_table.h"
#include "core/settings_keys.h"
#include "core/window_link.h"
#include "home/layout.h"
#include "home/settings_keys.h"
#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/window.h"

namespace todayplugin {

using platform::Rect;

namespace {

// The language the user chose; the code's own English texts stay when its files are missing.
void loadLanguage(const std::wstring& folder) {
    if (folder.empty() || !platform::fileExists(folder + L"lang\\lang.dat"))
        return;
    if (!core::buildLanguageList(folder, 1, 9))
        return;
    core::RecordTable& list = core::languageList();
    std::wstring stored = core::settings::read(core::keys::OptLang);
    if (!stored.empty())
        list.setCurrentRow(list.find(core::languageListField::Code, stored));
    core::openLanguage(folder, true, true);
}

}  // namespace

void TodayPlugin::ensureItem() {
    if (item_)
        return;
    builtFor_ = core::settings::read(core::keys::MainPath);
    loadLanguage(builtFor_);
    item_ = std::make_unique<HomeItem>(host_, home::layoutFilePath(builtFor_), builtFor_);
}

int TodayPlugin::queryRefresh(VornTodayListItem& record) {
    // Asked every 2 seconds for the life of the device: the settings key is opened once.
    auto settings = core::settings::openSettings();
    bool reload = settings && core::settings::read(*settings, core::keys::OptHomeLayoutReload);
    bool update = settings && core::settings::read(*settings, home::keys::PluginUpdateData);
    if (reload) {
        item_.reset();
        core::settings::write(core::keys::OptHomeLayoutReload, 0);
    }
    // The main program publishes the install folder at each start: an item built before it
    // ever ran finds its files only now.
    if (item_ && builtFor_.empty() && !core::settings::read(core::keys::MainPath).empty())
        item_.reset();
    if (item_) {
        if (update)
            item_->takeUpdateRequest();
    } else {
        ensureItem();
    }
    item_->refreshColours();
    host_.invalidate();
    auto height = static_cast<std::uint32_t>(item_->wantedHeight());
    if (record.height != 0 && record.height == reportedHeight_ && height == reportedHeight_)
        return 0;
    record.height = height;
    reportedHeight_ = height;
    return 1;
}

void TodayPlugin::paintInto(VornTodaySurface& surface) {
    // The host's surface is checked before a byte is written: the item draws into a bitmap of
    // its own, then copies the rows that both have.
    if (!surface.bits || surface.width <= 0 || surface.height <= 0 || surface.width > 4096 ||
        surface.height > 4096 || surface.stride < surface.width * 3)
        return;
    if (!canvas_ || canvas_->width() != surface.width || canvas_->height() != surface.height)
        canvas_ = std::make_unique<platform::Bitmap>(surface.width, surface.height);
    item_->paint(*canvas_);
    std::size_t rowBytes = static_cast<std::size_t>(surface.width) * 3;
    for (int y = 0; y < surface.height; ++y) {
        std::memcpy(surface.bits + static_cast<std::size_t>(y) * surface.stride,
                    canvas_->bits() + static_cast<std::size_t>(y) * canvas_->stride(), rowBytes);
    }
}

std::int64_t TodayPlugin::handle(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam,
                                 bool& handled) {
    namespace wm = platform::wm;
    handled = true;
    switch (message) {
        case wm::Destroy:
            item_.reset();
            return 0;
        case wm::EraseBackground:
            return 1;
        case VORN_WM_TODAYCUSTOM_PAINT:
            if (item_ && lParam) {
                auto* surface =
                    reinterpret_cast<VornTodaySurface*>(static_cast<std::intptr_t>(lParam));
                paintInto(*surface);
            }
            return 0;
        case wm::KeyDown:
            if (item_)
                item_->onKey(static_cast<std::uint32_t>(wParam));
            return 0;
        case wm::Timer:
            if (item_)
                item_->onTimer(static_cast<std::uint32_t>(wParam));
            return 1;
        case wm::LButtonDown:
            return item_ ? item_->onTap(platform::pointFromLParam(lParam)) : 0;
        case VORN_WM_TODAYCUSTOM_CLEARCACHE:
            return 0;
        case VORN_WM_TODAYCUSTOM_QUERYREFRESHCACHE:
            if (!lParam)
                return 0;
            return queryRefresh(
                *reinterpret_cast<VornTodayListItem*>(static_cast<std::intptr_t>(lParam)));
        case VORN_WM_TODAYCUSTOM_RECEIVEDSELECTION:
            if (item_)
                item_->setFocus(true);
            return 1;
        case VORN_WM_TODAYCUSTOM_LOSTSELECTION:
            if (item_)
                item_->setFocus(false);
            return 0;
        case VORN_WM_TODAYCUSTOM_USERNAVIGATION: {
            auto key = static_cast<std::uint32_t>(wParam);
            if (!item_)
                return 0;
            return item_->onNavigation(key);
        }
        case VORN_WM_TODAYCUSTOM_ACTION:
            return item_ ? item_->onKey(platform::vk::Return) : 0;
        default:
            handled = false;
            return 0;
    }
}

}  // namespace todayplugin
