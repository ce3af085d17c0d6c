#!/usr/bin/env python3
"""All pictures of the install folder, drawn as SVG by this script.

Every picture is drawn at the 2.0 display scale (VGA); the device scales
Targa pictures down for 1.0.  SVG is rasterised with rsvg-convert; Targa
files are written here (32-bit, run-length encoded, bottom-up rows, straight
alpha) and JPEG files with ImageMagick (metadata stripped).  The SVG sources
of the last run are kept in tools/data/build/svg for inspection.

Style: rounded tiles with a soft vertical gradient per menu group, white
glyphs with a thin dark outline, 1/24 of the size as stroke width.
"""
import math
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import BUILD, HERE, data_path, write_bytes  # noqa: E402

CONVERT = "/usr/bin/convert"
SVG_DIR = os.path.join(BUILD, "svg")
PNG_DIR = os.path.join(BUILD, "png")
MANIFEST = []          # (relative path, kind) of every picture, for the contact sheet

# group colours (top, bottom of the tile gradient)
BLUE = ("#4f9be8", "#1d5fae")
TEAL = ("#3fc1b0", "#13806f")
SKY = ("#62b8f0", "#2476b8")
ORANGE = ("#ffab4a", "#d9621b")
PURPLE = ("#a57be0", "#6a3fb0")
GREEN = ("#79c95a", "#3a8a2a")
GREY = ("#b9c2cc", "#6e7a87")
RED = ("#f36b5f", "#b8281f")


# ------------------------------------------------------------ writers

def run(cmd, data=None):
    r = subprocess.run(cmd, input=data, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    if r.returncode != 0:
        raise RuntimeError("%s failed: %s" % (cmd[0], r.stderr.decode(errors="replace")))
    return r.stdout


def render(svg, w, h, name):
    """SVG text -> PNG file in the build folder; returns its path."""
    os.makedirs(SVG_DIR, exist_ok=True)
    os.makedirs(PNG_DIR, exist_ok=True)
    base = name.replace("/", "__")
    svg_path = os.path.join(SVG_DIR, base + ".svg")
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(svg)
    png = os.path.join(PNG_DIR, base + ".png")
    run(["rsvg-convert", "-w", str(w), "-h", str(h), "-f", "png", "-o", png, svg_path])
    return png


def rgba_of(png, w, h):
    raw = run([CONVERT, png, "-depth", "8", "rgba:-"])
    if len(raw) != w * h * 4:
        raise RuntimeError("unexpected raster size for " + png)
    return raw


def tga_bytes(raw, w, h):
    """32-bit run-length Targa (type 10), first row in the file = bottom row."""
    header = bytes([0, 0, 10, 0, 0, 0, 0, 0]) + (0).to_bytes(2, "little") * 2 + \
        w.to_bytes(2, "little") + h.to_bytes(2, "little") + bytes([32, 8])
    out = bytearray(header)
    for y in range(h - 1, -1, -1):
        row = raw[y * w * 4:(y + 1) * w * 4]
        px = []
        for x in range(w):
            r, g, b, a = row[4 * x:4 * x + 4]
            if a == 0:
                r = g = b = 0
            px.append(bytes((b, g, r, a)))
        i = 0
        while i < w:
            j = i + 1
            while j < w and j - i < 128 and px[j] == px[i]:
                j += 1
            if j - i >= 2:
                out.append(0x80 | (j - i - 1))
                out += px[i]
                i = j
                continue
            j = i + 1
            while j < w and j - i < 128 and not (j + 1 < w and px[j] == px[j + 1]):
                j += 1
            out.append(j - i - 1)
            for k in range(i, j):
                out += px[k]
            i = j
    out += b"\x00" * 8 + b"TRUEVISION-XFILE.\x00"
    return bytes(out)


def save_tga(rel, svg, w, h):
    png = render(svg, w, h, rel)
    write_bytes(data_path(*rel.split("/")), tga_bytes(rgba_of(png, w, h), w, h))
    MANIFEST.append((rel, png))


def save_jpg(rel, svg, w, h, quality=86):
    png = render(svg, w, h, rel)
    data = run([CONVERT, png, "-background", "white", "-alpha", "remove", "-strip",
                "-sampling-factor", "2x2", "-quality", str(quality), "jpg:-"])
    write_bytes(data_path(*rel.split("/")), data)
    MANIFEST.append((rel, png))


# ------------------------------------------------------------ SVG helpers

def svg_doc(w, h, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
            '<defs>%s</defs>%s</svg>' % (w, h, w, h, defs, body))


def grad(gid, top, bottom, x2=0, y2=1):
    return ('<linearGradient id="%s" x1="0" y1="0" x2="%s" y2="%s">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (gid, x2, y2, top, bottom))


def tile(colors, s=96, radius=0.2, inset=0.04):
    """Rounded square tile with a gradient, a gloss band and a soft edge."""
    i = s * inset
    r = s * radius
    d = grad("t", colors[0], colors[1]) + (
        '<linearGradient id="gl" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#fff" stop-opacity="0.45"/>'
        '<stop offset="1" stop-color="#fff" stop-opacity="0.02"/></linearGradient>')
    body = ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#000" opacity="0.25"/>'
            % (i + s * 0.01, i + s * 0.025, s - 2 * i, s - 2 * i, r))
    body += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="url(#t)" '
             'stroke="#000" stroke-opacity="0.35" stroke-width="%.1f"/>'
             % (i, i, s - 2 * i, s - 2 * i, r, s / 64))
    body += ('<path d="M%.1f %.1f h%.1f a%.1f %.1f 0 0 1 %.1f %.1f v%.1f c%.1f %.1f %.1f %.1f %.1f %.1f z" fill="url(#gl)"/>'
             % (i + r, i + s / 96, s - 2 * i - 2 * r, r, r, r, r, s * 0.22, -s * 0.3, s * 0.08, -s * 0.6,
                s * 0.08, -(s - 2 * i), -s * 0.06))
    return d, body


def g(content, s=96, scale=1.0):
    """Glyph group in a 96-unit box, scaled to s."""
    return '<g transform="scale(%.5f)">%s</g>' % (s / 96.0 * scale, content)


W = 'fill="#fff" stroke="#1b2a3a" stroke-opacity="0.55" stroke-width="1.6"'
WS = 'fill="none" stroke="#fff" stroke-linecap="round" stroke-linejoin="round"'


def clock_glyph(cx=48, cy=48, r=26, h=10, m=10):
    ha = (h % 12 + m / 60) * 30
    ma = m * 6
    hx, hy = cx + 0.5 * r * math.sin(math.radians(ha)), cy - 0.5 * r * math.cos(math.radians(ha))
    mx, my = cx + 0.78 * r * math.sin(math.radians(ma)), cy - 0.78 * r * math.cos(math.radians(ma))
    ticks = "".join('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#1b2a3a" stroke-width="2.4"/>'
                    % (cx + r * 0.78 * math.sin(math.radians(a)), cy - r * 0.78 * math.cos(math.radians(a)),
                       cx + r * 0.92 * math.sin(math.radians(a)), cy - r * 0.92 * math.cos(math.radians(a)))
                    for a in range(0, 360, 90))
    return ('<circle cx="%s" cy="%s" r="%s" %s/>' % (cx, cy, r, W) + ticks +
            '<line x1="%s" y1="%s" x2="%.1f" y2="%.1f" stroke="#1b2a3a" stroke-width="4.5" stroke-linecap="round"/>'
            % (cx, cy, hx, hy) +
            '<line x1="%s" y1="%s" x2="%.1f" y2="%.1f" stroke="#1b2a3a" stroke-width="3" stroke-linecap="round"/>'
            % (cx, cy, mx, my) + '<circle cx="%s" cy="%s" r="3" fill="#d9361b"/>' % (cx, cy))


