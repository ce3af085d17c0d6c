// The layout model built from layout files: definitions and objects with their defaults, the
// newest-first lists, scaling at both display scales, the tab strip and the no-tab offset,
// tab and layout choice by screen width, and files that give nothing.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/settings.h"
#include "home/layout.h"
#include "home/settings_keys.h"
#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"

namespace alarmKind = home::alarmKind;
using home::Justify;
using home::LayoutModel;
using home::ObjectKind;
namespace textKind = home::textKind;
namespace weatherKind = home::weatherKind;
namespace weatherStyle = home::weatherStyle;

namespace {

LayoutModel layoutOf(std::string_view text, double scale = 1.0) {
    return home::parseLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                             scale);
}

std::string screen(std::string_view attributes, std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<xml><homescreen " +
           std::string(attributes) + ">" + std::string(body) + "</homescreen></xml>";
}

const std::string kTwoTabs = screen(
    "hilite=\"60\" autoheight=\"0\" tabheight=\"18\"",
    "<obj type=\"fnt\" name=\"Arial\" size=\"8\" id=\"0\"/>"
    "<obj type=\"fnt\" name=\"Tahoma\" size=\"12\" bold=\"1\" cleartype=\"0\" id=\"1\"/>"
    "<obj type=\"tab\" tabname=\"Clock\" layout=\"clock\" id=\"1\" fnt=\"1\"/>"
    "<obj type=\"tab\" tabname=\"Weather\" layout=\"weather\" id=\"2\"/>"
    "<layout name=\"clock\" width=\"240\" height=\"60\" start_roam=\"*start_now\" "
    "rotatespeed=\"15\">"
    "  <obj type=\"clock\" x=\"2\" y=\"3\" w=\"50\" h=\"50\" city=\"1\" fnt=\"1\" jst=\"right\"/>"
    "  <obj type=\"time\" x=\"60\" y=\"4\" w=\"100\" h=\"20\" fnt=\"1\" city=\"2\" "
    "format=\"HH:mm\" jst=\"center\"/>"
    "  <obj type=\"nextalarmicn\" x=\"60\" y=\"30\" w=\"12\" h=\"12\" alarmon=\"bell\"/>"
    "</layout>"
    "<layout name=\"weather\" width=\"240\" height=\"70\" rotatespeed=\"auto\">"
    "  <obj type=\"weather_curr\" x=\"1\" y=\"1\" w=\"30\" h=\"30\" city=\"1\" style=\"max\" "
    "showCF=\"1\"/>"
    "  <obj type=\"WEATHER_2\" x=\"1\" y=\"1\" w=\"30\" h=\"30\" station=\"3\" style=\"bogus\"/>"
    "  <obj type=\"weather\" x=\"1\" y=\"1\" w=\"30\" h=\"30\" day=\"2\"/>"
    "  <obj type=\"sparkle\" x=\"1\"/>"
    "</layout>");

