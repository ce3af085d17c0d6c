#include "app/main_menu.h"

#include <algorithm>

#include "app/application.h"
#include "app/module_table.h"
#include "core/language.h"
#include "gfx/blend.h"
#include "gfx/colours.h"
#include "gfx/decoration_pictures.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/graphics_state.h"
#include "gfx/resample.h"
#include "gfx/theme.h"
#include "platform/api/window.h"
#include "ui/module_host.h"

namespace app {

using namespace platform;

namespace {

gfx::TargaPixels loadResized(const std::wstring& path, int size) {
    std::unique_ptr<gfx::TargaPixels> pixels;
    if (gfx::loadTarga(path, pixels) != gfx::TargaStatus::Loaded)
        return {};
    return gfx::resampleTarga(*pixels, size, size);
}

}  // namespace

MainMenu::MainMenu(Application& app) : app_(app) {}

MainMenu::~MainMenu() = default;

void MainMenu::buildPictures() {
    const auto& m = gfx::displayMetrics();
    double s = m.scaleX;
    bool portrait = !m.isSquare && !gfx::isLandscape();
    if (m.displayModeFlag) {
        cellSize_ = static_cast<int>(24 * s), iconSize_ = static_cast<int>(48 * s);
    } else if (portrait) {
        cellSize_ = static_cast<int>(39 * s), iconSize_ = static_cast<int>(60 * s);
    } else {
        cellSize_ = static_cast<int>(28 * s), iconSize_ = static_cast<int>(56 * s);
    }
    int unit = static_cast<int>(s);
    groupIcons_.clear();
    for (const auto& g : menuGroups()) {
        groupIcons_.push_back(loadResized(app_.mainPath() + L"graphics2\\" + std::wstring(g.icon),
                                          cellSize_ - 4 * unit));
    }
    auto& decor = app_.decorations();
    groupOverlay_ = decor.picture(gfx::DecorationButtonOverlay, cellSize_ - unit, cellSize_ - unit);
    entryOverlay_ = decor.picture(gfx::DecorationButtonOverlay, iconSize_, iconSize_);
    buildEntryPictures();
    picturesBuilt_ = true;
}

void MainMenu::buildEntryPictures() {
    entryIcons_.clear();
    const auto& g = menuGroups()[static_cast<std::size_t>(group_ - 1)];
    for (int i = 0; i < g.entryCount; ++i) {
        auto info = moduleInfo(g.entries[static_cast<std::size_t>(i)]);
        std::wstring icon = info ? std::wstring(info->icon) : L"";
        entryIcons_.push_back(loadResized(app_.mainPath() + L"graphics2\\" + icon, iconSize_));
    }
}

void MainMenu::freePictures() {
    groupIcons_.clear();
    entryIcons_.clear();
    groupOverlay_ = {};
    entryOverlay_ = {};
    picturesBuilt_ = false;
}

void MainMenu::open() {
    if (!picturesBuilt_)
        buildPictures();
    open_ = true;
    pressedEntry_ = 0;
    entry_ = std::clamp(entry_, 1, std::max(1, entryCount()));
}

void MainMenu::close() {
    open_ = false;
}

int MainMenu::entryCount() const {
    return menuGroups()[static_cast<std::size_t>(group_ - 1)].entryCount;
}

int MainMenu::highlightedModule() const {
    if (entry_ < 1 || entry_ > entryCount())
        return 0;
    return menuGroups()[static_cast<std::size_t>(group_ - 1)]
        .entries[static_cast<std::size_t>(entry_ - 1)];
}

int MainMenu::entryAreaWidth() const {
    Rect client = clientRect(app_.mainWindow());
    return client.width() - cellSize_ - 8 * static_cast<int>(gfx::displayMetrics().scaleX);
}

int MainMenu::columns() const {
    int minimumPitch = iconSize_ + 8 * static_cast<int>(gfx::displayMetrics().scaleX);
    return std::max(1, entryAreaWidth() / std::max(1, minimumPitch));
}

Rect MainMenu::groupCell(int group) const {
    int unit = static_cast<int>(gfx::displayMetrics().scaleX);
    return rectOfSize(2 * unit, 2 * unit + (group - 1) * cellSize_, cellSize_, cellSize_);
}

Rect MainMenu::entryCell(int entry) const {
    int unit = static_cast<int>(gfx::displayMetrics().scaleX);
    // The columns share the room beside the group column evenly.
    int pitchX = entryAreaWidth() / columns();
    int pitchY = iconSize_ + 28 * unit;
    int col = (entry - 1) % columns();
    int row = (entry - 1) / columns();
    int left = cellSize_ + 8 * unit + col * pitchX;
    int top = 6 * unit + row * pitchY;
    return rectOfSize(left, top, pitchX, pitchY);
}

void MainMenu::paint(DeviceContext& dc, const Rect&) {
    // Pictures freed by a rotation are built for the new screen at the next paint.
    if (!picturesBuilt_)
        buildPictures();
    Rect client = clientRect(app_.mainWindow());
    auto& theme = app_.theme();
    app_.drawBackground(dc);
    int unit = static_cast<int>(gfx::displayMetrics().scaleX);

    // The group column on a darker strip.
    Rect column{0, 0, cellSize_ + 4 * unit, client.bottom};
    gfx::gradientBar(dc, column.left, column.top, column.right, column.bottom, theme.mainColour);
    for (int g = 1; g <= static_cast<int>(groupIcons_.size()); ++g) {
        Rect cell = groupCell(g);
        if (g == group_) {
            dc.fillRect(cell, gfx::lightenColour(theme.mainColour, 60));
            if (groupOverlay_.width > 0)
                gfx::drawTarga(dc, groupOverlay_, cell.left, cell.top);
        }
        const auto& icon = groupIcons_[static_cast<std::size_t>(g - 1)];
        if (icon.width > 0) {
            gfx::drawTarga(dc, icon, cell.left + (cell.width() - icon.width) / 2,
                           cell.top + (cell.height() - icon.height) / 2);
        }
    }

    // The chosen group's screens.
    const auto& group = menuGroups()[static_cast<std::size_t>(group_ - 1)];
    auto* gs = gfx::graphicsState();
    for (int e = 1; e <= static_cast<int>(entryIcons_.size()); ++e) {
        Rect cell = entryCell(e);
        Rect iconRect =
            rectOfSize(cell.left + (cell.width() - iconSize_) / 2, cell.top, iconSize_, iconSize_);
        bool highlighted = e == entry_;
        if (highlighted) {
            Rect glow = Rect{cell.left, cell.top - 2 * unit, cell.right, cell.bottom};
            dc.fillRect(glow, gfx::lightenColour(theme.mainColour, 80));
            dc.frameRect(glow, theme.mainColour);
        }
        const auto& icon = entryIcons_[static_cast<std::size_t>(e - 1)];
        if (icon.width > 0)
            gfx::drawTarga(dc, icon, iconRect.left, iconRect.top);
        if (e == pressedEntry_ && entryOverlay_.width > 0) {
            gfx::drawTarga(dc, entryOverlay_, iconRect.left, iconRect.top);
        }
        auto info = moduleInfo(group.entries[static_cast<std::size_t>(e - 1)]);
        std::wstring label = info ? core::languageString(info->labelString) : L"";
        dc.setTextColour(highlighted ? theme.selectedTextColour : theme.textColour);
        // Bold when the label fits the cell, else the regular font, which fits the longer
        // labels ("Temperature", "Clothes sizes") whole.
        platform::FontRef font = gs ? gs->smallBoldFont() : nullptr;
        if (gs && gfx::textWidth(font, label) > cell.width() - 2 * unit)
            font = gs->smallFont();
        gfx::drawTextTransparent(dc, label,
                                 Rect{cell.left, iconRect.bottom, cell.right, cell.bottom},
                                 dt::Center | dt::SingleLine | dt::VCenter | dt::EndEllipsis, font);
    }
    dc.setTextColour(theme.textColour);
}

int MainMenu::groupAt(Point p) const {
    for (int g = 1; g <= static_cast<int>(menuGroups().size()); ++g) {
        if (groupCell(g).contains(p))
            return g;
    }
    return 0;
}

int MainMenu::entryAt(Point p) const {
    for (int e = 1; e <= entryCount(); ++e) {
        if (entryCell(e).contains(p))
            return e;
    }
    return 0;
}

void MainMenu::chooseGroup(int group) {
    if (group == group_)
        return;
    group_ = group;
    entry_ = 1;
    buildEntryPictures();
    app_.invalidateAll(false);
}

void MainMenu::openHighlighted() {
    int id = highlightedModule();
    if (id)
        postMessage(app_.mainWindow(), wm::Command, ui::command::SwitchModule, id);
}

void MainMenu::pointer(std::uint32_t message, Point p) {
    if (message == wm::LButtonDown) {
        if (int g = groupAt(p)) {
            chooseGroup(g);
            return;
        }
        if (int e = entryAt(p)) {
            entry_ = e;
            pressedEntry_ = e;
            app_.invalidateAll(false);
        }
    } else if (message == wm::LButtonUp) {
        int pressed = pressedEntry_;
        pressedEntry_ = 0;
        if (pressed)
            app_.invalidateAll(false);
        // Only a release on the entry that was pressed opens it.
        if (pressed && entryAt(p) == pressed)
            openHighlighted();
    }
}

void MainMenu::key(std::uint32_t message, std::uint32_t keyCode) {
    if (message != wm::KeyDown)
        return;
    int groups = static_cast<int>(menuGroups().size());
    switch (keyCode) {
        case vk::Up:
            chooseGroup(group_ == 1 ? groups : group_ - 1);
            break;
        case vk::Down:
        case vk::Tab:
            chooseGroup(group_ == groups ? 1 : group_ + 1);
            break;
        case vk::Left:
            entry_ = entry_ <= 1 ? entryCount() : entry_ - 1;
            app_.invalidateAll(false);
            break;
        case vk::Right:
            entry_ = entry_ >= entryCount() ? 1 : entry_ + 1;
            app_.invalidateAll(false);
            break;
        case vk::Return:
            openHighlighted();
            break;
        case vk::Escape:
            app_.showMainMenu(false);
            break;
        default:
            break;
    }
}

void MainMenu::command(std::uint32_t commandId) {
    if (commandId == ui::command::LeftSoftKey) {
        openHighlighted();
    } else if (commandId == ui::command::Back) {
        app_.applicationCommand(commandId, 0);
    } else {
        app_.showMainMenu(false);
    }
}

}  // namespace app