def globe_glyph(cx=48, cy=48, r=28):
    return ('<circle cx="%s" cy="%s" r="%s" fill="#fff" stroke="#1b2a3a" stroke-opacity="0.55" stroke-width="1.6"/>'
            '<g fill="none" stroke="#2a7fc0" stroke-width="2.6">'
            '<ellipse cx="%s" cy="%s" rx="%s" ry="%s"/><ellipse cx="%s" cy="%s" rx="%s" ry="%s"/>'
            '<line x1="%s" y1="%s" x2="%s" y2="%s"/>'
            '<path d="M%s %s q%s %s %s 0"/><path d="M%s %s q%s %s %s 0"/></g>'
            % (cx, cy, r, cx, cy, r * 0.45, r, cx, cy, r * 0.05, r, cx - r, cy, cx + r, cy,
               cx - r * 0.86, cy - r * 0.5, r * 0.86, r * 0.18, r * 1.72,
               cx - r * 0.86, cy + r * 0.5, r * 0.86, -r * 0.18, r * 1.72))


def sun_glyph(cx, cy, r, rays=True):
    s = ""
    if rays:
        for k in range(8):
            a = math.radians(k * 45)
            s += ('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#ffb300" stroke-width="%.1f" stroke-linecap="round"/>'
                  % (cx + 1.35 * r * math.cos(a), cy + 1.35 * r * math.sin(a),
                     cx + 1.8 * r * math.cos(a), cy + 1.8 * r * math.sin(a), r * 0.28))
    s += ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffd23f" stroke="#e08a00" stroke-width="%.1f"/>'
          % (cx, cy, r, r * 0.12))
    return s


def moon_glyph(cx, cy, r):
    """Crescent moon: a disc of radius r on cx, cy with an offset disc cut out of its right side."""
    ox, oy, orad = cx + r * 0.55, cy - r * 0.3, r * 0.8
    return ('<mask id="crescent" maskUnits="userSpaceOnUse" x="0" y="0" width="96" height="96">'
            '<rect width="96" height="96" fill="#fff"/>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#000"/></mask>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffe680" stroke="#c9a227" stroke-width="%.1f" mask="url(#crescent)"/>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="none" stroke="#c9a227" stroke-width="%.1f" '
            'clip-path="url(#inside)"/><clipPath id="inside"><circle cx="%.1f" cy="%.1f" r="%.1f"/></clipPath>'
            % (ox, oy, orad, cx, cy, r, r * 0.12, ox, oy, orad, r * 0.12, cx, cy, r))


def stars(points):
    """Small four-pointed stars at (x, y, size)."""
    out = ""
    for x, y, k in points:
        out += ('<path d="M%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f Z" '
                'fill="#fff3b0" stroke="#c9a227" stroke-width="0.8" stroke-linejoin="round"/>'
                % (x, y - k, x + k * 0.3, y - k * 0.3, x + k, y, x + k * 0.3, y + k * 0.3,
                   x, y + k, x - k * 0.3, y + k * 0.3, x - k, y, x - k * 0.3, y - k * 0.3))
    return out


def cloud_glyph(cx, cy, s, fill="#ffffff", stroke="#55606e"):
    """Cloud centred on cx, cy, s = width."""
    u = s / 100.0
    d = ("M%.1f %.1f h%.1f a%.1f %.1f 0 0 0 0 %.1f a%.1f %.1f 0 0 0 -%.1f -%.1f a%.1f %.1f 0 0 0 -%.1f -%.1f "
         "a%.1f %.1f 0 0 0 -%.1f %.1f a%.1f %.1f 0 0 0 0 %.1f z"
         % (cx - 35 * u, cy + 22 * u, 70 * u, 16 * u, 16 * u, -32 * u, 22 * u, 22 * u, 14 * u, 22 * u,
            26 * u, 26 * u, 40 * u, -4 * u, 20 * u, 20 * u, 20 * u, 24 * u, 16 * u, 16 * u, 32 * u))
    d = ("M%.1f %.1f L%.1f %.1f A%.1f %.1f 0 0 0 %.1f %.1f A%.1f %.1f 0 0 0 %.1f %.1f "
         "A%.1f %.1f 0 0 0 %.1f %.1f A%.1f %.1f 0 0 0 %.1f %.1f Z"
         % (cx - 34 * u, cy + 24 * u, cx + 34 * u, cy + 24 * u,
            17 * u, 17 * u, cx + 30 * u, cy - 8 * u,
            24 * u, 24 * u, cx - 10 * u, cy - 18 * u,
            16 * u, 16 * u, cx - 36 * u, cy - 2 * u,
            13 * u, 13 * u, cx - 34 * u, cy + 24 * u))
    return '<path d="%s" fill="%s" stroke="%s" stroke-width="%.1f" stroke-linejoin="round"/>' % (d, fill, stroke, 2.4 * u)


def drops(cx, cy, n, s, color="#2f8fe0", snow=False, sleet=False):
    out = ""
    for k in range(n):
        x = cx + (k - (n - 1) / 2) * s * 0.26
        y = cy + (k % 2) * s * 0.12
        if snow or (sleet and k % 2):
            r = s * 0.1
            out += ('<g stroke="#2f8fe0" stroke-width="%.1f" stroke-linecap="round">' % (s * 0.045) +
                    "".join('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f"/>'
                            % (x - r * math.cos(math.radians(a)), y - r * math.sin(math.radians(a)),
                               x + r * math.cos(math.radians(a)), y + r * math.sin(math.radians(a)))
                            for a in (90, 30, 150)) + "</g>")
        else:
            w, hgt = s * 0.09, s * 0.2
            out += ('<path d="M%.1f %.1f C%.1f %.1f %.1f %.1f %.1f %.1f A%.1f %.1f 0 1 1 %.1f %.1f '
                    'C%.1f %.1f %.1f %.1f %.1f %.1f z" fill="%s" stroke="#175a96" stroke-width="%.1f"/>'
                    % (x, y - hgt / 2, x + w * 0.3, y - hgt * 0.2, x + w, y, x + w, y + hgt * 0.15,
                       w, w, x - w, y + hgt * 0.15, x - w, y, x - w * 0.3, y - hgt * 0.2, x, y - hgt / 2,
                       color, s * 0.012))
    return out


def bolt(cx, cy, s):
    u = s / 100
    pts = [(4, -30), (-14, 4), (0, 4), (-8, 30), (16, -8), (2, -8), (12, -30)]
    return ('<polygon points="%s" fill="#ffd23f" stroke="#c77700" stroke-width="%.1f" stroke-linejoin="round"/>'
            % (" ".join("%.1f,%.1f" % (cx + x * u, cy + y * u) for x, y in pts), 2 * u))


def fog_lines(cx, cy, s):
    return "".join('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#8a96a3" stroke-width="%.1f" stroke-linecap="round"/>'
                   % (cx - s * 0.36 + (k % 2) * s * 0.08, cy + k * s * 0.12, cx + s * 0.36 - (k % 2) * s * 0.06,
                      cy + k * s * 0.12, s * 0.06) for k in range(3))


def bell_glyph(cx=48, cy=46, s=1.0, swing=0):
    return ('<g transform="rotate(%s %s %s)">'
            '<path d="M%s %s c0 -18 8 -26 20 -26 s20 8 20 26 v10 l7 9 h-54 l7 -9 z" %s/>'
            '<circle cx="%s" cy="%s" r="6" %s/><circle cx="%s" cy="%s" r="3.5" %s/></g>'
            % (swing, cx, cy - 26, cx - 20, cy, W, cx, cy + 24, W, cx, cy - 28, W))


def arrow_path(direction, s):
    pts = {"left": "62,20 30,48 62,76", "right": "34,20 66,48 34,76",
           "up": "20,62 48,30 76,62", "down": "20,34 48,66 76,34"}[direction]
    return ('<polyline points="%s" fill="none" stroke="#1b2a3a" stroke-opacity="0.5" stroke-width="20" '
            'stroke-linecap="round" stroke-linejoin="round"/>'
            '<polyline points="%s" fill="none" stroke="#fff" stroke-width="12" stroke-linecap="round" '
            'stroke-linejoin="round"/>' % (pts, pts))


