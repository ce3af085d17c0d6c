"""Shared helpers for the data generators.

Every output file is written to a temporary file beside its destination and
then renamed over it, so an interrupted run never leaves a half-written file.
"""
import os
import tempfile

BOM = b"\xef\xbb\xbf"
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DATA = os.path.join(ROOT, "data")
BUILD = os.path.join(HERE, "build")
NODE_MODULES = os.path.join(HERE, "node_modules")


def data_path(*parts):
    return os.path.join(DATA, *parts)


def write_bytes(path, data):
    """Write bytes atomically (temp file in the same folder, then rename)."""
    folder = os.path.dirname(path) or "."
    os.makedirs(folder, exist_ok=True)
    fd, tmp = tempfile.mkstemp(prefix=".tmp-", dir=folder)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def write_text(path, lines, newline="\n", final_newline=False):
    """UTF-8 text file with byte-order mark, as the device's text reader expects."""
    body = newline.join(lines)
    if final_newline:
        body += newline
    write_bytes(path, BOM + body.encode("utf-8"))


def check_field(value, sep="~"):
    value = str(value)
    if sep in value or "\n" in value or "\r" in value:
        raise ValueError("field contains a separator or line break: %r" % value)
    if '"' in value:
        raise ValueError("field contains a double quote (stripped on load): %r" % value)
    return value


def write_table(path, rows, sep="~", quote_all=False):
    """Record-table file: one row per line, fields joined by sep, rows by LF,
    no line end after the last row, UTF-8 with byte-order mark.  With
    quote_all every field is written in double quotes (for the quoted
    loader, which keeps separators inside quotes)."""
    lines = []
    width = None
    for row in rows:
        if quote_all:
            fields = ['"%s"' % check_field(v, "\n") for v in row]
        else:
            fields = [check_field(v, sep) for v in row]
        if width is None:
            width = len(fields)
        elif len(fields) != width:
            raise ValueError("%s: row has %d fields, first row %d: %r"
                             % (path, len(fields), width, row))
        lines.append(sep.join(fields))
    write_text(path, lines)


# Regions that have an ISO 3166 code but are missing from the country list of the airport
# data: their names, and their continents for the weather-map regions.
EXTRA_COUNTRIES = {"AC": ("Ascension Island", "AF"), "AX": ("\u00c5land Islands", "EU"),
                   "SJ": ("Svalbard and Jan Mayen", "EU"), "TA": ("Tristan da Cunha", "AF")}
