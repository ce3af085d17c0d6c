// `vorn pack` on a device with packing lists: the overview with the status texts, one list
// by category with its ticks and flags, JSON, the German texts, and names it does not know.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "core/settings.h"
#include "core/settings_keys.h"
#include "tests/packing/packing_test_folder.h"
#include "tests/platform/support/vorn_command.h"

namespace travel::test {
namespace {

using Outcome = platform::test::VornOutcome;

Outcome vorn(const std::string& arguments) {
    return platform::test::runVorn(arguments);
}

class VornPack : public PackingFolderTest {
  protected:
    void SetUp() override {
        PackingFolderTest::SetUp();
        core::settings::write(core::keys::OptLang, L"0409");
        PackingList crete(L"Crete:list_beach.tga", L"Crete.lst",
                          {{true, false, L"Passport", L"Documents"},
                           {false, true, L"Snorkel", L"Beach"},
                           {false, false, L"Tickets", L"Documents"},
                           {true, false, L"Lucky coin", L""}});
        ASSERT_TRUE(crete.save(packingFolder(kMainPath)));
    }
};

TEST_F(VornPack, ListShowsListsAndTemplatesWithTheirStatus) {
    Outcome run = vorn("pack list");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("Lists:\n  Crete"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("4 items, 2 packed"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Templates:"), std::string::npos);
    EXPECT_NE(run.out.find("With children"), std::string::npos);

    Outcome json = vorn("pack list --json");
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_NE(json.out.find("{\"lists\":[{\"name\":\"Crete\",\"file\":\"Crete.lst\",\"icon\":"
                            "\"list_beach.tga\",\"items\":4,\"packed\":2,\"status\":\"4 items, 2 "
                            "packed\"}],\"templates\":["),
              std::string::npos)
        << json.out;
}

TEST_F(VornPack, ShowGroupsTheItemsWithTheirTicksAndFlags) {
    Outcome run = vorn("pack show crete");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out,
              "Crete (Crete.lst): 4 items, 2 packed\n"
              "Documents (2)\n"
              "  [x] Passport\n"
              "  [ ] Tickets\n"
              "Beach (1)\n"
              "  [ ] Snorkel  (marked)\n"
              "No category (1)\n"
              "  [x] Lucky coin\n");
    Outcome json = vorn("pack show Crete.lst --json");
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_NE(
        json.out.find("\"flagged\":1,\"status\":\"4 items, 2 packed\",\"entries\":[{\"text\":"
                      "\"Passport\",\"category\":\"Documents\",\"packed\":true,\"flagged\":false}"),
        std::string::npos)
        << json.out;
}

TEST_F(VornPack, TemplatesShowWhenNoListHasTheName) {
    Outcome run = vorn("pack show 'beach holiday'");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Beach holiday (Beach holiday.tmp): ", 0), 0u) << run.out;
}

TEST_F(VornPack, TextsFollowTheLanguage) {
    core::settings::write(core::keys::OptLang, L"0407");
    Outcome run = vorn("pack show Crete");
    core::settings::write(core::keys::OptLang, L"0409");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("4 Sachen, 2 gepackt"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Ohne Kategorie (1)"), std::string::npos) << run.out;
}

TEST_F(VornPack, UnknownNamesAndWrongArgumentsAreUsageErrors) {
    EXPECT_EQ(vorn("pack show Atlantis").exitCode, 2);
    EXPECT_EQ(vorn("pack").exitCode, 2);
    EXPECT_EQ(vorn("pack show").exitCode, 2);
    EXPECT_EQ(vorn("pack delete Crete").exitCode, 2);
    Outcome json = vorn("pack show '../lang/lang' --json");
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_NE(json.out.find("\"error\""), std::string::npos);
}

TEST_F(VornPack, AnEmptyFileIsNoList) {
    // It is left out of the overview, so it is not listed and its name is unknown.
    writeFile("Empty.lst", "");
    EXPECT_EQ(vorn("pack show Empty").exitCode, 2);
    Outcome run = vorn("pack list");
    EXPECT_EQ(run.out.find("Empty"), std::string::npos);
}

}  // namespace
}  // namespace travel::test