# glyphs for the menu and button pictures, all in a 96-unit box
def glyph(name):
    if name == "clock":
        return clock_glyph()
    if name == "globe":
        return globe_glyph()
    if name == "house":
        return ('<path d="M48 18 L80 46 h-9 v30 h-46 v-30 h-9 z" %s/>'
                '<rect x="42" y="56" width="13" height="20" fill="#2a7fc0"/>'
                '<rect x="31" y="48" width="9" height="9" fill="#2a7fc0"/><rect x="58" y="48" width="9" height="9" fill="#2a7fc0"/>' % W)
    if name == "city":
        return ('<rect x="18" y="38" width="18" height="40" %s/><rect x="38" y="22" width="20" height="56" %s/>'
                '<rect x="60" y="44" width="18" height="34" %s/>' % (W, W, W) +
                "".join('<rect x="%d" y="%d" width="4" height="5" fill="#2a7fc0"/>' % (x, y)
                        for x in (42, 50) for y in (28, 38, 48, 58)) +
                '<circle cx="74" cy="24" r="9" fill="#d9361b" stroke="#fff" stroke-width="2.5"/>')
    if name == "gear":
        teeth = "".join('<rect x="43" y="14" width="10" height="14" rx="2" transform="rotate(%d 48 48)" %s/>' % (a, W)
                        for a in range(0, 360, 45))
        return teeth + '<circle cx="48" cy="48" r="22" %s/><circle cx="48" cy="48" r="8" fill="#2a7fc0"/>' % W
    if name == "daylight":
        return ('<rect x="14" y="26" width="68" height="44" rx="4" fill="#1b3552" stroke="#fff" stroke-width="3"/>'
                '<path d="M30 26 q14 22 0 44 h40 q-14 -22 0 -44 z" fill="#ffe27a"/>'
                '<path d="M22 40 q6 -6 12 0 t10 6 M52 56 q6 -4 10 0" stroke="#4a9a3a" stroke-width="4" fill="none"/>')
    if name == "meeting":
        return ('<rect x="16" y="22" width="50" height="48" rx="5" %s/><rect x="16" y="22" width="50" height="12" rx="4" fill="#d9361b"/>' % W +
                "".join('<rect x="%d" y="%d" width="7" height="6" fill="#2a7fc0"/>' % (22 + 10 * i, 40 + 10 * j)
                        for i in range(4) for j in range(2)) +
                '<g transform="translate(20 16)">' + clock_glyph(48, 50, 16, 3, 0) + '</g>')
    if name == "phone":
        return ('<path d="M28 20 c6 -4 10 -2 14 4 l5 9 c2 4 0 7 -3 9 l-4 3 c3 9 9 15 18 19 l3 -4 c2 -3 5 -4 9 -2 '
                'l9 5 c6 4 7 8 3 14 c-5 7 -14 8 -24 3 c-15 -7 -27 -20 -33 -35 c-4 -10 -2 -19 3 -25 z" %s/>' % W +
                '<text x="60" y="40" font-family="DejaVu Sans" font-weight="bold" font-size="22" fill="#fff" '
                'stroke="#1b2a3a" stroke-opacity="0.5" stroke-width="1">+</text>')
    if name == "moon":
        return ('<path d="M56 16 a32 32 0 1 0 24 52 a26 26 0 1 1 -24 -52 z" fill="#fff6c8" stroke="#c9a100" stroke-width="2"/>'
                '<circle cx="34" cy="58" r="4" fill="#e4d58a"/><circle cx="44" cy="70" r="3" fill="#e4d58a"/>')
    if name == "suncloud":
        return sun_glyph(36, 38, 14) + cloud_glyph(54, 56, 62)
    if name == "maps":
        return ('<path d="M14 26 l22 -8 l24 8 l22 -8 v52 l-22 8 l-24 -8 l-22 8 z" %s/>' % W +
                '<path d="M36 18 v52 M60 26 v52" stroke="#8a96a3" stroke-width="2"/>'
                '<path d="M62 34 c-8 0 -12 6 -12 11 c0 8 12 19 12 19 s12 -11 12 -19 c0 -5 -4 -11 -12 -11 z" fill="#d9361b" stroke="#fff" stroke-width="2"/>'
                '<circle cx="62" cy="45" r="4" fill="#fff"/>')
    if name == "air":
        return ('<path d="M16 40 h40 a10 10 0 1 0 -10 -10" %s stroke-width="7"/>' % WS +
                '<path d="M16 54 h54 a11 11 0 1 1 -11 11" %s stroke-width="7"/>' % WS +
                '<path d="M16 68 h22" %s stroke-width="7"/>' % WS)
    if name == "bell":
        return bell_glyph()
    if name == "stopwatch":
        return ('<rect x="42" y="12" width="12" height="9" rx="2" %s/><circle cx="48" cy="54" r="28" %s/>' % (W, W) +
                '<path d="M48 54 L48 32 A22 22 0 0 1 68 48 z" fill="#ff9d2e"/>'
                '<line x1="48" y1="54" x2="48" y2="32" stroke="#1b2a3a" stroke-width="3" stroke-linecap="round"/>'
                '<line x1="72" y1="28" x2="77" y2="23" stroke="#fff" stroke-width="6" stroke-linecap="round"/>')
    if name == "hourglass":
        return ('<rect x="24" y="14" width="48" height="8" rx="3" %s/><rect x="24" y="74" width="48" height="8" rx="3" %s/>' % (W, W) +
                '<path d="M30 22 h36 c0 16 -14 20 -14 26 s14 10 14 26 h-36 c0 -16 14 -20 14 -26 s-14 -10 -14 -26 z" %s/>' % W +
                '<path d="M36 28 h24 c-2 8 -10 12 -12 16 c-2 -4 -10 -8 -12 -16 z M48 58 c6 4 12 8 12 14 h-24 c0 -6 6 -10 12 -14 z" fill="#ffb347"/>')
    if name == "plane":
        return ('<path d="M48 10 c4 0 6 4 6 10 v20 l28 16 v8 l-28 -8 v18 l9 7 v6 l-15 -4 l-15 4 v-6 l9 -7 v-18 '
                'l-28 8 v-8 l28 -16 v-20 c0 -6 2 -10 6 -10 z" %s/>' % W)
    if name == "codes":
        return ('<rect x="12" y="28" width="72" height="40" rx="6" %s/>' % W +
                '<text x="48" y="57" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" '
                'font-size="22" fill="#6a3fb0">ABC</text><circle cx="22" cy="48" r="4" fill="#6a3fb0"/>')
    if name == "suitcase":
        return ('<rect x="34" y="18" width="28" height="14" rx="5" fill="none" stroke="#fff" stroke-width="6"/>'
                '<rect x="16" y="30" width="64" height="46" rx="7" %s/>' % W +
                '<line x1="34" y1="30" x2="34" y2="76" stroke="#a07a3a" stroke-width="4"/>'
                '<line x1="62" y1="30" x2="62" y2="76" stroke="#a07a3a" stroke-width="4"/>')
    if name == "itinerary":
        return ('<rect x="22" y="14" width="52" height="68" rx="5" %s/>' % W +
                "".join('<circle cx="33" cy="%d" r="4" fill="#6a3fb0"/><line x1="42" y1="%d" x2="66" y2="%d" '
                        'stroke="#8a96a3" stroke-width="4" stroke-linecap="round"/>' % (y, y, y) for y in (30, 46, 62)) +
                '<line x1="33" y1="30" x2="33" y2="62" stroke="#6a3fb0" stroke-width="2"/>')
    if name == "currency":
        return ('<circle cx="38" cy="50" r="24" %s/><circle cx="60" cy="42" r="24" %s/>' % (W, W) +
                '<text x="60" y="52" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="28" fill="#3a8a2a">&#8364;</text>'
                '<text x="30" y="64" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="20" fill="#3a8a2a">$</text>')
    if name == "thermometer":
        return ('<path d="M40 20 a8 8 0 0 1 16 0 v36 a16 16 0 1 1 -16 0 z" %s/>' % W +
                '<rect x="44.5" y="34" width="7" height="30" fill="#d9361b"/><circle cx="48" cy="68" r="10" fill="#d9361b"/>' +
                "".join('<line x1="60" y1="%d" x2="68" y2="%d" stroke="#fff" stroke-width="3"/>' % (y, y) for y in (24, 34, 44)))
    if name == "speed":
        return ('<path d="M14 66 a34 34 0 1 1 68 0 z" %s/>' % W +
                "".join('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#1b2a3a" stroke-width="3"/>'
                        % (48 + 28 * math.cos(math.radians(a)), 66 - 28 * math.sin(math.radians(a)),
                           48 + 22 * math.cos(math.radians(a)), 66 - 22 * math.sin(math.radians(a)))
                        for a in range(0, 181, 36)) +
                '<line x1="48" y1="66" x2="68" y2="44" stroke="#d9361b" stroke-width="5" stroke-linecap="round"/>'
                '<circle cx="48" cy="66" r="5" fill="#1b2a3a"/>')
    if name == "ruler":
        return ('<g transform="rotate(-35 48 48)"><rect x="8" y="36" width="80" height="24" rx="3" %s/>' % W +
                "".join('<line x1="%d" y1="36" x2="%d" y2="%d" stroke="#1b2a3a" stroke-width="2.4"/>'
                        % (x, x, 36 + (12 if (x - 16) % 16 == 0 else 7)) for x in range(16, 84, 8)) + "</g>")
    if name == "weight":
        return ('<path d="M36 34 a12 12 0 1 1 24 0" fill="none" stroke="#fff" stroke-width="7"/>'
                '<path d="M26 36 h44 l10 42 h-64 z" %s/>' % W +
                '<text x="48" y="66" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="17" fill="#3a8a2a">kg</text>')
    if name == "shirt":
        return ('<path d="M36 16 l-22 12 l8 18 l10 -5 v38 h32 v-38 l10 5 l8 -18 l-22 -12 c-2 6 -8 9 -12 9 s-10 -3 -12 -9 z" %s/>' % W +
                '<path d="M44 20 l4 10 l4 -10" fill="none" stroke="#3a8a2a" stroke-width="3"/>')
    if name == "palette":
        return ('<path d="M48 16 c20 0 34 14 34 30 c0 12 -10 14 -18 12 c-6 -2 -10 2 -8 8 c2 8 -2 14 -10 14 '
                'c-20 0 -32 -14 -32 -32 s14 -32 34 -32 z" %s/>' % W +
                '<circle cx="34" cy="38" r="6" fill="#d9361b"/><circle cx="50" cy="30" r="6" fill="#ffb300"/>'
                '<circle cx="66" cy="40" r="6" fill="#3a8a2a"/><circle cx="32" cy="56" r="6" fill="#2a7fc0"/>')
    if name == "today":
        return ('<rect x="20" y="12" width="56" height="72" rx="8" %s/>' % W +
                '<rect x="26" y="22" width="44" height="14" rx="2" fill="#2a7fc0"/>'
                '<rect x="26" y="40" width="44" height="8" rx="2" fill="#8a96a3"/>'
                '<rect x="26" y="52" width="44" height="8" rx="2" fill="#8a96a3"/>'
                '<rect x="26" y="64" width="30" height="8" rx="2" fill="#8a96a3"/>')
    if name == "download":
        return ('<path d="M16 58 v16 h64 v-16" fill="none" stroke="#fff" stroke-width="8" stroke-linecap="round" stroke-linejoin="round"/>'
                '<path d="M40 14 h16 v28 h12 l-20 22 l-20 -22 h12 z" %s/>' % W)
    if name == "autoupdate":
        return ('<path d="M70 34 a26 26 0 1 0 4 22" fill="none" stroke="#fff" stroke-width="8" stroke-linecap="round"/>'
                '<path d="M60 30 l16 -4 l-2 16 z" fill="#fff"/>' + clock_glyph(48, 50, 14, 2, 0))
    if name == "wand":
        return ('<line x1="22" y1="76" x2="60" y2="38" stroke="#fff" stroke-width="9" stroke-linecap="round"/>'
                '<line x1="22" y1="76" x2="60" y2="38" stroke="#1b2a3a" stroke-width="3" stroke-linecap="round" opacity="0.4"/>'
                '<path d="M68 14 l4 10 l10 4 l-10 4 l-4 10 l-4 -10 l-10 -4 l10 -4 z" fill="#ffd23f" stroke="#c77700" stroke-width="1.5"/>'
                '<path d="M36 20 l2 5 l5 2 l-5 2 l-2 5 l-2 -5 l-5 -2 l5 -2 z" fill="#ffd23f"/>'
                '<path d="M80 52 l2 5 l5 2 l-5 2 l-2 5 l-2 -5 l-5 -2 l5 -2 z" fill="#ffd23f"/>')
    if name == "calendar":
        return ('<rect x="16" y="20" width="64" height="58" rx="6" %s/><rect x="16" y="20" width="64" height="16" rx="5" fill="#d9361b"/>' % W +
                '<line x1="32" y1="14" x2="32" y2="26" stroke="#fff" stroke-width="5" stroke-linecap="round"/>'
                '<line x1="64" y1="14" x2="64" y2="26" stroke="#fff" stroke-width="5" stroke-linecap="round"/>' +
                "".join('<rect x="%d" y="%d" width="8" height="7" fill="#2a7fc0"/>' % (23 + 13 * i, 42 + 11 * j)
                        for i in range(4) for j in range(3)))
    if name == "seven":
        return glyph("calendar").replace('fill="#2a7fc0"', 'fill="#c5ccd4"') + \
            '<text x="48" y="72" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="30" fill="#1d5fae">7</text>'
    if name == "two":
        return (sun_glyph(34, 44, 13) + '<path d="M70 26 a18 18 0 1 0 12 30 a14 14 0 1 1 -12 -30 z" fill="#fff6c8" stroke="#c9a100" stroke-width="2"/>'
                '<text x="48" y="86" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="20" fill="#fff" stroke="#1b2a3a" stroke-width="1" stroke-opacity="0.5">2</text>')
    if name == "satellite":
        return ('<g transform="rotate(-30 48 48)"><rect x="38" y="38" width="20" height="20" rx="3" %s/>' % W +
                '<rect x="8" y="41" width="26" height="14" fill="#2a7fc0" stroke="#fff" stroke-width="2"/>'
                '<rect x="62" y="41" width="26" height="14" fill="#2a7fc0" stroke="#fff" stroke-width="2"/>'
                '<line x1="48" y1="58" x2="48" y2="70" stroke="#fff" stroke-width="3"/><circle cx="48" cy="72" r="4" fill="#fff"/></g>')
    if name == "radar":
        return ('<circle cx="48" cy="48" r="32" fill="#0f3d24" stroke="#fff" stroke-width="3"/>'
                '<circle cx="48" cy="48" r="20" fill="none" stroke="#4fd27a" stroke-width="2"/>'
                '<circle cx="48" cy="48" r="9" fill="none" stroke="#4fd27a" stroke-width="2"/>'
                '<path d="M48 48 L48 16 A32 32 0 0 1 76 32 z" fill="#4fd27a" opacity="0.7"/>'
                '<circle cx="62" cy="36" r="3.5" fill="#ffd23f"/><circle cx="36" cy="60" r="3" fill="#ffd23f"/>')
    if name == "usermap":
        return glyph("maps").replace("#d9361b", "#ffb300")
    if name == "play":
        return '<path d="M36 22 L74 48 L36 74 z" %s stroke-linejoin="round"/>' % W
    if name == "stop":
        return '<rect x="28" y="28" width="40" height="40" rx="5" %s/>' % W
    if name == "reset":
        return ('<path d="M70 40 a24 24 0 1 0 2 16" fill="none" stroke="#fff" stroke-width="9" stroke-linecap="round"/>'
                '<path d="M58 36 l18 -6 l-2 18 z" fill="#fff"/>')
    raise KeyError(name)


