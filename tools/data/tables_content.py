"""Unit tables, packing lists and home-screen layouts (hand-written content).

conversions/conv.<code>.mui.txt: "~"-separated, four fields per line.
  category line: shown name ~ key ~ *2* (linear) or *3* (size chart) ~
  linear unit:   key ~ symbol ~ name ~ units per common base amount
  chart row:     up to four sizes (the first row is the heading)
  a line with an empty first field ends a category.
packing/fulllist.dat: ticked ~ flagged ~ item ~ category (the master list).
packing/*.tmp: header "title:icon ~ items ~ ticked ~ 0", then items.
home/*.xml: home-screen layouts.
"""
import os

from common import BOM, data_path, write_bytes, write_table, write_text

# Exact factors: units of each unit per base amount.
MILE = 1609.344
YARD, FOOT, INCH, NMI = 0.9144, 0.3048, 0.0254, 1852.0
POUND = 0.45359237
OUNCE = POUND / 16
STONE = POUND * 14
US_GALLON, UK_GALLON, US_FLUID_OUNCE = 3.785411784, 4.54609, 0.0295735295625  # litres

LINEAR = [
    # key, shown (en, de), base, units: (key, symbol, name en, name de, factor)
    ("Speed", ("Speed", "Geschwindigkeit"), [
        ("kmh", "km/h", "Kilometres per hour", "Kilometer pro Stunde", 1.0),
        ("mph", "mph", "Miles per hour", "Meilen pro Stunde", 1000.0 / MILE),
        ("ms", "m/s", "Metres per second", "Meter pro Sekunde", 1 / 3.6),
        ("kn", "kn", "Knots", "Knoten", 1000.0 / NMI),
        ("fts", "ft/s", "Feet per second", "Fuß pro Sekunde", 1000.0 / 3600 / FOOT),
    ]),
    ("Length", ("Length", "Länge"), [
        ("km", "km", "Kilometres", "Kilometer", 0.001),
        ("mi", "mi", "Miles", "Meilen", 1 / MILE),
        ("m", "m", "Metres", "Meter", 1.0),
        ("cm", "cm", "Centimetres", "Zentimeter", 100.0),
        ("mm", "mm", "Millimetres", "Millimeter", 1000.0),
        ("yd", "yd", "Yards", "Yards", 1 / YARD),
        ("ft", "ft", "Feet", "Fuß", 1 / FOOT),
        ("in", "in", "Inches", "Zoll", 1 / INCH),
        ("nmi", "NM", "Nautical miles", "Seemeilen", 1 / NMI),
    ]),
    ("Weight", ("Weight", "Gewicht"), [
        ("kg", "kg", "Kilograms", "Kilogramm", 1.0),
        ("lb", "lb", "Pounds", "Pfund (engl.)", 1 / POUND),
        ("g", "g", "Grams", "Gramm", 1000.0),
        ("oz", "oz", "Ounces", "Unzen", 1 / OUNCE),
        ("st", "st", "Stones", "Stones", 1 / STONE),
        ("t", "t", "Tonnes", "Tonnen", 0.001),
        ("ton", "ton", "Short tons (US)", "US-Tonnen", 1 / (2000 * POUND)),
        ("ct", "ct", "Carats", "Karat", 5000.0),
        ("mg", "mg", "Milligrams", "Milligramm", 1e6),
        ("ug", "&#181;g", "Micrograms", "Mikrogramm", 1e9),
    ]),
    ("Volume", ("Volume", "Volumen"), [
        ("l", "l", "Litres", "Liter", 1.0),
        ("galus", "gal (US)", "US gallons", "US-Gallonen", 1 / US_GALLON),
        ("galuk", "gal (UK)", "Imperial gallons", "Britische Gallonen", 1 / UK_GALLON),
        ("ml", "ml", "Millilitres", "Milliliter", 1000.0),
        ("qtus", "qt (US)", "US quarts", "US-Quarts", 4 / US_GALLON),
        ("ptuk", "pt (UK)", "Imperial pints", "Britische Pints", 8 / UK_GALLON),
        ("flozus", "fl oz (US)", "US fluid ounces", "US-Flüssigunzen", 1 / US_FLUID_OUNCE),
        ("m3", "m&#179;", "Cubic metres", "Kubikmeter", 0.001),
    ]),
]

