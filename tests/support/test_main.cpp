// The main of every test program. Before any test runs it gives the process a home folder and
// a device root of its own, both fresh temporary folders, and tells the platform never to fall
// back to the default device. After the tests it checks that nothing was written into that home:
// a test that reaches for the user's home folder fails here instead of writing into a real device.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

std::filesystem::path makeTemporaryFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::cerr << "test main: cannot create a temporary folder in "
                  << std::filesystem::temp_directory_path() << "\n";
        std::exit(2);
    }
    return pattern;
}

// Fails the run when a test left anything in the home folder it was given.
class HomeUntouched : public testing::Environment {
  public:
    HomeUntouched(std::filesystem::path home, std::filesystem::path device)
        : home_(std::move(home)), device_(std::move(device)) {}

    void TearDown() override {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_, ec))
            ADD_FAILURE() << "a test wrote into the home folder: " << entry.path();
        if (!std::getenv("VORN_KEEP_TEST_DEVICE")) {
            std::filesystem::remove_all(home_, ec);
            std::filesystem::remove_all(device_, ec);
        }
    }

  private:
    std::filesystem::path home_;
    std::filesystem::path device_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const auto home = makeTemporaryFolder("vorn-test-home-");
    const auto device = makeTemporaryFolder("vorn-test-root-");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("VORN_DEVICE", device.c_str(), 1);
    // The platform refuses the default device (below the home folder) while this is set.
    ::setenv("VORN_NO_DEFAULT_DEVICE", "1", 1);
    testing::AddGlobalTestEnvironment(new HomeUntouched(home, device));
    return RUN_ALL_TESTS();
}