def icon(rel, colors, glyph_name, size=96):
    d, body = tile(colors, size)
    save_tga(rel, svg_doc(size, size, body + g(glyph(glyph_name), size, 1.0), d), size, size)


def bare_icon(rel, glyph_name, size=64):
    """Glyph without a tile, with a soft dark halo so it reads on any background."""
    s = g(glyph(glyph_name), size)
    halo = '<filter id="h"><feGaussianBlur stdDeviation="%.1f"/></filter>' % (size / 40)
    body = '<g filter="url(#h)" opacity="0.6">%s</g>%s' % (s.replace('#fff"', '#000"'), s)
    save_tga(rel, svg_doc(size, size, body, halo), size, size)


# ------------------------------------------------------------ picture sets

MENU = {
    "main_roamer": (BLUE, "house"), "main_international": (TEAL, "globe"), "main_weather": (SKY, "suncloud"),
    "main_alarms": (ORANGE, "bell"), "main_travelinfo": (PURPLE, "plane"), "main_conversion": (GREEN, "currency"),
    "main_now_now": (BLUE, "house"), "main_now_city": (BLUE, "city"), "main_now_settings": (BLUE, "gear"),
    "main_int_worldtime": (TEAL, "clock"), "main_int_daylight": (TEAL, "daylight"),
    "main_int_meetingplan": (TEAL, "meeting"), "main_int_dialcodes": (TEAL, "phone"), "main_int_moon": (TEAL, "moon"),
    "main_wea_current": (SKY, "suncloud"), "main_wea_maps": (SKY, "maps"), "main_wea_air": (SKY, "air"),
    "main_alm_alarm": (ORANGE, "bell"), "main_alm_count": (ORANGE, "hourglass"), "main_alm_stop": (ORANGE, "stopwatch"),
    "main_trv_flights": (PURPLE, "plane"), "main_trv_codes": (PURPLE, "codes"), "main_trv_packing": (PURPLE, "suitcase"),
    "main_trv_itin": (PURPLE, "itinerary"),
    "main_con_currency": (GREEN, "currency"), "main_con_temp": (GREEN, "thermometer"), "main_con_speed": (GREEN, "speed"),
    "main_con_length": (GREEN, "ruler"), "main_con_weight": (GREEN, "weight"), "main_con_clothes": (GREEN, "shirt"),
}


