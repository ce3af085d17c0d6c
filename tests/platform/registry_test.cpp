// The device registry: keys, values, names without regard to case, byte limits, change
// counters, and two programs writing at once.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/device/state_store.h"
#include "platform/services/registry_internal.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr int kWrites = 1000;
constexpr wchar_t kSharedKey[] = L"Software\\Shared";

std::wstring workerText(int worker, int i) {
    // Long enough to span several pages of the log if a write were ever split.
    return L"worker " + std::to_wstring(worker) + L" value " + std::to_wstring(i) + L" " +
           std::wstring(300, static_cast<wchar_t>(L'a' + worker));
}

// When started as a worker child (see TwoProcesses below), does its share of writes and
// exits before the tests run.
void runWorker(int worker) {
    auto key = RegistryKey::create(Hive::CurrentUser, kSharedKey);
    if (!key)
        std::exit(2);
    for (int i = 0; i < kWrites; ++i) {
        if (!key->setString(L"W" + std::to_wstring(worker) + L"_" + std::to_wstring(i),
                            workerText(worker, i))) {
            std::exit(3);
        }
        registry_internal::transaction([&] {
            auto count = key->queryDword(L"Counter").value_or(0);
            key->setDword(L"Counter", count + 1);
        });
    }
    state::Store::closeInstance();
    std::exit(0);
}

const bool kIsWorker = [] {
    const char* worker = std::getenv("VORN_REGISTRY_WORKER");
    if (worker)
        runWorker(std::atoi(worker));
    return false;
}();

class Registry : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-registry-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
    }
    void TearDown() override {
        state::Store::closeInstance();
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(Registry, KeysAreCreatedWithParentsAndFoundWithoutRegardToCase) {
    EXPECT_FALSE(RegistryKey::open(Hive::CurrentUser, L"Software\\VornSoftware"));
    auto key = RegistryKey::create(Hive::CurrentUser, L"Software\\VornSoftware\\VornRoamer3");
    ASSERT_TRUE(key);
    EXPECT_TRUE(registryKeyExists(Hive::CurrentUser, L"SOFTWARE\\vornsoftware"));
    EXPECT_TRUE(registryKeyExists(Hive::CurrentUser, L"\\Software\\VornSoftware\\"));
    EXPECT_FALSE(registryKeyExists(Hive::LocalMachine, L"Software\\VornSoftware"));
    auto parent = RegistryKey::open(Hive::CurrentUser, L"software\\VORNSOFTWARE");
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->subKeys(), std::vector<std::wstring>{L"VornRoamer3"});
    // Creating again with other spelling opens the same key and keeps the first spelling.
    ASSERT_TRUE(RegistryKey::create(Hive::CurrentUser, L"SOFTWARE\\VORNSOFTWARE\\Other"));
    EXPECT_EQ(parent->subKeys(), (std::vector<std::wstring>{L"VornRoamer3", L"Other"}));
    EXPECT_EQ(RegistryKey::open(Hive::CurrentUser, L"")->subKeys(),
              std::vector<std::wstring>{L"Software"});
    EXPECT_FALSE(RegistryKey::create(Hive::CurrentUser, std::wstring(256, L'k')));
    EXPECT_FALSE(RegistryKey::create(static_cast<Hive>(0x80000003), L"Software"));
}

TEST_F(Registry, ValuesKeepTypeAndSpelling) {
    auto key = RegistryKey::create(Hive::LocalMachine, L"Software\\Test");
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->setString(L"MainPath", L"\\Program Files\\Vorn Roamer\\"));
    EXPECT_TRUE(key->setDword(L"Version", 0xFFFFFFFFu));
    EXPECT_TRUE(key->setString(L"", L"default"));
    EXPECT_EQ(key->queryString(L"MAINPATH", 1000), L"\\Program Files\\Vorn Roamer\\");
    EXPECT_EQ(key->queryDword(L"version"), 0xFFFFFFFFu);
    EXPECT_EQ(key->queryString(L"", 100), L"default");
    EXPECT_FALSE(key->queryDword(L"MainPath"));
    EXPECT_FALSE(key->queryString(L"Version", 100));
    EXPECT_FALSE(key->query(L"Missing"));

    // Rewriting under another spelling and type keeps the first spelling and order.
    EXPECT_TRUE(key->setDword(L"MAINPATH", 7));
    auto values = key->values();
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, L"MainPath");
    EXPECT_EQ(values[0].type, RegistryType::Dword);
    EXPECT_EQ(values[0].number, 7u);
    EXPECT_EQ(values[1].name, L"Version");
    EXPECT_EQ(values[2].text, L"default");

    EXPECT_TRUE(key->deleteValue(L"mainpath"));
    EXPECT_FALSE(key->deleteValue(L"mainpath"));
    EXPECT_EQ(key->values().size(), 2u);

    // The same path in the other hive is another key.
    auto user = RegistryKey::create(Hive::CurrentUser, L"Software\\Test");
    EXPECT_TRUE(user->values().empty());

    // Everything lives in the store, not in this process.
    state::Store::closeInstance();
    EXPECT_EQ(RegistryKey::open(Hive::LocalMachine, L"software\\test")->queryDword(L"Version"),
              0xFFFFFFFFu);
}