TEST(HomeLayoutModel, DefinitionsAndObjectsWithTheirAttributes) {
    LayoutModel model = layoutOf(kTwoTabs);
    EXPECT_EQ(model.hilite, 60);
    ASSERT_TRUE(model.autoHeight);
    EXPECT_FALSE(*model.autoHeight);
    EXPECT_EQ(model.tabHeight, 18);
    ASSERT_EQ(model.fonts.size(), 2u);
    // Newest first; the face is kept as written (Tahoma is drawn whatever it says).
    EXPECT_EQ(model.fonts[0].id, 1);
    EXPECT_EQ(model.fonts[0].size, 12);
    EXPECT_TRUE(model.fonts[0].bold);
    EXPECT_FALSE(model.fonts[0].clearType);
    EXPECT_EQ(model.fonts[1].face, L"Arial");
    EXPECT_FALSE(model.fonts[1].bold);
    EXPECT_TRUE(model.fonts[1].clearType);
    ASSERT_EQ(model.tabCount(), 2);
    EXPECT_EQ(model.tabs[0].caption, L"Weather");
    EXPECT_EQ(model.tabs[0].font, 0);
    EXPECT_EQ(model.tabs[1].layout, L"clock");
    EXPECT_EQ(model.tabs[1].font, 1);

    ASSERT_EQ(model.layouts.size(), 2u);
    EXPECT_EQ(model.firstLayout(), 1u);
    const home::Layout& clock = model.layouts[1];
    EXPECT_EQ(clock.name, L"clock");
    EXPECT_EQ(clock.height, 60);
    EXPECT_EQ(clock.rotateSeconds, 15);
    EXPECT_TRUE(clock.startRoamForced());
    EXPECT_EQ(clock.startRoamScreen(), L"start_now");
    ASSERT_EQ(clock.objects.size(), 3u);
    // Last object of the file first.
    const home::LayoutObject& icon = clock.objects[0];
    EXPECT_EQ(icon.kind, ObjectKind::NextAlarm);
    EXPECT_EQ(icon.subKind, alarmKind::Icon);
    EXPECT_EQ(icon.alarmOn, L"bell");
    EXPECT_EQ(icon.alarmOff, L"today_alarmoff");
    const home::LayoutObject& time = clock.objects[1];
    EXPECT_EQ(time.subKind, textKind::Time);
    EXPECT_EQ(time.format, L"HH:mm");
    EXPECT_EQ(time.city, 2);
    EXPECT_EQ(time.font, 1);
    EXPECT_EQ(time.justify, Justify::Center);
    // The tab strip's height is added to every y.
    EXPECT_EQ(time.rect, (platform::Rect{60, 22, 160, 42}));
    // The clock takes only its rectangle and city.
    const home::LayoutObject& face = clock.objects[2];
    EXPECT_EQ(face.kind, ObjectKind::Clock);
    EXPECT_EQ(face.font, 0);
    EXPECT_EQ(face.justify, Justify::Left);
    EXPECT_EQ(face.city, 1);

    const home::Layout& weather = model.layouts[0];
    EXPECT_FALSE(weather.rotateSeconds);
    EXPECT_TRUE(weather.startRoam.empty());
    // The unknown type is ignored; type names compare without regard to case.
    ASSERT_EQ(weather.objects.size(), 3u);
    EXPECT_EQ(weather.objects[0].subKind, weatherKind::Forecast);
    EXPECT_EQ(weather.objects[0].day, 2);
    EXPECT_EQ(weather.objects[0].style, weatherStyle::Icon);
    EXPECT_EQ(weather.objects[1].subKind, weatherKind::Station);
    EXPECT_EQ(weather.objects[1].station, 3);
    EXPECT_EQ(weather.objects[1].style, weatherStyle::Icon);
    EXPECT_EQ(weather.objects[2].subKind, weatherKind::Current);
    EXPECT_EQ(weather.objects[2].style, weatherStyle::Max);
    EXPECT_TRUE(weather.objects[2].showUnit);
}

TEST(HomeLayoutModel, EveryKindAndStyle) {
    const char* kinds[][2] = {{"clock", "0"},         {"cityname", "2"},  {"fullcityname", "7"},
                              {"static", "8"},        {"time", "3"},      {"date", "4"},
                              {"nextalarmicn", "2"},  {"nextalarm", "1"}, {"nextalarmtime", "4"},
                              {"nextalarmname", "3"}, {"weather", "2"},   {"weather_2", "3"},
                              {"weather_curr", "1"}};
    for (const auto& [type, sub] : kinds) {
        LayoutModel model = layoutOf(
            screen("", std::string("<layout name=\"a\"><obj type=\"") + type + "\"/></layout>"));
        ASSERT_EQ(model.layouts.size(), 1u);
        ASSERT_EQ(model.layouts[0].objects.size(), 1u) << type;
        EXPECT_EQ(model.layouts[0].objects[0].subKind, std::stoi(sub)) << type;
    }
    const char* styles[] = {"min",      "max",        "day",         "icon",       "date",
                            "day/date", "comfort",    "stationname", "reporttime", "windspeed",
                            "winddir",  "visibility", "humidity",    "desc",       "windinfo"};
    for (int i = 0; i < 15; ++i) {
        std::wstring name(styles[i], styles[i] + std::strlen(styles[i]));
        EXPECT_EQ(home::weatherStyleOf(name), i + 1) << styles[i];
    }
    EXPECT_EQ(home::weatherStyleOf(L"MinMax"), weatherStyle::Day);
    EXPECT_EQ(home::weatherStyleOf(L"DESC"), weatherStyle::Description);
    EXPECT_EQ(home::weatherStyleOf(L""), weatherStyle::Icon);
}

