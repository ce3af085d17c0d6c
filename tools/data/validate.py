#!/usr/bin/env python3
"""Check the generated install folder (data/) the way the device reads it.

Tables are read like the device's record-table loader: UTF-8 with or without
byte-order mark, lines split at LF or CR LF, the field count taken from the
first line, double quotes removed where the loader removes them.  Every
problem found is printed; the exit status is 1 when there is any.
"""
import glob
import os
import re
import struct
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import DATA, HERE  # noqa: E402

errors = []


def fail(msg):
    errors.append(msg)


def read_lines(path):
    with open(path, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xef\xbb\xbf"):
        fail("%s: no UTF-8 byte-order mark" % rel(path))
    else:
        raw = raw[3:]
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        fail("%s: not UTF-8 (%s)" % (rel(path), e))
        return []
    if not text:
        return []
    lines = re.split(r"\r?\n", text)
    if lines and lines[-1] == "" and text.endswith("\n"):
        lines.pop()
    return lines


def rel(path):
    return os.path.relpath(path, DATA)


def load_table(name, sep="~", strip_quotes=True, quoted=False, width=None):
    path = os.path.join(DATA, name)
    if not os.path.exists(path):
        fail("%s: missing" % name)
        return []
    rows = []
    lines = read_lines(path)
    if not lines:
        fail("%s: empty" % name)
        return []
    if len(lines[0]) > 20479:
        fail("%s: first line too long" % name)
    for i, line in enumerate(lines, 1):
        if len(line) > 20479:
            fail("%s line %d: longer than the loader's line limit" % (name, i))
        if quoted:
            fields = []
            for m in re.finditer(r'"([^"]*)"|([^%s]*)' % re.escape(sep), line):
                pass
            fields = split_quoted(line, sep)
        else:
            if strip_quotes:
                line = line.replace('"', "")
            fields = line.split(sep)
        rows.append(fields)
    count = len(rows[0])
    if width is not None and count != width:
        fail("%s: %d fields per line, expected %d" % (name, count, width))
    for i, r in enumerate(rows, 1):
        if len(r) != count:
            fail("%s line %d: %d fields, first line has %d" % (name, i, len(r), count))
    return rows


def split_quoted(line, sep):
    fields, i, n = [], 0, len(line)
    while True:
        if i < n and line[i] == '"':
            j = line.find('"', i + 1)
            if j < 0:
                fail("unclosed quote in %r" % line[:60])
                j = n
            fields.append(line[i + 1:j])
            i = j + 1
            if i < n and line[i] != sep:
                fail("text after closing quote in %r" % line[:60])
                k = line.find(sep, i)
                i = n if k < 0 else k
        else:
            k = line.find(sep, i)
            fields.append(line[i:] if k < 0 else line[i:k])
            i = n if k < 0 else k
        if i >= n:
            break
        i += 1
        if i == n:
            fields.append("")
            break
    return fields


CONVERSION = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?(?:l|h|ll)?([a-zA-Z]))")


def conversions(text):
    out = []
    for m in CONVERSION.finditer(text):
        if m.group(1) is None:
            continue
        c = m.group(1)
        out.append("d" if c in "diu" else c)
    return "".join(out)


