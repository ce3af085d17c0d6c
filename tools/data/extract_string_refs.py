#!/usr/bin/env python3
"""List every language-string number that the design document names.

Usage: extract_string_refs.py DESIGN_DOCUMENT [OUTPUT]

The screens name their texts by number ("language string 605", "strings
46-52", "labelled with language strings 368 to 373", menu tables whose text
column holds numbers ...).  This scanner collects them so that the language
files can be checked for completeness (validate.py reads the output).

Rules, applied to the whole document:
  1. After the word "string"/"strings" a run of numbers joined by ",", "and",
     "or", "to", "/" or a dash, where each number may be followed by a short
     parenthesised remark or a few words ("150 while it runs, 151 otherwise").
  2. Markdown tables: in a column whose heading mentions a string, a text or a
     label, every number of the column's cells (a table of option rows lists
     "label: value" pairs; only the label before ":" counts).
  3. Table title cells written "110 (376)": the number in parentheses.
  4. The supplement below: prose where the numbers are paired with keys
     ("1 hour 515, 2 516", '"L" language string 197, "A" 198') and was
     checked by hand.
Numbers outside 2..699 are ignored (line 1 of a language file is the count).

Output: one line per number, "N<TAB>context", sorted by number.  The context
is the shortened sentence where the number was first found.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import write_text  # noqa: E402

LOW, HIGH = 2, 699

# Numbers that the rules above pick up but that are not string numbers:
# the language-file example ("strings 1, 2 and 3 are lines 1, 2 and 3"),
# "kinds 1 and 5", command 113 in a list of commands.
NOT_STRINGS = {2, 3, 4, 5, 113}

# Numbers named in prose that pairs them with other keys; each entry is
# (numbers, where the text is used).
SUPPLEMENT = [
    ([515, 516, 517, 518, 519, 520, 521, 522, 523, 525], "automatic-update status box: interval texts"),
    ([197, 198, 199, 200, 201, 202, 203, 204, 205], "flight status texts by status letter, block time"),
    ([208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218], "flight detail view labels"),
    ([180, 181, 182, 188, 190, 191, 192, 193, 196, 206, 207], "flight list and query"),
    ([219, 220, 221, 222, 223], "airport codes screen"),
    ([591, 592, 593, 594], "part-of-day names"),
    ([581, 582, 583, 584, 585, 586, 587, 588, 589, 590], "weather screens"),
    ([570, 571, 572, 573, 574, 575, 576, 577, 578, 579, 580, 433, 434], "weather menu"),
    ([166, 167, 168, 169, 170, 171, 172, 173, 174, 176, 177, 178, 179], "weather map panel texts"),
    ([233, 234, 235, 236, 237, 239, 241, 15], "home-mode screen menu"),
    ([224, 225, 226, 228, 230, 231, 232], "quick alarm and weather buttons"),
    ([159, 160, 161, 162, 163, 164, 165], "weather summary panel"),
    ([148, 149, 150, 151, 152, 153, 154, 155, 156, 157], "stopwatch and counters"),
    ([129, 131, 132, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147], "conversions"),
    ([79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91], "alarm repeat and when-texts"),
    ([260, 261, 262, 263, 264, 265, 266, 267, 268, 269, 270, 271, 272], "itinerary agenda texts"),
    ([279, 284, 285, 286, 287, 288, 289, 290, 291, 292, 293, 294, 295, 296,
      297, 298, 299, 300, 301, 302, 303, 304, 305, 306], "itinerary appointments and reminders"),
    ([351, 352, 353, 354], "itinerary questions"),
    ([527, 528, 529, 536, 537, 538, 539, 540, 555, 556, 557, 558, 561, 564, 565, 566], "packing lists"),
    ([368, 369, 370, 371, 372, 373, 374, 375, 504, 505, 506, 507, 509, 510], "options main page"),
    ([500, 501, 502, 511, 512, 513, 514], "scheduled updates"),
    ([682, 683, 684, 685, 686, 687], "comms error texts"),
    ([116, 503], "set-up wizard soft keys"),
    ([643, 644, 645, 646, 647, 648, 649, 650, 651, 652, 653, 654, 655, 656, 657,
      658, 659, 660, 661, 662, 663, 664, 665, 666, 667, 668, 669, 670, 671, 672, 674],
     "main menu labels"),
]

NUM_RUN = re.compile(
    r"\bstrings?\s+((?:\d{1,3})(?:"
    r"(?:\s*\([^)]{0,40}\))?"                 # optional remark "(1, 21, 31)"
    r"(?:\s+(?:while|when|for|in|on)\b[^,;.]{0,30})?"  # optional short clause
    r"(?:\s*(?:,|/|–|-|\band\b|\bor\b|\bto\b|,\s*and\b|,\s*or\b|\belse\b)\s*)+"
    r"(?:language\s+(?:format\s+)?string\s+)?"
    r"\d{1,3})*)")


def numbers_in(text):
    out = []
    tokens = re.findall(r"\d{1,3}|–|-|\bto\b", text)
    i = 0
    while i < len(tokens):
        t = tokens[i]
        if t.isdigit():
            if i + 2 < len(tokens) and tokens[i + 1] in ("–", "-", "to") and tokens[i + 2].isdigit():
                a, b = int(t), int(tokens[i + 2])
                if a < b <= a + 60:
                    out.extend(range(a, b + 1))
                    i += 3
                    continue
            out.append(int(t))
        i += 1
    return out


def short(text, n=150):
    text = re.sub(r"\(?Parts? \d+\.\d+(?:, \d+\.\d+)*\)?", "", text)
    text = re.sub(r"\s+", " ", text).strip()
    return text[:n]


def scan(doc):
    found = {}

    def add(n, ctx):
        if LOW <= n <= HIGH and n not in found and n not in NOT_STRINGS:
            found[n] = short(ctx)

    lines = doc.splitlines()
    # Rule 1
    for line in lines:
        for m in NUM_RUN.finditer(line):
            run = m.group(1)
            # drop parenthesised remarks: they hold day numbers, not strings
            run_clean = re.sub(r"\([^)]*\)", "", run)
            start = max(0, m.start() - 60)
            for n in numbers_in(run_clean):
                add(n, line[start:m.end() + 40])
    # Rules 2 and 3
    header = None
    cols = []
    for line in lines:
        if not line.startswith("|"):
            header = None
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if header is None:
            header = cells
            cols = [i for i, h in enumerate(cells)
                    if re.search(r"string|\btext\b|label", h, re.I)]
            continue
        if all(re.fullmatch(r":?-+:?", c) for c in cells if c):
            continue
        for i in cols:
            if i >= len(cells):
                continue
            cell = re.sub(r"\([^)]*\)|hours \d+ to \d+", " ", cells[i])
            if re.search(r"\d+:", cell):
                nums = [int(x) for x in re.findall(r"(\d{1,3}):", cell)]
                nums += numbers_in(re.sub(r"\d+:\s*\"?[-\w]*\"?;?|\"[^\"]*\"", " ", cell))
            else:
                nums = numbers_in(re.sub(r"\"[^\"]*\"|\(Part[^)]*\)|0x[0-9a-fA-F]+", " ", cell))
            for n in nums:
                add(n, " | ".join(cells))
        if cells and re.fullmatch(r"\d+ \((\d+)\)", cells[0]):
            add(int(re.fullmatch(r"\d+ \((\d+)\)", cells[0]).group(1)), "page title " + cells[0])
    # Rule 4
    for nums, ctx in SUPPLEMENT:
        for n in nums:
            add(n, ctx)
    return found


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        doc = f.read()
    found = scan(doc)
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "string_refs.tsv")
    lines = ["%d\t%s" % (n, found[n]) for n in sorted(found)]
    # plain UTF-8 without byte-order mark: this list is for the tools only
    from common import write_bytes
    write_bytes(out, ("\n".join(lines) + "\n").encode("utf-8"))
    print("%d string numbers -> %s" % (len(found), out))


if __name__ == "__main__":
    main()