TEST(HomeLayoutModel, ScalesEveryLengthAtTheWideDisplay) {
    LayoutModel narrow = layoutOf(kTwoTabs, home::layoutScale(240));
    LayoutModel wide = layoutOf(kTwoTabs, home::layoutScale(480));
    EXPECT_EQ(home::layoutScale(320), 1.0);
    EXPECT_EQ(home::layoutScale(321), 2.0);
    EXPECT_EQ(wide.tabHeight, 36);
    EXPECT_EQ(wide.layouts[1].height, 120);
    // Widths name the screen a layout is made for and are not scaled.
    EXPECT_EQ(wide.layouts[1].width, 240);
    EXPECT_EQ(narrow.layouts[1].objects[1].rect, (platform::Rect{60, 22, 160, 42}));
    EXPECT_EQ(wide.layouts[1].objects[1].rect, (platform::Rect{120, 44, 320, 84}));
    // An x of 10 places an object 20 pixels from the left on a 480-pixel-wide work area.
    LayoutModel ten =
        layoutOf(screen("", "<layout><obj type=\"static\" x=\"10\" w=\"5\"/></layout>"),
                 home::layoutScale(480));
    EXPECT_EQ(ten.layouts[0].objects[0].rect.left, 20);
    EXPECT_EQ(ten.layouts[0].objects[0].rect.right, 30);
}

TEST(HomeLayoutModel, NoTabOffsetOnlyWithoutTabs) {
    std::string body =
        "<layout name=\"a\" width=\"240\" height=\"40\">"
        "<obj type=\"static\" x=\"5\" y=\"6\" w=\"20\" h=\"10\" text=\"Hi\"/></layout>";
    LayoutModel plain = layoutOf(screen("professional_notab_xoff=\"20\"", body), 2.0);
    EXPECT_FALSE(plain.hasTabs());
    EXPECT_EQ(plain.noTabOffset, 40);
    EXPECT_EQ(plain.layouts[0].objects[0].rect, (platform::Rect{50, 12, 90, 32}));
    EXPECT_EQ(plain.layouts[0].objects[0].text, L"Hi");
    LayoutModel tabbed =
        layoutOf(screen("professional_notab_xoff=\"20\"",
                        "<obj type=\"tab\" tabname=\"A\" layout=\"a\" id=\"1\"/>" + body),
                 2.0);
    // With tabs the offset is not applied, but the default tab strip (16 units) is.
    EXPECT_EQ(tabbed.tabHeight, 32);
    EXPECT_EQ(tabbed.layouts[0].objects[0].rect, (platform::Rect{10, 44, 50, 64}));
}

TEST(HomeLayoutModel, LaterFontOfTheSameIdWinsAndDefaults) {
    LayoutModel model = layoutOf(screen("",
                                        "<obj type=\"fnt\" name=\"T\" size=\"8\" id=\"3\"/>"
                                        "<obj type=\"FNT\" name=\"T\" size=\"14\" id=\"3\"/>"));
    ASSERT_TRUE(model.font(3));
    EXPECT_EQ(model.font(3)->size, 14);
    EXPECT_FALSE(model.font(4));
    EXPECT_EQ(model.hilite, 100);
    EXPECT_FALSE(model.autoHeight);
    LayoutModel autoHeight = layoutOf(screen("autoheight=\"auto\"", ""));
    EXPECT_FALSE(autoHeight.autoHeight);
    LayoutModel fixedOn = layoutOf(screen("autoheight=\"1\"", ""));
    EXPECT_EQ(fixedOn.autoHeight, true);
}