def menu_icons():
    for name, (colors, gl) in MENU.items():
        icon("graphics2/%s.tga" % name, colors, gl, 120)
    for name, gl in [("opts_general", "gear"), ("opts_themes", "palette"), ("opts_today", "today"),
                     ("opts_downloads", "download"), ("opts_autoupdates", "autoupdate")]:
        icon("graphics2/%s.tga" % name, GREY, gl, 96)
    icon("graphics2/wizard.tga", BLUE, "wand", 262)
    for name, gl in [("home_time", "clock"), ("home_calendar", "calendar"), ("home_weather", "suncloud"),
                     ("home_alarm", "bell")]:
        icon("graphics2/%s.tga" % name, BLUE, gl, 96)
        icon("themes/default/%s.tga" % name, BLUE, gl, 96)
    for name, gl in [("weather_7day", "seven"), ("weather_2day", "two"), ("weather_curr", "thermometer"),
                     ("weather_forecast", "maps"), ("weather_sat", "satellite"), ("weather_rad", "radar"),
                     ("weather_user", "usermap")]:
        icon("graphics2/%s.tga" % name, SKY, gl, 96)
        icon("themes/default/%s.tga" % name, SKY, gl, 96)
    icon("graphics2/sw_start.tga", GREEN, "play", 96)
    icon("graphics2/sw_stop.tga", RED, "stop", 96)
    icon("graphics2/sw_reset.tga", GREY, "reset", 96)


def small_pictures():
    for d in ("left", "right", "up", "down"):
        save_tga("graphics2/select_%s.tga" % d, svg_doc(32, 32, g(arrow_path(d, 32), 32)), 32, 32)
    box = ('<rect x="10" y="10" width="76" height="76" rx="12" fill="#fff" stroke="#44505c" stroke-width="6"/>')
    tick = ('<path d="M24 50 l16 16 l34 -38" fill="none" stroke="#1b8a3a" stroke-width="13" '
            'stroke-linecap="round" stroke-linejoin="round"/>')
    save_tga("graphics2/checkbox_off.tga", svg_doc(32, 32, g(box, 32)), 32, 32)
    save_tga("graphics2/checkbox_on.tga", svg_doc(32, 32, g(box + tick, 32)), 32, 32)
    save_tga("graphics2/tick.tga", svg_doc(32, 32, g(tick.replace("#1b8a3a", "#1b2a3a").replace('stroke-width="13"', 'stroke-width="20" opacity="0.35"') + tick, 32)), 32, 32)
    flag = ('<line x1="24" y1="12" x2="24" y2="86" stroke="#44505c" stroke-width="8" stroke-linecap="round"/>'
            '<path d="M28 14 c14 -6 26 8 48 0 v36 c-22 8 -34 -6 -48 0 z" fill="#e8392b" stroke="#8e1b12" stroke-width="3"/>')
    save_tga("graphics2/flag.tga", svg_doc(32, 32, g(flag, 32)), 32, 32)
    bell = bell_glyph().replace('fill="#fff"', 'fill="#ffb300"')
    save_tga("graphics2/alarmon.tga", svg_doc(32, 32, g(bell, 32)), 32, 32)
    save_tga("home/today_alarmon.tga", svg_doc(32, 32, g(bell, 32)), 32, 32)
    off = bell_glyph().replace('fill="#fff"', 'fill="#c5ccd4"') + \
        '<line x1="18" y1="80" x2="80" y2="16" stroke="#d9361b" stroke-width="8" stroke-linecap="round"/>'
    save_tga("home/today_alarmoff.tga", svg_doc(32, 32, g(off, 32)), 32, 32)
    d, body = tile(BLUE, 32)
    save_tga("home/today_homescreen.tga", svg_doc(32, 32, body + g(glyph("globe"), 32), d), 32, 32)
    # city marker and pulse ring of the daylight map
    save_tga("graphics2/citylocation.tga", svg_doc(24, 24,
             '<circle cx="12" cy="12" r="9" fill="#ffdd33" stroke="#5a3a00" stroke-width="3"/>'
             '<circle cx="10" cy="10" r="3" fill="#fff" opacity="0.8"/>'), 24, 24)
    save_tga("graphics2/map_citypos.tga", svg_doc(96, 96,
             '<circle cx="48" cy="48" r="40" fill="none" stroke="#ff3b1f" stroke-width="10"/>'
             '<circle cx="48" cy="48" r="40" fill="none" stroke="#fff" stroke-width="3"/>'), 96, 96)
    # list decorations: soft shadows above and below a scrolling list
    def shade(top_op, bottom_op):
        return ('<linearGradient id="s" x1="0" y1="0" x2="0" y2="1">'
                '<stop offset="0" stop-color="#000" stop-opacity="%s"/>'
                '<stop offset="1" stop-color="#000" stop-opacity="%s"/></linearGradient>' % (top_op, bottom_op))
    save_tga("graphics2/topshadow.tga", svg_doc(480, 16, '<rect width="480" height="16" fill="url(#s)"/>',
                                                shade(0.45, 0)), 480, 16)
    save_tga("graphics2/bottomshadow.tga", svg_doc(480, 16, '<rect width="480" height="16" fill="url(#s)"/>',
                                                   shade(0, 0.45)), 480, 16)


