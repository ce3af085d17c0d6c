// What a program shows, as `vorndev ctl screenshot` writes it: the text specimen at both
// display scales, checked against the fonts' measured extents; and turning the screen with
// `vorndev ctl rotate`, which reaches the program's window as wm::Size.

#include <gtest/gtest.h>

#include <sstream>

#include "platform/api/device.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::string rgb;  // 3 bytes a pixel, rows from the top

    bool isBlack(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return false;
        auto at = static_cast<std::size_t>(y * width + x) * 3;
        auto c = [&](int i) { return static_cast<unsigned char>(rgb[at + i]); };
        return c(0) < 60 && c(1) < 60 && c(2) < 60;
    }
};

// The size from the PNG header, and the pixels through ImageMagick (a test dependency that
// scripts/setup-deps installs).
Image readPng(const std::string& file) {
    Image image;
    CommandResult header = runCommand("/usr/bin/head", {"-c", "24", file});
    if (header.out.size() < 24 || header.out.compare(1, 3, "PNG") != 0)
        return image;
    auto be32 = [&](int at) {
        int v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(header.out[at + i]);
        return v;
    };
    image.width = be32(16);
    image.height = be32(20);
    CommandResult pixels = runCommand("/usr/bin/convert", {file, "-depth", "8", "rgb:-"});
    if (pixels.exitCode == 0)
        image.rgb = pixels.out;
    return image;
}

// A line of the specimen as the program measured it: screen position, extent, metrics.
struct SpecimenLine {
    int x = 0, y = 0, width = 0, height = 0, ascent = 0, descent = 0, fontHeight = 0;
};

SpecimenLine specimenLine(const TestDevice& device, int i) {
    SpecimenLine s;
    auto text = device.reportedString("Specimen", L"Specimen" + std::to_wstring(i));
    std::istringstream in(platform::toUtf8(text.value_or(L"")));
    in >> s.x >> s.y >> s.width >> s.height >> s.ascent >> s.descent >> s.fontHeight;
    return s;
}

struct Ink {
    int count = 0;
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
};

Ink inkIn(const Image& image, int left, int top, int right, int bottom) {
    Ink ink;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (!image.isBlack(x, y))
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

int mulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

// Shows the specimen on a new device and checks the screenshot; returns the measured lines.
std::vector<SpecimenLine> checkSpecimen(const std::string& screen, int width, int height, int dpi) {
    TestDevice device(screen);
    device.startTestProgram("Specimen", "Specimen", {"--specimen"});
    EXPECT_TRUE(
        waitUntil([&] { return device.reportedString("Specimen", L"Specimen3").has_value(); }));
    EXPECT_FALSE(device.reportedString("Specimen", L"SpecimenClipped").has_value());

    std::string shot = (device.root().parent_path() / ("specimen " + screen + ".png")).string();
    CommandResult r = device.ctl({"screenshot", shot});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Image image = readPng(shot);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(width * height * 3))
        << "ImageMagick's convert could not read " << shot;

    std::vector<SpecimenLine> lines;
    const int points[] = {8, 8, 9, 9};
    for (int i = 0; i < 4; ++i) {
        SpecimenLine s = specimenLine(device, i);
        SCOPED_TRACE(screen + " line " + std::to_string(i));
        EXPECT_EQ(s.fontHeight, -mulDiv(points[i], dpi, 72));
        EXPECT_EQ(s.height, s.ascent + s.descent);
        EXPECT_GE(s.height, -s.fontHeight);
        EXPECT_LE(s.height, -s.fontHeight * 3 / 2);
        // The text's ink fills its measured extent and stays inside it.
        Ink inside = inkIn(image, s.x, s.y, s.x + s.width, s.y + s.height);
        EXPECT_GT(inside.count, 0);
        EXPECT_GE(inside.right - inside.left, s.width * 85 / 100);
        EXPECT_LE(inside.left - s.x, std::max(2, s.width / 40));
        Ink around = inkIn(image, s.x - 4, s.y - 4, s.x + s.width + 4, s.y + s.height + 4);
        EXPECT_EQ(around.count, inside.count);
        // Letters with ascenders and descenders reach near both ends of the cell.
        EXPECT_LE(inside.top - s.y, s.ascent / 3 + 1);
        EXPECT_GE(inside.bottom, s.y + s.ascent + 1);
        lines.push_back(s);
    }
    // Bold text is set wider than regular text at the same size.
    EXPECT_GT(lines[1].width, lines[0].width * 21 / 20);
    EXPECT_GT(lines[3].width, lines[2].width * 21 / 20);

    // A window's screenshot is its client area.
    std::string windowShot = (device.root().parent_path() / "window.png").string();
    r = device.ctl({"screenshot", windowShot, "--window", "Specimen:Specimen"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::istringstream size(
        platform::toUtf8(device.reportedString("Specimen", L"Size").value_or(L"")));
    int clientWidth = 0, clientHeight = 0;
    size >> clientWidth >> clientHeight;
    Image window = readPng(windowShot);
    EXPECT_EQ(window.width, clientWidth);
    EXPECT_EQ(window.height, clientHeight);
    return lines;
}

TEST(ScreenTest, TextSpecimenAtBothScales) {
    auto small = checkSpecimen("240x320", 240, 320, 96);
    auto large = checkSpecimen("480x640", 480, 640, 192);
    for (std::size_t i = 0; i < small.size(); ++i) {
        // Twice the dpi gives about twice the size.
        EXPECT_NEAR(large[i].height, 2 * small[i].height, 3) << "line " << i;
        EXPECT_NEAR(large[i].width, 2 * small[i].width, small[i].width / 8) << "line " << i;
    }
}

TEST(ScreenTest, RotationResizesTheProgramsWindow) {
    TestDevice device("240x320");
    device.startTestProgram("Turner", "Turner");
    ASSERT_TRUE(
        waitUntil([&] { return device.reportedNumber("Turner", L"SizeCount").has_value(); }));
    auto before = device.reportedNumber("Turner", L"SizeCount").value();
    EXPECT_EQ(device.reportedString("Turner", L"Size"), L"240 268");

    CommandResult r = device.ctl({"rotate"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "320x240 rotation=90\n");
    ASSERT_TRUE(waitUntil([&] { return device.reportedNumber("Turner", L"SizeCount") > before; }));
    // The window covers the turned screen between the task bar and the menu bar.
    EXPECT_TRUE(waitUntil([&] { return device.reportedString("Turner", L"Size") == L"320 188"; }))
        << platform::toUtf8(device.reportedString("Turner", L"Size").value_or(L""));

    r = device.ctl({"rotate", "270"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "240x320 rotation=0\n");
    EXPECT_TRUE(waitUntil([&] { return device.reportedString("Turner", L"Size") == L"240 268"; }));

    EXPECT_EQ(device.ctl({"rotate", "45"}).exitCode, 2);
}

}  // namespace
