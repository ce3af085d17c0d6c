#pragma once
// A Today host for the item's tests: it records timers, repaint requests, the selection,
// menus shown and programs started, and answers menus with a chosen command.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "todayplugin/item_host.h"

namespace todayplugin::test {

class FakeHost : public ItemHost {
  public:
    explicit FakeHost(int width = 240, int itemHeight = 90) : width_(width), height_(itemHeight) {}

    void setTimer(std::uint32_t id, std::uint32_t ms) override { timers[id] = ms; }
    void killTimer(std::uint32_t id) override { timers.erase(id); }
    void invalidate() override { ++invalidations; }
    platform::Rect clientRect() override { return {0, 0, width_, height_}; }
    platform::Rect workArea() override { return {0, 26, width_, width_ * 4 / 3}; }
    platform::Colour colour(HostColour which) override {
        switch (which) {
            case HostColour::Text:
                return kText;
            case HostColour::HighlightedText:
                return kHighlightedText;
            case HostColour::Highlight:
                return kHighlight;
            case HostColour::Lines:
                return kLines;
        }
        return 0;
    }
    void tookSelection() override { ++selectionsTaken; }
    void drawWatermark(platform::Bitmap& target, const platform::Rect& area) override {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) target.setPixel(x, y, kBackground);
    }
    std::uint32_t popupMenu(platform::Point, const std::vector<MenuEntry>& entries) override {
        menus.push_back(entries);
        return menuChoice;
    }
    bool startProgram(const std::wstring& path, const std::wstring& arguments) override {
        started.emplace_back(path, arguments);
        return true;
    }

    bool hasTimer(std::uint32_t id) const { return timers.count(id) != 0; }

    static constexpr platform::Colour kText = 0x102030;
    static constexpr platform::Colour kHighlightedText = 0xFFFFFF;
    static constexpr platform::Colour kHighlight = 0xC06020;
    static constexpr platform::Colour kLines = 0x0000FF;
    static constexpr platform::Colour kBackground = 0xF0F0F0;

    std::map<std::uint32_t, std::uint32_t> timers;
    int invalidations = 0;
    int selectionsTaken = 0;
    std::vector<std::vector<MenuEntry>> menus;
    std::uint32_t menuChoice = 0;
    std::vector<std::pair<std::wstring, std::wstring>> started;

  private:
    int width_;
    int height_;
};

}  // namespace todayplugin::test