def check_languages():
    from lang_texts import FORMATS
    refs_path = os.path.join(HERE, "string_refs.tsv")
    refs = [int(l.split("\t")[0]) for l in open(refs_path, encoding="utf-8") if l.strip()]
    langs = load_table("lang/lang.dat", width=9)
    if not langs:
        return
    defaults = [r for r in langs if r[2] == "1"]
    if len(defaults) != 1:
        fail("lang.dat: %d default languages" % len(defaults))
    codes = [r[5] for r in langs]
    for needed in ("0409", "0407"):
        if needed not in codes:
            fail("lang.dat: language %s missing" % needed)
    for r in langs:
        name, lang_file, eula, code = r[0], r[1], r[4], r[5]
        if not re.fullmatch(r"[0-9A-F]{4}", code):
            fail("lang.dat: bad code %r" % code)
        if lang_file != "lang.%s.mui.txt" % code:
            fail("lang.dat: file %r does not match code %s" % (lang_file, code))
        if not os.path.exists(os.path.join(DATA, "lang", eula)) or \
                os.path.getsize(os.path.join(DATA, "lang", eula)) < 500:
            fail("lang.dat: agreement file %r missing or short" % eula)
        path = os.path.join(DATA, "lang", lang_file)
        if not os.path.exists(path):
            fail("%s missing" % lang_file)
            continue
        lines = read_lines(path)
        try:
            count = int(lines[0])
        except (IndexError, ValueError):
            fail("%s: first line is not the string count" % lang_file)
            continue
        if len(lines) < count:
            fail("%s: %d lines for %d strings" % (lang_file, len(lines), count))
        strings = {k + 1: lines[k] for k in range(min(count, len(lines)))}
        for k, s in strings.items():
            if len(s) > 254:
                fail("%s string %d: longer than 254 characters" % (lang_file, k))
        for n in refs:
            s = strings.get(n, "")
            if not s.strip():
                fail("%s: string %d is missing or empty" % (lang_file, n))
        # every text carries exactly the conversions the program fills in, and none else
        for n, s in strings.items():
            if n == 1 or not s.strip():
                continue
            want = FORMATS.get(n, "")
            got = conversions(s)
            if got != want:
                fail("%s string %d: conversions %r, expected %r (%r)"
                     % (lang_file, n, got, want, s))
        # comma list of day names: item k of a day number k + 1, seven days
        days = strings.get(642, "").split(",")
        if len(days) != 8 or not all(days):
            fail("%s string 642: expected a heading and seven day names" % lang_file)
        if strings.get(38) != "Vibrate":
            fail("%s string 38 must stay 'Vibrate' (the alarm program looks for it)" % lang_file)


SAFE_CODE = re.compile(r"[A-Za-z0-9_-]{1,40}")
RADAR = {"europe", "australia", "russia", "centralasia", "africa", "japan", "scandinavia",
         "indonesia", "caribbean", "britishisles"}


