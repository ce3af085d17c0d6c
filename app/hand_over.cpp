#include "app/hand_over.h"

#include <cstdint>
#include <vector>

#include "app/application.h"
#include "app/module_table.h"
#include "core/settings_keys.h"
#include "platform/api/device.h"

namespace app {

std::wstring handOverFilePath(std::wstring_view mainPath) {
    return std::wstring(mainPath) + std::wstring(kTriggerFileName);
}

bool writeHandOver(std::wstring_view mainPath, std::wstring_view commandLine) {
    std::string bytes = platform::toUtf8(commandLine);
    bytes += '\n';
    return platform::writeFileAtomic(
        handOverFilePath(mainPath),
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::optional<std::wstring> takeHandOver(std::wstring_view mainPath) {
    std::wstring path = handOverFilePath(mainPath);
    std::optional<std::wstring> line;
    if (auto file = platform::MappedFile::open(path))
        line = parseHandOver(file->bytes());
    platform::deleteFile(path);
    return line;
}

}  // namespace app

namespace app {

void Application::handOver() {
    if (auto line = takeHandOver(mainPath_))
        handleCommandLine(*line);
}

void Application::handleCommandLine(std::wstring_view commandLine) {
    if (commandLine != L"/homescreen")
        return;
    std::wstring requested = core::settings::read(core::keys::HomeStarting);
    core::settings::write(core::keys::HomeStarting, L"");
    int id = 0;
    if (requested == L"start_now")
        id = moduleId::Home;
    if (requested == L"start_worldtime")
        id = moduleId::WorldTime;
    if (requested == L"start_weather")
        id = moduleId::CurrentWeather;
    if (requested == L"start_alarm")
        id = moduleId::Alarms;
    if (id)
        switchModule(id, {.saveOld = false, .deleteOld = true});
}

}  // namespace app
