#pragma once
// A modal layer over the whole main window, such as the pop-up list of an option list. While
// it is open the program gives it every key, tap and soft-key command: the right soft key
// (100) cancels it, any other command confirms it.

#include <cstdint>
#include <span>

#include "platform/api/draw.h"
#include "platform/api/window.h"
#include "ui/module_host.h"

namespace ui {

class Overlay {
  public:
    explicit Overlay(ModuleHost& host) : host_(host) {}
    // An overlay that goes while open closes first.
    virtual ~Overlay();
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;

    ModuleHost& host() const { return host_; }
    bool isOpen() const { return host_.overlay() == this; }
    void open() { host_.openOverlay(*this); }
    void close();

    // Soft keys and menu commands while open.
    void command(std::uint32_t commandId);

    virtual void paint(platform::DeviceContext& dc, const platform::Rect& invalid) = 0;
    virtual void key(std::uint32_t message, std::uint32_t keyCode) = 0;
    virtual void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) = 0;
    // Close the overlay, undoing or keeping what was chosen in it.
    virtual void cancel() = 0;
    virtual void confirm() = 0;
    // The soft keys shown while the overlay is open.
    virtual std::span<const MenuEntry> menuEntries() const;

  private:
    ModuleHost& host_;
};

}  // namespace ui
