#!/usr/bin/env python3
"""One PNG showing every picture of data/ at display scale 1.0 and 2.0.

Usage: contact_sheet.py [OUTPUT.png]   (default tools/data/build/contact_sheet.png)

Targa files are decoded here the way the device decodes them (type 2 or 10,
24 or 32 bits, first row in the file is the bottom row), so a picture that
is upside down or has broken alpha shows up on the sheet.  Each cell shows
the picture at half size (scale 1.0, resized with a tent filter like the
device's resampler) and at its own size (scale 2.0) over a checkerboard;
very large pictures are shown reduced and marked with their size.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import BUILD, DATA, write_bytes  # noqa: E402

CONVERT = "/usr/bin/convert"
MONTAGE = "/usr/bin/montage"
MAX_SIDE = 240


def decode_tga(path):
    with open(path, "rb") as f:
        data = f.read()
    idlen, cmtype, itype = data[0], data[1], data[2]
    cmlen = int.from_bytes(data[5:7], "little")
    cmsize = data[7]
    w = int.from_bytes(data[12:14], "little")
    h = int.from_bytes(data[14:16], "little")
    bpp = data[16] // 8
    if itype not in (2, 10) or bpp not in (3, 4):
        raise ValueError("%s: not a true-colour Targa the device reads" % path)
    pos = 18 + idlen + cmlen * cmsize // 8
    px = bytearray()
    total = w * h * bpp
    if itype == 2:
        px = data[pos:pos + total]
    else:
        while len(px) < total:
            head = data[pos]
            pos += 1
            if head >= 128:
                px += data[pos:pos + bpp] * (head - 127)
                pos += bpp
            else:
                n = (head + 1) * bpp
                px += data[pos:pos + n]
                pos += n
    rows = []
    for y in range(h):                      # file row y is picture row h-1-y
        row = px[y * w * bpp:(y + 1) * w * bpp]
        out = bytearray()
        for x in range(w):
            b, g, r = row[x * bpp:x * bpp + 3]
            a = row[x * bpp + 3] if bpp == 4 else 255
            out += bytes((r, g, b, a))
        rows.append(bytes(out))
    return w, h, b"".join(reversed(rows))


def run(cmd, data=None):
    subprocess.run(cmd, input=data, check=True, stdout=subprocess.DEVNULL)


def cell(path, rel, tmp, index):
    png = os.path.join(tmp, "p%04d.png" % index)
    if path.endswith(".tga"):
        w, h, raw = decode_tga(path)
        run([CONVERT, "-size", "%dx%d" % (w, h), "-depth", "8", "rgba:-", png], raw)
    else:
        run([CONVERT, path, png])
        out = subprocess.run(["identify", "-format", "%w %h", png], check=True, stdout=subprocess.PIPE)
        w, h = map(int, out.stdout.split())
    shrink = min(1.0, MAX_SIDE / max(w, h))
    big = "%dx%d!" % (max(1, round(w * shrink)), max(1, round(h * shrink)))
    small = "%dx%d!" % (max(1, round(w * shrink / 2)), max(1, round(h * shrink / 2)))
    out = os.path.join(tmp, "c%04d.png" % index)
    label = "%s %dx%d%s" % (rel, w, h, " (shown reduced)" if shrink < 1 else "")
    run([CONVERT, "-size", "%dx%d" % (round(w * shrink * 1.5) + 12, round(h * shrink) + 4),
         "pattern:checkerboard", "-modulate", "100,0", "-fill", "#808080", "-colorize", "30",
         "(", png, "-filter", "Triangle", "-resize", small, ")", "-geometry", "+2+2", "-composite",
         "(", png, "-filter", "Triangle", "-resize", big, ")",
         "-geometry", "+%d+2" % (round(w * shrink / 2) + 8), "-composite",
         "-background", "#3a3f45", "-gravity", "northwest", "-extent", "%dx%d" % (384, round(h * shrink) + 4),
         "-set", "label", label, out])
    return out


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(BUILD, "contact_sheet.png")
    files = []
    for root, dirs, names in os.walk(DATA):
        dirs.sort()
        for n in sorted(names):
            if n.lower().endswith((".tga", ".jpg")):
                files.append(os.path.join(root, n))
    with tempfile.TemporaryDirectory() as tmp:
        cells = [cell(p, os.path.relpath(p, DATA), tmp, i) for i, p in enumerate(files)]
        sheet = os.path.join(tmp, "sheet.png")
        run([MONTAGE] + cells + ["-tile", "7x", "-geometry", "+6+6", "-background", "#3a3f45",
                                 "-fill", "white", "-pointsize", "11", "-font", "DejaVu-Sans",
                                 "-define", "png:exclude-chunks=date,time", "+set", "date:create",
                                 "+set", "date:modify", sheet])
        with open(sheet, "rb") as f:
            write_bytes(out, f.read())
    print("contact sheet: %d pictures -> %s" % (len(files), out))


if __name__ == "__main__":
    main()