CHARTS = [
    ("Childrens Shoes", ("Children's shoes", "Kinderschuhe"), [
        ("UK", "US", "EU", "cm"),
        ("3", "3.5", "19", "11.5"), ("4", "4.5", "20", "12.5"), ("5", "5.5", "21", "13"),
        ("6", "6.5", "22", "13.5"), ("7", "7.5", "23", "14.5"), ("8", "8.5", "25", "15.5"),
        ("9", "9.5", "26", "16"), ("10", "10.5", "27", "17"), ("11", "11.5", "29", "17.5"),
        ("12", "12.5", "30", "18.5"), ("13", "13.5", "32", "19"), ("1", "1.5", "33", "20"),
        ("2", "2.5", "34", "21"), ("3", "3.5", "35.5", "22"), ("4", "4.5", "37", "23"),
    ]),
    ("Mens Shoes", ("Men's shoes", "Herrenschuhe"), [
        ("UK", "US", "EU", "cm"),
        ("6", "7", "40", "24.5"), ("6.5", "7.5", "40.5", "25"), ("7", "8", "41", "25.5"),
        ("7.5", "8.5", "42", "26"), ("8", "9", "42.5", "26.5"), ("8.5", "9.5", "43", "27"),
        ("9", "10", "44", "27.5"), ("9.5", "10.5", "44.5", "28"), ("10", "11", "45", "28.5"),
        ("11", "12", "46", "29.5"), ("12", "13", "47", "30.5"), ("13", "14", "48", "31.5"),
    ]),
    ("Womens Shoes", ("Women's shoes", "Damenschuhe"), [
        ("UK", "US", "EU", "cm"),
        ("2.5", "5", "35", "22"), ("3", "5.5", "36", "22.5"), ("3.5", "6", "36.5", "23"),
        ("4", "6.5", "37", "23.5"), ("4.5", "7", "37.5", "24"), ("5", "7.5", "38", "24.5"),
        ("5.5", "8", "39", "25"), ("6", "8.5", "39.5", "25.5"), ("6.5", "9", "40", "26"),
        ("7", "9.5", "41", "26.5"), ("7.5", "10", "42", "27"), ("8", "10.5", "42.5", "27.5"),
    ]),
    ("Mens Shirts", ("Men's shirts", "Herrenhemden"), [
        ("Size", "UK/US in", "EU cm", ""),
        ("S", "14", "36", ""), ("S", "14.5", "37", ""), ("M", "15", "38", ""),
        ("M", "15.5", "39", ""), ("L", "16", "41", ""), ("L", "16.5", "42", ""),
        ("XL", "17", "43", ""), ("XL", "17.5", "44", ""), ("XXL", "18", "45", ""),
    ]),
    ("Mens Suits", ("Men's suits", "Herrenanzüge"), [
        ("UK/US", "EU", "Size", ""),
        ("34", "44", "XS", ""), ("36", "46", "S", ""), ("38", "48", "M", ""), ("40", "50", "L", ""),
        ("42", "52", "XL", ""), ("44", "54", "XXL", ""), ("46", "56", "3XL", ""),
    ]),
    ("Womens Clothes", ("Women's clothes", "Damenbekleidung"), [
        ("UK", "US", "EU", "Size"),
        ("4", "0", "32", "XXS"), ("6", "2", "34", "XS"), ("8", "4", "36", "S"), ("10", "6", "38", "M"),
        ("12", "8", "40", "M"), ("14", "10", "42", "L"), ("16", "12", "44", "XL"),
        ("18", "14", "46", "XXL"), ("20", "16", "48", "3XL"),
    ]),
    ("Childrens Clothes", ("Children's clothes", "Kinderbekleidung"), [
        ("Age", "cm", "EU", "US"),
        ("0-3 m", "56-62", "62", "0-3M"), ("3-6 m", "62-68", "68", "3-6M"),
        ("6-12 m", "68-80", "74-80", "6-12M"), ("1-2 y", "80-92", "86-92", "18-24M"),
        ("2-3 y", "92-98", "98", "2T-3T"), ("3-4 y", "98-104", "104", "4T"),
        ("5 y", "104-110", "110", "5"), ("6 y", "110-116", "116", "6"),
        ("7 y", "116-122", "122", "7"), ("8 y", "122-128", "128", "8"),
        ("10 y", "134-140", "140", "10"), ("12 y", "146-152", "152", "12"),
        ("14 y", "158-164", "164", "14"),
    ]),
]