def check_zones_and_cities():
    zones = load_table("dstinfo.dat", width=13)
    numbers = {}
    for r in zones:
        try:
            vals = [int(x) for x in r[:11]]
        except ValueError:
            fail("dstinfo.dat: non-numeric column in %r" % r)
            continue
        num, bias, dbias, sw, sm, sy, sh, ew, em, ey, eh = vals
        if num in numbers:
            fail("dstinfo.dat: zone %d twice" % num)
        numbers[num] = vals
        if not r[11].strip():
            fail("dstinfo.dat: zone %d has no name" % num)
        if em:
            if not (1 <= sw <= 5 and 1 <= ew <= 5 and 1 <= sm <= 12 and 1 <= em <= 12):
                fail("dstinfo.dat: zone %d rule out of range" % num)
            if sm == em:
                fail("dstinfo.dat: zone %d starts and ends in the same month" % num)
            if dbias >= 0:
                fail("dstinfo.dat: zone %d daylight bias %d" % (num, dbias))
            if not (0 <= sh <= 23 and 0 <= eh <= 23):
                fail("dstinfo.dat: zone %d change hours out of range" % num)
        elif dbias or sw or sm or sh or ew or eh:
            fail("dstinfo.dat: zone %d without daylight saving has rule values" % num)
        if sy or ey:
            fail("dstinfo.dat: zone %d has a one-off year" % num)
    if numbers.get(25, [None, None])[1:4] != [0, 0, 0]:
        fail("dstinfo.dat: zone 25 is not UTC+0 without daylight saving")
    for hours in range(-12, 15):
        first = next((n for n, v in [(int(r[0]), int(r[1])) for r in zones] if v == -60 * hours), None)
        if first is None:
            fail("dstinfo.dat: no zone for UTC%+d" % hours)
        elif numbers[first][8] != 0:
            fail("dstinfo.dat: first zone for UTC%+d (%d) has daylight saving" % (hours, first))
    for name in ("citylist.dat", "mycities.dat"):
        rows = load_table(name, width=10)
        codes = set()
        for i, r in enumerate(rows, 1):
            if len(r) != 10:
                continue
            try:
                zone = int(r[0])
                lat, lon = float(r[3]), float(r[4])
            except ValueError:
                fail("%s line %d: bad number in %r" % (name, i, r[:5]))
                continue
            if zone not in numbers:
                fail("%s line %d: zone %d not in dstinfo.dat" % (name, i, zone))
            if not (-90 <= lat <= 90 and -180 <= lon <= 180):
                fail("%s line %d: coordinates out of range" % (name, i))
            if not r[1].strip() or not r[2].strip():
                fail("%s line %d: empty name or country" % (name, i))
            if r[2] == r[6][:2]:
                fail("%s line %d: country %r is a code, not a name" % (name, i, r[2]))
            code = r[6]
            if not SAFE_CODE.fullmatch(code):
                fail("%s line %d: city code %r is not file-name safe" % (name, i, code))
            if code.lower() in codes:
                fail("%s line %d: city code %r twice" % (name, i, code))
            codes.add(code.lower())
            if r[7] not in ("0", "1"):
                fail("%s line %d: favourite flag %r" % (name, i, r[7]))
        if name == "citylist.dat":
            all_codes = codes
            if len(rows) < 5000:
                fail("citylist.dat: only %d cities" % len(rows))
            flagged = {r[6].lower() for r in rows if r[7] == "1"}
        else:
            if not rows:
                fail("mycities.dat: no favourites")
            if not codes <= all_codes:
                fail("mycities.dat: favourites not in citylist.dat: %r" % sorted(codes - all_codes))
            if codes != flagged:
                fail("mycities.dat and the favourite flags of citylist.dat differ")
            if not any(r[8].lower() in RADAR for r in rows):
                fail("mycities.dat: no favourite with a radar region")


# Names the city matcher is expected to answer from the companion table.
KNOWN_CITY_NAMES = {"IN1275339": "Bombay", "UA703448": "Kiev", "DE2886242": "Cologne",
                    "CN1816670": "Peking", "US5128581": "NYC"}
KNOWN_REGIONS = {"US5746545": "Oregon", "US4975802": "Maine", "GB2643743": "England",
                 "AU2147714": "New South Wales", "FR2988507": "\u00cele-de-France",
                 "JP1850147": "Tokyo", "DE2886242": "North Rhine-Westphalia"}
MAX_NAME = 200
MAX_ALTERNATES = 500


def is_latin_name(name):
    for c in name:
        if c.isalpha():
            if "LATIN" not in unicodedata.name(c, ""):
                return False
        elif c not in " -'.\u2019":
            return False
    return True


