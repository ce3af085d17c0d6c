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


def main():
    checks = [check_languages]
    extra = [globals()[n] for n in sorted(globals()) if n.startswith("check_") and n != "check_languages"]
    for check in checks + extra:
        check()
    for e in errors:
        print("ERROR:", e)
    print("validate: %d problem(s)" % len(errors))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