TEST_F(Registry, StringsOverTheByteLimitReadAsAbsent) {
    auto key = RegistryKey::create(Hive::CurrentUser, L"Limits");
    key->setString(L"Abc", L"abc");
    key->setString(L"Clef", L"\U0001D11E");
    key->setString(L"Empty", L"");
    EXPECT_EQ(registryByteSize(L"abc"), 8u);
    EXPECT_EQ(registryByteSize(L"\U0001D11E"), 6u);  // a surrogate pair and the terminator
    EXPECT_EQ(key->queryString(L"abc", 8), L"abc");
    EXPECT_FALSE(key->queryString(L"abc", 7));
    EXPECT_EQ(key->queryString(L"clef", 6), L"\U0001D11E");
    EXPECT_FALSE(key->queryString(L"clef", 5));
    EXPECT_EQ(key->queryString(L"empty", 2), L"");
    EXPECT_FALSE(key->queryString(L"empty", 1));
    // The full value is still there for a bigger buffer.
    EXPECT_EQ(key->query(L"abc")->text, L"abc");
}

TEST_F(Registry, DeletingAKeyRemovesItsWholeTree) {
    auto deep = RegistryKey::create(Hive::CurrentUser, L"A\\B\\C");
    deep->setDword(L"x", 1);
    RegistryKey::create(Hive::CurrentUser, L"A\\B2")->setString(L"y", L"y");
    RegistryKey::create(Hive::CurrentUser, L"Keep")->setDword(L"z", 3);
    EXPECT_FALSE(deleteRegistryKey(Hive::CurrentUser, L""));
    EXPECT_FALSE(deleteRegistryKey(Hive::CurrentUser, L"Missing"));
    EXPECT_TRUE(deleteRegistryKey(Hive::CurrentUser, L"a"));
    EXPECT_FALSE(registryKeyExists(Hive::CurrentUser, L"A"));
    EXPECT_FALSE(registryKeyExists(Hive::CurrentUser, L"A\\B\\C"));
    EXPECT_TRUE(deep->values().empty());
    EXPECT_FALSE(deep->setDword(L"x", 2));  // a deleted key refuses writes
    EXPECT_FALSE(registryKeyExists(Hive::CurrentUser, L"A"));
    // Recreating the path starts empty; nothing of the old tree survives.
    auto again = RegistryKey::create(Hive::CurrentUser, L"A\\B\\C");
    EXPECT_TRUE(again->values().empty());
    EXPECT_TRUE(RegistryKey::open(Hive::CurrentUser, L"A")->subKeys().size() == 1);
    EXPECT_EQ(RegistryKey::open(Hive::CurrentUser, L"Keep")->queryDword(L"Z"), 3u);
}

TEST_F(Registry, ChangeCountersFollowEveryWrite) {
    auto key = RegistryKey::create(Hive::CurrentUser, L"Watched");
    auto start = registry_internal::keyChangeCount(Hive::CurrentUser, L"watched");
    auto generation = registry_internal::registryGeneration();
    ASSERT_TRUE(start);
    key->setDword(L"a", 1);
    key->setDword(L"a", 1);  // the same value written again is still a write
    EXPECT_EQ(registry_internal::keyChangeCount(Hive::CurrentUser, L"Watched"), *start + 2);
    key->queryDword(L"a");
    key->values();
    EXPECT_EQ(registry_internal::keyChangeCount(Hive::CurrentUser, L"Watched"), *start + 2);
    key->deleteValue(L"a");
    key->deleteValue(L"a");  // nothing deleted, nothing changed
    RegistryKey::create(Hive::CurrentUser, L"Watched\\Child");
    EXPECT_EQ(registry_internal::keyChangeCount(Hive::CurrentUser, L"Watched"), *start + 4);
    deleteRegistryKey(Hive::CurrentUser, L"Watched\\Child");
    EXPECT_EQ(registry_internal::keyChangeCount(Hive::CurrentUser, L"Watched"), *start + 5);
    EXPECT_EQ(registry_internal::registryGeneration(), generation + 5);
    EXPECT_FALSE(registry_internal::keyChangeCount(Hive::CurrentUser, L"Watched\\Child"));
}

TEST_F(Registry, TransactionsRollBackWhenTheyThrow) {
    auto key = RegistryKey::create(Hive::CurrentUser, L"Tx");
    key->setDword(L"n", 1);
    EXPECT_THROW(registry_internal::transaction([&] {
                     key->setDword(L"n", 2);
                     throw std::runtime_error("abandon");
                 }),
                 std::runtime_error);
    EXPECT_EQ(key->queryDword(L"n"), 1u);
}

TEST(HiveNames, ShortAndLongFormsIgnoringCase) {
    EXPECT_EQ(hiveFromName(L"HKCU"), Hive::CurrentUser);
    EXPECT_EQ(hiveFromName(L"hkey_local_machine"), Hive::LocalMachine);
    EXPECT_EQ(hiveFromName(L"hklm"), Hive::LocalMachine);
    EXPECT_FALSE(hiveFromName(L"HKCR"));
}

pid_t startWorker(const fs::path& root, int worker) {
    return test::spawnSelfOnDevice(root, {"VORN_REGISTRY_WORKER=" + std::to_string(worker)});
}

TEST_F(Registry, TwoProcessesWritingAtOnceLoseNothing) {
    // The workers open their own store; this process keeps none open meanwhile.
    state::Store::closeInstance();
    pid_t first = startWorker(root_, 1);
    pid_t second = startWorker(root_, 2);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    for (pid_t pid : {first, second}) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    auto key = RegistryKey::open(Hive::CurrentUser, kSharedKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->queryDword(L"Counter"), 2u * kWrites);
    EXPECT_EQ(key->values().size(), 2u * kWrites + 1);
    int wrong = 0;
    for (int worker = 1; worker <= 2; ++worker) {
        for (int i = 0; i < kWrites; ++i) {
            auto text =
                key->queryString(L"w" + std::to_wstring(worker) + L"_" + std::to_wstring(i), 4096);
            if (text != workerText(worker, i))
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
