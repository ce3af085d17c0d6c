"""Regions and alternate names of the cities (citynames.dat), a companion of
citylist.dat keyed by city code, so that the city list keeps its ten fields.

Columns: 1 city code, 2 first-level region (state, province) in English or
empty, 3 the region's usual abbreviation ("OR", "NSW") or empty, 4 alternate
names joined by "|" (Latin script only), or empty.

Regions: where GeoNames' admin1 code is the ISO 3166-2 subdivision code
(letters: US, GB, CH, BE, IE, ...) the name comes from Debian's iso-codes;
for the larger countries whose admin1 codes are GeoNames' own numbers the
names are in ADMIN1_NAMES below (each checked against the seat, PPLA, that
GeoNames gives the code); other cities have no region.

Alternate names: for cities of MIN_ALTERNATE_POPULATION people or more and
capitals, GeoNames' alternate names that are written in Latin letters, begin
with a capital letter (the lower-case ones are machine transliterations) and
are not airport codes, each once without regard to case and accents; plus
the short list of nicknames and abbreviations in NICKNAMES.
"""
import json
import unicodedata

from common import data_path, write_table

ISO_3166_2 = "/usr/share/iso-codes/json/iso_3166-2.json"
MIN_ALTERNATE_POPULATION = 100000
SEPARATOR = "|"

