// The travel screens driven as a traveller would: on the airport codes screen a person sorts
// by airport name, types "zur" and reads Zürich's code; from the airline list they open the
// flight status for Swiss, type a flight number and query it; the stand-in comms program
// answers with a delayed flight, whose estimated times and status the screen and `vorn flight`
// show. The program tells its screens through `ctl app codes` and `ctl app flights`.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/e2e/support/main_program_session.h"
#include "tests/platform/support/test_device.h"

using namespace e2e;

namespace {

constexpr int kTaskBar = 26;
// The flight number field of the query form, 240x320.
const std::pair<int, int> kNumberField{6 + 55, kTaskBar + 142 + 10};

class FlightFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        std::filesystem::path root = device_.root();
        std::filesystem::create_directories(root / "windows");
        // The stand-in answers the flight request in place of the installed comms program.
        std::filesystem::remove(root / "windows" / "vornroamer3_sched.exe");
        std::filesystem::create_symlink(platform::test::builtProgram("vorn_fake_comms"),
                                        root / "windows" / "vornroamer3_sched.exe");
        ask({"reg", "set", "HKCU", kSettingsKey, "FakeCommsDelayMs", "--string", "800"});
        startProgram(10);
    }
    void openModule(int id) {
        ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", std::to_string(id)});
        ASSERT_TRUE(waitForModule(id)) << device_.deviceLog();
    }
    void menuCommand(int id) {
        ask({"post", "--class", "Vorn Roamer", "WM_COMMAND", std::to_string(id)});
    }
    std::string codes() { return ask({"app", "codes"}); }
    std::string flights() { return ask({"app", "flights"}); }
};

TEST_F(FlightFlowTest, TypingZurFindsZurichAndItsCode) {
    openModule(52);
    menuCommand(102);  // sort by airport
    ASSERT_TRUE(waitUntil([&] { return codes().find("sort 2") != std::string::npos; })) << codes();
    key("z");
    key("u");
    key("r");
    ASSERT_TRUE(waitUntil([&] { return codes().find("Code: ZRH") != std::string::npos; }))
        << codes();
    EXPECT_NE(codes().find("Airport: Zürich Airport"), std::string::npos) << codes();
    EXPECT_NE(codes().find("City: Zurich, Switzerland"), std::string::npos) << codes();

    CommandResult cli = runCommand(builtProgram("vorn"), {"airport", "zur"},
                                   {"VORN_DEVICE=" + device_.root().string()});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    EXPECT_EQ(cli.out.rfind("ZRH  Zürich Airport  (Zurich, Switzerland)\n", 0), 0u) << cli.out;
}

TEST_F(FlightFlowTest, AQueriedDelayedFlightShowsItsEstimatedTimesAndStatus) {
    openModule(52);
    menuCommand(104);  // the airlines
    ASSERT_TRUE(waitUntil([&] { return codes().rfind("airlines", 0) == 0; })) << codes();
    key("s");
    key("w");
    ASSERT_TRUE(waitUntil([&] { return codes().find("Airline: Swiss") != std::string::npos; }))
        << codes();
    key("enter");
    ASSERT_TRUE(waitForModule(51)) << device_.deviceLog();

    tap(kNumberField);
    ask({"type", "318"});
    // "Query", the first entry of the right soft key's menu.
    key("softright");
    key("down");
    key("enter");
    ASSERT_TRUE(waitUntil([&] { return registryValue("FakeCommsRequest") == "/flighthistory"; }))
        << flights();
    EXPECT_EQ(registryValue("FltHstRequest").rfind("LX~318~", 0), 0u)
        << registryValue("FltHstRequest");
    ASSERT_TRUE(waitUntil([&] {
        std::string s = flights();
        return s.find("busy 0") != std::string::npos && s.find("LX - Swiss") != std::string::npos &&
               s.find("Estimated:") != std::string::npos;
    })) << flights();
    std::string shown = flights();
    for (const char* text : {"Estimated: Mon, Mar 01 08:35", "Estimated: Mon, Mar 01 09:20",
                             "Status: Scheduled, flight time 1 h 45 min", "Gate: A52, terminal 1",
                             "Baggage claim: N/A"})
        EXPECT_NE(shown.find(text), std::string::npos) << text << "\n" << shown;

    // The command line reads the saved flight by the same rules.
    CommandResult cli = runCommand(builtProgram("vorn"), {"flight", "Swiss", "318"},
                                   {"VORN_DEVICE=" + device_.root().string()});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    for (const char* text :
         {"Estimated: Mon, Mar 01 08:35", "Status: Scheduled, flight time 1 h 45 min"})
        EXPECT_NE(cli.out.find(text), std::string::npos) << text << "\n" << cli.out;
}

}  // namespace