def panels():
    # panel and button face: rounded, dark glass with a light rim (stretched by the program)
    s = 128
    d = grad("p", "#4a5a6e", "#1e2936")
    body = ('<rect x="3" y="3" width="122" height="122" rx="16" fill="url(#p)" stroke="#0e141b" stroke-width="3"/>'
            '<rect x="7" y="7" width="114" height="56" rx="12" fill="#fff" opacity="0.10"/>'
            '<rect x="5" y="5" width="118" height="118" rx="14" fill="none" stroke="#fff" stroke-opacity="0.35" stroke-width="2"/>')
    save_tga("graphics2/basic_shadow.tga", svg_doc(s, s, body, d), s, s)
    # decoration blended at 20 % over the automatic background: soft light and arcs
    d = ('<radialGradient id="r" cx="0.3" cy="0.2" r="0.9"><stop offset="0" stop-color="#fff" stop-opacity="0.9"/>'
         '<stop offset="1" stop-color="#fff" stop-opacity="0"/></radialGradient>')
    body = ('<rect width="480" height="640" fill="url(#r)"/>' +
            "".join('<circle cx="520" cy="700" r="%d" fill="none" stroke="#000" stroke-opacity="0.35" stroke-width="%d"/>'
                    % (r, 6 + k * 2) for k, r in enumerate(range(160, 700, 90))))
    save_tga("graphics2/basic_shadow_back.tga", svg_doc(480, 640, body, d), 480, 640)
    # glossy overlay blended over buttons
    d = ('<linearGradient id="o" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#fff" stop-opacity="0.75"/>'
         '<stop offset="0.48" stop-color="#fff" stop-opacity="0.15"/><stop offset="0.5" stop-color="#fff" stop-opacity="0"/>'
         '<stop offset="1" stop-color="#fff" stop-opacity="0.12"/></linearGradient>')
    body = ('<rect x="2" y="2" width="92" height="92" rx="18" fill="url(#o)" stroke="#fff" stroke-opacity="0.85" stroke-width="3"/>')
    save_tga("themes/default/butt_overlay.tga", svg_doc(96, 96, body, d), 96, 96)
    # calculator key faces and keypad background
    for name, colors, mark in [("calcbutt", ("#f4f6f8", "#c9d0d8"), ""),
                               ("calccancel", ("#ff8a7a", "#c9301f"), '<path d="M36 22 l24 20 M60 22 l-24 20" stroke="#fff" stroke-width="7" stroke-linecap="round"/>'),
                               ("calcdone", ("#8ad66a", "#3a8a2a"), '<path d="M32 33 l10 10 l22 -22" fill="none" stroke="#fff" stroke-width="7" stroke-linecap="round" stroke-linejoin="round"/>')]:
        d = grad("k", colors[0], colors[1])
        body = ('<rect x="2" y="2" width="92" height="60" rx="10" fill="url(#k)" stroke="#56616d" stroke-width="2.5"/>'
                '<rect x="6" y="5" width="84" height="24" rx="8" fill="#fff" opacity="0.35"/>' + mark)
        save_tga("themes/default/%s.tga" % name, svg_doc(96, 64, body, d), 96, 64)
    d = grad("c", "#3b4756", "#151c25")
    body = ('<rect x="2" y="2" width="476" height="396" rx="18" fill="url(#c)" stroke="#0b0f14" stroke-width="4"/>'
            '<rect x="16" y="14" width="448" height="64" rx="10" fill="#cfe3c0" stroke="#6d8a5a" stroke-width="3"/>')
    save_tga("graphics2/calc.tga", svg_doc(480, 400, body, d), 480, 400)
    # busy animation: four frames of a turning ring of segments
    for folder, prefix, size in (("themes/default", "scheduler", 64), ("home", "today_scheduler", 32)):
        for f in range(4):
            segs = ""
            for k in range(8):
                a0 = math.radians(k * 45 + f * 22.5 - 90)
                a1 = a0 + math.radians(30)
                op = 0.2 + 0.8 * (k / 7.0)
                segs += ('<path d="M%.2f %.2f A34 34 0 0 1 %.2f %.2f" fill="none" stroke="#1d6fc0" '
                         'stroke-width="16" stroke-linecap="round" opacity="%.2f"/>'
                         % (48 + 34 * math.cos(a0), 48 + 34 * math.sin(a0),
                            48 + 34 * math.cos(a1), 48 + 34 * math.sin(a1), op))
            save_tga("%s/%s%d.tga" % (folder, prefix, f + 1), svg_doc(size, size, g(segs, size)), size, size)


def bells():
    for f in range(4):
        swing = (0, 14, 0, -14)[f]
        d = grad("b", "#ffd25a", "#e08a00")
        body = ('<g transform="scale(1.729)">' + bell_glyph(48, 46, 1, swing).replace('fill="#fff"', 'fill="url(#b)"') +
                ('<path d="M14 30 q-6 10 0 20 M82 30 q6 10 0 20" fill="none" stroke="#fff" stroke-width="3" stroke-linecap="round"/>'
                 if f % 2 else "") + "</g>")
        save_tga("alarm/alarm_alarm%d.tga" % (f + 1), svg_doc(166, 166, body, d), 166, 166)


def digits():
    # ten glyphs side by side, white seven-segment-style digits with a shadow
    seg = {"a": "M10 6 h28 l-4 6 h-20 z", "b": "M39 8 v28 l-5 -4 v-20 z", "c": "M39 42 v28 l-5 -4 v-20 z",
           "d": "M10 74 h28 l-4 -6 h-20 z", "e": "M9 42 v28 l5 -4 v-20 z", "f": "M9 8 v28 l5 -4 v-20 z",
           "g": "M12 39 l4 -3 h16 l4 3 l-4 3 h-16 z"}
    on = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"]
    body = ""
    for i, segs in enumerate(on):
        paths = "".join('<path d="%s"/>' % seg[s] for s in segs)
        body += ('<g transform="translate(%d 0)"><g fill="#000" stroke="#000" stroke-width="2.6" opacity="0.45" transform="translate(2 2)">%s</g>'
                 '<g fill="#ffffff" stroke="#ffffff" stroke-width="2.6" stroke-linejoin="round">%s</g></g>' % (i * 48, paths, paths))
    save_tga("graphics2/digits.tga", svg_doc(480, 80, body), 480, 80)


def moon():
    s = 256
    d = ('<radialGradient id="m" cx="0.42" cy="0.38" r="0.7"><stop offset="0" stop-color="#fbf7ea"/>'
         '<stop offset="0.7" stop-color="#ddd6c2"/><stop offset="1" stop-color="#a9a18c"/></radialGradient>'
         '<clipPath id="c"><circle cx="128" cy="128" r="126"/></clipPath>')
    craters = [(90, 80, 22), (160, 70, 14), (170, 150, 28), (100, 170, 18), (130, 120, 10), (70, 130, 12),
               (200, 110, 9), (140, 205, 12), (60, 95, 8), (190, 190, 10)]
    mare = [(110, 100, 46, 34), (175, 125, 36, 42), (95, 175, 30, 22)]
    body = '<circle cx="128" cy="128" r="126" fill="url(#m)"/><g clip-path="url(#c)">'
    body += "".join('<ellipse cx="%d" cy="%d" rx="%d" ry="%d" fill="#8f8a7a" opacity="0.35"/>' % m for m in mare)
    body += "".join('<circle cx="%d" cy="%d" r="%d" fill="#8a8472" opacity="0.35"/>'
                    '<circle cx="%d" cy="%d" r="%d" fill="none" stroke="#fffaf0" stroke-opacity="0.5" stroke-width="2"/>'
                    % (x, y, r, x - 1, y - 1, r) for x, y, r in craters)
    body += "</g>"
    save_tga("graphics2/moon.tga", svg_doc(s, s, body, d), s, s)


def logo():
    d = grad("l", "#4f9be8", "#1d5fae")
    body = ('<g transform="translate(47 10) scale(2.1)">' + globe_glyph(48, 48, 40) + '</g>'
            '<ellipse cx="147" cy="112" rx="120" ry="34" fill="none" stroke="#ffb300" stroke-width="7" '
            'transform="rotate(-18 147 112)"/>'
            '<circle cx="250" cy="70" r="10" fill="#ffb300"/>'
            '<text x="147" y="262" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="46" '
            'fill="#1d5fae" stroke="#fff" stroke-width="2">Vorn</text>'
            '<text x="147" y="292" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="30" '
            'fill="#d9621b">Roamer</text>')
    save_tga("graphics2/vornlogo.tga", svg_doc(294, 300, body, d), 294, 300)


# ------------------------------------------------------------ clock faces

