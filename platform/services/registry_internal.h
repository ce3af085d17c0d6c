#pragma once
// Registry internals that other platform services build on (change notifications, tools).
// Not for layers above the platform.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/api/registry.h"

namespace platform::registry_internal {

// Runs fn as one registry transaction: registry calls inside it see and change the registry
// without another program's writes coming in between (read-modify-write of a counter).
// Commits when fn returns, rolls back when it throws.
void transaction(const std::function<void()>& fn);

// A counter per key, bumped by every change to the key's values and to its list of
// sub-keys; nothing when the key does not exist. Watchers compare it with what they saw.
std::optional<std::int64_t> keyChangeCount(Hive hive, std::wstring_view path);

// A device-wide counter bumped by every registry change, for watchers that poll cheaply.
std::int64_t registryGeneration();

}  // namespace platform::registry_internal