CHART_HEADINGS_DE = {"Size": "Größe", "Age": "Alter", "UK/US in": "UK/US Zoll", "EU cm": "EU cm"}
CHART_CELLS_DE = {" m": " Mon.", " y": " J."}


def fmt_factor(x):
    return ("%.12g" % x)


def conv_file(lang):
    idx = 0 if lang == "0409" else 1
    rows = []
    for key, shown, units in LINEAR:
        rows.append([shown[idx], key, "*2*", ""])
        for ukey, sym, en, de, factor in units:
            rows.append([ukey, sym, en if idx == 0 else de, fmt_factor(factor)])
        rows.append(["", "", "", ""])
    for key, shown, chart in CHARTS:
        rows.append([shown[idx], key, "*3*", ""])
        for r in chart:
            r = list(r)
            if idx == 1:
                r = [CHART_HEADINGS_DE.get(c, c) for c in r]
                for a, b in CHART_CELLS_DE.items():
                    r = [c.replace(a, b) if c.endswith(a) else c for c in r]
            rows.append(r)
        rows.append(["", "", "", ""])
    rows.pop()
    write_table(data_path("conversions", "conv.%s.mui.txt" % lang), rows)
    return len(rows)


MASTER_LIST = {
    "Documents": ["Passport", "Visa", "Tickets", "Boarding passes", "Driving licence",
                  "Travel insurance", "Hotel booking", "Car hire booking", "Copies of documents",
                  "Vaccination card", "Emergency contacts", "Itinerary"],
    "Money": ["Cash", "Foreign currency", "Credit card", "Debit card", "Wallet", "Money belt"],
    "Clothes": ["T-shirts", "Shirts", "Trousers", "Shorts", "Jeans", "Dress", "Skirt", "Jumper",
                "Jacket", "Rain jacket", "Underwear", "Socks", "Pyjamas", "Swimwear", "Belt",
                "Hat", "Gloves", "Scarf", "Suit", "Tie"],
    "Shoes": ["Walking shoes", "Sandals", "Smart shoes", "Flip-flops", "Hiking boots", "Slippers"],
    "Toiletries": ["Toothbrush", "Toothpaste", "Shampoo", "Shower gel", "Deodorant", "Razor",
                   "Shaving foam", "Hairbrush", "Sun cream", "After-sun", "Insect repellent",
                   "Lip balm", "Make-up", "Contact lenses", "Glasses", "Towel"],
    "Health": ["Prescription medicines", "Painkillers", "Plasters", "Travel sickness tablets",
               "Hand sanitiser", "Face masks", "First-aid kit"],
    "Electronics": ["Phone", "Phone charger", "Travel adapter", "Power bank", "Headphones",
                    "Laptop", "Laptop charger", "Camera", "Memory cards", "E-reader"],
    "Travel": ["Suitcase", "Day bag", "Travel pillow", "Eye mask", "Ear plugs", "Guidebook",
               "Maps", "Water bottle", "Snacks", "Umbrella", "Sunglasses", "Padlock"],
    "Business": ["Business cards", "Notebook", "Pens", "Presentation", "Name badge"],
    "Beach": ["Beach towel", "Beach bag", "Snorkel", "Sun hat", "Book"],
    "Winter": ["Ski jacket", "Ski trousers", "Thermal underwear", "Ski goggles", "Warm hat",
               "Ski gloves"],
    "Children": ["Nappies", "Baby wipes", "Baby food", "Toys", "Children's books", "Buggy",
                 "Car seat"],
    "Home": ["Water plants", "Empty fridge", "Take out rubbish", "Lock windows",
             "Switch off heating", "Ask neighbour to collect post"],
}

