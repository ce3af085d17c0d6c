#!/usr/bin/python3
"""Writes sun_reference.csv, the almanac values the sun tests compare with.

Computed with PyEphem (Debian python3-ephem; the libastro ephemeris, which follows the
Astronomical Almanac's reduction) with the U.S. Naval Observatory's rise and set
convention: the sun's upper limb on a sea-level horizon with 34' of refraction. Local
times use the IANA zone of the place (Python's zoneinfo over the system tzdata).

Lines:
  decl,UTC minute,apparent declination in degrees
  rise,place,latitude,longitude,IANA zone,local date,sunrise HH:MM,sunset HH:MM
     (the sunset that follows that sunrise, "+1" after it when it falls after midnight;
     "polar-day" / "polar-night" instead of the two times when the sun neither sets nor
     rises that day)

    /usr/bin/python3 tests/worldtime/data/gen_sun_reference.py > tests/worldtime/data/sun_reference.csv
"""

import datetime as dt
import sys
from zoneinfo import ZoneInfo

import ephem

UTC = dt.timezone.utc

PLACES = [
    ("London", 51.5085, -0.1257, "Europe/London"),
    ("New York City", 40.7143, -74.0060, "America/New_York"),
    ("Sydney", -33.8678, 151.2073, "Australia/Sydney"),
    ("Tokyo", 35.6895, 139.6917, "Asia/Tokyo"),
    ("Quito", -0.2299, -78.5250, "America/Guayaquil"),
    ("Cape Town", -33.9258, 18.4232, "Africa/Johannesburg"),
    ("Los Angeles", 34.0522, -118.2437, "America/Los_Angeles"),
    ("Mumbai", 19.0728, 72.8826, "Asia/Kolkata"),
    ("Reykjavik", 64.1355, -21.8954, "Atlantic/Reykjavik"),
    ("Anchorage", 61.2181, -149.9003, "America/Anchorage"),
    ("Tromso", 69.6496, 18.9570, "Europe/Oslo"),
    ("Longyearbyen", 78.2232, 15.6267, "Arctic/Longyearbyen"),
]

DATES = ["2025-01-15", "2025-03-20", "2025-05-10", "2025-06-21", "2025-08-01",
         "2025-09-22", "2025-11-05", "2025-12-21"]


def fmt(moment):
    return moment.strftime("%H:%M")


def rise_set(lat, lon, zone_name, day):
    zone = ZoneInfo(zone_name)
    start = dt.datetime.fromisoformat(day).replace(tzinfo=zone)
    observer = ephem.Observer()
    observer.lat, observer.lon = str(lat), str(lon)
    observer.pressure = 0
    observer.horizon = "-0:34"
    observer.date = ephem.Date(start.astimezone(UTC).replace(tzinfo=None))
    sun = ephem.Sun()
    try:
        rising = observer.next_rising(sun)
        rise = rising.datetime().replace(tzinfo=UTC).astimezone(zone)
        setting = observer.next_setting(sun, start=rising)
        setting = setting.datetime().replace(tzinfo=UTC).astimezone(zone)
    except ephem.AlwaysUpError:
        return "polar-day", "polar-day"
    except ephem.NeverUpError:
        return "polar-night", "polar-night"
    if rise.date() != start.date() or (setting.date() - start.date()).days > 1:
        return None
    return fmt(rise), fmt(setting) + ("+1" if setting.date() != start.date() else "")


def main():
    out = sys.stdout
    out.write(f"# gen_sun_reference.py, PyEphem {ephem.__version__}\n")
    moment = dt.datetime(2025, 1, 1, 6, 0, tzinfo=UTC)
    while moment.year == 2025:
        sun = ephem.Sun(ephem.Date(moment.replace(tzinfo=None)))
        out.write(f"decl,{moment.strftime('%Y-%m-%dT%H:%M')},{float(sun.dec) * 57.29577951308232:.4f}\n")
        moment += dt.timedelta(days=9, hours=7)
    for name, lat, lon, zone in PLACES:
        for day in DATES:
            times = rise_set(lat, lon, zone, day)
            if times:
                out.write(f"rise,{name},{lat},{lon},{zone},{day},{times[0]},{times[1]}\n")


if __name__ == "__main__":
    main()