# GeoNames admin1 numbers of countries whose codes are not ISO 3166-2 codes.
ADMIN1_NAMES = {
    "AU": {"01": "Australian Capital Territory", "02": "New South Wales", "03": "Northern Territory",
           "04": "Queensland", "05": "South Australia", "06": "Tasmania", "07": "Victoria",
           "08": "Western Australia"},
    "CA": {"01": "Alberta", "02": "British Columbia", "03": "Manitoba", "04": "New Brunswick",
           "05": "Newfoundland and Labrador", "07": "Nova Scotia", "08": "Ontario",
           "09": "Prince Edward Island", "10": "Quebec", "11": "Saskatchewan", "12": "Yukon",
           "13": "Northwest Territories", "14": "Nunavut"},
    "DE": {"01": "Baden-Württemberg", "02": "Bavaria", "03": "Bremen", "04": "Hamburg", "05": "Hesse",
           "06": "Lower Saxony", "07": "North Rhine-Westphalia", "08": "Rhineland-Palatinate",
           "09": "Saarland", "10": "Schleswig-Holstein", "11": "Brandenburg",
           "12": "Mecklenburg-Vorpommern", "13": "Saxony", "14": "Saxony-Anhalt", "15": "Thuringia",
           "16": "Berlin"},
    "BR": {"01": "Acre", "02": "Alagoas", "03": "Amapá", "04": "Amazonas", "05": "Bahia", "06": "Ceará",
           "07": "Federal District", "08": "Espírito Santo", "11": "Mato Grosso do Sul",
           "13": "Maranhão", "14": "Mato Grosso", "15": "Minas Gerais", "16": "Pará", "17": "Paraíba",
           "18": "Paraná", "20": "Piauí", "21": "Rio de Janeiro", "22": "Rio Grande do Norte",
           "23": "Rio Grande do Sul", "24": "Rondônia", "25": "Roraima", "26": "Santa Catarina",
           "27": "São Paulo", "28": "Sergipe", "29": "Goiás", "30": "Pernambuco", "31": "Tocantins"},
    "MX": {"01": "Aguascalientes", "02": "Baja California", "03": "Baja California Sur",
           "04": "Campeche", "05": "Chiapas", "06": "Chihuahua", "07": "Coahuila", "08": "Colima",
           "09": "Mexico City", "10": "Durango", "11": "Guanajuato", "12": "Guerrero", "13": "Hidalgo",
           "14": "Jalisco", "15": "State of Mexico", "16": "Michoacán", "17": "Morelos",
           "18": "Nayarit", "19": "Nuevo León", "20": "Oaxaca", "21": "Puebla", "22": "Querétaro",
           "23": "Quintana Roo", "24": "San Luis Potosí", "25": "Sinaloa", "26": "Sonora",
           "27": "Tabasco", "28": "Tamaulipas", "29": "Tlaxcala", "30": "Veracruz", "31": "Yucatán",
           "32": "Zacatecas"},
    "CN": {"01": "Anhui", "02": "Zhejiang", "03": "Jiangxi", "04": "Jiangsu", "05": "Jilin",
           "06": "Qinghai", "07": "Fujian", "08": "Heilongjiang", "09": "Henan", "10": "Hebei",
           "11": "Hunan", "12": "Hubei", "13": "Xinjiang", "14": "Tibet", "15": "Gansu",
           "16": "Guangxi", "18": "Guizhou", "19": "Liaoning", "20": "Inner Mongolia",
           "21": "Ningxia", "22": "Beijing", "23": "Shanghai", "24": "Shanxi", "25": "Shandong",
           "26": "Shaanxi", "28": "Tianjin", "29": "Yunnan", "30": "Guangdong", "31": "Hainan",
           "32": "Sichuan", "33": "Chongqing"},
    "IN": {"01": "Andaman and Nicobar Islands", "02": "Andhra Pradesh", "03": "Assam",
           "05": "Chandigarh", "07": "Delhi", "09": "Gujarat", "10": "Haryana",
           "11": "Himachal Pradesh", "12": "Jammu and Kashmir", "13": "Kerala", "14": "Lakshadweep",
           "16": "Maharashtra", "17": "Manipur", "18": "Meghalaya", "19": "Karnataka",
           "20": "Nagaland", "21": "Odisha", "22": "Puducherry", "23": "Punjab", "24": "Rajasthan",
           "25": "Tamil Nadu", "26": "Tripura", "28": "West Bengal", "29": "Sikkim",
           "30": "Arunachal Pradesh", "31": "Mizoram", "33": "Goa", "34": "Bihar",
           "35": "Madhya Pradesh", "36": "Uttar Pradesh", "37": "Chhattisgarh", "38": "Jharkhand",
           "39": "Uttarakhand", "40": "Telangana", "41": "Ladakh",
           "52": "Dadra and Nagar Haveli and Daman and Diu"},
    "FR": {"11": "Île-de-France", "24": "Centre-Val de Loire", "27": "Bourgogne-Franche-Comté",
           "28": "Normandy", "32": "Hauts-de-France", "44": "Grand Est", "52": "Pays de la Loire",
           "53": "Brittany", "75": "Nouvelle-Aquitaine", "76": "Occitania",
           "84": "Auvergne-Rhône-Alpes", "93": "Provence-Alpes-Côte d'Azur", "94": "Corsica"},
    "IT": {"01": "Abruzzo", "02": "Basilicata", "03": "Calabria", "04": "Campania",
           "05": "Emilia-Romagna", "06": "Friuli-Venezia Giulia", "07": "Lazio", "08": "Liguria",
           "09": "Lombardy", "10": "Marche", "11": "Molise", "12": "Piedmont", "13": "Apulia",
           "14": "Sardinia", "15": "Sicily", "16": "Tuscany", "17": "Trentino-Alto Adige",
           "18": "Umbria", "19": "Aosta Valley", "20": "Veneto"},
    "ES": {"07": "Balearic Islands", "27": "La Rioja", "29": "Madrid", "31": "Murcia",
           "32": "Navarre", "34": "Asturias", "39": "Cantabria", "51": "Andalusia", "52": "Aragon",
           "53": "Canary Islands", "54": "Castilla-La Mancha", "55": "Castile and León",
           "56": "Catalonia", "57": "Extremadura", "58": "Galicia", "59": "Basque Country",
           "60": "Valencian Community", "CE": "Ceuta", "ML": "Melilla"},
    "JP": {"01": "Aichi", "02": "Akita", "03": "Aomori", "04": "Chiba", "05": "Ehime", "06": "Fukui",
           "07": "Fukuoka", "08": "Fukushima", "09": "Gifu", "10": "Gunma", "11": "Hiroshima",
           "12": "Hokkaido", "13": "Hyogo", "14": "Ibaraki", "15": "Ishikawa", "16": "Iwate",
           "17": "Kagawa", "18": "Kagoshima", "19": "Kanagawa", "20": "Kochi", "21": "Kumamoto",
           "22": "Kyoto", "23": "Mie", "24": "Miyagi", "25": "Miyazaki", "26": "Nagano",
           "27": "Nagasaki", "28": "Nara", "29": "Niigata", "30": "Oita", "31": "Okayama",
           "32": "Osaka", "33": "Saga", "34": "Saitama", "35": "Shiga", "36": "Shimane",
           "37": "Shizuoka", "38": "Tochigi", "39": "Tokushima", "40": "Tokyo", "41": "Tottori",
           "42": "Toyama", "43": "Wakayama", "44": "Yamagata", "45": "Yamaguchi",
           "46": "Yamanashi", "47": "Okinawa"},
    "RU": {"01": "Adygea", "03": "Altai Republic", "04": "Altai Krai", "05": "Amur Oblast",
           "06": "Arkhangelsk Oblast", "07": "Astrakhan Oblast", "08": "Bashkortostan",
           "09": "Belgorod Oblast", "10": "Bryansk Oblast", "11": "Buryatia", "12": "Chechnya",
           "13": "Chelyabinsk Oblast", "15": "Chukotka", "16": "Chuvashia", "17": "Dagestan",
           "19": "Ingushetia", "20": "Irkutsk Oblast", "21": "Ivanovo Oblast",
           "22": "Kabardino-Balkaria", "23": "Kaliningrad Oblast", "24": "Kalmykia",
           "25": "Kaluga Oblast", "27": "Karachay-Cherkessia", "28": "Karelia",
           "29": "Kemerovo Oblast", "30": "Khabarovsk Krai", "31": "Khakassia",
           "32": "Khanty-Mansi Autonomous Okrug", "33": "Kirov Oblast", "34": "Komi",
           "37": "Kostroma Oblast", "38": "Krasnodar Krai", "40": "Kurgan Oblast",
           "41": "Kursk Oblast", "42": "Leningrad Oblast", "43": "Lipetsk Oblast",
           "44": "Magadan Oblast", "45": "Mari El", "46": "Mordovia", "47": "Moscow Oblast",
           "48": "Moscow", "49": "Murmansk Oblast", "50": "Nenets Autonomous Okrug",
           "51": "Nizhny Novgorod Oblast", "52": "Novgorod Oblast", "53": "Novosibirsk Oblast",
           "54": "Omsk Oblast", "55": "Orenburg Oblast", "56": "Oryol Oblast", "57": "Penza Oblast",
           "59": "Primorsky Krai", "60": "Pskov Oblast", "61": "Rostov Oblast",
           "62": "Ryazan Oblast", "63": "Sakha", "64": "Sakhalin Oblast", "65": "Samara Oblast",
           "66": "Saint Petersburg", "67": "Saratov Oblast", "68": "North Ossetia-Alania",
           "69": "Smolensk Oblast", "70": "Stavropol Krai", "71": "Sverdlovsk Oblast",
           "72": "Tambov Oblast", "73": "Tatarstan", "75": "Tomsk Oblast", "76": "Tula Oblast",
           "77": "Tver Oblast", "78": "Tyumen Oblast", "79": "Tuva", "80": "Udmurtia",
           "81": "Ulyanovsk Oblast", "83": "Vladimir Oblast", "84": "Volgograd Oblast",
           "85": "Vologda Oblast", "86": "Voronezh Oblast", "87": "Yamalo-Nenets Autonomous Okrug",
           "88": "Yaroslavl Oblast", "89": "Jewish Autonomous Oblast", "90": "Perm Krai",
           "91": "Krasnoyarsk Krai", "92": "Kamchatka Krai", "93": "Zabaykalsky Krai"},
}

