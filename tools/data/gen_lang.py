#!/usr/bin/env python3
"""Language list, language files and user-agreement texts (data/lang/).

lang.dat, one language per line, nine "~"-separated fields:
  1 name shown, 2 language file, 3 "1" on the default language,
  4 locale tag (carried), 5 user-agreement file, 6 language code,
  7 and 8 carried ("0"), 9 download name.
lang.<code>.mui.txt: line 1 is the number of strings N, line k is string k.
Strings without a text are empty lines.  Lines stay below 255 characters
because the device reads language files with that limit.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import data_path, write_table, write_text  # noqa: E402
from lang_texts import T  # noqa: E402

# Numbers up to 919 are handed out in blocks to the screens that add strings; the files
# carry the whole range so that a block's first strings never move the others.
STRING_COUNT = max(max(T), 919)
LINE_LIMIT = 254

LANGUAGES = [
    # name, code, index into the text pairs, locale, download name, default
    ("English", "0409", 0, "en-US", "english", True),
    ("Deutsch", "0407", 1, "de-DE", "german", False),
]

AGREEMENT = {
    "0409": """Vorn Roamer - licence and terms of use

Copyright (c) the Vorn Roamer authors.

Permission is hereby granted, free of charge, to any person obtaining a copy of this software and its data files, to deal in them without restriction, including without limitation the rights to use, copy, modify, merge, publish, distribute, sublicense and/or sell copies, and to permit persons to whom they are furnished to do so, subject to this condition: the above copyright notice, this permission notice and the attributions in the file NOTICE shall be included in all copies or substantial portions.

THE SOFTWARE AND ITS DATA ARE PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR ITS DATA OR THE USE OR OTHER DEALINGS IN THEM.

In plain words:

Weather. Forecasts, current conditions, maps and satellite or radar pictures come from outside services and can be late, incomplete or wrong. Do not rely on them where safety is at stake: for travel in the mountains, at sea or in the air, or in severe weather, always check the official warnings of your local weather service.

Flights. Flight times, gates and status come from outside services and can change at short notice. Always check with your airline and the airport display boards before you travel. We are not responsible for missed connections.

Time zones and daylight saving. Local times are computed from a table of time-zone rules. Governments change these rules, sometimes at short notice, and a few regions follow rules that the table can only approximate. Check important appointments against an official source.

Currency rates and conversions are for guidance only; banks and card issuers use their own rates and fees.

City, airport and country data come from public data sets; see the file NOTICE in the program folder for their sources and licences.

Downloads use your network connection and may cost money under your data plan.

By choosing Accept you agree to these terms. Choose Quit if you do not agree.
""",
    "0407": """Vorn Roamer - Lizenz und Nutzungsbedingungen

Copyright (c) die Autoren von Vorn Roamer.

Hiermit wird unentgeltlich jeder Person, die eine Kopie dieser Software und ihrer Datendateien erhält, die Erlaubnis erteilt, sie ohne Einschränkung zu nutzen, einschließlich des Rechts, sie zu verwenden, zu kopieren, zu ändern, zusammenzufügen, zu veröffentlichen, zu verbreiten, zu unterlizenzieren und/oder zu verkaufen, und Personen, denen sie überlassen werden, dies ebenfalls zu gestatten, unter folgender Bedingung: Der obige Urheberrechtsvermerk, dieser Erlaubnisvermerk und die Quellenangaben in der Datei NOTICE müssen allen Kopien oder wesentlichen Teilen beiliegen.

DIE SOFTWARE UND IHRE DATEN WERDEN OHNE JEDE AUSDRÜCKLICHE ODER STILLSCHWEIGENDE GEWÄHRLEISTUNG ZUR VERFÜGUNG GESTELLT, EINSCHLIESSLICH DER GEWÄHRLEISTUNG DER MARKTGÄNGIGKEIT, DER EIGNUNG FÜR EINEN BESTIMMTEN ZWECK UND DER NICHTVERLETZUNG VON RECHTEN DRITTER. DIE AUTOREN ODER RECHTEINHABER SIND IN KEINEM FALL HAFTBAR FÜR ANSPRÜCHE, SCHÄDEN ODER ANDERE VERPFLICHTUNGEN, OB AUS VERTRAG, UNERLAUBTER HANDLUNG ODER ANDERWEITIG, DIE AUS DER SOFTWARE ODER IHREN DATEN ODER DER NUTZUNG ODER ANDEREN GESCHÄFTEN DAMIT ENTSTEHEN.

Mit einfachen Worten:

Wetter. Vorhersagen, aktuelle Werte, Karten sowie Satelliten- und Radarbilder stammen von fremden Diensten und können verspätet, unvollständig oder falsch sein. Verlassen Sie sich nicht darauf, wo es um Sicherheit geht: Prüfen Sie bei Touren in den Bergen, auf See oder in der Luft und bei Unwettern immer die amtlichen Warnungen Ihres Wetterdienstes.

Flüge. Flugzeiten, Gates und Status stammen von fremden Diensten und können sich kurzfristig ändern. Prüfen Sie vor der Reise immer die Angaben Ihrer Fluglinie und die Anzeigetafeln am Flughafen. Für verpasste Anschlüsse übernehmen wir keine Verantwortung.

Zeitzonen und Sommerzeit. Ortszeiten werden aus einer Tabelle von Zeitzonenregeln berechnet. Regierungen ändern diese Regeln, manchmal kurzfristig, und einige Regionen folgen Regeln, die die Tabelle nur annähernd abbilden kann. Prüfen Sie wichtige Termine anhand einer amtlichen Quelle.

Wechselkurse und Umrechnungen dienen nur zur Orientierung; Banken und Kartenanbieter verwenden eigene Kurse und Gebühren.

Städte-, Flughafen- und Länderdaten stammen aus öffentlichen Datensätzen; ihre Quellen und Lizenzen stehen in der Datei NOTICE im Programmordner.

Abrufe nutzen Ihre Netzverbindung und können nach Ihrem Datentarif Kosten verursachen.

Mit Annehmen stimmen Sie diesen Bedingungen zu. Wählen Sie Beenden, wenn Sie nicht zustimmen.
""",
}


def language_lines(index):
    lines = [str(STRING_COUNT)]
    for n in range(2, STRING_COUNT + 1):
        text = T[n][index] if n in T else ""
        if len(text) > LINE_LIMIT or "\n" in text or "\r" in text or "\\r" in text:
            raise ValueError("string %d does not fit a language-file line" % n)
        lines.append(text)
    return lines


def main():
    rows = []
    for name, code, index, locale, download, default in LANGUAGES:
        lang_file = "lang.%s.mui.txt" % code
        eula_file = "eula.%s.txt" % code
        write_text(data_path("lang", lang_file), language_lines(index), newline="\r\n",
                   final_newline=True)
        eula = AGREEMENT[code].rstrip("\n").split("\n")
        write_text(data_path("lang", eula_file), eula, newline="\r\n", final_newline=True)
        rows.append([name, lang_file, "1" if default else "0", locale, eula_file,
                     code, "0", "0", download])
    write_table(data_path("lang", "lang.dat"), rows)
    print("lang: %d languages, %d strings each" % (len(rows), STRING_COUNT))


if __name__ == "__main__":
    main()
