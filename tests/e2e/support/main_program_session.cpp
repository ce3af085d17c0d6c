#include "tests/e2e/support/main_program_session.h"

namespace e2e {

void MainProgramSession::skipWizard() {
    ask({"reg", "set", "HKCU", kSettingsKey, "WizardEULA", "--string", "3"});
    ask({"reg", "set", "HKCU", kSettingsKey, "WizardDone", "--string", "1"});
}

void MainProgramSession::startProgram(int firstScreen) {
    CommandResult run = device_.ctl({"run", "--headless", kMainProgram});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "30000"}).exitCode, 0);
    ASSERT_TRUE(waitForModule(firstScreen)) << device_.deviceLog();
}

std::string MainProgramSession::ask(const std::vector<std::string>& args) {
    CommandResult r = device_.ctl(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string out = r.out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

int MainProgramSession::module() {
    std::string out = ask({"app", "module"});
    return out.empty() ? -100 : std::stoi(out);
}

std::string MainProgramSession::registryValue(const std::string& name) {
    CommandResult r = device_.ctl({"reg", "get", "HKCU", kSettingsKey, name});
    return r.exitCode == 0 ? r.out.substr(0, r.out.find('\n')) : "";
}

}  // namespace e2e
