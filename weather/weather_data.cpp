// Loading the weather data set: tables with their placeholder rows, pictures and frames.

#include "weather/weather_data.h"

#include <filesystem>

#include "core/text_case.h"
#include "gfx/image.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "worldtime/date_helpers.h"

namespace weather {
namespace {

// The size of a device file; nothing when it is missing or not a regular file.
std::optional<std::uintmax_t> fileSize(std::wstring_view devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host)
        return std::nullopt;
    // file_size answers regular files only (after links), with one look at the file.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(*host, ec);
    if (ec)
        return std::nullopt;
    return size;
}

bool fileWithin(std::wstring_view devicePath, std::uintmax_t limit) {
    auto size = fileSize(devicePath);
    return size && *size <= limit;
}

// Forecast kinds count as missing below two rows and get this placeholder in row 1.
void fillPlaceholder(core::RecordTable& table) {
    if (table.empty())
        table.appendRow();
    for (int field = 1; field <= forecastField::Count; ++field) table.setField(1, field, L"");
    table.setField(1, forecastField::UnitFlag, L"-");
    table.setField(1, forecastField::Icon, L"9999.jpg");
    table.setField(1, forecastField::High, L" ");
    table.setField(1, forecastField::Low, L"N/A");
    for (int field = forecastField::WindDirection; field <= forecastField::Date; ++field)
        table.setField(1, field, L" ");
}

bool isForecastKind(int kind) {
    return fieldCountOf(kind) == forecastField::Count;
}

// The frames stem + N + ".dat" (N = 0..10, any case) among the folder's names. One pass over
// the names, without looking at each file, as the loop counts on every reload.
std::bitset<kLastFrame + 1> presentFrames(std::wstring_view folder, std::wstring_view stem) {
    std::bitset<kLastFrame + 1> present;
    auto host = platform::hostPath(folder);
    if (!host)
        return present;
    std::error_code ec;
    std::filesystem::directory_iterator it(*host, ec);
    if (ec)
        return present;
    for (const auto& entry : it) {
        const std::wstring name = platform::fromUtf8(entry.path().filename().string());
        if (name.size() < stem.size() + 5 ||
            !core::equalsIgnoringCase(std::wstring_view(name).substr(0, stem.size()), stem))
            continue;
        for (int frame = 0; frame <= kLastFrame; ++frame) {
            if (core::equalsIgnoringCase(name, frameNameOf(stem, frame)) &&
                entry.is_regular_file(ec)) {
                present.set(static_cast<std::size_t>(frame));
                break;
            }
        }
    }
    return present;
}

}  // namespace

WeatherData::WeatherData(int kind, std::wstring_view key, Units units, std::wstring_view folder)
    : kind_(kind),
      key_(key),
      folder_(folder),
      units_(units),
      table_(std::max(fieldCountOf(kind), 1)) {
    if (isFrameKind(kind)) {
        path_ = frameStemOf(kind, key);
        noData_ = !isSafeKey(key);
    } else {
        path_ = fileNameOf(kind, key);
        if (isPictureKind(kind))
            noData_ = !isSafeKey(key);
        else
            loadTable();
    }
}

void WeatherData::loadTable() {
    const std::wstring file = core::joinDevicePath(folder_, path_);
    if (isSafeKey(key_) && fileWithin(file, kMaxWeatherFileBytes))
        table_.load(folder_, path_, L'~');
    while (table_.rowCount() > kMaxWeatherRows) table_.removeRow(table_.rowCount());
    if (isForecastKind(kind_)) {
        noData_ = table_.rowCount() < 2;
        if (noData_)
            fillPlaceholder(table_);
    } else {
        noData_ = table_.empty();
        if (noData_)
            table_.appendRow();
    }
    table_.setCurrentRow(1);
}

bool WeatherData::setCurrentRow(int row) {
    if (row < 0 || row > table_.rowCount())
        return false;
    return table_.setCurrentRow(row);
}

int WeatherData::selectStation(int stored) {
    const int row = stored >= 1 && stored <= table_.rowCount() ? stored : 1;
    table_.setCurrentRow(std::min(row, table_.rowCount()));
    return table_.currentRow();
}

int WeatherData::selectToday() {
    const platform::SystemTime today = platform::deviceUtcTime();
    return selectDate(today.year, today.month, today.day);
}

int WeatherData::selectDate(int year, int month, int day) {
    int found = 0;
    if (table_.rowCount() >= 2) {
        const long wanted = (static_cast<long>(year) * 100 + month) * 100 + day;
        int later = 0;
        for (int row = 1; row <= table_.rowCount() && !found; ++row) {
            auto date = worldtime::dateFromMmddyy(table_.fieldText(row, forecastField::Date));
            if (!date)
                continue;
            const long key = (static_cast<long>(date->year) * 100 + date->month) * 100 + date->day;
            if (key == wanted)
                found = row;
            else if (key > wanted && !later)
                later = row;
        }
        if (!found)
            found = later;
    }
    table_.setCurrentRow(found);
    return found;
}

bool WeatherData::exists() {
    if (isFrameKind(kind_))
        return stepFrame();
    if (!isPictureKind(kind_) || noData_)
        return false;
    return platform::fileExists(core::joinDevicePath(folder_, path_));
}

bool WeatherData::load() {
    image_.reset();
    if (!isPictureKind(kind_) && !isFrameKind(kind_))
        return false;
    if (!noData_) {
        const std::wstring name = isFrameKind(kind_) ? frameNameOf(path_, frameIndex_) : path_;
        const std::wstring file = core::joinDevicePath(folder_, name);
        if (fileWithin(file, kMaxWeatherPictureBytes))
            image_ = gfx::loadShellImageAsDib(file);
    }
    // One frame that does not decode leaves the others to the loop.
    if (!image_ && isPictureKind(kind_))
        noData_ = true;
    return image_ != nullptr;
}

bool WeatherData::frameExists(int frame) {
    frameCount();
    return frames_.test(static_cast<std::size_t>(frame));
}

int WeatherData::frameCount() {
    if (!framesCounted_) {
        framesCounted_ = true;
        frames_.reset();
        if (isFrameKind(kind_) && isSafeKey(key_))
            frames_ = presentFrames(folder_, path_);
    }
    return static_cast<int>(frames_.count());
}

bool WeatherData::step(int direction) {
    if (!isFrameKind(kind_) || !isSafeKey(key_))
        return false;
    int frame = frameIndex_;
    // Eleven steps visit every frame once and come back to the one we started from.
    for (int n = 0; n <= kLastFrame; ++n) {
        frame = (frame + direction + kLastFrame + 1) % (kLastFrame + 1);
        if (frameExists(frame)) {
            frameIndex_ = frame;
            noData_ = false;
            return true;
        }
    }
    noData_ = true;
    return false;
}

bool WeatherData::stepFrame() {
    return step(-1);
}

bool WeatherData::stepFrameForward() {
    return step(1);
}

int todayIconNumber(std::wstring_view folder, std::wstring_view code) {
    WeatherData daily(fileKind::Daily, code, Units{}, folder);
    if (daily.noData() || daily.selectToday() == 0)
        return kNoReportIcon;
    return daily.iconNumber();
}

}  // namespace weather
