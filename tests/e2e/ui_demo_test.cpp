// The toolkit on a running device: the demonstration program (the main program with a screen
// of every control) driven with `vorndev ctl` at both display scales. Typing reaches the edit
// field, the picker's button and keys change the time, holding a list's down arrow scrolls
// until the stylus lifts, the option list's pop-up confirms with the left soft key. The
// screenshots of each step are kept in the build folder's ui-screens/ for people to look at.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

const std::string kDemo = "\\Program Files\\Vorn Roamer\\vorn_ui_demo.exe";

// Control ids of the demonstration screen (tests/ui/demo/demo_module.h).
constexpr int kEdit = 3, kTime = 4, kDate = 5, kOptions = 7, kList = 8;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int midX() const { return (left + right) / 2; }
    int midY() const { return (top + bottom) / 2; }
};

class UiDemo {
  public:
    UiDemo(const std::string& screen, int scale) : device_(screen), screen_(screen), scale_(scale) {
        fs::create_symlink(builtProgram("vorn_ui_demo"),
                           device_.root() / "Program Files" / "Vorn Roamer" / "vorn_ui_demo.exe");
        CommandResult run = device_.ctl({"run", "--headless", kDemo});
        if (run.exitCode != 0)
            throw std::runtime_error("cannot start the demo: " + run.err);
        device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "30000"});
        if (!waitUntil([&] { return ask({"app", "module"}) == "13"; })) {
            throw std::runtime_error("the demonstration screen did not show:\n" +
                                     device_.deviceLog());
        }
        shots_ = fs::path(VORN_BINARY_DIR) / "ui-screens";
        fs::create_directories(shots_);
    }

    std::string ask(const std::vector<std::string>& args) {
        CommandResult r = device_.ctl(args);
        std::string out = r.exitCode == 0 ? r.out : "error: " + r.err;
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    int number(const std::string& request) { return std::stoi(ask({"app", request})); }

    // A control's rectangle on the screen (the window starts below the task bar).
    Box control(int id) {
        std::istringstream in(ask({"app", "control", std::to_string(id)}));
        Box b;
        in >> b.left >> b.top >> b.right >> b.bottom;
        int bar = 26 * scale_;
        b.top += bar;
        b.bottom += bar;
        return b;
    }
    void pointer(const std::string& verb, int x, int y) {
        ask({verb, std::to_string(x), std::to_string(y)});
    }
    fs::path shot(const std::string& step) {
        fs::path file = shots_ / ("demo-" + screen_ + "-" + step + ".png");
        ask({"screenshot", file.string()});
        return file;
    }
    // The mean brightness (0 to 1) of part of a screenshot, through ImageMagick.
    static double brightness(const fs::path& png, const Box& b) {
        std::string crop = std::to_string(b.right - b.left) + "x" +
                           std::to_string(b.bottom - b.top) + "+" + std::to_string(b.left) + "+" +
                           std::to_string(b.top);
        CommandResult r = runCommand(
            "/usr/bin/convert",
            {png.string(), "-crop", crop, "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"});
        return r.exitCode == 0 ? std::stod(r.out) : -1;
    }

    int scale() const { return scale_; }

  private:
    TestDevice device_;
    std::string screen_;
    int scale_;
    fs::path shots_;
};

