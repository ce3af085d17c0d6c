#include "home/home_data.h"

#include "core/language.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/time_text.h"
#include "home/settings_keys.h"
#include "platform/api/locale.h"
#include "weather/settings_keys.h"
#include "weather/weather_data.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/zones.h"

namespace home {
namespace {

constexpr std::wstring_view kFavouritesFile = L"mycities.dat";

std::wstring orNotAvailable(std::wstring text) {
    if (text.empty())
        return std::wstring(kNotAvailable);
    return text;
}

// The date of a forecast day, short enough for a column: "Dec 8" or "8 Dec" in the order
// the locale writes its dates.
std::wstring forecastDatePicture() {
    std::wstring shortDate = platform::shortDatePicture();
    std::size_t month = shortDate.find(L'M');
    std::size_t day = shortDate.find(L'd');
    return (month != std::wstring::npos && month < day) ? L"MMM d" : L"d MMM";
}

}  // namespace

DataSources DataSources::forInstall(std::wstring mainPath) {
    DataSources sources;
    sources.downloadPath = core::settings::read(core::keys::DownloadPath);
    if (sources.downloadPath.empty())
        sources.downloadPath = core::downloadPathOf(mainPath);
    sources.mainPath = std::move(mainPath);
    return sources;
}

DisplayChoices DisplayChoices::fromSettings() {
    DisplayChoices choices;
    choices.units = weather::unitsFromSettings();
    choices.dayNames = core::settings::read(keys::OptHomeDayDate) == 2;
    choices.timeFormat = core::settings::read(core::keys::OptTimeFormat);
    return choices;
}

HomeData::HomeData(DataSources sources)
    : sources_(std::move(sources)), favourites_(worldtime::cityField::Count) {}

HomeData::~HomeData() = default;

void HomeData::loadFavourites() {
    favourites_.clear();
    favourites_.load(sources_.mainPath, kFavouritesFile, L'~', true);
    current_ = favourites_.rowCount() > 0 ? 1 : 0;
    worldtime::loadZones(sources_.mainPath);
}

void HomeData::readSettings() {
    setChoices(DisplayChoices::fromSettings());
}

void HomeData::setChoices(const DisplayChoices& choices) {
    choices_ = choices;
    dropWeather();
}

void HomeData::setCurrentFavourite(int row) {
    if (row >= 1 && row <= favouriteCount())
        current_ = row;
}

void HomeData::nextFavourite() {
    if (favouriteCount() > 0)
        current_ = current_ % favouriteCount() + 1;
}

int HomeData::cityRow(int city) const {
    int n = favouriteCount();
    if (city < 1 || n == 0 || current_ < 1)
        return 0;
    // Counted on from the current favourite, wrapping round as often as needed.
    return static_cast<int>((static_cast<long long>(current_) - 1 + city - 1) % n) + 1;
}

void HomeData::dropWeather() {
    weather_.clear();
}

LayoutContent HomeData::gather(const Layout& layout, platform::FileTime utcNow, bool force) {
    if (force)
        dropWeather();
    platform::SystemTime localNow =
        platform::toSystemTime(platform::utcToLocal(utcNow).value_or(utcNow))
            .value_or(platform::SystemTime{});
    std::optional<NextAlarm> alarm;
    LayoutContent content;
    content.reserve(layout.objects.size());
    for (const auto& object : layout.objects) {
        switch (object.kind) {
            case ObjectKind::Clock: {
                ObjectContent clock;
                if (int row = cityRow(object.city))
                    clock.clockOffsetMinutes =
                        worldtime::cityClock(favourites_, row, utcNow).offsetMinutes;
                content.push_back(std::move(clock));
                break;
            }
            case ObjectKind::Text:
                content.push_back(textContent(object, utcNow));
                break;
            case ObjectKind::NextAlarm:
                // One look at the alarm store serves every alarm object of the layout.
                if (!alarm)
                    alarm = findNextAlarm(sources_.alarmFolder, localNow);
                content.push_back(alarmContent(object, *alarm, localNow));
                break;
            case ObjectKind::Weather:
                content.push_back(weatherContent(object));
                break;
        }
    }
    return content;
}

ObjectContent HomeData::textContent(const LayoutObject& object, platform::FileTime utcNow) const {
    ObjectContent content;
    if (object.subKind == textKind::Static) {
        content.text = object.text;
        return content;
    }
    int row = cityRow(object.city);
    bool deviceTime =
        object.city == 0 && (object.subKind == textKind::Time || object.subKind == textKind::Date);
    if (row == 0 && !deviceTime) {
        content.text = kNotAvailable;
        return content;
    }
    using worldtime::cityField::Country;
    using worldtime::cityField::Name;
    switch (object.subKind) {
        case textKind::CityName:
            content.text = orNotAvailable(std::wstring(favourites_.fieldText(row, Name)));
            return content;
        case textKind::FullCityName:
            content.text = orNotAvailable(std::wstring(favourites_.fieldText(row, Name)));
            if (!favourites_.fieldText(row, Country).empty())
                content.text += L", " + std::wstring(favourites_.fieldText(row, Country));
            return content;
        default:
            break;
    }
    platform::SystemTime local{};
    if (deviceTime) {
        auto localTicks = platform::utcToLocal(utcNow);
        local = platform::toSystemTime(localTicks.value_or(utcNow)).value_or(local);
    } else {
        local = worldtime::cityClock(favourites_, row, utcNow).local;
    }
    std::optional<std::wstring> text;
    if (object.subKind == textKind::Time) {
        text = object.format.empty() ? core::clockTimeText(local, choices_.timeFormat)
                                     : platform::formatTime(local, object.format);
    } else {
        text = object.format.empty() ? core::shortDateText(local)
                                     : platform::formatDate(local, object.format);
    }
    content.text = orNotAvailable(text.value_or(std::wstring()));
    return content;
}

ObjectContent HomeData::alarmContent(const LayoutObject& object, const NextAlarm& alarm,
                                     const platform::SystemTime& localNow) const {
    ObjectContent content;
    switch (object.subKind) {
        case alarmKind::Relative:
            content.text = relativeAlarmText(alarm, localNow);
            break;
        case alarmKind::Time:
            content.text = alarmTimeText(alarm);
            break;
        case alarmKind::Name:
            content.text = alarmNameText(alarm);
            break;
        case alarmKind::Icon: {
            const std::wstring& name =
                alarm.state == NextAlarm::State::Future ? object.alarmOn : object.alarmOff;
            if (!name.empty())
                content.picture = sources_.mainPath + L"home\\" + name + L".tga";
            break;
        }
    }
    return content;
}

weather::WeatherData& HomeData::weatherFile(int kind, const std::wstring& code) {
    auto& slot = weather_[{kind, code}];
    if (!slot)
        slot = std::make_unique<weather::WeatherData>(kind, code, choices_.units,
                                                      sources_.downloadPath);
    return *slot;
}

ObjectContent HomeData::weatherContent(const LayoutObject& object) {
    using namespace weather;
    ObjectContent content;
    int row = cityRow(object.city);
    std::wstring code =
        row ? std::wstring(favourites_.fieldText(row, worldtime::cityField::Code)) : std::wstring();
    bool forecast = object.subKind == weatherKind::Forecast;
    bool hasFile = isSafeKey(code);
    WeatherData* data = nullptr;
    if (hasFile) {
        data = &weatherFile(forecast ? fileKind::Daily : fileKind::Current, code);
        if (forecast) {
            // Day 1 is today's row (or the next day the file holds), day 2 the day after.
            int today = data->selectToday();
            int wanted = (today > 0 ? today : 1) + std::max(object.day, 1) - 1;
            if (!data->setCurrentRow(wanted))
                data = nullptr;
        } else {
            int station = object.subKind == weatherKind::Station && object.station > 0
                              ? object.station
                              : readStationRow(code);
            data->selectStation(station);
        }
        if (data && data->noData())
            data = nullptr;
    }
    if (object.style == weatherStyle::Icon) {
        int icon = data ? data->iconNumber() : kNoReportIcon;
        content.picture = sources_.mainPath + conditionIconPath(icon);
        return content;
    }
    if (!data) {
        content.text = kNotAvailable;
        return content;
    }
    using namespace temperatureFlag;
    int unit = object.showUnit ? Degree | Unit : Degree;
    auto field = [&](int f) { return data->fieldText(f); };
    std::wstring text;
    switch (object.style) {
        case weatherStyle::Min:
            text = data->temperatureText(Low | unit);
            break;
        case weatherStyle::Max:
            text = data->temperatureText(High | unit);
            break;
        case weatherStyle::Day:
            text = forecast ? data->dayText(forecastField::Day) : std::wstring();
            break;
        case weatherStyle::Date:
            text = forecast ? data->dateText(forecastDatePicture()) : std::wstring();
            break;
        case weatherStyle::DayOrDate:
            text = !forecast           ? std::wstring()
                   : choices_.dayNames ? data->dayText(forecastField::Day)
                                       : data->dateText(forecastDatePicture());
            break;
        case weatherStyle::Comfort: {
            text = data->temperatureField(forecast ? forecastField::HomeTemperature
                                                   : currentField::FeelsLike);
            // The field comes with its unit letter; it stays only when the layout asks.
            if (!object.showUnit && !text.empty() && (text.back() == L'C' || text.back() == L'F'))
                text.pop_back();
            break;
        }
        case weatherStyle::StationName:
            text = forecast ? std::wstring() : field(currentField::LastLine);
            break;
        case weatherStyle::ReportTime:
            text = forecast ? std::wstring() : field(currentField::Note);
            break;
        case weatherStyle::WindSpeed:
            text = data->windText();
            break;
        case weatherStyle::WindDirection:
            text = field(forecastField::WindDirection);
            break;
        case weatherStyle::Visibility:
            text =
                data->distanceText(forecast ? forecastField::Distance : currentField::Visibility);
            break;
        case weatherStyle::Humidity:
            // The weather files carry no humidity; the object says so.
            break;
        case weatherStyle::Description:
            text = field(forecast ? forecastField::Text : currentField::Text);
            if (text.empty() && !forecast)
                text = field(currentField::Condition);
            break;
        case weatherStyle::WindInfo:
            text = data->windText() + L"," + field(forecastField::WindDirection);
            break;
    }
    content.text = orNotAvailable(std::move(text));
    return content;
}

}  // namespace home
