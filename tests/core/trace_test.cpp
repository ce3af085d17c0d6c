// Start-up trace labels: collected in order by a test collector, and
// written to the device log when VORN_TRACE=1.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/trace.h"
#include "tests/platform/support/test_device.h"

namespace {

std::string deviceLog() {
    std::ifstream in(platform::test::useTestDevice() / ".device" / "log" / "device.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs first: the environment is read once, at the first label.
TEST(Trace, EnvironmentSwitchWritesTheDeviceLog) {
    platform::test::useTestDevice();
    ::setenv("VORN_TRACE", "1", 1);
    core::traceLabel("initlang complete");
    EXPECT_TRUE(core::traceEnabled());
    EXPECT_NE(deviceLog().find("trace: initlang complete"), std::string::npos);
}

TEST(Trace, CollectorSeesLabelsInOrderInsteadOfTheLog) {
    std::vector<std::string> labels;
    auto previous = core::setTraceCollector([&](std::string_view l) { labels.emplace_back(l); });
    core::traceLabel("starting");
    core::traceLabel("window created");
    core::setTraceCollector(previous);
    EXPECT_EQ(labels, (std::vector<std::string>{"starting", "window created"}));
    EXPECT_EQ(deviceLog().find("window created"), std::string::npos);
}

}  // namespace
