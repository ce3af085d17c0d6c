// The registry of screens in the program's own application: a registered module id builds its
// screen, an id nobody registered shows the placeholder, start-up hooks run once the window
// exists and a failing one ends the program, and the shut-down hooks run once when the
// window is destroyed or the program quits, never when the application object goes.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/placeholder_module.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "ui/module_ids.h"
#include "ui/screen_registry.h"

using namespace platform;

namespace {

class Built : public ui::Module {
  public:
    Built(ui::ModuleHost& host, int previousId) : ui::Module(host), previousId(previousId) {}
    void build() override { built = true; }
    int previousId;
    bool built = false;
};

class ScreenRegistryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const auto& root = test::useTestDevice("240x320");
        std::filesystem::create_directories(root / "Program Files");
        auto install = root / "Program Files" / "Vorn Roamer";
        if (!std::filesystem::exists(install)) {
            // A copy: the application writes its settings file into the install folder.
            std::filesystem::copy(std::filesystem::path(VORN_SOURCE_DIR) / "data", install,
                                  std::filesystem::copy_options::recursive);
        }
        installShell();
        registerNativeControls();
    }

    void SetUp() override {
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        app_->screens().add(ui::moduleId::WorldTime, [](ui::ModuleHost& host, int previousId) {
            return std::make_unique<Built>(host, previousId);
        });
        app_->screens().addStartUp([this](ui::ModuleHost& host) {
            startUps.push_back(host.mainWindow());
            return startUpSucceeds;
        });
        app_->screens().addShutDown([this] { ++shutDowns; });
    }

    void TearDown() override {
        app_.reset();
        drain();
    }

    // Every posted message but the quit that a failed start or a destroyed window posts.
    void drain() {
        Message m;
        while (peekMessage(m, true)) {
            if (m.id == wm::Quit)
                quitPosted = true;
            else
                dispatchMessage(m);
        }
    }

    std::unique_ptr<app::Application> app_;
    std::vector<WindowHandle> startUps;
    bool startUpSucceeds = true;
    int shutDowns = 0;
    bool quitPosted = false;
};

TEST_F(ScreenRegistryTest, ARegisteredIdBuildsItsScreenAndAnUnknownIdShowsThePlaceholder) {
    ASSERT_TRUE(app_->createMainWindow());
    app_->switchModule(ui::moduleId::WorldTime, {.saveOld = true});
    drain();
    auto* built = dynamic_cast<Built*>(app_->currentModule());
    ASSERT_NE(built, nullptr);
    EXPECT_TRUE(built->built);
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::WorldTime);

    app_->switchModule(ui::moduleId::Currency, {.saveOld = true});
    drain();
    auto* placeholder = dynamic_cast<app::PlaceholderModule*>(app_->currentModule());
    ASSERT_NE(placeholder, nullptr) << "no factory for the currency screen";
    EXPECT_EQ(placeholder->id(), ui::moduleId::Currency);
    EXPECT_EQ(placeholder->previousId(), ui::moduleId::WorldTime);
}

TEST_F(ScreenRegistryTest, AFactoryIsToldWhereItsScreenWasOpenedFrom) {
    ASSERT_TRUE(app_->createMainWindow());
    app_->switchModule(ui::moduleId::Currency, {.saveOld = true});
    app_->switchModule(ui::moduleId::WorldTime, {.saveOld = true});
    drain();
    auto* built = dynamic_cast<Built*>(app_->currentModule());
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->previousId, ui::moduleId::Currency);
}

TEST_F(ScreenRegistryTest, StartUpRunsOnceTheWindowExistsAndAFailureEndsTheProgram) {
    ASSERT_TRUE(app_->createMainWindow());
    ASSERT_EQ(startUps.size(), 1u);
    EXPECT_NE(startUps[0], 0u);
    EXPECT_EQ(startUps[0], app_->mainWindow());
    drain();
    EXPECT_FALSE(quitPosted);

    TearDown();
    quitPosted = false;
    startUps.clear();
    startUpSucceeds = false;
    SetUp();
    ASSERT_TRUE(app_->createMainWindow());
    drain();
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(app_->currentModule(), nullptr) << "no screen after a failed start";
}

TEST_F(ScreenRegistryTest, StateIsSavedOnceWhenTheWindowGoesAndNeverByTheDestructor) {
    ASSERT_TRUE(app_->createMainWindow());
    app_.reset();
    EXPECT_EQ(shutDowns, 0) << "the destructor may run after the state store is closed";

    SetUp();
    ASSERT_TRUE(app_->createMainWindow());
    destroyWindow(app_->mainWindow());
    drain();
    EXPECT_EQ(shutDowns, 1);
    app_->saveState();
    EXPECT_EQ(shutDowns, 1) << "once per run";
}

TEST_F(ScreenRegistryTest, QuittingThroughModule99SavesTheState) {
    ASSERT_TRUE(app_->createMainWindow());
    app_->switchModule(ui::moduleId::Quit, {.saveOld = true});
    drain();
    EXPECT_EQ(shutDowns, 1);
    EXPECT_TRUE(quitPosted);
}

TEST_F(ScreenRegistryTest, AnswersNothingForAnIdWithoutAFactoryAndTheLastRegistrationWins) {
    ui::ScreenRegistry registry;
    EXPECT_FALSE(registry.has(20));
    registry.add(20, [](ui::ModuleHost&, int) { return std::unique_ptr<ui::Module>(); });
    EXPECT_TRUE(registry.has(20));
    int calls = 0;
    registry.add(20, [&calls](ui::ModuleHost&, int) {
        ++calls;
        return std::unique_ptr<ui::Module>();
    });
    registry.shutDown();
    EXPECT_TRUE(registry.has(20));
    EXPECT_FALSE(registry.has(21));
    EXPECT_EQ(registry.create(*app_, 21, 0), nullptr);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(registry.create(*app_, 20, 0), nullptr);
    EXPECT_EQ(calls, 1);
}

TEST_F(ScreenRegistryTest, StartUpStopsAtTheFirstHookThatFails) {
    ui::ScreenRegistry registry;
    std::vector<int> ran;
    registry.addStartUp([&](ui::ModuleHost&) {
        ran.push_back(1);
        return true;
    });
    registry.addStartUp([&](ui::ModuleHost&) {
        ran.push_back(2);
        return false;
    });
    registry.addStartUp([&](ui::ModuleHost&) {
        ran.push_back(3);
        return true;
    });
    EXPECT_FALSE(registry.startUp(*app_));
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

}  // namespace
