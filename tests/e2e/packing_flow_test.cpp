// A traveller packs for the beach: a new list from the beach template, made with the stylus
// and the keys, two items ticked, saved with Done; `vorn pack show` then prints the same ticks
// from the same file. The program tells its page and rows through `ctl app packing`.

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// A 240x320 screen: the window starts below the 26-pixel task bar. The overview rows are 34
// pixels high below the 30-pixel heading; on the items page the heading with its counts is
// 58 pixels high and the rows 22, the tick box in their first 22 pixels.
constexpr int kTaskBar = 26;
constexpr int kPacking = 53;

int overviewRowY(int row) {
    return kTaskBar + 32 + 1 + (row - 1) * 34 + 17;
}

int itemRowY(int row) {
    return kTaskBar + 60 + 1 + (row - 1) * 22 + 11;
}

class PackingFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string",
             std::to_string(kPacking)});
        startProgram(kPacking);
    }
    std::string screen() { return ask({"app", "packing"}); }
    bool waitForPage(int page) {
        std::string prefix = "page " + std::to_string(page);
        return waitUntil([&] { return screen().rfind(prefix, 0) == 0; });
    }
};

TEST_F(PackingFlowTest, AListFromTheBeachTemplateWithTicksShowsInVorn) {
    ASSERT_TRUE(waitForPage(1)) << screen();
    // The first row, "New List", is chosen: a tap opens the templates.
    tap(120, overviewRowY(1));
    ASSERT_TRUE(waitForPage(2)) << screen();
    EXPECT_NE(screen().find("\nBeach holiday | 28 items, 0 packed"), std::string::npos) << screen();
    // Beach holiday is the second row: one tap chooses it, a second one takes it.
    tap(120, overviewRowY(2));
    tap(120, overviewRowY(2));
    ASSERT_TRUE(waitForPage(5)) << screen();
    ask({"type", "Crete"});
    key("softleft");
    ASSERT_TRUE(waitForPage(3)) << screen();
    std::string items = screen();
    EXPECT_EQ(items.rfind("page 3 Crete; selected 2\n# Documents (4)\n[ ] Passport\n", 0), 0u)
        << items;

    // The stylus on Passport's tick box, then the keys: down to Tickets and Enter.
    tap(11, itemRowY(2));
    ASSERT_TRUE(waitUntil([&] { return screen().find("[x] Passport") != std::string::npos; }))
        << screen();
    key("down");
    key("enter");
    ASSERT_TRUE(waitUntil([&] { return screen().find("[x] Tickets") != std::string::npos; }))
        << screen();
    key("softleft");
    ASSERT_TRUE(waitForPage(1)) << screen();
    EXPECT_NE(screen().find("\nCrete | 28 items, 2 packed"), std::string::npos) << screen();

    CommandResult cli = runCommand(builtProgram("vorn"), {"pack", "show", "Crete"},
                                   {"VORN_DEVICE=" + device_.root().string()});
    ASSERT_EQ(cli.exitCode, 0) << cli.out;
    EXPECT_EQ(cli.out.rfind("Crete (Crete.lst): 28 items, 2 packed\nDocuments (4)\n"
                            "  [x] Passport\n  [x] Tickets\n  [ ] Travel insurance\n",
                            0),
              0u)
        << cli.out;
    EXPECT_NE(cli.out.find("  [ ] Snorkel\n"), std::string::npos) << cli.out;
}

}  // namespace
