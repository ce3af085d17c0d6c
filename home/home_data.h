#pragma once
// The data a home layout shows, gathered in one place through the system's own models: the
// favourite cities and their zone clocks (worldtime), the weather files (weather), the next
// alarm (alarms). The Today plug-in, the home-mode screen and the options' layout preview
// gather through it, so all of them show the same values the same way.
//
// Gathering answers one ObjectContent per object of a layout, in the layout's order; the
// painter draws from those. Clock hands are the exception: they follow the time of drawing,
// so the content keeps the city's offset from UTC and the painter adds it to the moment it is
// given.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/record_table.h"
#include "home/layout.h"
#include "home/next_alarm.h"
#include "platform/api/clock.h"
#include "weather/units.h"

namespace weather {
class WeatherData;
}

namespace home {

// What an object shows at the moment its data was gathered.
struct ObjectContent {
    std::wstring text;     // text objects, alarm texts, weather text styles
    std::wstring picture;  // device path of a Targa picture (icons); empty: none
    // Clocks of a city: its offset from UTC; nothing draws the face alone.
    std::optional<int> clockOffsetMinutes;
};
using LayoutContent = std::vector<ObjectContent>;

// The text shown for a value that is not available.
inline constexpr std::wstring_view kNotAvailable = L"N/A";

struct DataSources {
    std::wstring mainPath;      // install folder, with its trailing backslash
    std::wstring downloadPath;  // the weather files
    std::wstring alarmFolder = L"\\windows";
    // The install folder's sources with the weather files where DownloadPath says.
    static DataSources forInstall(std::wstring mainPath);
};

// The user's choices that change what values look like, read from the settings.
struct DisplayChoices {
    weather::Units units;
    bool dayNames = false;  // "day/date" weather objects show the day name (else the date)
    int timeFormat = 1;     // core::timeFormat
    static DisplayChoices fromSettings();
};

class HomeData {
  public:
    explicit HomeData(DataSources sources);
    ~HomeData();
    HomeData(const HomeData&) = delete;
    HomeData& operator=(const HomeData&) = delete;

    // Reads the favourites ("mycities.dat") and the zone table ("dstinfo.dat"); the current
    // favourite becomes the first. A missing file leaves no favourites (city objects show
    // "N/A").
    void loadFavourites();
    // Reads the display choices again (units, day names, clock format); drops cached weather.
    void readSettings();
    void setChoices(const DisplayChoices& choices);

    const core::RecordTable& favourites() const { return favourites_; }
    int favouriteCount() const { return favourites_.rowCount(); }
    // 1-based; 0 when there are no favourites.
    int currentFavourite() const { return current_; }
    void setCurrentFavourite(int row);
    // The next favourite becomes current, after the last the first.
    void nextFavourite();
    // The favourite row an object's city number names: 1 the current favourite, 2 the next
    // one, wrapping round; 0 (none) for city numbers below 1 or without favourites.
    int cityRow(int city) const;

    // The content of every object of the layout at the moment (device UTC). force re-reads
    // the weather files; otherwise a file read for this layout before is used again.
    LayoutContent gather(const Layout& layout, platform::FileTime utcNow, bool force);
    // Forgets the weather files read so far.
    void dropWeather();

  private:
    ObjectContent textContent(const LayoutObject& object, platform::FileTime utcNow) const;
    ObjectContent alarmContent(const LayoutObject& object, const NextAlarm& alarm,
                               const platform::SystemTime& localNow) const;
    ObjectContent weatherContent(const LayoutObject& object);
    weather::WeatherData& weatherFile(int kind, const std::wstring& code);

    DataSources sources_;
    DisplayChoices choices_;
    core::RecordTable favourites_;
    int current_ = 0;
    std::map<std::tuple<int, std::wstring>, std::unique_ptr<weather::WeatherData>> weather_;
};

}  // namespace home
