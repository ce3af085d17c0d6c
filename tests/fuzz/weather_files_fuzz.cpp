// Loads arbitrary bytes as a weather file of the kind the first byte picks (every table kind,
// the map pictures and the satellite and radar frames) and asks the data set for every text
// the screens show of every row. Nothing may crash; icons are picture numbers or the
// no-report icon; no value shows "inf" or "nan"; rows stay within the bound.

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/fuzz/support/fuzz_device.h"
#include "weather/screen_texts.h"
#include "weather/weather_data.h"

namespace {

constexpr int kKinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 12, 13, 9};
constexpr std::wstring_view kFolder = L"\\downloads\\";

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path r = fuzz::makeMemoryDevice("weather");
        std::filesystem::create_directories(r / "downloads");
        return r;
    }();
    return root;
}

// A text made from a number: short, and never the printout of an infinity or a NaN.
void checkText(const std::wstring& text) {
    fuzz::check(text.find(L"inf") == std::wstring::npos);
    fuzz::check(text.find(L"nan") == std::wstring::npos);
    fuzz::check(text.size() < 64);
}

// A text that carries fields of the file: bounded by the line length the table keeps.
void checkBounded(const std::wstring& text) {
    fuzz::check(text.size() < 100000);
}

void checkRow(const weather::WeatherData& data, int row) {
    using namespace weather;
    const int icon = data.iconNumber(row);
    fuzz::check((icon >= 0 && icon <= 0xffff) || icon == kNoReportIcon);
    for (int flags : {0x1, 0x2, 0x4, 0x8, 0x10, 0x301, 0x302, 0x304, 0x308})
        checkText(data.temperatureText(flags, row));
    checkText(data.windText(row));
    for (int field = 1; field <= 36; field += 1) {
        checkBounded(data.distanceText(field, row));
        checkText(data.temperatureField(field, row));
        checkText(data.pressureText(field, row));
        (void)data.dayText(field, row);
        (void)data.periodText(field, row);
        (void)data.bandText(field, row);
        const int band = data.bandNumber(field, row);
        fuzz::check((band >= 1 && band <= 6) || band == kNoReportIcon || band == 37);
    }
    (void)data.dateText(L"ddd',' MMM dd", row);
}

void checkTable(const weather::WeatherData& data) {
    using namespace weather;
    fuzz::check(data.rowCount() >= 1 && data.rowCount() <= kMaxWeatherRows);
    fuzz::check(data.currentRow() == 1);
    if (data.noData())
        fuzz::check(data.iconNumber() == kNoReportIcon);
    for (int row = 0; row <= data.rowCount() + 1; ++row) checkRow(data, row);
    for (int mode = 1; mode <= 3; ++mode) {
        const int rows = listRowCount(data, mode);
        for (int row = 0; row <= rows + 1; ++row) {
            checkText(listRowTexts(data, mode, row, row % 2 == 0).temperature);
            checkBounded(summaryLine(data, mode, row));
        }
    }
    for (const std::wstring& line : currentPanelLines(data)) checkBounded(line);
    (void)outlookPanelLines(data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace weather;
    const std::filesystem::path& root = fuzzRoot();
    if (size == 0)
        return 0;
    const int kind = kKinds[data[0] % std::size(kKinds)];
    ++data;
    --size;
    const std::wstring key = isFrameKind(kind) ? L"Europe" : L"LON";
    const std::wstring name =
        isFrameKind(kind) ? frameNameOf(frameStemOf(kind, key), 4) : fileNameOf(kind, key);
    fuzz::writeHostFile(root / "downloads" / platform::toUtf8(name), data, size);

    WeatherData set(kind, key, Units{(size & 1) != 0, (size & 2) != 0}, kFolder);
    if (isPictureKind(kind) || isFrameKind(kind)) {
        if (set.exists() && set.load())
            fuzz::check(set.image() && set.image()->width() > 0 && set.image()->height() > 0);
        else
            fuzz::check(!set.image());
        if (isFrameKind(kind)) {
            fuzz::check(set.frameCount() == 1);
            fuzz::check(set.stepFrame() && set.frameIndex() == 4);
        }
    } else {
        checkTable(set);
        set.selectToday();
        checkRow(set, 0);
        set.selectStation(3);
        checkRow(set, 0);
    }
    std::filesystem::remove(root / "downloads" / platform::toUtf8(name));
    return 0;
}