TEMPLATES = [
    ("Business trip", "list_business.tga",
     ["Documents", "Money", "Electronics", "Business", "Toiletries"],
     ["Passport", "Tickets", "Travel insurance", "Hotel booking", "Credit card", "Cash", "Shirts",
      "Suit", "Tie", "Smart shoes", "Underwear", "Socks", "Pyjamas", "Toothbrush", "Toothpaste",
      "Deodorant", "Razor", "Phone", "Phone charger", "Travel adapter", "Laptop", "Laptop charger",
      "Business cards", "Notebook", "Pens", "Presentation"]),
    ("Beach holiday", "list_beach.tga", [],
     ["Passport", "Tickets", "Travel insurance", "Hotel booking", "Credit card", "Foreign currency",
      "T-shirts", "Shorts", "Swimwear", "Sandals", "Flip-flops", "Underwear", "Hat", "Sunglasses",
      "Sun cream", "After-sun", "Insect repellent", "Toothbrush", "Toothpaste", "Beach towel",
      "Beach bag", "Snorkel", "Book", "Phone", "Phone charger", "Travel adapter", "Water plants",
      "Empty fridge"]),
    ("City weekend", "list_city.tga", [],
     ["Tickets", "Hotel booking", "Credit card", "Cash", "Jeans", "T-shirts", "Jumper",
      "Rain jacket", "Walking shoes", "Underwear", "Socks", "Toothbrush", "Toothpaste",
      "Deodorant", "Phone", "Phone charger", "Power bank", "Guidebook", "Umbrella", "Day bag"]),
    ("Skiing", "list_ski.tga", [],
     ["Passport", "Tickets", "Travel insurance", "Ski jacket", "Ski trousers", "Thermal underwear",
      "Ski goggles", "Warm hat", "Ski gloves", "Socks", "Jumper", "Sun cream", "Lip balm",
      "Sunglasses", "Phone", "Phone charger", "Painkillers", "Plasters"]),
]


def packing():
    category_of = {}
    rows = []
    for cat, items in MASTER_LIST.items():
        for item in items:
            category_of[item] = cat
            rows.append(["0", "0", item, cat])
    write_table(data_path("packing", "fulllist.dat"), rows)
    for name, icon, _, items in TEMPLATES:
        unknown = [i for i in items if i not in category_of]
        if unknown:
            raise ValueError("template %s: items not in the master list: %r" % (name, unknown))
        trows = [["%s:%s" % (name, icon), str(len(items)), "0", "0"]]
        trows += [["0", "0", i, category_of[i]] for i in items]
        write_table(data_path("packing", name + ".tmp"), trows)
    return len(rows), len(TEMPLATES)


# ------------------------------------------------------------ home layouts

FONTS = """  <obj type="fnt" name="Tahoma" size="8" bold="0" id="0"/>
  <obj type="fnt" name="Tahoma" size="8" bold="1" id="1"/>
  <obj type="fnt" name="Tahoma" size="13" bold="1" id="2"/>
  <obj type="fnt" name="Tahoma" size="7" bold="0" id="3"/>
  <obj type="fnt" name="Tahoma" size="10" bold="1" id="4"/>
"""


# Every layout comes four times: for 240- and 480-pixel-wide screens (240 layout units, drawn
# at twice the size on the wide one) and for 320- and 640-pixel-wide landscape screens (320
# units), so that a panel always fills the item's width.
VARIANTS = ((240, 240), (480, 240), (320, 320), (640, 320))


def layout_clock(width, units, x0=0):
    """Home city clock, time, date, next alarm and today's weather."""
    w = units - x0
    return f"""  <layout name="clock" width="{width}" height="68" start_roam="start_now" rotatespeed="auto">
    <obj type="clock" x="2" y="2" w="52" h="52" city="1"/>
    <obj type="cityname" x="58" y="2" w="{w - 112}" h="14" fnt="1" city="1"/>
    <obj type="time" x="58" y="15" w="{w - 112}" h="22" fnt="2" city="1" format="HH:mm"/>
    <obj type="date" x="58" y="38" w="{w - 112}" h="14" fnt="0" city="1"/>
    <obj type="weather" x="{w - 44}" y="2" w="32" h="32" city="1" day="1" style="icon"/>
    <obj type="weather" x="{w - 52}" y="34" w="48" h="12" fnt="3" city="1" day="1" style="max" showCF="1" jst="center"/>
    <obj type="nextalarmicn" x="58" y="54" w="12" h="12"/>
    <obj type="nextalarm" x="72" y="54" w="{w - 148}" h="12" fnt="3"/>
    <obj type="nextalarmtime" x="{w - 76}" y="54" w="72" h="12" fnt="3" jst="right"/>
  </layout>
"""


