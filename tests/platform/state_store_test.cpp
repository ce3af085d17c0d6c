// The machine-state store as several processes meet it: made new by many at the same moment,
// and kept from other local users.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/device/state_store.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr int kProcesses = 4;
constexpr int kRounds = 12;

// A child started by the tests below: it waits for the start signal (a file appearing), then
// opens the device's store, which does not exist yet, and writes one value.
void runOpener(const char* go) {
    int exitCode = 0;
    try {
        while (!fs::exists(go)) ::usleep(200);
        auto key = RegistryKey::create(Hive::CurrentUser, L"Software\\Openers");
        if (!key || !key->setDword(L"P" + std::to_wstring(::getpid()), 1))
            exitCode = 3;
        state::Store::closeInstance();
    } catch (const std::exception&) {
        exitCode = 4;
    }
    std::_Exit(exitCode);
}

const bool kIsOpener = [] {
    if (const char* go = std::getenv("VORN_STORE_OPENER_GO"))
        runOpener(go);
    return false;
}();

pid_t startOpener(const fs::path& root, const fs::path& go) {
    return test::spawnSelfOnDevice(root, {"VORN_STORE_OPENER_GO=" + go.string()});
}

class StateStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorn-store-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        top_ = pattern;
    }
    void TearDown() override {
        state::Store::closeInstance();
        std::error_code ec;
        fs::remove_all(top_, ec);
    }
    fs::path top_;
};

TEST_F(StateStoreTest, ProcessesCreatingTheStoreAtOnceAllSucceed) {
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) {
        fs::path root = top_ / ("device" + std::to_string(round));
        fs::path go = top_ / ("go" + std::to_string(round));
        fs::create_directories(root);
        std::vector<pid_t> openers;
        for (int i = 0; i < kProcesses; ++i) openers.push_back(startOpener(root, go));
        // Give every child time to start waiting, then let them all go at once.
        ::usleep(100000);
        { std::ofstream(go.string()) << "go"; }
        for (pid_t pid : openers) {
            ASSERT_GT(pid, 0);
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                ++failed;
        }
        setDeviceRoot(root);
        auto key = RegistryKey::open(Hive::CurrentUser, L"Software\\Openers");
        ASSERT_TRUE(key);
        EXPECT_EQ(key->values().size(), static_cast<std::size_t>(kProcesses)) << "round " << round;
        state::Store::closeInstance();
    }
    EXPECT_EQ(failed, 0) << "of " << kRounds * kProcesses << " processes";
}

TEST_F(StateStoreTest, MachineStateIsTheUsersOwn) {
    setDeviceRoot(top_);
    ASSERT_TRUE(RegistryKey::create(Hive::CurrentUser, L"Software\\Mine"));
    struct stat st {};
    ASSERT_EQ(::stat((top_ / ".device").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat((top_ / ".device" / "state.db").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);
    // Nothing of the private creation is left beside it.
    for (const auto& entry : fs::directory_iterator(top_ / ".device")) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
    }
}

// A part of the store whose tables and indexes are all there is left alone at the next start;
// one that lacks any of them (an index dropped, say) is made whole again, seed row and all.
TEST_F(StateStoreTest, ASchemaIsMadeWholeWhenAnyOfItsPartsIsMissing) {
    setDeviceRoot(top_ / "device");
    constexpr std::string_view kSchema =
        "CREATE TABLE IF NOT EXISTS test_items (id INTEGER PRIMARY KEY, name TEXT);"
        "CREATE INDEX IF NOT EXISTS test_items_by_name ON test_items(name);"
        "CREATE TABLE IF NOT EXISTS test_counter (id INTEGER PRIMARY KEY, value INTEGER);"
        "INSERT OR IGNORE INTO test_counter VALUES(1, 7);";
    auto count = [](std::string_view sql) {
        auto& s = state::Store::instance();
        auto st = s.prepare(sql);
        return st.step() ? st.integer(0) : -1;
    };
    state::Store::instance().ensureSchema("test", kSchema);
    EXPECT_EQ(count("SELECT value FROM test_counter WHERE id = 1"), 7);

    // With an index gone, a check of the tables alone would leave it gone.
    {
        auto& s = state::Store::instance();
        s.transaction([&] { s.exec("DROP INDEX test_items_by_name"); });
    }
    state::Store::closeInstance();
    state::Store::instance().ensureSchema("test", kSchema);
    EXPECT_EQ(count("SELECT count(*) FROM sqlite_schema WHERE name = 'test_items_by_name'"), 1)
        << "the missing index is made again";

    {
        auto& s = state::Store::instance();
        s.transaction([&] { s.exec("DROP TABLE test_counter"); });
    }
    state::Store::closeInstance();
    state::Store::instance().ensureSchema("test", kSchema);
    EXPECT_EQ(count("SELECT value FROM test_counter WHERE id = 1"), 7) << "with its seed row";
}

}  // namespace
