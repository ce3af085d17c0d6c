// Cost of one registry read and one registry write on a device of its own.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>

#include <filesystem>

#include "platform/api/device.h"
#include "platform/api/registry.h"

namespace {

const std::filesystem::path& benchDevice() {
    static const std::filesystem::path root = [] {
        char pattern[] = "/tmp/vorn-registry-bench-XXXXXX";
        std::filesystem::path r = mkdtemp(pattern);
        platform::setDeviceRoot(r);
        auto key = platform::RegistryKey::create(platform::Hive::CurrentUser,
                                                 L"Software\\VornSoftware\\VornRoamer3");
        key->setString(L"MainPath", L"\\Program Files\\Vorn Roamer\\");
        key->setDword(L"Counter", 0);
        std::atexit([] { std::filesystem::remove_all(platform::deviceRoot()); });
        return r;
    }();
    return root;
}

void RegistryRead(benchmark::State& state) {
    benchDevice();
    auto key = platform::RegistryKey::open(platform::Hive::CurrentUser,
                                           L"Software\\VornSoftware\\VornRoamer3");
    for (auto _ : state) {
        benchmark::DoNotOptimize(key->queryString(L"MainPath", 520));
    }
}
BENCHMARK(RegistryRead);

void RegistryWrite(benchmark::State& state) {
    benchDevice();
    auto key = platform::RegistryKey::open(platform::Hive::CurrentUser,
                                           L"Software\\VornSoftware\\VornRoamer3");
    std::uint32_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(key->setDword(L"Counter", ++n));
    }
}
BENCHMARK(RegistryWrite);

}  // namespace
