#pragma once
// The main menu: an overlay over the whole window with the six group icons in a column and
// the icons of the chosen group's screens beside it. Open, it takes every key and tap.

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/targa.h"
#include "platform/api/draw.h"

namespace app {

class Application;

class MainMenu {
  public:
    explicit MainMenu(Application& app);
    ~MainMenu();

    bool isOpen() const { return open_; }
    void open();
    void close();

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid);
    void pointer(std::uint32_t message, platform::Point point);
    void key(std::uint32_t message, std::uint32_t keyCode);
    void command(std::uint32_t commandId);
    // Drops the pictures; they are built again at the next opening (after a rotation).
    void freePictures();

    int chosenGroup() const { return group_; }
    int highlightedEntry() const { return entry_; }
    int highlightedModule() const;
    // Geometry, for painting and hit tests: group cells and entry cells in client pixels.
    platform::Rect groupCell(int group) const;
    platform::Rect entryCell(int entry) const;

  private:
    void buildPictures();
    void buildEntryPictures();
    void chooseGroup(int group);
    void openHighlighted();
    int groupAt(platform::Point p) const;
    int entryAt(platform::Point p) const;
    int entryCount() const;
    int columns() const;
    int entryAreaWidth() const;

    Application& app_;
    bool open_ = false;
    int group_ = 1;
    int entry_ = 1;
    int pressedEntry_ = 0;
    int cellSize_ = 0;
    int iconSize_ = 0;
    bool picturesBuilt_ = false;
    std::vector<gfx::TargaPixels> groupIcons_;
    std::vector<gfx::TargaPixels> entryIcons_;
    gfx::TargaPixels groupOverlay_;
    gfx::TargaPixels entryOverlay_;
};

}  // namespace app