def clock_face(name, bg, rim, tick, numerals=None, style="ticks"):
    s = 200
    d = ('<radialGradient id="f" cx="0.45" cy="0.4" r="0.75"><stop offset="0" stop-color="%s"/>'
         '<stop offset="1" stop-color="%s"/></radialGradient>' % bg)
    body = '<circle cx="100" cy="100" r="98" fill="%s"/><circle cx="100" cy="100" r="90" fill="url(#f)"/>' % rim
    for k in range(60):
        a = math.radians(k * 6)
        big = k % 5 == 0
        if style == "dots":
            if big:
                body += '<circle cx="%.2f" cy="%.2f" r="5" fill="%s"/>' % (100 + 78 * math.sin(a), 100 - 78 * math.cos(a), tick)
            continue
        r1 = 72 if big else 80
        if style == "minimal" and not big:
            continue
        body += ('<line x1="%.2f" y1="%.2f" x2="%.2f" y2="%.2f" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                 % (100 + r1 * math.sin(a), 100 - r1 * math.cos(a), 100 + 86 * math.sin(a), 100 - 86 * math.cos(a),
                    tick, 5 if big else 1.8))
    if numerals:
        for h in range(1, 13):
            a = math.radians(h * 30)
            body += ('<text x="%.1f" y="%.1f" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" '
                     'font-size="%d" fill="%s">%s</text>' % (100 + 55 * math.sin(a), 100 - 55 * math.cos(a) + 6,
                                                             19 if len(numerals[h - 1]) < 3 else 14,
                                                             tick, numerals[h - 1]))
    body += '<circle cx="100" cy="100" r="98" fill="none" stroke="#000" stroke-opacity="0.4" stroke-width="2"/>'
    body += '<ellipse cx="100" cy="52" rx="62" ry="36" fill="#fff" opacity="0.10"/>'
    save_tga("clocks/%s.tga" % name, svg_doc(s, s, body, d), s, s)


def clocks():
    arabic = [str(h) for h in range(1, 13)]
    roman = "I II III IIII V VI VII VIII IX X XI XII".split()
    clock_face("default", ("#ffffff", "#dfe6ee"), "#2b4a6e", "#1b2a3a", arabic)
    clock_face("classic", ("#fdf6e3", "#e9dcb8"), "#7a5a2a", "#3a2a14", roman)
    clock_face("night", ("#2a3550", "#0d1324"), "#8aa0c8", "#e8f0ff", None, "dots")
    clock_face("minimal", ("#f4f4f4", "#d8d8d8"), "#c03a2b", "#222222", None, "minimal")
    clock_face("ocean", ("#e3f4ff", "#9fd0f0"), "#1d5fae", "#0d3a6e", ["", "", "3", "", "", "6", "", "", "9", "", "", "12"])


# ------------------------------------------------------------ backgrounds

BACKGROUNDS = {
    "ocean": ("#0f4c81", "#5fb3e6", "#ffffff"),
    "dusk": ("#2b1e4f", "#e07a5f", "#ffd6a5"),
    "slate": ("#1f2630", "#55616f", "#b9c6d4"),
    "meadow": ("#2f6b3a", "#b8e08a", "#fff8d6"),
}


def background(name, w, h):
    top, bottom, accent = BACKGROUNDS[name]
    d = grad("b", top, bottom) + ('<radialGradient id="s" cx="0.8" cy="0.15" r="0.6"><stop offset="0" stop-color="%s" '
                                  'stop-opacity="0.55"/><stop offset="1" stop-color="%s" stop-opacity="0"/></radialGradient>'
                                  % (accent, accent))
    waves = ""
    for k in range(5):
        y = h * (0.55 + 0.09 * k)
        waves += ('<path d="M0 %.1f C%.1f %.1f %.1f %.1f %d %.1f V%d H0 Z" fill="#fff" opacity="%.2f"/>'
                  % (y, w * 0.3, y - h * 0.08, w * 0.6, y + h * 0.08, w, y - h * 0.02, h, 0.05 + 0.015 * k))
    body = '<rect width="%d" height="%d" fill="url(#b)"/><rect width="%d" height="%d" fill="url(#s)"/>%s' % (w, h, w, h, waves)
    return svg_doc(w, h, body, d)


def backgrounds():
    for name in BACKGROUNDS:
        save_jpg("backgrounds/%s.jpg" % name, background(name, 480, 640), 480, 640, 84)
        save_jpg("backgrounds/land_%s.jpg" % name, background(name, 640, 480), 640, 480, 84)


def graphics_jpegs():
    """graphics/ pictures (two frames side by side), plain and _vga."""
    def toggle(s):
        w, h = 2 * 48 * s, 24 * s
        frames = ""
        for f, (col, x) in enumerate((("#b9c2cc", 14), ("#3aa14a", 34))):
            frames += ('<g transform="translate(%d 0) scale(%d)"><rect x="2" y="2" width="44" height="20" rx="10" fill="%s" '
                       'stroke="#56616d" stroke-width="1.2"/><circle cx="%d" cy="12" r="8" fill="#fff" stroke="#56616d"/></g>'
                       % (f * 48 * s, s, col, x))
        return svg_doc(w, h, '<rect width="%d" height="%d" fill="#fff"/>%s' % (w, h, frames)), w, h

    def figure(s):
        w, h = 2 * 60 * s, 80 * s
        out = '<rect width="%d" height="%d" fill="#fff"/>' % (w, h)
        for f in range(2):
            arm = "M22 48 l-10 %d" % (-12 if f else 4)
            out += ('<g transform="translate(%d 0) scale(%d)">' % (f * 60 * s, s) + globe_glyph(30, 26, 18) +
                    '<path d="M18 44 h24 v26 h-24 z" fill="#2a7fc0"/><path d="%s M38 48 l10 4" stroke="#2a7fc0" '
                    'stroke-width="5" stroke-linecap="round"/>' % arm + '</g>')
        return svg_doc(w, h, out), w, h

    def bubble(s, n):
        w, h = 2 * 80 * s, 50 * s
        out = '<rect width="%d" height="%d" fill="#fff"/>' % (w, h)
        for f in range(2):
            col = "#fffbe6" if f == 0 else "#e6f2ff"
            out += ('<g transform="translate(%d 0) scale(%d)"><path d="M6 4 h68 a4 4 0 0 1 4 4 v26 a4 4 0 0 1 -4 4 h-%d '
                    'l-8 8 l-2 -8 h-%d a4 4 0 0 1 -4 -4 v-26 a4 4 0 0 1 4 -4 z" fill="%s" stroke="#56616d" stroke-width="1.2"/></g>'
                    % (f * 80 * s, s, 44 if n == 1 else 20, 14 if n == 1 else 38, col))
        return svg_doc(w, h, out), w, h

    for base, make in [("toggle", toggle), ("vorn", figure), ("bubble1", lambda s: bubble(s, 1)),
                       ("bubble2", lambda s: bubble(s, 2))]:
        for s, suffix in ((1, ""), (2, "_vga")):
            svg, w, h = make(s)
            save_jpg("graphics/%s%s.jpg" % (base, suffix), svg, w, h, 90)


def daymap():
    svg = os.path.join(BUILD, "daymap.svg")
    run(["node", os.path.join(HERE, "worldmap.mjs"), "960", svg])
    with open(svg, encoding="utf-8") as f:
        save_jpg("graphics2/daymap.jpg", f.read(), 960, 480, 88)