def check_city_names():
    """citynames.dat: code, region, region abbreviation, alternate names joined by "|"."""
    codes = {r[6] for r in load_table("citylist.dat", width=10) if len(r) == 10}
    rows = load_table("citynames.dat", width=4)
    path = os.path.join(DATA, "citynames.dat")
    if os.path.exists(path) and os.path.getsize(path) > 1024 * 1024:
        fail("citynames.dat: larger than 1 MB")
    seen = set()
    by_code = {}
    for i, r in enumerate(rows, 1):
        if len(r) != 4:
            continue
        code, region, abbreviation, alternates = r
        if code not in codes:
            fail("citynames.dat line %d: city code %r not in citylist.dat" % (i, code))
        if code.lower() in seen:
            fail("citynames.dat line %d: city code %r twice" % (i, code))
        seen.add(code.lower())
        by_code[code] = r
        if not region and not alternates:
            fail("citynames.dat line %d: neither region nor alternate names" % i)
        if len(region) > MAX_NAME or region != region.strip():
            fail("citynames.dat line %d: region %r" % (i, region))
        if abbreviation and (not region or not re.fullmatch(r"[A-Z0-9]{1,4}", abbreviation)):
            fail("citynames.dat line %d: region abbreviation %r" % (i, abbreviation))
        names = alternates.split("|") if alternates else []
        if len(names) > MAX_ALTERNATES:
            fail("citynames.dat line %d: %d alternate names" % (i, len(names)))
        for name in names:
            if not name.strip() or name != name.strip() or len(name) > MAX_NAME:
                fail("citynames.dat line %d: alternate name %r" % (i, name))
            elif not is_latin_name(name):
                fail("citynames.dat line %d: alternate name %r not in Latin letters" % (i, name))
    for code, name in sorted(KNOWN_CITY_NAMES.items()):
        if name not in by_code.get(code, ["", "", "", ""])[3].split("|"):
            fail("citynames.dat: %s lacks the alternate name %r" % (code, name))
    for code, region in sorted(KNOWN_REGIONS.items()):
        if by_code.get(code, ["", ""])[1] != region:
            fail("citynames.dat: %s is not in the region %r" % (code, region))


def check_other_tables():
    rows = load_table("dialcodes.dat", width=4)
    for r in rows:
        if len(r) == 4 and (not r[1].isdigit() or not re.fullmatch(r"[0-9-]+", r[2]) or
                            not re.fullmatch(r"[0-9-]*", r[3])):
            fail("dialcodes.dat: bad codes in %r" % r)
    names = [r[0] for r in rows]
    if len(set(names)) != len(names):
        fail("dialcodes.dat: a country listed twice")
    if len(rows) < 200:
        fail("dialcodes.dat: only %d countries" % len(rows))
    rows = load_table("travel/airportcodes.dat", sep=",", quoted=True, width=3)
    codes = [r[0] for r in rows]
    if len(set(codes)) != len(codes):
        fail("airportcodes.dat: duplicate codes")
    for r in rows:
        if len(r) != 3:
            continue
        if not re.fullmatch(r"[A-Z]{3}", r[0]) or not r[1] or not r[2]:
            fail("airportcodes.dat: bad row %r" % r)
    rows = load_table("travel/airlines.dat", width=2)
    # A designator is two letters or digits, not both digits, and names one
    # carrier: flights and trip items find their airline by it.
    carriers = {}
    for r in rows:
        if len(r) != 2:
            continue
        if not re.fullmatch(r"(?![0-9]{2})[A-Z0-9]{2}", r[1]):
            fail("airlines.dat: bad code in %r" % r)
        elif r[1] in carriers:
            fail("airlines.dat: %s is the code of %s and %s" % (r[1], carriers[r[1]], r[0]))
        carriers.setdefault(r[1], r[0])
    rows = load_table("conversions/rates.dat", width=4)
    # Lines keyed "#" describe the rates ("#rates": source and day), not a currency.
    info = [r for r in rows if r and r[0].startswith("#")]
    for r in info:
        if r[0] == "#rates" and (len(r) != 4 or not re.fullmatch(r"\d{4}-\d{2}-\d{2}", r[3])):
            fail("rates.dat: bad #rates line %r" % r)
    rows = [r for r in rows if not (r and r[0].startswith("#"))]
    keys = [r[0] for r in rows]
    for need in ("USD", "EUR", "GBP"):
        if need not in keys:
            fail("rates.dat: %s missing (a default choice)" % need)
    for r in rows:
        try:
            if float(r[3]) <= 0:
                raise ValueError
        except (ValueError, IndexError):
            fail("rates.dat: bad rate in %r" % r)
    for lang in ("0409", "0407"):
        unit_file_check("conversions/conv.%s.mui.txt" % lang)
    packing_names = ["packing/fulllist.dat"] + sorted(
        os.path.relpath(p, DATA) for p in glob.glob(os.path.join(DATA, "packing", "*.tmp")))
    for lang in ("0409", "0407"):
        templates = glob.glob(os.path.join(DATA, "packing", lang, "*.tmp"))
        if len(templates) != len(glob.glob(os.path.join(DATA, "packing", "*.tmp"))):
            fail("packing/%s: the language set lacks templates" % lang)
        packing_names += ["packing/%s/fulllist.dat" % lang] + sorted(
            os.path.relpath(p, DATA) for p in templates)
    for name in packing_names:
        rows = load_table(name, width=4)
        items = rows[1:] if name.endswith(".tmp") else rows
        if name.endswith(".tmp") and rows:
            head = rows[0]
            if ":" not in head[0] or not os.path.exists(
                    os.path.join(DATA, "listicons", head[0].split(":", 1)[1])):
                fail("%s: header icon missing: %r" % (name, head[0]))
            if head[1] != str(len(items)) or head[2] != "0":
                fail("%s: header counts %r do not match %d items" % (name, head[1:3], len(items)))
        for r in items:
            if len(r) != 4:
                continue
            if r[0] not in ("0", "1") or r[1] not in ("0", "1") or not r[2] or not r[3]:
                fail("%s: bad item %r" % (name, r))


