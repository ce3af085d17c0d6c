#include "tests/worldtime/support/world_test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "tests/platform/support/test_device.h"
#include "worldtime/date_helpers.h"

namespace worldtime::test {

std::filesystem::path sourcePath(std::string_view relative) {
    return std::filesystem::path(VORN_SOURCE_DIR) / std::string(relative);
}

const std::filesystem::path& installData(const std::vector<std::string>& files) {
    const std::filesystem::path& root = platform::test::useTestDevice();
    std::filesystem::path folder = *platform::hostPath(kMainPath);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "downloads");
    for (const std::string& file : files) {
        std::filesystem::path target = folder / file;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(sourcePath("data/" + file), target);
    }
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    return root;
}

void writeDeviceText(std::wstring_view devicePath, std::string_view text) {
    std::filesystem::path host = *platform::hostPath(devicePath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary);
    // With the byte-order mark, as every text file of the system is written.
    out << "\xEF\xBB\xBF" << text;
}

std::string readDeviceText(std::wstring_view devicePath) {
    auto host = platform::hostPath(devicePath);
    std::ifstream in(*host, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    return text;
}

bool deviceFileExists(std::wstring_view devicePath) {
    return platform::fileExists(devicePath);
}

std::vector<std::vector<std::string>> readReference(std::string_view name) {
    std::ifstream in(sourcePath("tests/worldtime/data/" + std::string(name)));
    if (!in)
        throw std::runtime_error("missing reference file");
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream parts(line);
        std::string field;
        while (std::getline(parts, field, ',')) fields.push_back(field);
        lines.push_back(std::move(fields));
    }
    return lines;
}

platform::SystemTime at(std::string_view text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    std::string copy(text);
    int n = std::sscanf(copy.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    if (n < 3)
        throw std::runtime_error("bad time " + copy);
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(y);
    t.month = static_cast<std::uint16_t>(mo);
    t.day = static_cast<std::uint16_t>(d);
    t.hour = static_cast<std::uint16_t>(h);
    t.minute = static_cast<std::uint16_t>(mi);
    t.second = static_cast<std::uint16_t>(s);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(y, mo, d));
    return t;
}

std::string text(const platform::SystemTime& t) {
    char out[32];
    std::snprintf(out, sizeof out, "%04d-%02d-%02dT%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return out;
}

std::int64_t ticks(std::string_view text) {
    return *fileTicks(at(text));
}

}  // namespace worldtime::test