def list_icons():
    for name, colors, gl in [("list_new", GREY, "itinerary"), ("list_travel", PURPLE, "plane"),
                             ("list_home", BLUE, "house"), ("list_family", ORANGE, "family"),
                             ("list_business", GREY, "suitcase"), ("list_beach", SKY, "beach"),
                             ("list_city", TEAL, "city"), ("list_ski", BLUE, "ski")]:
        size = 48
        d, body = tile(colors, size)
        if gl == "family":
            gly = ('<circle cx="34" cy="32" r="10" %s/><circle cx="62" cy="32" r="10" %s/><circle cx="48" cy="52" r="7" %s/>'
                   '<path d="M18 78 c0 -18 8 -28 16 -28 s16 10 16 28 z" %s/><path d="M46 78 c0 -18 8 -28 16 -28 s16 10 16 28 z" %s/>'
                   % (W, W, W, W, W))
        elif gl == "beach":
            gly = (sun_glyph(66, 28, 9) + '<path d="M14 72 q34 -14 68 0 v10 h-68 z" fill="#ffe0a0"/>'
                   '<path d="M30 70 l10 -40" stroke="#8a5a2a" stroke-width="4"/>'
                   '<path d="M40 30 q-20 -4 -28 10 q14 -6 28 -10 q-4 -16 -22 -16 q14 4 22 16 q10 -14 26 -8 q-16 0 -26 8" fill="#3a8a2a"/>')
        elif gl == "ski":
            gly = ('<path d="M10 78 L80 40 L84 48 L14 86 z" fill="#fff" stroke="#1b2a3a" stroke-opacity="0.5"/>'
                   '<path d="M14 22 l40 10 l24 -14 l6 8 l-28 20 l-8 20" fill="none" stroke="#fff" stroke-width="6" stroke-linecap="round"/>'
                   '<circle cx="28" cy="30" r="8" %s/>' % W)
        else:
            gly = glyph(gl)
        save_tga("listicons/%s.tga" % name, svg_doc(size, size, body + g(gly, size), d), size, size)


# ------------------------------------------------------------ weather icons

# Numbering: WMO weather interpretation codes (the code table used by many
# public weather services): 0 clear ... 99 thunderstorm with heavy hail.
# 100, 101 and 102 are the night pictures of 0, 1 and 2 (a moon for the sun).
# 9999 = no report; a1.tga ... a6.tga = bands 0 to 5 of the outlook table.
WEATHER = {
    0: "Clear sky", 1: "Mainly clear", 2: "Partly cloudy", 3: "Overcast", 45: "Fog",
    48: "Depositing rime fog", 51: "Light drizzle", 53: "Moderate drizzle", 55: "Dense drizzle",
    56: "Light freezing drizzle", 57: "Dense freezing drizzle", 61: "Slight rain", 63: "Moderate rain",
    65: "Heavy rain", 66: "Light freezing rain", 67: "Heavy freezing rain", 71: "Slight snow fall",
    73: "Moderate snow fall", 75: "Heavy snow fall", 77: "Snow grains", 80: "Slight rain showers",
    81: "Moderate rain showers", 82: "Violent rain showers", 85: "Slight snow showers",
    86: "Heavy snow showers", 95: "Thunderstorm", 96: "Thunderstorm with slight hail",
    99: "Thunderstorm with heavy hail",
    100: "Clear night", 101: "Mainly clear night", 102: "Partly cloudy night",
}


def weather_svg(code):
    s = 96
    out = ""
    if code == 0:
        out = sun_glyph(48, 48, 18)
    elif code == 1:
        out = sun_glyph(44, 42, 17) + cloud_glyph(62, 66, 36)
    elif code == 2:
        out = sun_glyph(36, 34, 14) + cloud_glyph(54, 56, 66)
    elif code == 100:
        out = moon_glyph(50, 48, 26) + stars([(20, 24, 6), (78, 72, 5), (24, 70, 4)])
    elif code == 101:
        out = moon_glyph(46, 40, 24) + stars([(18, 20, 5), (80, 20, 4)]) + cloud_glyph(62, 66, 36)
    elif code == 102:
        out = moon_glyph(38, 34, 20) + stars([(80, 16, 4)]) + cloud_glyph(54, 56, 66)
    elif code == 3:
        out = cloud_glyph(40, 40, 52, "#d5dbe2") + cloud_glyph(54, 54, 72, "#eef1f4")
    elif code in (45, 48):
        out = cloud_glyph(48, 36, 66, "#e3e7eb") + fog_lines(48, 66, 80)
        if code == 48:
            out += drops(48, 88, 3, 60, snow=True)
    else:
        dark = code in (65, 67, 75, 82, 86, 95, 96, 99)
        out = cloud_glyph(48, 38, 76, "#c9d0d8" if dark else "#eef1f4")
        if code in (80, 81, 82, 85, 86):
            out = sun_glyph(30, 24, 11) + out
        if code in (51, 53, 55):
            out += drops(48, 74, {51: 2, 53: 3, 55: 4}[code], 60, "#5aa7e8")
        elif code in (56, 57, 66, 67):
            out += drops(48, 74, 3 if code in (56, 66) else 4, 72, sleet=True)
        elif code in (61, 63, 65, 80, 81, 82):
            n = {61: 2, 63: 3, 65: 4, 80: 2, 81: 3, 82: 4}[code]
            out += drops(48, 74, n, 80)
        elif code in (71, 73, 75, 77, 85, 86):
            n = {71: 2, 73: 3, 75: 4, 77: 3, 85: 2, 86: 4}[code]
            out += drops(48, 76, n, 80, snow=True)
        elif code in (95, 96, 99):
            out += bolt(48, 72, 70)
            if code in (96, 99):
                out += "".join('<circle cx="%d" cy="%d" r="4" fill="#e8f4ff" stroke="#5a7a9a" stroke-width="1.5"/>'
                               % (x, y) for x, y in ([(26, 84), (70, 86)] if code == 96 else [(22, 82), (48, 90), (74, 84)]))
    return svg_doc(s, s, out)


def weather_icons(codes=None):
    """Every weather picture, or only the condition icons of the codes given."""
    if codes is not None:
        for code in codes:
            save_tga("icons/customweather/%d.tga" % code, weather_svg(code), 96, 96)
        return
    for code in WEATHER:
        save_tga("icons/customweather/%d.tga" % code, weather_svg(code), 96, 96)
    none = ('<circle cx="48" cy="48" r="34" fill="#eef1f4" stroke="#8a96a3" stroke-width="4" stroke-dasharray="8 6"/>'
            '<text x="48" y="62" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="40" '
            'fill="#8a96a3">?</text>')
    save_tga("icons/customweather/9999.tga", svg_doc(96, 96, none), 96, 96)
    bands = [("#3aa14a", "OK"), ("#9ccc3a", "1"), ("#f2c230", "2"), ("#f08a24", "3"), ("#e0392b", "4"), ("#8e3bb0", "5")]
    for i, (col, label) in enumerate(bands):
        body = ('<circle cx="48" cy="48" r="36" fill="%s" stroke="#1b2a3a" stroke-opacity="0.45" stroke-width="3"/>'
                '<ellipse cx="48" cy="32" rx="24" ry="12" fill="#fff" opacity="0.25"/>'
                '<text x="48" y="%d" text-anchor="middle" font-family="DejaVu Sans" font-weight="bold" font-size="%d" '
                'fill="#fff" stroke="#1b2a3a" stroke-opacity="0.4" stroke-width="1">%s</text>'
                % (col, 62 if label != "OK" else 59, 40 if label != "OK" else 28, label))
        save_tga("icons/customweather/a%d.tga" % (i + 1), svg_doc(96, 96, body), 96, 96)


def write_manifest():
    lines = ["%s\t%s" % (rel, png) for rel, png in MANIFEST]
    write_bytes(os.path.join(BUILD, "pictures.tsv"), ("\n".join(lines) + "\n").encode("utf-8"))


def weather_codes_of(args):
    """The codes of `--weather CODE ...`, each one the table knows; None to draw everything."""
    if not args:
        return None
    if args[0] != "--weather" or len(args) < 2:
        raise SystemExit("usage: gen_art.py [--weather CODE ...]")
    codes = []
    for arg in args[1:]:
        if not arg.isdigit() or int(arg) not in WEATHER:
            raise SystemExit("gen_art.py: no weather icon %r" % arg)
        codes.append(int(arg))
    return codes


def main():
    codes = weather_codes_of(sys.argv[1:])
    if codes is not None:
        weather_icons(codes)
        print("art: %d weather icons" % len(MANIFEST))
        return
    for folder in (SVG_DIR, PNG_DIR):
        shutil.rmtree(folder, ignore_errors=True)
    menu_icons()
    small_pictures()
    panels()
    bells()
    digits()
    moon()
    logo()
    clocks()
    backgrounds()
    graphics_jpegs()
    daymap()
    list_icons()
    weather_icons()
    write_manifest()
    print("art: %d pictures" % len(MANIFEST))


if __name__ == "__main__":
    main()
