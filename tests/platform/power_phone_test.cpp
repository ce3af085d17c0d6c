// Power state, the backlight requirement of live processes, the LEDs and the vibrator, the
// phone status and watching registry values for change, also when another process changes
// them.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/api/phone.h"
#include "platform/api/power.h"
#include "platform/api/registry.h"
#include "platform/device/state_store.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// Children of the tests below. A holder takes the backlight and keeps it until the file
// named by VORN_HOLDER_UNTIL appears; a setter sets the phone status and ends.
const bool kIsChild = [] {
    if (const char* until = std::getenv("VORN_HOLDER_UNTIL")) {
        setPowerRequirement(L"BKL1:", DevicePowerState::D0);
        for (int i = 0; i < 3000 && !fs::exists(until); ++i) ::usleep(10000);
        std::_Exit(0);  // ends without releasing it
    }
    if (const char* status = std::getenv("VORN_PHONE_SETTER")) {
        setPhoneStatus(static_cast<std::uint32_t>(std::strtoul(status, nullptr, 0)));
        state::Store::closeInstance();
        std::_Exit(0);
    }
    return false;
}();

template <class Condition>
bool eventually(Condition condition, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class Power : public ::testing::Test {
  protected:
    void SetUp() override { root_ = test::useTestDevice(); }
    fs::path root_;
};

TEST_F(Power, SystemPowerStateKeepsKnownFlagsOnly) {
    EXPECT_EQ(systemPowerState(), kPowerStateOn);
    EXPECT_TRUE(setSystemPowerState(kPowerStateOn | kPowerStateBacklightOn, false));
    EXPECT_EQ(systemPowerState(), kPowerStateOn | kPowerStateBacklightOn);
    EXPECT_FALSE(setSystemPowerState(0, false));
    EXPECT_FALSE(setSystemPowerState(0x4, true));
    EXPECT_EQ(systemPowerState(), kPowerStateOn | kPowerStateBacklightOn);
    EXPECT_TRUE(setSystemPowerState(kPowerStateOn, true));
}

TEST_F(Power, TheBacklightIsHeldWhileALiveProcessRequiresIt) {
    EXPECT_FALSE(backlightHeld());
    EXPECT_EQ(setPowerRequirement(L"", DevicePowerState::D0), 0u);
    EXPECT_EQ(setPowerRequirement(L"BKL1:", static_cast<DevicePowerState>(7)), 0u);
    // Another device, or the backlight at less than full power, does not hold it.
    PowerRequirementHandle audio = setPowerRequirement(L"WAV1:", DevicePowerState::D0);
    PowerRequirementHandle dim = setPowerRequirement(L"BKL1:", DevicePowerState::D2);
    ASSERT_NE(audio, 0u);
    ASSERT_NE(dim, 0u);
    EXPECT_FALSE(backlightHeld());
    PowerRequirementHandle full = setPowerRequirement(L"bkl1:", DevicePowerState::D0);
    ASSERT_NE(full, 0u);
    EXPECT_TRUE(backlightHeld());
    EXPECT_TRUE(releasePowerRequirement(full));
    EXPECT_FALSE(releasePowerRequirement(full));
    EXPECT_FALSE(backlightHeld());
    releasePowerRequirement(audio);
    releasePowerRequirement(dim);

    // A requirement counts while its process runs, and not after it ended without releasing.
    fs::path until = root_ / "holder-may-end";
    pid_t holder = test::spawnSelfOnDevice(root_, {"VORN_HOLDER_UNTIL=" + until.string()});
    ASSERT_GT(holder, 0);
    EXPECT_TRUE(eventually([] { return backlightHeld(); }));
    { std::ofstream(until) << "go"; }
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_FALSE(backlightHeld());
}

TEST_F(Power, TwoLedsOfWhichTheSecondVibrates) {
    ASSERT_EQ(ledCount(), 2);
    ASSERT_TRUE(ledInfo(0));
    EXPECT_EQ(ledInfo(0)->cycleAdjust, 0);
    ASSERT_TRUE(ledInfo(1));
    EXPECT_EQ(ledInfo(1)->cycleAdjust, -1);
    EXPECT_FALSE(ledInfo(2));
    EXPECT_FALSE(ledInfo(-1));
    EXPECT_EQ(ledState(1), 0);
    EXPECT_TRUE(setLedState(1, 1));
    EXPECT_EQ(ledState(1), 1);
    EXPECT_EQ(ledState(0), 0);
    EXPECT_TRUE(setLedState(0, 2));
    EXPECT_EQ(ledState(0), 2);
    EXPECT_FALSE(setLedState(2, 1));
    EXPECT_FALSE(setLedState(1, 3));
    EXPECT_EQ(ledState(1), 1);
    EXPECT_TRUE(setLedState(1, 0));
    EXPECT_EQ(ledState(1), 0);
}

class Phone : public Power {};

TEST_F(Phone, StatusIsTheRegistryValue) {
    EXPECT_EQ(phoneStatus(), 0u);
    setPhoneStatus(kPhoneIncomingCall);
    EXPECT_EQ(phoneStatus(), kPhoneIncomingCall);
    auto key = RegistryKey::open(Hive::LocalMachine, L"System\\State\\Phone");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->queryDword(L"Status"), kPhoneIncomingCall);
    key->setDword(L"Status", kPhoneCallInProgress);
    EXPECT_EQ(phoneStatus(), kPhoneCallInProgress);
    setPhoneStatus(0);
}

