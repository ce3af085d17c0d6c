#include "todayplugin/home_item.h"

#include <algorithm>

#include "core/comms.h"
#include "core/language.h"
#include "core/settings_keys.h"
#include "gfx/settings_keys.h"
#include "home/settings_keys.h"
#include "platform/api/window.h"

namespace todayplugin {

using platform::Point;
using platform::Rect;

namespace {

constexpr wchar_t kMainProgram[] = L"vornroamer3.exe";
constexpr wchar_t kHomeScreenArgument[] = L"/homescreen";
// The main program's home-mode screen, as HomeStarting names it.
constexpr wchar_t kHomeScreenName[] = L"start_now";
// The comms program's request for every favourite's weather from the item's menu.
constexpr wchar_t kUpdateRequest[] = L"/manual 14";

}  // namespace

std::uint32_t refreshDelayMs(platform::FileTime utcNow) {
    // Zones differ from UTC by whole minutes, so the minute turns at the same moment in every
    // one. A little past the turn, so that the refresh reads the new minute.
    constexpr platform::FileTime kTicksPerMs = platform::kFileTimeTicksPerSecond / 1000;
    constexpr platform::FileTime kMinuteMs = 60000, kPastTheTurnMs = 50;
    platform::FileTime intoMinute = (utcNow / kTicksPerMs) % kMinuteMs;
    platform::FileTime untilTurn = kMinuteMs - intoMinute + kPastTheTurnMs;
    return static_cast<std::uint32_t>(std::min<platform::FileTime>(kRefreshMs, untilTurn));
}

HomeItem::HomeItem(ItemHost& host, std::wstring layoutPath, std::wstring mainPath)
    : host_(host),
      layoutPath_(std::move(layoutPath)),
      mainPath_(std::move(mainPath)),
      data_(home::DataSources::forInstall(mainPath_)),
      painter_(mainPath_) {
    namespace hk = home::keys;
    Rect work = host_.workArea();
    screenWidth_ = std::max(1, work.width());
    double scale = home::layoutScale(screenWidth_);
    scale_ = static_cast<int>(scale);
    paused_ = core::settings::read(hk::HomePaused) != 0;
    autoHeightSetting_ = core::settings::read(hk::OptHomeAutoHt) != 2;
    data_.loadFavourites();
    data_.readSettings();
    clockFace_ = core::settings::read(gfx::keys::OptClock);
    rotation_ = home::rotationFor(core::settings::read(hk::OptHomeRotate), rotation_);
    refreshColours();
    model_ = home::readLayoutFile(layoutPath_, scale);
    mode_ = model_.hasTabs() ? Mode::Tabs : Mode::Panel;
    core::settings::write(hk::OptLayout_LastTab, 1);
    selectTab(1);
}

HomeItem::~HomeItem() {
    host_.killTimer(timer::Refresh);
    host_.killTimer(timer::Rotate);
    host_.killTimer(timer::Busy);
}

void HomeItem::refreshColours() {
    colours_.text = host_.colour(HostColour::Text);
    colours_.highlightedText = host_.colour(HostColour::HighlightedText);
    colours_.highlight = host_.colour(HostColour::Highlight);
    colours_.line = host_.colour(HostColour::Lines);
}

const home::Layout* HomeItem::currentLayout() const {
    return layout_ && *layout_ < model_.layouts.size() ? &model_.layouts[*layout_] : nullptr;
}

int HomeItem::wantedHeight() const {
    return home::itemHeight(model_, layout_, autoHeightSetting_, scale_);
}

void HomeItem::takeUpdateRequest() {
    refreshData();
    core::settings::write(home::keys::PluginUpdateData, 0);
}

void HomeItem::refreshData() {
    host_.killTimer(timer::Refresh);
    screenWidth_ = std::max(1, host_.workArea().width());
    refreshObjects(true);
    host_.invalidate();
    host_.setTimer(timer::Refresh, refreshDelayMs(platform::deviceUtcFileTime()));
}

void HomeItem::readRotation() {
    rotation_ = home::rotationFor(core::settings::read(home::keys::OptHomeRotate), rotation_);
    const home::Layout* layout = currentLayout();
    int seconds = layout ? home::rotationSeconds(rotation_, *layout) : 0;
    if (seconds == rotateSeconds_)
        return;
    rotateSeconds_ = seconds;
    restartRotation();
}

void HomeItem::restartRotation() {
    host_.killTimer(timer::Rotate);
    if (rotateSeconds_ > 0 && !paused_)
        host_.setTimer(timer::Rotate, static_cast<std::uint32_t>(rotateSeconds_) * 1000u);
}

void HomeItem::selectTab(int tab) {
    currentTab_ = tab;
    layout_ = model_.layoutForTab(tab, screenWidth_);
    host_.killTimer(timer::Rotate);
    refreshData();
    const home::Layout* layout = currentLayout();
    rotateSeconds_ = layout ? home::rotationSeconds(rotation_, *layout) : 0;
    restartRotation();
    core::settings::write(home::keys::OptLayout_LastTab, tab);
    checkBusy();
}

void HomeItem::setFocus(bool focus) {
    focus_ = focus;
    host_.invalidate();
}

void HomeItem::stepFavourite() {
    if (data_.favouriteCount() <= 0)
        return;
    data_.nextFavourite();
    refreshObjects(true);
    host_.invalidate();
}

void HomeItem::checkBusy() {
    if (core::commsBusy() == 0) {
        busyFrame_ = 0;
        if (busyTimer_)
            host_.killTimer(timer::Busy);
        busyTimer_ = false;
        host_.invalidate();
        return;
    }
    if (busyFrame_ == 0)
        busyFrame_ = 1;
    if (!busyTimer_)
        host_.setTimer(timer::Busy, kBusyMs);
    busyTimer_ = true;
}

void HomeItem::onTimer(std::uint32_t id) {
    if (core::settings::read(home::keys::PluginUpdateData) != 0) {
        refreshObjects(true);
        core::settings::write(home::keys::PluginUpdateData, 0);
    }
    readRotation();
    checkBusy();
    if (id == timer::Busy) {
        if (busyFrame_ > 0)
            busyFrame_ = busyFrame_ % 4 + 1;
    } else if (id == timer::Rotate && rotateSeconds_ > 0 && !paused_) {
        stepFavourite();
        return;
    }
    if (id == timer::Refresh)
        host_.setTimer(timer::Refresh, refreshDelayMs(platform::deviceUtcFileTime()));
    if (id == timer::Refresh || id == timer::Rotate)
        refreshObjects(false);
    host_.invalidate();
}

Rect HomeItem::itemRect() const {
    return host_.clientRect();
}

int HomeItem::onTap(Point p) {
    if (!focus_) {
        focus_ = true;
        host_.invalidate();
        host_.tookSelection();
    }
    if (home::homeIconRect(itemRect(), model_).contains(p)) {
        showMenu();
        return 1;
    }
    if (int tab = model_.hasTabs() ? home::tabAt(itemRect(), model_, p) : 0) {
        mode_ = Mode::Tabs;
        selectTab(tab);
        return 1;
    }
    // A clock opens the main program: on the layout's own screen, else on the home screen.
    if (const home::Layout* layout = currentLayout()) {
        for (const auto& object : layout->objects) {
            if (object.kind == home::ObjectKind::Clock && object.rect.contains(p)) {
                mode_ = Mode::Panel;
                startMainProgram(kHomeScreenName);
                return 1;
            }
        }
    }
    if (mode_ == Mode::Panel) {
        stepFavourite();
    } else {
        mode_ = Mode::Panel;
        host_.invalidate();
    }
    return 0;
}

int HomeItem::onKey(std::uint32_t key) {
    namespace vk = platform::vk;
    switch (key) {
        case vk::Up:
        case vk::Down: {
            if (mode_ == Mode::Tabs && key == vk::Down) {
                mode_ = Mode::Panel;
            } else if (mode_ == Mode::Panel && key == vk::Up && model_.hasTabs()) {
                mode_ = Mode::Tabs;
            } else {
                return 0;  // the host moves on to the next item
            }
            host_.invalidate();
            return 1;
        }
        case vk::Left:
        case vk::Right: {
            int count = model_.tabCount();
            if (count > 0) {
                int step = key == vk::Right ? 1 : count - 1;
                selectTab((currentTab_ - 1 + step) % count + 1);
            } else if (mode_ == Mode::Panel) {
                nextWideLayout();
            }
            return 1;
        }
        case vk::Return: {
            const home::Layout* layout = currentLayout();
            int action = core::settings::read(home::keys::OptHomeAction);
            if (layout && layout->startRoamForced())
                action = 1;
            if (action == 0)
                stepFavourite();
            else if (action == 1)
                startMainProgram();
            return 1;
        }
        default:
            return 0;
    }
}

int HomeItem::onNavigation(std::uint32_t key) {
    int used = onKey(key);
    if (key == platform::vk::Left || key == platform::vk::Right)
        return 1;
    return used;
}

void HomeItem::nextWideLayout() {
    if (!layout_)
        return;
    layout_ = model_.nextLayout(*layout_, screenWidth_);
    refreshData();
    const home::Layout* layout = currentLayout();
    rotateSeconds_ = layout ? home::rotationSeconds(rotation_, *layout) : 0;
    restartRotation();
}

void HomeItem::startMainProgram(std::wstring_view fallback) {
    const home::Layout* layout = currentLayout();
    std::wstring screen = layout ? layout->startRoamScreen() : std::wstring();
    if (screen.empty())
        screen = fallback;
    if (screen.empty())
        return;
    core::settings::write(core::keys::HomeStarting, screen);
    host_.startProgram(mainPath_ + kMainProgram, kHomeScreenArgument);
}

void HomeItem::showMenu() {
    bool busy = core::commsBusy() != 0;
    std::vector<MenuEntry> entries;
    entries.push_back({command::OpenProgram, core::languageString(615)});
    entries.push_back({0, L""});
    if (busy)
        entries.push_back({command::CancelUpdate, core::languageString(137)});
    else
        entries.push_back({command::Update, core::languageString(616)});
    if (rotateSeconds_ > 0) {
        entries.push_back({0, L""});
        if (paused_)
            entries.push_back({command::Resume, core::languageString(617)});
        else
            entries.push_back({command::Pause, core::languageString(618)});
    }
    std::uint32_t chosen = host_.popupMenu({scale_, scale_ + 16 * scale_}, entries);
    switch (chosen) {
        case command::OpenProgram:
            host_.startProgram(mainPath_ + kMainProgram, L"");
            break;
        case command::Update:
            host_.startProgram(std::wstring(core::kCommsProgramPath), kUpdateRequest);
            break;
        case command::CancelUpdate:
            core::cancelComms();
            break;
        case command::Pause:
            paused_ = true;
            host_.killTimer(timer::Rotate);
            core::settings::write(home::keys::HomePaused, 1);
            break;
        case command::Resume:
            paused_ = false;
            restartRotation();
            core::settings::write(home::keys::HomePaused, 0);
            break;
        default:
            break;
    }
    host_.invalidate();
}

}  // namespace todayplugin