def layout_world(width, units, x0=0):
    """Favourite cities side by side with clocks and times: three, four on a landscape screen."""
    n = 3 if units == 240 else 4
    w = (units - x0) // n
    objs = []
    for i in range(n):
        x = i * w
        objs.append(f'    <obj type="clock" x="{x + (w - 36) // 2}" y="2" w="36" h="36" city="{i + 1}"/>')
        objs.append(f'    <obj type="cityname" x="{x}" y="38" w="{w}" h="12" fnt="3" city="{i + 1}" jst="center"/>')
        objs.append(f'    <obj type="time" x="{x}" y="49" w="{w}" h="13" fnt="1" city="{i + 1}" format="HH:mm" jst="center"/>')
    return (f'  <layout name="world" width="{width}" height="64" start_roam="start_worldtime" rotatespeed="auto">\n'
            + "\n".join(objs) + "\n  </layout>\n")


def layout_weather(width, units, x0=0):
    """Current conditions and a three-day forecast of the home city (four days in landscape)."""
    right = units - 4 - x0
    objs = [
        f'    <obj type="fullcityname" x="2" y="1" w="{right - 2}" h="13" fnt="1" city="1"/>',
        f'    <obj type="weather_curr" x="2" y="14" w="40" h="40" city="1" style="icon"/>',
        f'    <obj type="weather_curr" x="44" y="16" w="70" h="20" fnt="4" city="1" style="max" showCF="1"/>',
        f'    <obj type="weather_curr" x="44" y="36" w="72" h="12" fnt="3" city="1" style="desc"/>',
        f'    <obj type="weather_curr" x="2" y="51" w="114" h="12" fnt="3" city="1" style="windinfo"/>',
    ]
    days = 3 if units == 240 else 4
    cw = (right - 118) // days
    for d in range(days):
        x = 118 + d * cw
        objs.append(f'    <obj type="weather" x="{x}" y="14" w="{cw}" h="12" fnt="3" city="1" day="{d + 1}" style="day/date" jst="center"/>')
        objs.append(f'    <obj type="weather" x="{x + (cw - 24) // 2}" y="26" w="24" h="24" city="1" day="{d + 1}" style="icon"/>')
        objs.append(f'    <obj type="weather" x="{x}" y="50" w="{cw}" h="12" fnt="3" city="1" day="{d + 1}" style="max" showCF="0" jst="center"/>')
    return (f'  <layout name="weather" width="{width}" height="64" start_roam="start_weather" rotatespeed="auto">\n'
            + "\n".join(objs) + "\n  </layout>\n")


def layout_agenda(width, units, x0=0):
    """The home city's clock, time and date in large type, the next alarm in full and the home
    city's weather as its station reports it."""
    w = units - x0
    half = w // 2 + 10
    objs = [
        '    <obj type="clock" x="2" y="3" w="38" h="38" city="1"/>',
        f'    <obj type="time" x="44" y="0" w="{half - 48}" h="28" fnt="5" city="1" format="HH:mm"/>',
        f'    <obj type="date" x="44" y="28" w="{half - 48}" h="13" fnt="3" city="1" format="ddd, d MMM"/>',
        f'    <obj type="static" x="4" y="45" w="{half - 8}" h="12" fnt="3" text="Next alarm"/>',
        '    <obj type="nextalarmicn" x="4" y="59" w="12" h="12"/>',
        f'    <obj type="nextalarmname" x="20" y="58" w="{half - 24}" h="13" fnt="1"/>',
        f'    <obj type="nextalarmtime" x="20" y="71" w="{half - 24}" h="12" fnt="3"/>',
        f'    <obj type="nextalarm" x="4" y="71" w="{half - 8}" h="12" fnt="3" jst="right"/>',
        f'    <obj type="cityname" x="{half}" y="2" w="{w - half - 40}" h="13" fnt="1" city="1"/>',
        f'    <obj type="weather_2" x="{half}" y="15" w="{w - half - 40}" h="12" fnt="3" city="1" style="stationname"/>',
        f'    <obj type="weather_curr" x="{w - 38}" y="2" w="34" h="34" city="1" style="icon"/>',
        f'    <obj type="weather_curr" x="{half}" y="28" w="{w - half - 40}" h="20" fnt="4" city="1" style="max" showCF="1"/>',
        f'    <obj type="static" x="{half}" y="50" w="50" h="12" fnt="3" text="Feels like"/>',
        f'    <obj type="weather_2" x="{half + 50}" y="50" w="{w - half - 54}" h="12" fnt="3" city="1" style="comfort" showCF="1"/>',
        f'    <obj type="static" x="{half}" y="62" w="50" h="12" fnt="3" text="Today"/>',
        f'    <obj type="weather" x="{half + 50}" y="62" w="{(w - half - 54) // 2}" h="12" fnt="3" city="1" day="1" style="min" showCF="0"/>',
        f'    <obj type="weather" x="{half + 50 + (w - half - 54) // 2}" y="62" w="{(w - half - 54) // 2}" h="12" fnt="3" city="1" day="1" style="max" showCF="0"/>',
        f'    <obj type="weather_curr" x="{half}" y="74" w="{w - half - 4}" h="12" fnt="3" city="1" style="windinfo"/>',
    ]
    return (f'  <layout name="agenda" width="{width}" height="88" start_roam="*start_alarm" rotatespeed="auto">\n'
            + "\n".join(objs) + "\n  </layout>\n")


