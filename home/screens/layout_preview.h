#pragma once
// A preview of the home item as the Today screen would show it: the chosen layout file's
// first tab, painted by the same painter and with the same data as the plug-in at the
// screen's full width and the item's height, then shrunk to fit the control. The options'
// home-screen page shows it and rebuilds it when the layout, the rotation or the automatic
// height changes.

#include <memory>
#include <string>

#include "gfx/targa.h"
#include "home/layout.h"
#include "ui/control.h"

namespace home {

class LayoutPainter;

class LayoutPreview final : public ui::Control {
  public:
    explicit LayoutPreview(std::wstring mainPath);
    ~LayoutPreview() override;

    // Reads the layout file and the home settings again and paints the item anew.
    void rebuild();

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

    // The item as painted at full size, before shrinking; empty before the first rebuild.
    const gfx::TargaPixels& item() const { return item_; }
    // The layout file the preview shows.
    const std::wstring& layoutPath() const { return layoutPath_; }

  private:
    void shrink();

    std::wstring mainPath_;
    std::wstring layoutPath_;
    std::unique_ptr<LayoutPainter> painter_;
    gfx::TargaPixels item_;   // the item at the screen's width
    gfx::TargaPixels shown_;  // shrunk to the control
    bool built_ = false;
};

}  // namespace home
