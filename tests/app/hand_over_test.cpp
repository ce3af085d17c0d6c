// The hand-over file between a second start of the main program and the running instance.

#include <gtest/gtest.h>

#include <string>

#include "app/hand_over.h"
#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"

namespace {

const std::wstring kMainPath = L"\\Program Files\\Vorn Roamer\\";

class HandOver : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        platform::createFolder(kMainPath);
    }
};

TEST_F(HandOver, TheLineSurvivesTheTripAndTheFileIsDeletedAfterReading) {
    ASSERT_TRUE(app::writeHandOver(kMainPath, L"/homescreen"));
    EXPECT_TRUE(platform::fileExists(kMainPath + L"trigger.inf"));
    auto line = app::takeHandOver(kMainPath);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, L"/homescreen");
    EXPECT_FALSE(platform::fileExists(kMainPath + L"trigger.inf"));
    // Reading again finds nothing: every read deletes the file.
    EXPECT_FALSE(app::takeHandOver(kMainPath).has_value());
}

TEST_F(HandOver, LongLinesAreCutAndOnlyTheFirstLineCounts) {
    std::wstring longLine(300, L'x');
    longLine[253] = L'\u00e9';  // a two-byte character right at the limit
    ASSERT_TRUE(app::writeHandOver(kMainPath, longLine));
    auto line = app::takeHandOver(kMainPath);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->size(), app::kHandOverLineLimit);
    EXPECT_EQ(line->back(), L'\u00e9');

    ASSERT_TRUE(app::writeHandOver(kMainPath, L"first\r\nsecond"));
    EXPECT_EQ(app::takeHandOver(kMainPath).value_or(L"?"), L"first");
}

TEST_F(HandOver, UnreadableContentIsIgnoredAndRemoved) {
    const std::uint8_t binary[] = {'/', 'h', 0, 0xFF, 0xFE, '\n'};
    ASSERT_TRUE(platform::writeFileAtomic(kMainPath + L"trigger.inf", binary));
    EXPECT_FALSE(app::takeHandOver(kMainPath).has_value());
    EXPECT_FALSE(platform::fileExists(kMainPath + L"trigger.inf"));

    // A huge file is read only as far as a line can reach.
    std::string big(1 << 20, 'a');
    ASSERT_TRUE(
        platform::writeFileAtomic(kMainPath + L"trigger.inf",
                                  {reinterpret_cast<const std::uint8_t*>(big.data()), big.size()}));
    auto line = app::takeHandOver(kMainPath);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->size(), app::kHandOverLineLimit);
}

}  // namespace