def unit_file_check(name):
    rows = load_table(name, width=4)
    keys, section = [], None
    for r in rows:
        if len(r) != 4:
            continue
        if not r[0]:
            section = None
            continue
        if section is None:
            if r[2] not in ("*2*", "*3*"):
                fail("%s: category line %r without *2* or *3*" % (name, r))
            section = r[2]
            keys.append(r[1])
            first = True
            continue
        if section == "*2*":
            try:
                if float(r[3]) <= 0:
                    raise ValueError
            except ValueError:
                fail("%s: bad factor in %r" % (name, r))
    for need in ("Speed", "Length", "Weight", "Childrens Shoes"):
        if need not in keys:
            fail("%s: category %s missing" % (name, need))


def check_home_layouts():
    import xml.etree.ElementTree as ET
    files = glob.glob(os.path.join(DATA, "home", "*.xml"))
    if not any(f.endswith("today_default.xml") for f in files):
        fail("home/today_default.xml missing")
    for f in files:
        try:
            root = ET.parse(f).getroot()
        except ET.ParseError as e:
            fail("%s: %s" % (rel(f), e))
            continue
        hs = root.find("homescreen")
        if root.tag != "xml" or hs is None:
            fail("%s: no xml/homescreen" % rel(f))
            continue
        layouts = {l.get("name") for l in hs.findall("layout")}
        for tab in hs.findall("obj[@type='tab']"):
            if tab.get("layout") not in layouts:
                fail("%s: tab refers to missing layout %r" % (rel(f), tab.get("layout")))
        kinds = {o.get("type") for o in hs.iter("obj")}
        for need in ("clock", "time", "date", "nextalarm"):
            if need not in kinds:
                fail("%s: no %s object" % (rel(f), need))


