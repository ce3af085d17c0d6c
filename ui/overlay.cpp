#include "ui/overlay.h"

namespace ui {
namespace {

// Left "OK" (string 224) confirms, right "Cancel" (string 18) cancels.
constexpr MenuEntry kOverlayKeys[] = {
    {menuKind::Left, menuParent::SoftKey, command::LeftSoftKey, 224},
    {menuKind::Right, menuParent::SoftKey, command::RightSoftKey, 18},
};

}  // namespace

Overlay::~Overlay() {
    close();
}

void Overlay::close() {
    if (isOpen())
        host_.closeOverlay(*this);
}

void Overlay::command(std::uint32_t commandId) {
    if (commandId == command::RightSoftKey) {
        cancel();
    } else {
        confirm();
    }
}

std::span<const MenuEntry> Overlay::menuEntries() const {
    return kOverlayKeys;
}

}  // namespace ui
