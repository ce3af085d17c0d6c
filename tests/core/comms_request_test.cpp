// A screen's own request followed through the comms program's reports: reports of the
// program's other work (scheduled updates) are never taken for the screen's answer.

#include <gtest/gtest.h>

#include <vector>

#include "core/comms.h"
#include "core/comms_request.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"

namespace core {
namespace {

struct Seen {
    std::vector<bool> busy;
    std::vector<bool> answers;
};

CommsRequestWatch watchInto(Seen& seen) {
    return CommsRequestWatch({[&](bool busy) { seen.busy.push_back(busy); },
                              [&](bool success) { seen.answers.push_back(success); }});
}

TEST(CommsRequestWatch, OnlyTheScreensOwnRequestIsAnswered) {
    Seen seen;
    CommsRequestWatch watch = watchInto(seen);
    // A scheduled update: busy while it runs, no answer.
    EXPECT_TRUE(watch.report(commsReport::Started, 0));
    EXPECT_TRUE(watch.report(commsReport::Done, 1));
    EXPECT_TRUE(watch.report(commsReport::Ended, 0));
    EXPECT_TRUE(seen.answers.empty());
    EXPECT_EQ(seen.busy, (std::vector<bool>{true, false}));

    // The screen's request: answered once, with the program's success or failure.
    seen = {};
    watch.sent();
    EXPECT_TRUE(watch.pending());
    watch.report(commsReport::Started, 0);
    watch.report(commsReport::Done, 0);
    watch.report(commsReport::Done, 1);  // a later request of someone else
    EXPECT_EQ(seen.answers, (std::vector<bool>{false}));
    EXPECT_FALSE(watch.pending());
    EXPECT_EQ(seen.busy.back(), false);
}

TEST(CommsRequestWatch, EndingOrWithdrawingLeavesNothingPending) {
    Seen seen;
    CommsRequestWatch watch = watchInto(seen);
    watch.sent();
    watch.report(commsReport::Ended, 0);
    EXPECT_FALSE(watch.pending());
    watch.report(commsReport::Done, 1);
    EXPECT_TRUE(seen.answers.empty()) << "a request the program ended without answering";

    watch.sent();
    watch.withdrawn();
    watch.report(commsReport::Done, 1);
    EXPECT_TRUE(seen.answers.empty());
    // A rebuilt screen carries on with its predecessor's request.
    watch.carryOn(true);
    watch.report(commsReport::Done, 1);
    EXPECT_EQ(seen.answers, (std::vector<bool>{true}));
    EXPECT_FALSE(watch.report(99, 0)) << "not a report of the program";
}

TEST(CommsRequestWatch, AnAnswerOnItsWayWhenTheProgramIsGoneIsStillTaken) {
    platform::test::useTestDevice();
    platform::test::TestClock clock(*platform::toFileTime({2026, 12, 3, 9, 10, 0, 0, 0}));
    settings::write(keys::SchedulerStatus, 0);  // the program has ended
    Seen seen;
    CommsRequestWatch watch = watchInto(seen);
    watch.sent();
    EXPECT_FALSE(watch.withdrawIfGone()) << "its last reports may still come";
    platform::advanceClockOverride(300);
    EXPECT_FALSE(watch.withdrawIfGone());
    watch.report(commsReport::Done, 1);
    EXPECT_EQ(seen.answers, (std::vector<bool>{true}));

    // A program that went away without answering withdraws the request after the grace.
    seen = {};
    watch.sent();
    EXPECT_FALSE(watch.withdrawIfGone());
    platform::advanceClockOverride(
        std::chrono::milliseconds(CommsRequestWatch::kGoneGrace).count() - 1);
    EXPECT_FALSE(watch.withdrawIfGone());
    platform::advanceClockOverride(1);
    EXPECT_TRUE(watch.withdrawIfGone());
    EXPECT_FALSE(watch.pending());
    EXPECT_EQ(seen.busy.back(), false);
    watch.report(commsReport::Done, 1);
    EXPECT_TRUE(seen.answers.empty());
}

}  // namespace
}  // namespace core
