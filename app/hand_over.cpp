#include "app/hand_over.h"

#include <cstdint>
#include <vector>

#include "app/application.h"
#include "app/module_table.h"
#include "core/settings_keys.h"
#include "platform/api/device.h"

namespace app {
namespace {

// Enough for the longest line taken plus its line end, in the widest UTF-8 encoding.
constexpr std::size_t kMaxBytesRead = kHandOverLineLimit * 4 + 8;

}  // namespace

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
    if (auto file = platform::MappedFile::open(path)) {
        auto bytes = file->bytes();
        if (bytes.size() > kMaxBytesRead)
            bytes = bytes.first(kMaxBytesRead);
        std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        auto end = text.find_first_of("\r\n");
        if (end != std::string::npos)
            text.resize(end);
        std::wstring wide = platform::fromUtf8(text);
        // A line holding NUL characters is not text and is ignored.
        bool readable = wide.find(L'\0') == std::wstring::npos;
        if (readable) {
            if (wide.size() > kHandOverLineLimit)
                wide.resize(kHandOverLineLimit);
            line = std::move(wide);
        }
    }
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
