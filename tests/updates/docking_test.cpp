// Docking updates: the cradle registration follows the option, and putting the device in its
// cradle starts the comms program once per docking.

#include <gtest/gtest.h>

#include "core/settings.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/state_notifications.h"
#include "tests/updates/support/updates_test_support.h"
#include "updates/docking.h"

using namespace updates;

namespace {

void setCradled(std::uint32_t value) {
    auto key = platform::RegistryKey::create(platform::Hive::LocalMachine, kCradleKey);
    ASSERT_TRUE(key && key->setDword(kCradleValue, value));
}

class DockingTest : public ::testing::Test {
  protected:
    void SetUp() override { updates::test::prepareDevice(); }
};

}  // namespace

TEST_F(DockingTest, RegistersTheCommsProgramOnTheCradleValueByDefault) {
    ASSERT_TRUE(setDockingUpdates());
    auto all = platform::stateNotifications();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, L"VornRoamerCradled");
    EXPECT_EQ(all[0].hive, platform::Hive::LocalMachine);
    EXPECT_EQ(all[0].key, L"System\\State\\Hardware");
    EXPECT_EQ(all[0].value, L"Cradled");
    EXPECT_EQ(all[0].application, L"\\windows\\vornroamer3_sched.exe");
    EXPECT_EQ(all[0].condition, platform::StateCondition::Equal);
    EXPECT_EQ(all[0].target, 1u);
    EXPECT_EQ(all[0].mask, 0xFFFFFFFFu);
}

TEST_F(DockingTest, SwitchingOffRemovesTheRegistrationAndOldEventRecords) {
    platform::NotificationRecord old;
    old.kind = platform::NotificationKind::Event;
    old.event = platform::NotificationEvent::Rs232Detected;
    old.application = L"\\windows\\vornroamer3_sched.exe";
    old.arguments = L"AppRunAtRs232Detect";
    ASSERT_NE(platform::setUserNotification(0, old), 0u);
    ASSERT_TRUE(setDockingUpdates());
    core::writeNumberSetting(L"OptSchedDocking", 2);
    ASSERT_TRUE(setDockingUpdates());
    EXPECT_TRUE(platform::stateNotifications().empty());
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_FALSE(dockingUpdatesRegistered());
}

TEST_F(DockingTest, RegisteringTwiceLeavesOneRegistration) {
    setDockingUpdates();
    setDockingUpdates();
    EXPECT_EQ(platform::stateNotifications().size(), 1u);
}

TEST_F(DockingTest, DockingStartsTheCommsProgramOncePerDocking) {
    setCradled(0);
    ASSERT_TRUE(setDockingUpdates());
    EXPECT_TRUE(platform::runStateNotifications().empty()) << "nothing changed yet";
    setCradled(1);
    auto runs = platform::runStateNotifications();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].record.application, L"\\windows\\vornroamer3_sched.exe");
    EXPECT_EQ(runs[0].outcome, platform::NotificationOutcome::Started);
    // Staying in the cradle starts nothing more; a second docking starts it again.
    EXPECT_TRUE(platform::runStateNotifications().empty());
    setCradled(0);
    EXPECT_TRUE(platform::runStateNotifications().empty());
    setCradled(1);
    EXPECT_EQ(platform::runStateNotifications().size(), 1u);
    EXPECT_EQ(updates::test::commsStarts(2), 2);
}

TEST_F(DockingTest, RegisteringWhileDockedWaitsForTheNextDocking) {
    setCradled(1);
    ASSERT_TRUE(setDockingUpdates());
    EXPECT_TRUE(platform::runStateNotifications().empty());
}

TEST_F(DockingTest, AStartThatFindsTheRegistrationKeepsADockingNotYetActedOn) {
    setCradled(0);
    ASSERT_TRUE(setDockingUpdates());
    setCradled(1);
    // The main program starts again before the notification service has run.
    ASSERT_TRUE(setDockingUpdates());
    EXPECT_EQ(platform::runStateNotifications().size(), 1u);
}

TEST_F(DockingTest, NothingStartsWhenSwitchedOff) {
    core::writeNumberSetting(L"OptSchedDocking", 2);
    setDockingUpdates();
    setCradled(1);
    EXPECT_TRUE(platform::runStateNotifications().empty());
    EXPECT_EQ(updates::test::commsStarts(0), 0);
}

TEST(StateCondition, ComparesTheMaskedValueWithTheTarget) {
    platform::StateNotification n;
    n.target = 0x10;
    n.mask = 0xF0;
    n.condition = platform::StateCondition::Equal;
    EXPECT_TRUE(platform::meetsStateCondition(n, 0x1F));
    EXPECT_FALSE(platform::meetsStateCondition(n, 0x20));
    n.condition = platform::StateCondition::Greater;
    EXPECT_TRUE(platform::meetsStateCondition(n, 0x20));
    EXPECT_FALSE(platform::meetsStateCondition(n, 0x1F));
    n.condition = platform::StateCondition::LessOrEqual;
    EXPECT_TRUE(platform::meetsStateCondition(n, 0x1F));
    n.condition = platform::StateCondition::NotEqual;
    EXPECT_FALSE(platform::meetsStateCondition(n, 0x11));
}

TEST(StateRegistration, RefusesIncompleteRegistrations) {
    updates::test::prepareDevice();
    platform::StateNotification n;
    n.name = L"x";
    n.key = L"k";
    n.value = L"v";
    EXPECT_FALSE(platform::registryNotifyApp(n)) << "no application";
    n.application = L"\\windows\\a.exe";
    n.condition = static_cast<platform::StateCondition>(9);
    EXPECT_FALSE(platform::registryNotifyApp(n)) << "unknown condition";
    n.condition = platform::StateCondition::Equal;
    EXPECT_TRUE(platform::registryNotifyApp(n));
    EXPECT_TRUE(platform::registryStopNotification(L"X")) << "names ignore case";
    EXPECT_FALSE(platform::registryStopNotification(L"x"));
}
