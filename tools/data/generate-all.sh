#!/bin/sh
# Regenerate the whole install folder (data/) from pinned public sources.
#
#   tools/data/generate-all.sh [DESIGN_DOCUMENT]
#
# Needs Debian packages: python3, python3-phonenumbers, tzdata, iso-codes,
# imagemagick, librsvg2-bin, sox (installed with apt-get when missing and
# running as root), and node 20 with npm.  npm packages are installed from the pinned
# package-lock.json into tools/data/node_modules (not committed).
# With a design document given, the list of referenced string numbers
# (string_refs.tsv) is extracted again first.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$HERE"
PY=/usr/bin/python3

need_pkgs=""
for p in python3-phonenumbers tzdata iso-codes imagemagick librsvg2-bin sox; do
    dpkg -s "$p" >/dev/null 2>&1 || need_pkgs="$need_pkgs $p"
done
if [ -n "$need_pkgs" ]; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y $need_pkgs
    else
        echo "missing Debian packages:$need_pkgs" >&2; exit 1
    fi
fi
command -v node >/dev/null && command -v npm >/dev/null || { echo "node and npm are needed" >&2; exit 1; }
if [ ! -d node_modules ] || [ package-lock.json -nt node_modules ]; then
    nice npm ci --no-audit --no-fund --ignore-scripts
fi

if [ $# -ge 1 ]; then
    $PY extract_string_refs.py "$1"
fi

nice $PY gen_lang.py
for step in gen_tables.py gen_art.py gen_sounds.py gen_readme.py; do
    if [ -f "$step" ]; then nice $PY "$step"; fi
done
$PY validate.py
$PY test_validate.py >/dev/null || { $PY test_validate.py; exit 1; }
nice $PY contact_sheet.py
