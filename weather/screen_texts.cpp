// The weather screen's texts, shared with the command line.

#include "weather/screen_texts.h"

#include "core/format.h"
#include "core/language.h"

namespace weather {
namespace {

// Language strings.
constexpr int kNoDetails = 567;
constexpr int kWind = 568;
constexpr int kNoDailyForecast = 582;
constexpr int kNoPeriodForecast = 583;
constexpr int kNoOutlook = 584;
constexpr int kOutlookFor = 585;
constexpr int kNow = 586;
constexpr int kNoCurrentConditions = 587;
constexpr int kConditionsLine = 588;
constexpr int kFeelsLike = 589;

constexpr std::wstring_view kSummaryDatePicture = L"ddd',' MMM dd";
// The list's date label.
constexpr std::wstring_view kLabelDatePicture = L"MMM dd";

// Field 8, " Wind ", the wind and its direction: the end of every forecast summary.
std::wstring forecastTail(const WeatherData& data, int row) {
    return data.fieldText(forecastField::Text, row) + L" " + core::languageString(kWind) + L" " +
           data.windText(row) + L" " + data.fieldText(forecastField::WindDirection, row);
}

}  // namespace

int listKindOf(int mode) {
    switch (mode) {
        case listMode::Periods:
            return fileKind::Periods;
        case listMode::Outlook:
            return fileKind::Outlook;
        default:
            return fileKind::Daily;
    }
}

int listRowCount(const WeatherData& data, int mode) {
    if (data.noData())
        return 0;
    if (mode == listMode::Outlook)
        return outlookField::Groups;
    return data.rowCount() >= 2 ? data.rowCount() : 0;
}

std::wstring emptyListText(int mode) {
    switch (mode) {
        case listMode::Periods:
            return core::languageString(kNoPeriodForecast);
        case listMode::Outlook:
            return core::languageString(kNoOutlook);
        default:
            return core::languageString(kNoDailyForecast);
    }
}

ListRowTexts listRowTexts(const WeatherData& data, int mode, int row, bool dayNames) {
    using namespace temperatureFlag;
    ListRowTexts texts;
    if (mode == listMode::Outlook) {
        if (row < 1 || row > outlookField::Groups)
            return texts;
        texts.icon = data.bandNumber(outlookField::band(row), 1);
        texts.temperature = data.bandText(outlookField::band(row), 1);
        texts.label = data.periodText(outlookField::period(row), 1);
        return texts;
    }
    texts.icon = data.iconNumber(row);
    if (mode == listMode::Periods) {
        texts.temperature = data.temperatureText(High | Degree | Unit, row);
        texts.label = data.periodText(forecastField::Period, row);
    } else {
        texts.temperature = data.temperatureText(Low | Degree | Unit, row);
        texts.label = dayNames ? data.dayText(forecastField::Day, row)
                               : data.dateText(kLabelDatePicture, row);
    }
    return texts;
}

std::wstring summaryLine(const WeatherData& data, int mode, int row) {
    if (data.noData())
        return {};
    if (mode == listMode::Outlook) {
        if (row < 1 || row > outlookField::Groups)
            return {};
        std::wstring text = data.fieldText(outlookField::text(row), 1);
        if (text == L"*")
            text = core::languageString(kNoDetails);
        return data.dayText(outlookField::day(row), 1) + L" " +
               data.periodText(outlookField::period(row), 1) + L". " + text;
    }
    if (mode == listMode::Periods) {
        return data.dayText(forecastField::Day, row) + L", " +
               data.periodText(forecastField::Period, row) + L". " + forecastTail(data, row);
    }
    return data.dateText(kSummaryDatePicture, row) + L". " + forecastTail(data, row);
}

std::vector<std::wstring> currentPanelLines(const WeatherData& current) {
    if (current.noData())
        return {core::languageString(kNoCurrentConditions)};
    using namespace temperatureFlag;
    return {
        core::formatText(core::languageString(kNow), current.temperatureText(High | Degree | Unit),
                         current.fieldText(currentField::Condition)),
        current.fieldText(currentField::Text),
        core::formatText(core::languageString(kConditionsLine),
                         current.pressureText(currentField::Pressure), current.windText(),
                         current.fieldText(currentField::WindDirection),
                         current.distanceText(currentField::Visibility)),
        core::formatText(core::languageString(kFeelsLike),
                         current.temperatureField(currentField::FeelsLike)),
        current.fieldText(currentField::LastLine),
    };
}

std::vector<std::wstring> outlookPanelLines(const WeatherData& outlook) {
    return {core::formatText(core::languageString(kOutlookFor),
                             outlook.fieldText(outlookField::Heading, 1)),
            outlook.fieldText(outlookField::Footer, 1)};
}

}  // namespace weather
