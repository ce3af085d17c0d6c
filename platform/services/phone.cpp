// The phone status in the registry, and watching registry values: a thread per watch looks
// ten times a second at the registry's change counter and reads the value only when that
// moved, calling back when the value differs from what it last saw.

#include "platform/api/phone.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/api/program.h"
#include "platform/services/registry_internal.h"

namespace platform {
namespace {

constexpr wchar_t kPhoneKey[] = L"System\\State\\Phone";
constexpr wchar_t kPhoneValue[] = L"Status";
constexpr auto kPollInterval = std::chrono::milliseconds(100);

bool sameValue(const std::optional<RegistryValue>& a, const std::optional<RegistryValue>& b) {
    if (!a || !b)
        return !a && !b;
    return a->type == b->type && a->text == b->text && a->number == b->number;
}

std::optional<RegistryValue> readValue(Hive hive, const std::wstring& key,
                                       const std::wstring& value) {
    auto open = RegistryKey::open(hive, key);
    return open ? open->query(value) : std::nullopt;
}

// What the polling thread works on; shared with the watch object so a callback that ends its
// own watch leaves the thread something to finish with.
struct WatchState {
    Hive hive;
    std::wstring key, value;
    RegistryValueChanged changed;
    std::int64_t generation = 0;
    std::optional<RegistryValue> last;
    std::mutex mutex;
    std::condition_variable wake;
    bool ending = false;

    void check() {
        try {
            std::int64_t now = registry_internal::registryGeneration();
            if (now == generation)
                return;
            generation = now;
            auto current = readValue(hive, key, value);
            if (sameValue(current, last))
                return;
            last = current;
            changed(current);
        } catch (const std::exception& e) {
            logLine(std::string("registry watch: ") + e.what());
        }
    }

    void run() {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, kPollInterval, [this] { return ending; })) {
            lock.unlock();
            check();
            lock.lock();
        }
    }
};

class PollingWatch : public RegistryValueWatch {
  public:
    explicit PollingWatch(std::shared_ptr<WatchState> state) : state_(std::move(state)) {
        // What the value is now is the starting point: only later changes are reported.
        state_->generation = registry_internal::registryGeneration();
        state_->last = readValue(state_->hive, state_->key, state_->value);
        thread_ = std::thread([state = state_] { state->run(); });
    }

    ~PollingWatch() override {
        {
            std::lock_guard lock(state_->mutex);
            state_->ending = true;
        }
        state_->wake.notify_all();
        // A callback that ends its own watch cannot wait for itself; the thread ends after it.
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();
        } else {
            thread_.join();
        }
    }

  private:
    std::shared_ptr<WatchState> state_;
    std::thread thread_;
};

}  // namespace

std::uint32_t phoneStatus() {
    auto key = RegistryKey::open(Hive::LocalMachine, kPhoneKey);
    return key ? key->queryDword(kPhoneValue).value_or(0) : 0;
}

void setPhoneStatus(std::uint32_t status) {
    if (auto key = RegistryKey::create(Hive::LocalMachine, kPhoneKey))
        key->setDword(kPhoneValue, status);
}

std::unique_ptr<RegistryValueWatch> watchRegistryValue(Hive hive, std::wstring_view key,
                                                       std::wstring_view value,
                                                       RegistryValueChanged changed) {
    if (!changed)
        return nullptr;
    auto state = std::make_shared<WatchState>();
    state->hive = hive;
    state->key = key;
    state->value = value;
    state->changed = std::move(changed);
    return std::make_unique<PollingWatch>(std::move(state));
}

std::unique_ptr<RegistryValueWatch> watchPhoneStatus(std::function<void(std::uint32_t)> changed) {
    if (!changed)
        return nullptr;
    return watchRegistryValue(Hive::LocalMachine, kPhoneKey, kPhoneValue,
                              [changed = std::move(changed)](std::optional<RegistryValue> v) {
                                  bool dword = v && v->type == RegistryType::Dword;
                                  changed(dword ? v->number : 0);
                              });
}

}  // namespace platform
