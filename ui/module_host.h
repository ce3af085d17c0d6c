#pragma once
// What a screen module needs from the program that shows it: the main window, invalidation,
// the menu bar and main menu, module switching and Back, the install folders, the theme and
// the program's time and date formats. The main program's application implements it; screens
// see the program only through this interface, so they sit below the application.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "gfx/decoration_pictures.h"
#include "gfx/theme.h"
#include "platform/api/clock.h"
#include "platform/api/types.h"
#include "platform/api/window.h"

namespace ui {

class Control;
class Module;
class Overlay;
struct LayoutRecord;

// A soft key or menu item of a screen's menu bar. Screens describe their bars in static
// tables of these.
struct MenuEntry {
    std::uint16_t kind = 0;    // 1 left side, 2 right side, 3 context menu
    std::uint16_t parent = 0;  // 1000 the soft key itself; see menu_bar.h for the others
    std::uint16_t commandId = 0;
    std::uint32_t stringNumber = 0;
    std::uint32_t flag = 1;
    std::uint32_t last = 0;
    // The menu item shows a check mark (a sort order in force, a view that is on).
    bool checked = false;
    // A greyed item cannot be chosen (an action that needs a selection nobody made).
    bool enabled = true;
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

namespace menuKind {
constexpr std::uint16_t Left = 1, Right = 2, Context = 3;
}
namespace menuParent {
constexpr std::uint16_t SoftKey = 1000, RightSubMenu1 = 1003, RightSubMenu1Items = 1004,
                        RightSubMenu2 = 1005, RightSubMenu2Items = 1006, ContextItems = 1010;
}
// The command of a menu entry that stands for a separator line.
constexpr std::uint16_t kSeparatorCommand = 1002;

// Soft-key commands.
namespace command {
constexpr std::uint32_t LeftSoftKey = 99, RightSoftKey = 100, Back = 1025, SwitchModule = 1026;
}

class ModuleHost {
  public:
    virtual ~ModuleHost() = default;
    virtual platform::WindowHandle mainWindow() const = 0;
    // The rectangle is inclusive: it is widened by one pixel right and down.
    virtual void invalidateArea(const platform::Rect& inclusive) = 0;
    virtual void invalidateAll(bool redrawNow) = 0;
    // Counts re-creations of the back buffer; modules remember the one they were built for.
    virtual int layoutGeneration() const = 0;
    virtual void setMenuBar(std::span<const MenuEntry> entries) = 0;
    // Position 1 is the left soft key, 2 the right; 2 to 4 also address menu items by id.
    virtual void setSoftKey(int position, std::uint32_t commandId, std::wstring_view text) = 0;
    // Switches to another module, remembering the current one for Back.
    virtual void requestModule(int moduleId) = 0;
    // The same, once the message being handled is done (the caller may be the module that
    // the switch destroys).
    virtual void requestModuleLater(int moduleId) = 0;
    // Switches to another module once the message being handled is done, without
    // remembering the current one: Back never returns to it (a finished wizard).
    virtual void replaceModuleLater(int moduleId) = 0;
    // The Back action: the previous screen of the history; false when there is none.
    virtual bool back() = 0;
    virtual void showMainMenu(bool open) = 0;
    virtual bool isMainMenuOpen() const = 0;
    virtual void notify(int event, std::intptr_t data) = 0;
    // Ends the program at once, as when the user declines to use it: no subsystem stores
    // anything on the way out.
    virtual void quit() = 0;

    // The install folder (with a trailing backslash), where controls find their pictures.
    virtual const std::wstring& mainPath() const = 0;
    // Where the comms program leaves its answers (with a trailing backslash).
    virtual const std::wstring& downloadPath() const = 0;
    // The program's name, the caption of its message boxes.
    virtual std::wstring_view programName() const = 0;
    virtual const gfx::Theme& theme() const = 0;
    // Reads the look settings (colours, clock face, background) again after a screen changed
    // them; the live module hears that the skin changed and the window repaints.
    virtual void applyLookSettings() = 0;
    // Reads the time format and the units again after a screen changed them, and repaints.
    virtual void applyFormatSettings() {}
    // The clock faces and other decoration pictures of the theme.
    virtual gfx::DecorationPictures& decorations() = 0;
    // A time or date in the program's formats (the time format setting; the short date).
    virtual std::wstring timeText(const platform::SystemTime& time) const = 0;
    virtual std::wstring dateText(const platform::SystemTime& time) const = 0;
    // The screen-specific control for a layout record of type 209 to 247, or none.
    virtual std::unique_ptr<Control> createControl(const LayoutRecord& record) = 0;
    // A modal overlay over the whole window (a pop-up list): while open it takes every key,
    // tap and soft-key command. The opener keeps ownership and must close it before it goes.
    virtual void openOverlay(Overlay& overlay) = 0;
    virtual void closeOverlay(Overlay& overlay) = 0;
    virtual Overlay* overlay() const = 0;

    // Full-screen display: the task bar and the menu bar hide and the window covers the
    // screen. A host without a full-screen mode ignores it.
    virtual void setFullScreen(bool) {}
    virtual bool isFullScreen() const { return false; }
    // The program's about box over the screen; the next key or tap closes it.
    virtual void showAbout() {}
    // On a tap-and-hold at the point, opens the context menu of the entries (kind Context) and
    // hands the chosen command to the module; a plain tap opens nothing. True when the stylus
    // was held (the menu opened, whatever was chosen).
    virtual bool showContextMenu(Module&, platform::Point, std::span<const MenuEntry>) {
        return false;
    }
};

}  // namespace ui