TEST_F(Phone, WatchesReportEachChangeOnce) {
    setPhoneStatus(0);
    std::mutex mutex;
    std::vector<std::uint32_t> seen;
    auto count = [&] {
        std::lock_guard lock(mutex);
        return seen.size();
    };
    auto watch = watchPhoneStatus([&](std::uint32_t status) {
        std::lock_guard lock(mutex);
        seen.push_back(status);
    });
    ASSERT_TRUE(watch);
    setPhoneStatus(kPhoneIncomingCall);
    ASSERT_TRUE(eventually([&] { return count() == 1; }));
    // Other values changing, or the same value written again, are no change of this one.
    RegistryKey::create(Hive::LocalMachine, L"System\\State\\Phone")->setDword(L"Other", 5);
    setPhoneStatus(kPhoneIncomingCall);
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    EXPECT_EQ(count(), 1u);
    // A change by another process is seen too.
    pid_t setter = test::spawnSelfOnDevice(root_, {"VORN_PHONE_SETTER=0x20000"});
    ASSERT_GT(setter, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(setter, &status, 0), setter);
    ASSERT_TRUE(eventually([&] { return count() == 2; }));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(seen, (std::vector<std::uint32_t>{kPhoneIncomingCall, kPhoneCallInProgress}));
    }
    // Nothing is reported once the watch is gone.
    watch.reset();
    setPhoneStatus(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(count(), 2u);
}

TEST_F(Phone, AWatchedValueThatIsRemovedReportsNothing) {
    auto key = RegistryKey::create(Hive::CurrentUser, L"Software\\Watched");
    ASSERT_TRUE(key);
    key->setString(L"Name", L"first");
    std::mutex mutex;
    std::vector<std::optional<std::wstring>> seen;
    auto watch = watchRegistryValue(Hive::CurrentUser, L"Software\\Watched", L"Name",
                                    [&](std::optional<RegistryValue> v) {
                                        std::lock_guard lock(mutex);
                                        seen.push_back(v ? std::optional(v->text) : std::nullopt);
                                    });
    key->setString(L"Name", L"second");
    auto count = [&] {
        std::lock_guard lock(mutex);
        return seen.size();
    };
    ASSERT_TRUE(eventually([&] { return count() == 1; }));
    key->deleteValue(L"Name");
    ASSERT_TRUE(eventually([&] { return count() == 2; }));
    std::lock_guard lock(mutex);
    EXPECT_EQ(seen[0], std::optional<std::wstring>(L"second"));
    EXPECT_EQ(seen[1], std::nullopt);
}

}  // namespace