def layout_forecast(width, units, x0=0):
    """Five days (seven in landscape) of the home city's forecast: day, icon, high and low."""
    w = units - x0
    days = 5 if units == 240 else 7
    cw = (w - 4) // days
    objs = [f'    <obj type="fullcityname" x="2" y="1" w="{w - 4}" h="13" fnt="1" city="1" jst="center"/>']
    for d in range(days):
        x = 2 + d * cw
        objs.append(f'    <obj type="weather" x="{x}" y="14" w="{cw}" h="12" fnt="3" city="1" day="{d + 1}" style="day" jst="center"/>')
        objs.append(f'    <obj type="weather" x="{x + (cw - 28) // 2}" y="26" w="28" h="28" city="1" day="{d + 1}" style="icon"/>')
        objs.append(f'    <obj type="weather" x="{x}" y="54" w="{cw}" h="12" fnt="1" city="1" day="{d + 1}" style="max" jst="center"/>')
        objs.append(f'    <obj type="weather" x="{x}" y="66" w="{cw}" h="12" fnt="3" city="1" day="{d + 1}" style="min" jst="center"/>')
    return (f'  <layout name="forecast" width="{width}" height="80" start_roam="start_weather" rotatespeed="auto">\n'
            + "\n".join(objs) + "\n  </layout>\n")


FONTS += """  <obj type="fnt" name="Tahoma" size="18" bold="1" id="5"/>
"""


def home_file(tabs, layouts, comment):
    tab_lines = "".join(
        f'  <obj type="tab" tabname="{cap}" layout="{name}" id="{i + 1}" fnt="3"/>\n'
        for i, (cap, name) in enumerate(tabs))
    x0 = 0 if tabs else 20
    body = ""
    for make in layouts:
        for width, units in VARIANTS:
            body += make(width, units, x0)
    tabheight = 16 if tabs else 0
    return (f'<?xml version="1.0" encoding="utf-8"?>\n<!-- {comment} -->\n<xml>\n'
            f'<homescreen hilite="60" autoheight="1" professional_notab_xoff="{x0}" tabheight="{tabheight}">\n'
            + FONTS + tab_lines + body + "</homescreen>\n</xml>\n")


def home_layouts():
    standard = [("Clock", "clock"), ("World", "world"), ("Weather", "weather")]
    files = {
        "today_default.xml": home_file(standard, (layout_clock, layout_world, layout_weather),
                                       "Vorn Roamer home screen: clock, world and weather tabs"),
        "today_notabs.xml": home_file((), (layout_clock, layout_world, layout_weather),
                                      "Home screen without tabs: left and right step through the layouts"),
        "today_clock.xml": home_file((), (layout_clock,),
                                     "Home screen: one clock panel with the next alarm and today's weather"),
        "today_world.xml": home_file([("Cities", "world"), ("Forecast", "forecast"), ("Clock", "clock")],
                                     (layout_world, layout_forecast, layout_clock),
                                     "Home screen: world clocks first, then the week's forecast"),
        "today_agenda.xml": home_file((), (layout_agenda,),
                                      "Home screen: the day at a glance, the next alarm and the weather station"),
    }
    for name, text in files.items():
        write_bytes(data_path("home", name), text.encode("utf-8"))
    return len(files)


def main():
    n0 = conv_file("0409")
    conv_file("0407")
    items, templates = packing()
    homes = home_layouts()
    print("content: %d unit lines, %d packing items, %d templates, %d home layouts"
          % (n0, items, templates, homes))