# Postal abbreviations of the regions in ADMIN1_NAMES that people write after a city name.
ADMIN1_ABBREVIATIONS = {
    "AU": {"01": "ACT", "02": "NSW", "03": "NT", "04": "QLD", "05": "SA", "06": "TAS", "07": "VIC",
           "08": "WA"},
    "CA": {"01": "AB", "02": "BC", "03": "MB", "04": "NB", "05": "NL", "07": "NS", "08": "ON",
           "09": "PE", "10": "QC", "11": "SK", "12": "YT", "13": "NT", "14": "NU"},
}

# Names people use that GeoNames does not list as alternate names, by GeoNames id.
NICKNAMES = {
    5128581: ["NYC"],                 # New York City
    5368361: ["LA"],                  # Los Angeles
    5391959: ["SF"],                  # San Francisco
    4140963: ["Washington DC", "DC"],  # Washington
    4560349: ["Philly"],              # Philadelphia
    4335045: ["NOLA"],                # New Orleans
    2643743: ["LDN"],                 # London
    1609350: ["BKK"],                 # Bangkok
    3448439: ["Sampa"],               # São Paulo
    1566083: ["HCMC", "Saigon"],      # Ho Chi Minh City
    498817: ["St Petersburg", "St. Petersburg", "Leningrad"],  # Saint Petersburg
}