REQUIRED = (
    ["graphics2/main_%s.tga" % n for n in (
        "roamer international weather alarms travelinfo conversion now_now now_city now_settings "
        "int_worldtime int_daylight int_meetingplan int_dialcodes int_moon wea_current wea_maps wea_air "
        "alm_alarm alm_count alm_stop trv_flights trv_codes trv_packing trv_itin con_currency con_temp "
        "con_speed con_length con_weight con_clothes").split()] +
    ["graphics2/%s.tga" % n for n in (
        "alarmon basic_shadow basic_shadow_back bottomshadow calc checkbox_off checkbox_on citylocation "
        "digits flag map_citypos moon opts_autoupdates opts_downloads opts_general opts_themes opts_today "
        "select_down select_left select_right select_up sw_reset sw_start sw_stop tick topshadow vornlogo "
        "wizard home_time home_calendar home_weather home_alarm weather_7day weather_2day weather_curr "
        "weather_forecast weather_sat weather_rad weather_user").split()] +
    ["themes/default/%s.tga" % n for n in
     "butt_overlay calcbutt calccancel calcdone scheduler1 scheduler2 scheduler3 scheduler4".split()] +
    ["alarm/alarm_alarm%d.tga" % i for i in range(1, 5)] +
    ["home/today_scheduler%d.tga" % i for i in range(1, 5)] +
    ["home/today_homescreen.tga", "home/today_alarmon.tga", "home/today_alarmoff.tga",
     "listicons/list_new.tga", "listicons/list_travel.tga", "listicons/list_home.tga",
     "listicons/list_family.tga", "clocks/default.tga", "graphics2/daymap.jpg",
     "icons/customweather/9999.tga", "icons/customweather/1.tga", "icons/customweather/100.tga"] +
    ["icons/customweather/a%d.tga" % i for i in range(1, 7)] +
    ["graphics/%s%s.jpg" % (n, v) for n in ("toggle", "vorn", "bubble1", "bubble2") for v in ("", "_vga")] +
    ["sounds/Alarm1.wav", "alarm/alarm_quicksetalarm.wav", "README.md", "NOTICE"])


def check_pictures_and_sizes():
    for rel_path in REQUIRED:
        if not os.path.exists(os.path.join(DATA, rel_path)):
            fail("%s missing" % rel_path)
    clocks = glob.glob(os.path.join(DATA, "clocks", "*.tga"))
    if len(clocks) < 4:
        fail("clocks: only %d faces" % len(clocks))
    backs = [os.path.basename(p) for p in glob.glob(os.path.join(DATA, "backgrounds", "*.jpg"))]
    plain = [b for b in backs if not b.startswith("land_")]
    if len(plain) < 4 or any("land_" + b not in backs for b in plain):
        fail("backgrounds: need four or more, each with a land_ variant")
    total = 0
    for root, _, names in os.walk(DATA):
        for n in names:
            path = os.path.join(root, n)
            total += os.path.getsize(path)
            if n.endswith(".tga"):
                with open(path, "rb") as f:
                    head = f.read(18)
                if len(head) < 18 or head[2] not in (2, 10) or head[16] not in (24, 32):
                    fail("%s: not a true-colour Targa the device reads" % rel(path))
            elif n.endswith(".jpg"):
                with open(path, "rb") as f:
                    if f.read(3) != b"\xff\xd8\xff":
                        fail("%s: not a JPEG" % rel(path))
            elif n.endswith(".wav"):
                with open(path, "rb") as f:
                    head = f.read(12)
                if head[:4] != b"RIFF" or head[8:12] != b"WAVE":
                    fail("%s: not a WAV file" % rel(path))
    with open(os.path.join(DATA, "graphics2", "daymap.jpg"), "rb") as f:
        data = f.read()
    i = data.find(b"\xff\xc0")
    if i < 0:
        i = data.find(b"\xff\xc2")
    h, w = struct.unpack(">HH", data[i + 5:i + 9])
    if w < 480 or w != 2 * h:
        fail("daymap.jpg: %dx%d is not a 2:1 map of 480x240 or larger" % (w, h))
    if total >= 15 * 1024 * 1024:
        fail("install folder is %.1f MB, over 15 MB" % (total / 1048576.0))


def main(data_dir=None):
    global DATA
    if data_dir:
        DATA = data_dir
    del errors[:]
    checks = [check_languages]
    extra = [globals()[n] for n in sorted(globals()) if n.startswith("check_") and n != "check_languages"]
    for check in checks + extra:
        check()
    for e in errors:
        print("ERROR:", e)
    print("validate: %d problem(s)" % len(errors))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else None))
