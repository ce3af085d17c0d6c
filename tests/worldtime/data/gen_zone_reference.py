#!/usr/bin/env python3
"""Writes zone_reference.csv: local times of cities of data/citylist.dat by the IANA
time zone database (Python's zoneinfo over the system tzdata), the independent reference
the zone tests check the zone table against.

Lines: city code, UTC minute, local minute, kind. "regular" instants step through 2025
every 149 hours (so every hour of the day occurs) and keep 36 hours away from any
daylight-saving change; "edge" instants lie one minute before and one minute after each
change of 2025 to 2027, for the zones whose table rule is exact.

    python3 tests/worldtime/data/gen_zone_reference.py > tests/worldtime/data/zone_reference.csv
"""

import datetime as dt
import pathlib
import sys
from zoneinfo import ZoneInfo

ROOT = pathlib.Path(__file__).resolve().parents[3]
UTC = dt.timezone.utc

# City codes; True where the zone's table rule is exact, so its change instants are checked too.
CITIES = {
    "GB2643743": True, "FR2988507": True, "US5128581": True, "US5368361": True,
    "US4887398": True, "US5419384": True, "US5879400": True, "US5856195": True,
    "US5308655": True, "CA6167865": True, "CA6173331": True, "CA6324729": True,
    "CA6324733": True, "MX3530597": True, "CU3553478": True, "BR3448439": True,
    "AR3435910": True, "CO3688689": True, "PE3936456": True, "IS3413829": True,
    "PT2267057": True, "ES3117735": True, "DE2950159": True, "IT3169070": True,
    "GR264371": True, "FI658225": True, "UA703448": True, "TR745044": True,
    "RU524901": True, "AE292223": True, "IR112931": True, "AF1138958": True,
    "PK1174872": True, "IN1275339": True, "NP1283240": True, "BD1185241": True,
    "MM1298824": True, "TH1609350": True, "CN1796236": True, "JP1850147": True,
    "KR1835848": True, "AU2073124": True, "AU2078025": True, "AU2174003": True,
    "AU2147714": True, "AU2163355": True, "NZ2193733": True, "ZA993800": True,
    "NG2332459": True, "KE184745": True, "PT6941014": True, "MX3981609": True,
    "AU2063523": True, "WS4035413": True, "PF8063344": True,
}


def city_zones():
    zones = {}
    text = (ROOT / "data" / "citylist.dat").read_text(encoding="utf-8-sig")
    for line in text.splitlines():
        fields = line.split("~")
        if len(fields) >= 7 and fields[6] in CITIES:
            zones[fields[6]] = fields[5]
    missing = set(CITIES) - set(zones)
    if missing:
        sys.exit(f"cities not in citylist.dat: {sorted(missing)}")
    return zones


def offset(zone, moment):
    return moment.astimezone(zone).utcoffset()


def transitions(zone, first_year, last_year):
    """UTC minutes at which the zone's offset changes."""
    found = []
    t = dt.datetime(first_year, 1, 1, tzinfo=UTC)
    end = dt.datetime(last_year + 1, 1, 1, tzinfo=UTC)
    step = dt.timedelta(minutes=30)
    while t < end:
        if offset(zone, t) != offset(zone, t + step):
            low, high = t, t + step
            while high - low > dt.timedelta(minutes=1):
                mid = low + (high - low) / 2
                mid = mid.replace(second=0, microsecond=0)
                if offset(zone, mid) == offset(zone, low):
                    low = mid
                else:
                    high = mid
            found.append(high)
        t += step
    return found


def minute(moment):
    return moment.strftime("%Y-%m-%dT%H:%M")


def main():
    out = sys.stdout
    version = pathlib.Path("/usr/share/zoneinfo/tzdata.zi").read_text().split("\n", 1)[0]
    out.write(f"# code,utc,local,kind; gen_zone_reference.py, IANA tzdata {version[2:]}\n")
    for code, name in sorted(city_zones().items()):
        zone = ZoneInfo(name)
        changes = transitions(zone, 2024, 2028)
        t = dt.datetime(2025, 1, 1, 0, 17, tzinfo=UTC)
        while t.year == 2025:
            if all(abs(t - c) > dt.timedelta(hours=36) for c in changes):
                out.write(f"{code},{minute(t)},{minute(t.astimezone(zone))},regular\n")
            t += dt.timedelta(hours=149)
        if CITIES[code]:
            for c in changes:
                if 2025 <= c.year <= 2027:
                    for edge in (c - dt.timedelta(minutes=1), c + dt.timedelta(minutes=1)):
                        out.write(f"{code},{minute(edge)},{minute(edge.astimezone(zone))},edge\n")


if __name__ == "__main__":
    main()
