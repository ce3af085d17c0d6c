#!/usr/bin/env python3
"""Self-test of validate.py: each broken copy of data/ must be reported.

Copies data/ to a temporary folder, applies one fault at a time and checks
that validate.py finds it (and that the unbroken copy passes)."""
import contextlib
import io
import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import validate  # noqa: E402
from common import DATA, BOM  # noqa: E402


def edit(path, old, new, regex=False):
    with open(path, "rb") as f:
        data = f.read().decode("utf-8")
    if regex:
        changed = re.sub(old, new, data, count=1)
    else:
        changed = data.replace(old, new, 1)
    if changed == data:
        raise AssertionError("test setup: %r not in %s" % (old, path))
    with open(path, "wb") as f:
        f.write(changed.encode("utf-8"))


def line_of(path, prefix):
    with open(path, encoding="utf-8-sig") as f:
        for line in f:
            if line.startswith(prefix):
                return line.rstrip("\r\n")
    raise AssertionError("no line starting %r in %s" % (prefix, path))


FAULTS = [
    ("city zone missing from the zone table", "citylist.dat", lambda p: edit(p, r"\n\d+~Canillo~", "\n999~Canillo~", True)),
    ("duplicate city code", "citylist.dat", lambda p: edit(p, "~AD3041204~", "~AD3041563~")),
    ("city code not file-name safe", "citylist.dat", lambda p: edit(p, "~AD3041204~", "~AD/3041204~")),
    ("alternate name of an unknown city", "citynames.dat",
     lambda p: edit(p, "\nUS5746545~", "\nUS0000000~")),
    ("region abbreviation without its region", "citynames.dat",
     lambda p: edit(p, "\nUS5746545~Oregon~OR~", "\nUS5746545~~OR~")),
    ("alternate name in another script", "citynames.dat",
     lambda p: edit(p, "|Bombay|", "|Bombay|\u0411\u043e\u043c\u0431\u0435\u0439|")),
    ("empty alternate name", "citynames.dat", lambda p: edit(p, "|Bombay|", "|Bombay||")),
    ("a well-known former name lost", "citynames.dat", lambda p: edit(p, "|Kiev|", "|")),
    ("companion row with a missing field", "citynames.dat",
     lambda p: edit(p, "\nUS4975802~Maine~ME~", "\nUS4975802~Maine~")),
    ("city row with a missing field", "citylist.dat", lambda p: edit(p, "~Europe/Andorra~AD3041204~", "~AD3041204~")),
    ("zone 25 not UTC+0", "dstinfo.dat", lambda p: edit(p, "\n25~0~", "\n25~60~")),
    ("plain offset row missing", "dstinfo.dat", lambda p: edit(p, "\n39~-840~", "\n39~-841~")),
    ("format conversion wrong", "lang/lang.0407.mui.txt", lambda p: edit(p, "In %d Tagen", "In %s Tagen")),
    ("conversion wrong in a newer string", "lang/lang.0407.mui.txt", lambda p: edit(p, "\r\n%d Std.\r\n", "\r\n%s Std.\r\n")),
    ("conversion in a plain text", "lang/lang.0409.mui.txt", lambda p: edit(p, "\r\nPolar night\r\n", "\r\nPolar %s night\r\n")),
    ("referenced string empty", "lang/lang.0409.mui.txt", lambda p: edit(p, "\r\nSnooze\r\n", "\r\n\r\n")),
    ("missing byte-order mark", "dialcodes.dat", lambda p: edit(p, "\ufeff", "")),
    ("airport row with two fields", "travel/airportcodes.dat",
     lambda p: edit(p, '"AAA","Anaa Airport",', '"AAA",')),
    ("airline code of two digits", "travel/airlines.dat", lambda p: edit(p, "Aegean Airlines~A3\n", "Aegean Airlines~33\n")),
    ("airline code given twice", "travel/airlines.dat", lambda p: edit(p, "Aegean Airlines~A3\n", "Aegean Airlines~AQ\n")),
    ("bad factor", "conversions/conv.0409.mui.txt", lambda p: edit(p, "~Kilometres per hour~1\n", "~Kilometres per hour~x\n")),
    ("template count wrong", "packing/Skiing.tmp", lambda p: edit(p, "~23~0~0", "~22~0~0")),
    ("tab refers to a missing layout", "home/today_default.xml", lambda p: edit(p, 'layout="world" id', 'layout="earth" id')),
]


def run(folder):
    with contextlib.redirect_stdout(io.StringIO()) as out:
        status = validate.main(folder)
    return status, out.getvalue()


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        clean = os.path.join(tmp, "clean")
        shutil.copytree(DATA, clean)
        status, out = run(clean)
        if status != 0:
            print("FAIL: unbroken data does not validate:\n" + out)
            failures += 1
        for i, (what, rel, fault) in enumerate(FAULTS):
            copy = os.path.join(tmp, "c%d" % i)
            shutil.copytree(clean, copy)
            fault(os.path.join(copy, rel))
            status, out = run(copy)
            if status == 0:
                print("FAIL: not detected: %s" % what)
                failures += 1
            else:
                print("ok: %s -> %s" % (what, out.splitlines()[0][:100]))
            shutil.rmtree(copy)
    print("test_validate: %d failure(s)" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
