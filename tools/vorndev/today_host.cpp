// The device's Today screen. It shows the date and time, the owner, the items that plug-ins
// registered, and the installed programs; the left soft key opens the program list, the
// right one turns the screen.

#include "tools/vorndev/today_host.h"

#include "tools/vorndev/today_items.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/api/process.h"
#include "platform/api/profile.h"
#include "platform/api/program.h"
#include "platform/api/registry.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"

namespace vorndev {
namespace {

using namespace platform;

constexpr wchar_t kClassName[] = L"VornToday";
constexpr wchar_t kTitle[] = L"Today";
constexpr std::uintptr_t kClockTimer = 1;
// Items are asked every two seconds whether they changed.
constexpr std::uintptr_t kRefreshTimer = 2;
constexpr std::uint32_t kRefreshMs = 2000;
constexpr WParam kReloadItems = VORN_TODAY_RELOAD_ITEMS;
constexpr std::uint32_t kFirstProgramCommand = 1000;
constexpr std::uint32_t kRotateCommand = 100;

struct Program {
    std::wstring name;
    std::wstring devicePath;
};

struct TodayHost {
    WindowHandle window = 0;
    MenuBarHandle bar = 0;
    std::vector<Program> programs;
    std::vector<Rect> programRects;  // where each program's tile is drawn
    int shownMinute = -1;
    int pressed = -1;
    std::unique_ptr<TodayItems> items;
    int itemsBottom = 0;  // where the items end and the screen's own rows begin
};

TodayHost& host() {
    static TodayHost h;
    return h;
}

int scale() {
    return screenSize().width > 320 ? 2 : 1;
}

std::vector<Program> installedPrograms() {
    std::vector<Program> out;
    for (std::wstring folder : {L"\\Program Files\\Vorn Roamer\\", L"\\windows\\"}) {
        for (const auto& entry : listFolder(folder, L"*.exe")) {
            std::wstring name = entry.name.substr(0, entry.name.size() - 4);
            out.push_back({name, folder + entry.name});
        }
    }
    return out;
}

int headerHeight() {
    return 60 * scale();
}

// Places the items under the heading; the screen's own rows follow them.
void layoutItems() {
    auto& h = host();
    int bottom = h.items->layout(headerHeight(), clientRect(h.window).width());
    if (bottom != h.itemsBottom) {
        h.itemsBottom = bottom;
        invalidateRect(h.window, nullptr, false);
    }
}

void reloadItems() {
    auto& h = host();
    h.items->reload();
    h.itemsBottom = -1;
    layoutItems();
}

std::wstring ownerName() {
    auto key = RegistryKey::open(Hive::CurrentUser, L"ControlPanel\\Owner");
    auto name = key ? key->queryString(L"Name", 512) : std::nullopt;
    return name && !name->empty() ? *name : L"Device owner";
}

FontRef font(int points, int weight) {
    FontSpec spec;
    spec.height = -((points * logPixelsPerInch() + 36) / 72);
    spec.weight = weight;
    return Font::create(spec);
}

void buildMenuBar() {
    auto& h = host();
    if (h.bar)
        destroyMenuBar(h.bar);
    h.bar = createMenuBar(h.window, {SoftKeyKind::Menu, SoftKeyKind::Button, 99, kRotateCommand});
    setSoftKeyText(h.bar, 0, L"Programs");
    setSoftKeyText(h.bar, 1, L"Rotate");
    MenuHandle menu = softKeyMenu(h.bar, 0);
    removeAllMenuItems(menu);
    for (std::size_t i = 0; i < h.programs.size(); ++i) {
        appendMenu(menu, mf::String, kFirstProgramCommand + i, h.programs[i].name);
    }
    if (h.programs.empty())
        appendMenu(menu, mf::Grayed, 999, L"No programs installed");
    showMenuBar(h.bar, true);
}

void paint(DeviceContext& dc, const Rect& client) {
    auto& h = host();
    int s = scale();
    // A calm blue wash behind everything.
    dc.gradientFillHorizontal({0, 0, client.right, 60 * s}, rgb(24, 64, 140), rgb(70, 130, 210));
    dc.fillRect({0, 60 * s, client.right, client.bottom}, rgb(240, 244, 250));
    dc.setBackgroundMode(BackgroundMode::Transparent);

    SystemTime now = deviceLocalTime();
    h.shownMinute = now.minute;
    auto big = font(16, 700);
    auto normal = font(8, 400);
    auto bold = font(8, 700);
    dc.setTextColour(rgb(255, 255, 255));
    dc.selectFont(big);
    dc.drawText(formatTime(now, L"HH':'mm").value_or(L""),
                Rect{8 * s, 4 * s, client.right - 8 * s, 34 * s},
                dt::Left | dt::SingleLine | dt::VCenter);
    dc.selectFont(normal);
    dc.drawText(formatDate(now, longDatePicture()).value_or(L""),
                Rect{8 * s, 34 * s, client.right - 8 * s, 56 * s},
                dt::Left | dt::SingleLine | dt::VCenter);

    int y = std::max(h.itemsBottom, headerHeight()) + 6 * s;
    auto row = [&](const std::wstring& text, FontRef f, Colour c) {
        dc.selectFont(std::move(f));
        dc.setTextColour(c);
        dc.drawText(text, Rect{8 * s, y, client.right - 8 * s, y + 18 * s},
                    dt::Left | dt::SingleLine | dt::VCenter | dt::EndEllipsis);
        y += 18 * s;
    };
    row(ownerName(), bold, rgb(20, 40, 80));
    dc.line(8 * s, y + 2 * s, client.right - 8 * s, y + 2 * s, rgb(180, 190, 210));
    y += 6 * s;
    if (h.items->count() == 0)
        row(L"No Today items installed", normal, rgb(40, 40, 40));
    y += 4 * s;
    row(L"Programs", bold, rgb(20, 40, 80));

    h.programRects.clear();
    int tile = 22 * s;
    for (std::size_t i = 0; i < h.programs.size(); ++i) {
        Rect r{8 * s, y, client.right - 8 * s, y + tile - 2 * s};
        h.programRects.push_back(r);
        dc.fillRect(r, static_cast<int>(i) == h.pressed ? rgb(70, 130, 210) : rgb(255, 255, 255));
        dc.frameRect(r, rgb(180, 190, 210));
        dc.selectFont(normal);
        dc.setTextColour(static_cast<int>(i) == h.pressed ? rgb(255, 255, 255) : rgb(20, 20, 20));
        dc.drawText(h.programs[i].name, Rect{r.left + 6 * s, r.top, r.right, r.bottom},
                    dt::Left | dt::SingleLine | dt::VCenter);
        y += tile;
    }
}

void launch(std::size_t index) {
    auto& h = host();
    if (index >= h.programs.size())
        return;
    if (!startProgram(h.programs[index].devicePath, L"")) {
        messageBox(0, L"The program could not be started.", L"Today", mb::Ok | mb::IconExclamation);
    }
}

int programAt(Point p) {
    auto& h = host();
    for (std::size_t i = 0; i < h.programRects.size(); ++i) {
        if (h.programRects[i].contains(p))
            return static_cast<int>(i);
    }
    return -1;
}

LResult todayProc(WindowHandle w, std::uint32_t msg, WParam wp, LParam lp) {
    auto& h = host();
    switch (msg) {
        case wm::Paint: {
            PaintSession session(w);
            paint(session.dc(), clientRect(w));
            return 0;
        }
        case wm::EraseBackground:
            return 1;  // the whole client area is painted
        case wm::Timer:
            if (wp == kClockTimer && deviceLocalTime().minute != h.shownMinute) {
                invalidateRect(w, nullptr, false);
            }
            if (wp == kRefreshTimer && h.items->refresh())
                layoutItems();
            return 0;
        case wm::SettingChange:
            if (wp == kReloadItems)
                reloadItems();
            return 0;
        case wm::KeyDown:
            if (!h.items->key(static_cast<std::uint32_t>(wp)))
                return defWindowProc(w, msg, wp, lp);
            if (h.items->refresh())
                layoutItems();
            return 0;
        case wm::LButtonDown:
            h.items->clearSelection();
            h.pressed = programAt(pointFromLParam(lp));
            invalidateRect(w, nullptr, false);
            return 0;
        case wm::LButtonUp: {
            int was = h.pressed;
            h.pressed = -1;
            invalidateRect(w, nullptr, false);
            if (was >= 0 && programAt(pointFromLParam(lp)) == was)
                launch(static_cast<std::size_t>(was));
            return 0;
        }
        case wm::Command:
            if (wp == kRotateCommand) {
                rotateScreen(90);
                broadcastScreenChanged();
            } else if (wp >= kFirstProgramCommand) {
                launch(static_cast<std::size_t>(wp - kFirstProgramCommand));
            }
            return 0;
        case wm::Size:
            if (h.items) {
                // A turned screen changes the items' width and what they show.
                h.items->refresh();
                h.itemsBottom = -1;
                layoutItems();
            }
            invalidateRect(w, nullptr, false);
            return 0;
        case wm::Destroy:
            if (h.items)
                h.items->unload();
            postQuitMessage(0);
            return 0;
        default:
            return defWindowProc(w, msg, wp, lp);
    }
}

}  // namespace

int runTodayHost(int argc, char** argv) {
    startProgram(argc, argv, {L"\\windows\\today.exe", L"Vorn device"});
    auto& h = host();
    h.programs = installedPrograms();
    registerWindowClass({kClassName, todayProc});
    WindowCreate create;
    create.className = kClassName;
    create.title = kTitle;
    h.window = createWindow(create);
    if (!h.window)
        return 1;
    buildMenuBar();
    h.items = std::make_unique<TodayItems>(h.window);
    reloadItems();
    setForegroundWindow(h.window);
    setTimer(h.window, kClockTimer, 1000);
    setTimer(h.window, kRefreshTimer, kRefreshMs);
    Message m;
    while (getMessage(m)) {
        translateMessage(m);
        dispatchMessage(m);
    }
    return static_cast<int>(m.wParam);
}

}  // namespace vorndev
