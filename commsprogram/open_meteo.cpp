#include "commsprogram/open_meteo.h"

#include <cmath>
#include <cstdio>

#include "commsprogram/json_reading.h"

namespace commsprogram {
namespace {

constexpr std::size_t kMaxDays = 16;
constexpr std::size_t kMaxHours = 16 * 24;
constexpr std::size_t kMaxCities = 100;

std::string coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// A WMO weather code: a whole number 0..99.
std::optional<int> weatherCode(std::optional<double> value) {
    if (!value || *value < 0 || *value > 99 || *value != std::floor(*value))
        return std::nullopt;
    return static_cast<int>(*value);
}

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM": the forms the service gives local times in.
bool isLocalTime(const std::string& text, bool withTime) {
    const std::size_t length = withTime ? 16 : 10;
    if (text.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[i];
        bool digit = c >= '0' && c <= '9';
        if (i == 4 || i == 7) {
            if (c != '-')
                return false;
        } else if (i == 10) {
            if (c != 'T')
                return false;
        } else if (i == 13) {
            if (c != ':')
                return false;
        } else if (!digit) {
            return false;
        }
    }
    return true;
}

Failure missing(std::string_view what) {
    return fail(errorCode::Unreadable, "answer lacks " + std::string(what));
}

Failure readCurrent(const nlohmann::json& document, CurrentWeather& current) {
    const nlohmann::json* block = member(document, "current");
    if (!block || !block->is_object())
        return missing("current");
    auto time = textAt(*block, "time");
    if (!time || !isLocalTime(*time, true))
        return missing("current.time");
    auto code = weatherCode(numberAt(*block, "weather_code"));
    if (!code)
        return missing("current.weather_code");
    current.time = *time;
    current.code = *code;
    current.day = numberAt(*block, "is_day").value_or(1) != 0;
    current.temperature = numberAt(*block, "temperature_2m");
    if (!current.temperature)
        return missing("current.temperature_2m");
    current.apparent = numberAt(*block, "apparent_temperature");
    current.humidity = numberAt(*block, "relative_humidity_2m");
    current.pressure = numberAt(*block, "pressure_msl");
    current.windSpeed = numberAt(*block, "wind_speed_10m");
    current.windDirection = numberAt(*block, "wind_direction_10m");
    if (auto metres = numberAt(*block, "visibility"))
        current.visibilityKm = *metres / 1000.0;
    return {};
}

Failure readDays(const nlohmann::json& document, std::vector<DayWeather>& days) {
    const nlohmann::json* block = member(document, "daily");
    if (!block)
        return missing("daily");
    const nlohmann::json* times = arrayAt(*block, "time");
    const nlohmann::json* codes = arrayAt(*block, "weather_code");
    if (!times || times->empty())
        return missing("daily.time");
    if (!codes || codes->size() != times->size())
        return missing("daily.weather_code");
    const nlohmann::json* highs = arrayAt(*block, "temperature_2m_max");
    const nlohmann::json* lows = arrayAt(*block, "temperature_2m_min");
    if (!highs || !lows)
        return missing("daily.temperature_2m_max/min");
    const nlohmann::json* winds = arrayAt(*block, "wind_speed_10m_max");
    const nlohmann::json* directions = arrayAt(*block, "wind_direction_10m_dominant");
    const nlohmann::json* rain = arrayAt(*block, "precipitation_probability_max");
    for (std::size_t i = 0; i < times->size() && i < kMaxDays; ++i) {
        DayWeather day;
        auto date = textIn(times, i);
        if (!date || !isLocalTime(*date, false))
            return missing("daily.time[" + std::to_string(i) + "]");
        day.date = *date;
        day.code = weatherCode(numberIn(codes, i)).value_or(-1);
        day.high = numberIn(highs, i);
        day.low = numberIn(lows, i);
        day.windSpeed = numberIn(winds, i);
        day.windDirection = numberIn(directions, i);
        day.rainChance = numberIn(rain, i);
        days.push_back(std::move(day));
    }
    return {};
}

Failure readHours(const nlohmann::json& document, std::vector<HourWeather>& hours) {
    const nlohmann::json* block = member(document, "hourly");
    if (!block)
        return missing("hourly");
    const nlohmann::json* times = arrayAt(*block, "time");
    if (!times)
        return missing("hourly.time");
    const nlohmann::json* codes = arrayAt(*block, "weather_code");
    const nlohmann::json* temperatures = arrayAt(*block, "temperature_2m");
    const nlohmann::json* winds = arrayAt(*block, "wind_speed_10m");
    const nlohmann::json* directions = arrayAt(*block, "wind_direction_10m");
    const nlohmann::json* rain = arrayAt(*block, "precipitation_probability");
    const nlohmann::json* isDay = arrayAt(*block, "is_day");
    for (std::size_t i = 0; i < times->size() && i < kMaxHours; ++i) {
        HourWeather hour;
        auto time = textIn(times, i);
        if (!time || !isLocalTime(*time, true))
            return missing("hourly.time[" + std::to_string(i) + "]");
        hour.time = *time;
        hour.code = weatherCode(numberIn(codes, i)).value_or(-1);
        hour.day = numberIn(isDay, i).value_or(1) != 0;
        hour.temperature = numberIn(temperatures, i);
        hour.windSpeed = numberIn(winds, i);
        hour.windDirection = numberIn(directions, i);
        hour.rainChance = numberIn(rain, i);
        hours.push_back(std::move(hour));
    }
    return {};
}

}  // namespace

std::string openMeteoForecastUrl(const std::string& base, const Place& place) {
    return base + "/v1/forecast?latitude=" + coordinate(place.latitude) +
           "&longitude=" + coordinate(place.longitude) +
           "&current=temperature_2m,relative_humidity_2m,apparent_temperature,is_day,"
           "weather_code,pressure_msl,wind_speed_10m,wind_direction_10m,visibility"
           "&hourly=temperature_2m,weather_code,wind_speed_10m,wind_direction_10m,"
           "precipitation_probability,is_day"
           "&daily=weather_code,temperature_2m_max,temperature_2m_min,wind_speed_10m_max,"
           "wind_direction_10m_dominant,precipitation_probability_max"
           "&timezone=auto&forecast_days=7&forecast_hours=48&wind_speed_unit=kmh";
}

std::string openMeteoSearchUrl(const std::string& base, const std::string& text) {
    return base + "/v1/search?name=" + urlEncode(text) + "&count=20&language=en&format=json";
}

Answer<WeatherReport> parseOpenMeteoForecast(std::string_view text) {
    Answer<WeatherReport> answer;
    auto document = parseJson(text, answer.failure);
    if (!document)
        return answer;
    if (!document->is_object()) {
        answer.failure = missing("an object");
        return answer;
    }
    WeatherReport report;
    const nlohmann::json* error = member(*document, "error");
    if (auto reason = member(*document, "reason");
        error && error->is_boolean() && *error && reason) {
        answer.failure = fail(errorCode::ServerFailed, "service refused: " + reason->dump());
        return answer;
    }
    report.timezone = textAt(*document, "timezone").value_or("");
    if ((answer.failure = readCurrent(*document, report.current)))
        return answer;
    if ((answer.failure = readDays(*document, report.days)))
        return answer;
    if ((answer.failure = readHours(*document, report.hours)))
        return answer;
    answer.value = std::move(report);
    return answer;
}

Answer<std::vector<FoundCity>> parseOpenMeteoSearch(std::string_view text) {
    Answer<std::vector<FoundCity>> answer;
    auto document = parseJson(text, answer.failure);
    if (!document)
        return answer;
    if (!document->is_object()) {
        answer.failure = missing("an object");
        return answer;
    }
    std::vector<FoundCity> cities;
    // The service leaves "results" out when it found nothing.
    const nlohmann::json* results = member(*document, "results");
    if (results && !results->is_array()) {
        answer.failure = missing("results as a list");
        return answer;
    }
    for (std::size_t i = 0; results && i < results->size() && cities.size() < kMaxCities; ++i) {
        const nlohmann::json& item = (*results)[i];
        FoundCity city;
        auto id = numberAt(item, "id");
        auto name = textAt(item, "name");
        auto latitude = numberAt(item, "latitude");
        auto longitude = numberAt(item, "longitude");
        if (!id || !name || !latitude || !longitude || *id < 0 || *id > 1e15 ||
            std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) {
            answer.failure = missing("id, name or position of result " + std::to_string(i + 1));
            return answer;
        }
        city.id = static_cast<long long>(*id);
        city.name = *name;
        city.latitude = *latitude;
        city.longitude = *longitude;
        city.country = textAt(item, "country").value_or("");
        city.countryCode = textAt(item, "country_code").value_or("");
        city.region = textAt(item, "admin1").value_or("");
        city.timezone = textAt(item, "timezone").value_or("");
        double population = numberAt(item, "population").value_or(0);
        city.population =
            population > 0 && population < 1e11 ? static_cast<long long>(population) : 0;
        cities.push_back(std::move(city));
    }
    answer.value = std::move(cities);
    return answer;
}

Answer<WeatherReport> OpenMeteoWeather::forecast(Fetcher& fetcher, const Place& place) {
    Fetched fetched = fetcher.get({openMeteoForecastUrl(base_, place), {}, 1 << 20});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    return parseOpenMeteoForecast(fetched.body);
}

Answer<std::vector<FoundCity>> OpenMeteoCities::search(Fetcher& fetcher, const std::string& text) {
    Fetched fetched = fetcher.get({openMeteoSearchUrl(base_, text), {}, 256 << 10});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    return parseOpenMeteoSearch(fetched.body);
}

std::string urlEncode(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

ServiceBases ServiceBases::allAt(const std::string& base) {
    ServiceBases bases;
    bases.forecast = bases.geocoding = bases.rates = bases.flights = bases.radarIndex =
        bases.satellite = base;
    return bases;
}

}  // namespace commsprogram
