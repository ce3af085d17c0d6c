#pragma once
// What the providers answer, and one small interface per kind of data, so that another
// service can stand in for any of them. Every provider asks through a Fetcher and reads its
// answer with a parser that takes hostile bytes: each parse function is bounded and answers a
// Failure (code 6, unreadable) rather than a half-read result.

#include <optional>
#include <string>
#include <vector>

#include "commsprogram/comms_errors.h"
#include "commsprogram/fetch.h"

namespace commsprogram {

// Where a city is; the providers that need more than its position get more.
struct Place {
    std::wstring code;
    double latitude = 0;
    double longitude = 0;
};

// Weather in Celsius, km/h, hectopascals and kilometres. Values the service did not give are
// empty.
struct CurrentWeather {
    std::string time;  // local "YYYY-MM-DDTHH:MM"
    int code = -1;     // WMO weather code
    bool day = true;
    std::optional<double> temperature, apparent, humidity, pressure, windSpeed, windDirection,
        visibilityKm;
};

struct DayWeather {
    std::string date;  // "YYYY-MM-DD"
    int code = -1;
    std::optional<double> high, low, windSpeed, windDirection, rainChance;
};

struct HourWeather {
    std::string time;  // local "YYYY-MM-DDTHH:MM"
    int code = -1;
    bool day = true;
    std::optional<double> temperature, windSpeed, windDirection, rainChance;
};

struct WeatherReport {
    std::string timezone;
    CurrentWeather current;
    std::vector<DayWeather> days;
    std::vector<HourWeather> hours;
};

struct FoundCity {
    long long id = 0;
    std::string name, country, countryCode, region, timezone;
    double latitude = 0, longitude = 0;
    long long population = 0;
};

struct Rates {
    std::string date;  // "YYYY-MM-DD", the day the rates are of
    std::string source;
    // Units of each currency per one unit of the base currency.
    std::string base;
    std::vector<std::pair<std::string, double>> rates;
};

struct FlightQuery {
    std::string airline;  // "BA"
    std::string number;   // "117"
    std::string date;     // "YYYY-MM-DD", local date of departure
    std::string key;      // the user's own key for the service
};

struct FlightLeg {
    std::string airportCode, airportName, terminal, gate, baggage;
    std::string scheduled, estimated, actual;  // local "YYYY-MM-DDTHH:MM:SS", empty when unknown
    std::string scheduledUtc, actualUtc;       // for block times
};

struct Flight {
    std::string status;  // the flight file's status letters
    FlightLeg departure, arrival;
};

template <class T>
struct Answer {
    std::optional<T> value;
    Failure failure;
};

class WeatherSource {
  public:
    virtual ~WeatherSource() = default;
    virtual Answer<WeatherReport> forecast(Fetcher& fetcher, const Place& place) = 0;
};

class CitySource {
  public:
    virtual ~CitySource() = default;
    // An empty list when the service knows no such place.
    virtual Answer<std::vector<FoundCity>> search(Fetcher& fetcher, const std::string& text) = 0;
};

class RatesSource {
  public:
    virtual ~RatesSource() = default;
    virtual Answer<Rates> latest(Fetcher& fetcher) = 0;
};

class FlightSource {
  public:
    virtual ~FlightSource() = default;
    virtual Answer<std::vector<Flight>> status(Fetcher& fetcher, const FlightQuery& query) = 0;
};

// Pictures as JPEG bytes.
class MapSource {
  public:
    virtual ~MapSource() = default;
    // Up to count frames of a region's satellite pictures, oldest first.
    virtual Answer<std::vector<std::string>> satellite(Fetcher& fetcher, const std::string& region,
                                                       int count) = 0;
    // Up to count radar frames, oldest first; empty for a region without radar.
    virtual Answer<std::vector<std::string>> radar(Fetcher& fetcher, const std::string& region,
                                                   int count) = 0;
    // The forecast map around a place.
    virtual Answer<std::string> forecastMap(Fetcher& fetcher, const Place& place) = 0;
};

// The addresses the providers use; one base replaces them all when set (tests point it at a
// server on 127.0.0.1).
struct ServiceBases {
    std::string forecast = "https://api.open-meteo.com";
    std::string geocoding = "https://geocoding-api.open-meteo.com";
    std::string rates = "https://www.ecb.europa.eu";
    std::string flights = "https://aerodatabox.p.rapidapi.com";
    std::string radarIndex = "https://api.rainviewer.com";
    std::string satellite = "https://gibs.earthdata.nasa.gov";

    static ServiceBases allAt(const std::string& base);
};

// Percent-encodes a query value.
std::string urlEncode(std::string_view text);

}  // namespace commsprogram