TEST(HomeLayoutModel, QuotesCommentsAndStrayObjects) {
    LayoutModel model = layoutOf(screen(
        "hilite='40'",
        "<!-- <obj type=\"fnt\" name=\"T\" size=\"8\" id=\"9\"/> -->"
        "<obj type=\"static\" text=\"lost\"/>"
        "<layout name='one' height=\"'30'\"><obj type=\"static\" x='7' text='it&apos;s'/></layout>"
        "<layout name=\"two\"/>"
        "<obj type=\"cityname\" city=\"1\"/>"));
    // A single-quoted number keeps its quotes and reads as 0; text keeps them too.
    EXPECT_EQ(model.hilite, 0);
    EXPECT_TRUE(model.fonts.empty());
    ASSERT_EQ(model.layouts.size(), 2u);
    const home::Layout& one = model.layouts[1];
    EXPECT_EQ(one.name, L"'one'");
    EXPECT_EQ(one.height, 0);
    // The object before any layout went nowhere; the one after the layouts joined the first.
    ASSERT_EQ(one.objects.size(), 2u);
    EXPECT_EQ(one.objects[0].subKind, textKind::CityName);
    EXPECT_EQ(one.objects[1].rect.left, 0);
    EXPECT_EQ(one.objects[1].text, L"'it's'");
    EXPECT_TRUE(model.layouts[0].objects.empty());
}

TEST(HomeLayoutModel, TabAndLayoutChoiceByScreenWidth) {
    LayoutModel model = layoutOf(screen("",
                                        "<obj type=\"tab\" tabname=\"A\" layout=\"a\" id=\"1\"/>"
                                        "<obj type=\"tab\" tabname=\"B\" layout=\"b\" id=\"2\"/>"
                                        "<layout name=\"a\" width=\"240\"/>"
                                        "<layout name=\"a\" width=\"480\"/>"
                                        "<layout name=\"b\" width=\"320\"/>"
                                        "<layout name=\"b\" width=\"640\"/>"));
    // List (newest first): b640, b320, a480, a240.
    ASSERT_EQ(model.layouts.size(), 4u);
    EXPECT_EQ(model.layoutForTab(1, 480), 2u);
    EXPECT_EQ(model.layoutForTab(1, 240), 3u);
    // No layout of the tab's name for the width: the last one of that name in the list.
    EXPECT_EQ(model.layoutForTab(1, 640), 3u);
    EXPECT_EQ(model.layoutForTab(2, 640), 0u);
    // No such tab: the first layout made for the width, else the list's first.
    EXPECT_EQ(model.layoutForTab(7, 240), 3u);
    EXPECT_EQ(model.layoutForTab(7, 999), 0u);
    // Stepping goes through the layouts made for the width, wrapping round.
    EXPECT_EQ(model.nextLayout(3, 240), 3u);
    EXPECT_EQ(model.nextLayout(0, 480), 2u);
    EXPECT_EQ(model.nextLayout(2, 999), 0u);
    EXPECT_FALSE(LayoutModel{}.layoutForTab(1, 240));
    EXPECT_FALSE(LayoutModel{}.nextLayout(0, 240));
}

TEST(HomeLayoutModel, ItemHeightFollowsTheLayoutOrTheTallestOne) {
    // The file fixes the height: the tab strip and the tallest layout, whatever the setting.
    LayoutModel fixed = layoutOf(kTwoTabs);
    auto clock = fixed.layoutForTab(1, 240);
    ASSERT_TRUE(clock);
    EXPECT_EQ(home::itemHeight(fixed, clock, true, 1), 18 + 70);
    // Without the file's choice the setting decides.
    std::string open = kTwoTabs;
    open.erase(open.find("autoheight=\"0\" "), std::strlen("autoheight=\"0\" "));
    LayoutModel model = layoutOf(open);
    ASSERT_FALSE(model.autoHeight);
    EXPECT_EQ(home::itemHeight(model, model.layoutForTab(1, 240), true, 1), 18 + 60);
    EXPECT_EQ(home::itemHeight(model, model.layoutForTab(2, 240), true, 1), 18 + 70);
    EXPECT_EQ(home::itemHeight(model, model.layoutForTab(1, 240), false, 1), 18 + 70);
    // At the wide display every length doubles.
    LayoutModel wide = layoutOf(open, 2.0);
    EXPECT_EQ(home::itemHeight(wide, wide.layoutForTab(1, 480), true, 2), 2 * (18 + 60));
    // Nothing to show keeps a strip of 16 units.
    EXPECT_EQ(home::itemHeight(LayoutModel{}, std::nullopt, true, 2), 32);
    EXPECT_EQ(home::itemHeight(model, std::size_t{9}, true, 1), 16);
}

