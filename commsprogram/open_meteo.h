#pragma once
// Open-Meteo (keyless): the forecast service for current conditions, hours and days, and the
// geocoding service for the remote city look-up. Units asked for: Celsius, km/h, hPa, metres.

#include <string>
#include <string_view>

#include "commsprogram/providers.h"

namespace commsprogram {

// The forecast request for a place: current conditions, 48 hours and 7 days, local times.
std::string openMeteoForecastUrl(const std::string& base, const Place& place);
std::string openMeteoSearchUrl(const std::string& base, const std::string& text);

// The answers' parsers; a Failure for malformed text or a missing field.
Answer<WeatherReport> parseOpenMeteoForecast(std::string_view text);
Answer<std::vector<FoundCity>> parseOpenMeteoSearch(std::string_view text);

class OpenMeteoWeather : public WeatherSource {
  public:
    explicit OpenMeteoWeather(std::string base) : base_(std::move(base)) {}
    Answer<WeatherReport> forecast(Fetcher& fetcher, const Place& place) override;

  private:
    std::string base_;
};

class OpenMeteoCities : public CitySource {
  public:
    explicit OpenMeteoCities(std::string base) : base_(std::move(base)) {}
    Answer<std::vector<FoundCity>> search(Fetcher& fetcher, const std::string& text) override;

  private:
    std::string base_;
};

}  // namespace commsprogram