void exercise(UiDemo& demo) {
    int s = demo.scale();
    fs::path start = demo.shot("1-start");
    Box edit = demo.control(kEdit);
    EXPECT_EQ(edit.right - edit.left, 114 * s) << "the layout is scaled";
    double empty = UiDemo::brightness(start, edit);

    // Typing into the edit field.
    demo.pointer("tap", edit.left + 5 * s, edit.midY());
    demo.ask({"type", "Hello Oslo"});
    EXPECT_EQ(demo.ask({"app", "edit-text"}), "Hello Oslo");
    demo.ask({"key", "back"});
    EXPECT_EQ(demo.ask({"app", "edit-text"}), "Hello Osl") << "Back erases in a text field";
    fs::path typed = demo.shot("2-typed");
    EXPECT_LT(UiDemo::brightness(typed, edit), empty - 0.02) << "the text shows";

    // The time picker: its up button twice (the hour), then Right and Down (the minute).
    Box time = demo.control(kTime);
    int before = demo.number("time");
    demo.pointer("tap", time.right - 3 * s, time.top + 4 * s);
    demo.pointer("tap", time.right - 3 * s, time.top + 4 * s);
    demo.ask({"key", "right"});
    demo.ask({"key", "down"});
    int after = demo.number("time");
    EXPECT_EQ(after / 60, (before / 60 + 2) % 24);
    EXPECT_EQ(after % 60, (before % 60 + 59) % 60);
    demo.shot("3-picker");

    // Holding the list's down arrow scrolls on until the stylus lifts.
    Box list = demo.control(kList);
    int arrowX = list.right - 8 * s, arrowY = list.bottom - 6 * s;
    demo.pointer("down", arrowX, arrowY);
    EXPECT_TRUE(waitUntil([&] { return demo.number("list-first") >= 8; }))
        << "the repeat did not run";
    demo.shot("4-holding");
    demo.pointer("up", arrowX, arrowY);
    int stopped = demo.number("list-first");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(demo.number("list-first"), stopped) << "the repeat ends with the release";

    // The option list's pop-up: Down, then the left soft key confirms.
    Box options = demo.control(kOptions);
    demo.pointer("tap", options.midX(), options.midY());
    demo.ask({"key", "down"});
    demo.shot("5-popup");
    EXPECT_EQ(demo.ask({"app", "option"}), "f");
    demo.ask({"key", "softleft"});
    EXPECT_EQ(demo.ask({"app", "option"}), "f");
    // Opened again, the right soft key puts the old choice back.
    demo.pointer("tap", options.midX(), options.midY());
    demo.ask({"key", "down"});
    demo.ask({"key", "softright"});
    EXPECT_EQ(demo.ask({"app", "option"}), "f");
    demo.shot("6-options");

    // The date picker's button drops its month calendar below it; Back closes it unchanged,
    // Right and Enter pick the next day and keep the time of day.
    Box date = demo.control(kDate);
    std::string dateBefore = demo.ask({"app", "date"});
    Box heading{date.left + 2 * s, date.bottom + 3 * s, date.left + 100 * s, date.bottom + 14 * s};
    double closedLook = UiDemo::brightness(demo.shot("7-date"), heading);
    demo.pointer("tap", date.right - 5 * s, date.midY());
    EXPECT_EQ(demo.ask({"app", "date"}), dateBefore + " open");
    EXPECT_LT(UiDemo::brightness(demo.shot("8-calendar"), heading), closedLook - 0.2)
        << "the calendar's heading shows under the picker";
    demo.ask({"key", "right"});
    demo.ask({"key", "back"});
    EXPECT_EQ(demo.ask({"app", "date"}), dateBefore);
    EXPECT_EQ(demo.ask({"app", "module"}), "13") << "Back closed the calendar, not the screen";
    demo.pointer("tap", date.right - 5 * s, date.midY());
    demo.ask({"key", "right"});
    demo.ask({"key", "enter"});
    int y = 0, m = 0, d = 0, minutes = 0, y2 = 0, m2 = 0, d2 = 0, minutes2 = 0;
    std::istringstream(dateBefore) >> y >> m >> d >> minutes;
    std::istringstream(demo.ask({"app", "date"})) >> y2 >> m2 >> d2 >> minutes2;
    namespace ch = std::chrono;
    auto u = [](int v) { return static_cast<unsigned>(v); };
    ch::year_month_day expected{ch::sys_days{ch::year{y} / ch::month{u(m)} / ch::day{u(d)}} +
                                ch::days{1}};
    EXPECT_EQ(y2, static_cast<int>(expected.year()));
    EXPECT_EQ(m2, static_cast<int>(static_cast<unsigned>(expected.month())));
    EXPECT_EQ(d2, static_cast<int>(static_cast<unsigned>(expected.day())));
    EXPECT_EQ(minutes2, minutes);
    demo.shot("9-end");
}

TEST(UiDemoTest, EveryControlWorksAtScaleOne) {
    UiDemo demo("240x320", 1);
    exercise(demo);
}

TEST(UiDemoTest, EveryControlWorksAtScaleTwo) {
    UiDemo demo("480x640", 2);
    exercise(demo);
}

}  // namespace