def fold(text):
    decomposed = unicodedata.normalize("NFD", text)
    return "".join(c for c in decomposed if not unicodedata.combining(c)).casefold()


def is_latin(text):
    for c in text:
        if c.isalpha():
            if "LATIN" not in unicodedata.name(c, ""):
                return False
        elif c not in " -'.\u2019":
            return False
    return True


def usable_alternate(name):
    if len(name) < 3 or not is_latin(name) or not name[0].isupper():
        return False
    # Airport and other codes ("BOM", "LAX") are not names.
    return not (name.isupper() and len(name) <= 4)


def alternates(city):
    names = []
    seen = {fold(city["name"])}
    wanted = city["pop"] >= MIN_ALTERNATE_POPULATION or city["fcode"] == "PPLC"
    candidates = city["alternates"] if wanted else []
    for name in NICKNAMES.get(city["id"], []) + candidates:
        name = name.strip()
        if name in NICKNAMES.get(city["id"], []) or usable_alternate(name):
            if fold(name) not in seen:
                seen.add(fold(name))
                names.append(name)
    return names


def iso_regions():
    with open(ISO_3166_2, encoding="utf-8") as f:
        entries = json.load(f)["3166-2"]
    return {e["code"]: e["name"] for e in entries}


def region(city, iso):
    """The city's region and its abbreviation; empty texts when unknown."""
    cc, admin1 = city["cc"], city["admin1"]
    if cc in ADMIN1_NAMES:
        name = ADMIN1_NAMES[cc].get(admin1, "")
        return name, ADMIN1_ABBREVIATIONS.get(cc, {}).get(admin1, "") if name else ""
    name = iso.get("%s-%s" % (cc, admin1), "") if admin1.isalpha() else ""
    return name, admin1 if name else ""


def clean(text):
    return text.replace("~", "-").replace('"', "").replace(SEPARATOR, " ").strip()


def build(cities, code_of):
    """Rows for the cities (in citylist.dat's order) that have a region or alternate names."""
    iso = iso_regions()
    rows = []
    for city in cities:
        place, abbreviation = (clean(t) for t in region(city, iso))
        names = [clean(n) for n in alternates(city)]
        if place or names:
            rows.append([code_of(city), place, abbreviation, SEPARATOR.join(n for n in names if n)])
    return rows


def write(cities, code_of):
    rows = build(cities, code_of)
    write_table(data_path("citynames.dat"), rows)
    with_region = sum(1 for r in rows if r[1])
    with_names = sum(1 for r in rows if r[3])
    return len(cities), with_region, with_names
