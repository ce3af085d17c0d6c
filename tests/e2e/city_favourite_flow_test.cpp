// The city screen driven as a person would, with the stylus and the keys only: open it from
// the main menu, type part of a name into the filter, pick the city, make it a favourite,
// open the editor from the menu and give the city another zone. The files in the install
// folder and the registry tell what happened.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// Reykjavík's city code and its zone in the shipped list (UTC+00:00).
const std::string kReykjavik = "IS3413829";

// Points on a 240x320 screen: the window starts below the 26-pixel task bar. The main menu
// has its group cells in a column from 2,2 (39 pixels each) and its entries in two columns
// of 72 x 82 from 47,6; the city screen's layout is in 240-pixel coordinates.
constexpr int kTaskBar = 26;
const std::pair<int, int> kFirstGroup{21, kTaskBar + 2 + 19};
const std::pair<int, int> kSecondGroup{21, kTaskBar + 2 + 39 + 19};
const std::pair<int, int> kFirstEntry{47 + 36, kTaskBar + 6 + 30};
const std::pair<int, int> kSecondEntry{47 + 72 + 36, kTaskBar + 6 + 30};
const std::pair<int, int> kCitiesEntry = kSecondEntry;
const std::pair<int, int> kFilterField{60, kTaskBar + 14};
const std::pair<int, int> kFirstCityRow{100, kTaskBar + 28 + 16};
const std::pair<int, int> kFavouriteButton{120, kTaskBar + 254};
const std::pair<int, int> kEditOkButton{60, kTaskBar + 254};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The line of a city in a city file, empty when it is not there.
std::string cityLine(const std::filesystem::path& file, const std::string& code) {
    std::string text = readFile(file);
    std::size_t at = text.find("~" + code + "~");
    if (at == std::string::npos)
        return {};
    std::size_t start = text.rfind('\n', at);
    start = start == std::string::npos ? 0 : start + 1;
    return text.substr(start, text.find_first_of("\r\n", at) - start);
}

class CityFavouriteFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        startProgram(10);
        install_ = device_.root() / "Program Files" / "Vorn Roamer";
    }

    std::vector<std::string> favouriteNames() {
        std::vector<std::string> names;
        std::string text = readFile(install_ / "mycities.dat");
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            std::string line = text.substr(start, end == std::string::npos ? end : end - start);
            std::size_t name = line.find('~');
            if (name != std::string::npos)
                names.push_back(line.substr(name + 1, line.find('~', name + 1) - name - 1));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return names;
    }

    std::filesystem::path install_;
};

TEST_F(CityFavouriteFlowTest, FilterChooseMakeFavouriteAndChangeTheZone) {
    // The cities screen from the main menu's first group.
    key("softleft");
    tap(kFirstGroup);
    tap(kCitiesEntry);
    ASSERT_TRUE(waitUntil([&] { return module() == 98; }));
    ASSERT_EQ(cityLine(install_ / "mycities.dat", kReykjavik), "");
    std::string listed = cityLine(install_ / "citylist.dat", kReykjavik);
    ASSERT_EQ(listed.substr(0, 3), "25~");

    // Part of the name in the filter leaves Reykjavík at the top; a tap selects it and the
    // button below makes it a favourite.
    tap(kFilterField);
    ask({"type", "reykjav"});
    tap(kFirstCityRow);
    tap(kFavouriteButton);
    ASSERT_TRUE(
        waitUntil([&] { return !cityLine(install_ / "mycities.dat", kReykjavik).empty(); }));
    EXPECT_EQ(cityLine(install_ / "mycities.dat", kReykjavik).rfind("25~Reykjavík~", 0), 0u);
    EXPECT_EQ(registryValue("OptHomeLayoutReload"), "1");

    // The menu of the right soft key, walked with the keys: sort by name, country, zone,
    // favourites only, the favourite toggle, then "Edit city".
    key("softright");
    for (int i = 0; i < 6; ++i) key("down");
    key("enter");
    // Down leaves the name field for the zone list, where the city's zone is selected, and
    // moves on to the next zone.
    key("down");
    key("down");
    tap(kEditOkButton);
    ASSERT_TRUE(waitUntil(
        [&] { return cityLine(install_ / "mycities.dat", kReykjavik).substr(0, 3) != "25~"; }));
    std::string favourite = cityLine(install_ / "mycities.dat", kReykjavik);
    std::string zone = favourite.substr(0, favourite.find('~'));
    EXPECT_NE(zone, "25");
    EXPECT_EQ(favourite.substr(zone.size()),
              "~Reykjavík~Iceland~64.1355~-21.8954~"
              "Atlantic/Reykjavik~IS3413829~1~Scandinavia~118918");
    EXPECT_EQ(cityLine(install_ / "citylist.dat", kReykjavik).substr(0, zone.size() + 1),
              zone + "~");
    EXPECT_EQ(module(), 98) << "the editor returns to the list";

    // Back leaves the screen for the one it came from.
    key("back");
    EXPECT_TRUE(waitUntil([&] { return module() == 10; }));

    // The new favourite is the last row of the world time list; Right moves it above Sydney.
    key("softleft");
    tap(kSecondGroup);
    tap(kFirstEntry);
    ASSERT_TRUE(waitUntil([&] { return module() == 20; }));
    ASSERT_EQ(favouriteNames(), (std::vector<std::string>{"London", "New York City", "Tokyo",
                                                          "Sydney", "Paris", "Reykjavík"}));
    for (int i = 0; i < 5; ++i) key("down");
    key("right");
    key("right");
    ASSERT_TRUE(waitUntil([&] { return favouriteNames()[3] == "Reykjavík"; }));
    EXPECT_EQ(favouriteNames(), (std::vector<std::string>{"London", "New York City", "Tokyo",
                                                          "Reykjavík", "Sydney", "Paris"}));

    // On the daylight map Left steps back from London to the last favourite and on to
    // Reykjavík, which becomes the current city with the ring around it.
    key("softleft");
    tap(kSecondGroup);
    tap(kSecondEntry);
    ASSERT_TRUE(waitUntil([&] { return module() == 21; }));
    for (int i = 0; i < 3; ++i) key("left");
    EXPECT_TRUE(waitUntil([&] { return registryValue("FavCity") == "4"; }))
        << registryValue("FavCity");
}

}  // namespace