TEST(HomeLayoutModel, Rotation) {
    home::Layout fifteen;
    fifteen.rotateSeconds = 15;
    home::Layout automatic;
    home::Rotation rotation = home::rotationFor(1, {});
    EXPECT_EQ(home::rotationSeconds(rotation, fifteen), 15);
    EXPECT_EQ(home::rotationSeconds(rotation, automatic), 0);
    // 2 stops every rotation whatever the layout says.
    EXPECT_EQ(home::rotationSeconds(home::rotationFor(2, rotation), fifteen), 0);
    EXPECT_EQ(home::rotationSeconds(home::rotationFor(6, rotation), automatic), 60);
    home::Rotation twenty = home::rotationFor(4, rotation);
    EXPECT_EQ(home::rotationSeconds(home::rotationFor(9, twenty), fifteen), 20);
}

TEST(HomeLayoutFiles, BrokenFilesGiveAnEmptyModel) {
    std::string good = screen("", "<layout name=\"a\"/>");
    EXPECT_FALSE(layoutOf(good).empty());
    // Cut anywhere inside a tag, the file gives nothing at all.
    EXPECT_TRUE(layoutOf(good.substr(0, good.size() - 20)).empty());
    EXPECT_TRUE(layoutOf("<xml><homescreen><layout name=\"a></homescreen></xml>").empty());
    EXPECT_TRUE(layoutOf("<other><homescreen><layout/></homescreen></other>").empty());
    EXPECT_TRUE(layoutOf("").empty());
    // The declaration alone holds the screen as well.
    EXPECT_FALSE(layoutOf("<?xml version=\"1.0\"?><homescreen><layout/></homescreen>").empty());
    EXPECT_EQ(layoutOf("").tabHeight, 16);
}

TEST(HomeLayoutFiles, FileChoiceAndReading) {
    platform::test::useTestDevice();
    EXPECT_EQ(home::layoutFilePath(L"\\Program Files\\Vorn Roamer\\"),
              L"\\Program Files\\Vorn Roamer\\home\\today_default.xml");
    core::writeSetting(home::keys::OptHomeLayout.name, L"\\My Documents\\mine.xml");
    EXPECT_EQ(home::layoutFilePath(L"\\Program Files\\Vorn Roamer\\"), L"\\My Documents\\mine.xml");
    EXPECT_TRUE(home::readLayoutFile(L"\\My Documents\\mine.xml", 1.0).empty());
    std::string text = screen("", "<layout name=\"a\"/>");
    platform::writeFileAtomic(L"\\My Documents\\mine.xml",
                              {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    EXPECT_EQ(home::readLayoutFile(L"\\My Documents\\mine.xml", 1.0).layouts.size(), 1u);
}

}  // namespace

namespace {

TEST(HomeLayoutFiles, UnchangedFileKeepsItsModel) {
    platform::test::useTestDevice();
    const std::wstring path = L"\\cache\\layout.xml";
    auto write = [&](std::string_view text) {
        ASSERT_TRUE(platform::writeFileAtomic(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
    };
    home::LayoutCache cache;
    EXPECT_TRUE(cache.load(path, 1.0));
    EXPECT_TRUE(cache.model().empty());
    EXPECT_FALSE(cache.load(path, 1.0));
    write(screen("", "<layout name=\"a\" height=\"20\"/>"));
    EXPECT_TRUE(cache.load(path, 1.0));
    ASSERT_EQ(cache.model().layouts.size(), 1u);
    const home::Layout* kept = &cache.model().layouts[0];
    EXPECT_FALSE(cache.load(path, 1.0));
    EXPECT_EQ(&cache.model().layouts[0], kept);
    // Another scale, other content of the same size, or a file gone: built again.
    EXPECT_TRUE(cache.load(path, 2.0));
    EXPECT_EQ(cache.model().layouts[0].height, 40);
    write(screen("", "<layout name=\"b\" height=\"20\"/>"));
    EXPECT_TRUE(cache.load(path, 2.0));
    EXPECT_EQ(cache.model().layouts[0].name, L"b");
    platform::deleteFile(path);
    EXPECT_TRUE(cache.load(path, 2.0));
    EXPECT_TRUE(cache.model().empty());
}

}  // namespace
