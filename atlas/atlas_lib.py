"""The atlas: knot lists, per-knot records, the table and the gallery.

Used by the workflow (Snakefile), by the step that runs one knot
(run_knot.py) and by the front end (vek-atlas). Plain Python 3 with the
standard library only, so that a cluster node needs nothing else.
"""

import csv
import html
import json
import math
import os
import re
import tempfile

# Columns of atlas.csv, in order. `ropelength` is the certified ropelength
# of the written polygon: length / (2 x certified thickness).
TABLE_COLUMNS = [
    "name", "crossings", "vertices", "ropelength", "best_known", "ratio", "struts",
    "iterations", "seconds", "vek_version", "status", "message",
]

NAME_PATTERN = re.compile(r"^(0_1|[0-9]+_[0-9]+|1[12][an]_[0-9]+)$")


class KnotListError(ValueError):
    """A knot list that names nothing the table has, or is malformed."""


def read_knot_table(path):
    """The knot table as a list of (name, crossings), in the table's order."""
    with open(path, newline="", encoding="utf-8") as handle:
        return [(row["name"], int(row["crossings"])) for row in csv.DictReader(handle)]


def read_best_known(path):
    """Best certified ropelength known per knot name (through 10 crossings)."""
    with open(path, newline="", encoding="utf-8") as handle:
        return {row["knot"]: float(row["ropelength"]) for row in csv.DictReader(handle)}


def expand_knot_list(text, table):
    """The knot names that a list stands for, in the table's order, each once.

    A list is words separated by commas or white space. Each word is a knot
    name (`8_19`), a range of names in table order (`3_1-8_21`), a crossing
    number (`10`: every prime knot of 10 crossings), a range of crossing
    numbers (`0-8`: the unknot and every prime knot through 8 crossings) or
    a crossing number with `a` or `n` (`11a`: the alternating knots of 11
    crossings, `12n` the non-alternating ones of 12). Raises KnotListError
    with the offending word otherwise.
    """
    order = {name: index for index, (name, _) in enumerate(table)}
    chosen = set()
    words = [w for w in re.split(r"[,\s]+", text.strip()) if w]
    if not words:
        raise KnotListError("the knot list is empty")
    for word in words:
        chosen.update(_expand_word(word, table, order))
    return [name for name, _ in table if name in chosen]


def _expand_word(word, table, order):
    if word in order:
        return [word]
    if re.fullmatch(r"[0-9]+", word):
        crossings = int(word)
        found = [name for name, c in table if c == crossings]
        if not found:
            raise KnotListError(f"the table has no knot of {crossings} crossings (\"{word}\")")
        return found
    match = re.fullmatch(r"([0-9]+)-([0-9]+)", word)
    if match:
        low, high = int(match.group(1)), int(match.group(2))
        found = [name for name, c in table if low <= c <= high]
        if low > high or not found:
            raise KnotListError(f"no knot of the table has {low} to {high} crossings (\"{word}\")")
        return found
    match = re.fullmatch(r"(1[12])([an])", word)
    if match:
        prefix = match.group(1) + match.group(2) + "_"
        return [name for name, _ in table if name.startswith(prefix)]
    if "-" in word:
        first, _, last = word.partition("-")
        if first not in order or last not in order:
            missing = first if first not in order else last
            raise KnotListError(f"\"{missing}\" in \"{word}\" is not a knot of the table")
        if order[first] > order[last]:
            raise KnotListError(f"\"{word}\" runs backwards: {last} comes before {first} in the table")
        return [name for name, _ in table[order[first]:order[last] + 1]]
    raise KnotListError(f"\"{word}\" is not a knot of the table, a range of them, or a crossing number")


def write_atomically(path, text):
    """Writes text to path through a temporary file and a rename, so that a
    reader (or an interrupted run) sees the old file or the new one whole."""
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".tmp-", suffix=os.path.basename(path))
    # mkstemp makes the file private; a table is as readable as any new file.
    umask = os.umask(0)
    os.umask(umask)
    os.chmod(temporary, 0o666 & ~umask)
    try:
        with os.fdopen(handle, "w", encoding="utf-8", newline="") as out:
            out.write(text)
            out.flush()
            os.fsync(out.fileno())
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.unlink(temporary)
        raise


def failed_record(name, message, seconds, version):
    return {"name": name, "status": "failed", "message": message, "seconds": seconds,
            "vek_version": version, "summary": None}


def ok_record(name, summary, seconds, version):
    return {"name": name, "status": "ok", "message": "", "seconds": seconds,
            "vek_version": version, "summary": summary}


def read_record(path):
    with open(path, encoding="utf-8") as handle:
        return json.load(handle)


def table_row(record, crossings, best_known):
    """One row of atlas.csv from a knot's record; empty cells where a figure
    does not exist (a failed knot, a knot beyond the best-known table)."""
    summary = record.get("summary") or {}
    ropelength = summary.get("ropelength")
    best = best_known.get(record["name"])
    ratio = ropelength / best if ropelength is not None and best else None
    return {
        "name": record["name"],
        "crossings": crossings,
        "vertices": summary.get("vertices", ""),
        "ropelength": _number(ropelength, 6),
        "best_known": _number(best, 4),
        "ratio": _number(ratio, 6),
        "struts": summary.get("struts", ""),
        "iterations": summary.get("iterations", ""),
        "seconds": _number(record.get("seconds"), 1),
        "vek_version": record.get("vek_version", ""),
        "status": record["status"],
        "message": record.get("message", ""),
    }


def _number(value, digits):
    if value is None or (isinstance(value, float) and not math.isfinite(value)):
        return ""
    return f"{value:.{digits}f}"


def sorted_rows(records, table, best_known):
    """Rows sorted by crossing number, then in the table's order."""
    position = {name: (crossings, index) for index, (name, crossings) in enumerate(table)}
    rows = [table_row(r, position[r["name"]][0], best_known) for r in records]
    rows.sort(key=lambda row: position[row["name"]])
    return rows


def format_table(rows):
    lines = [",".join(TABLE_COLUMNS)]
    for row in rows:
        lines.append(",".join(_csv_cell(str(row[c])) for c in TABLE_COLUMNS))
    return "\n".join(lines) + "\n"


def _csv_cell(text):
    if any(ch in text for ch in ",\"\n\r"):
        return "\"" + text.replace("\"", "\"\"") + "\""
    return text


GALLERY_STYLE = """
body { font-family: sans-serif; margin: 1.5em; background: #f4f4f4; color: #222; }
h1 { font-size: 1.4em; margin: 0 0 0.2em 0; }
h2 { font-size: 1.1em; margin: 1.2em 0 0.5em 0; }
p.note { margin: 0 0 1em 0; color: #555; }
.tiles { display: grid; grid-template-columns: repeat(auto-fill, minmax(180px, 1fr)); gap: 12px; }
.tile { background: #fff; border: 1px solid #ccc; border-radius: 4px; padding: 8px; text-align: center; }
.tile img { width: 100%; height: auto; background: #000; display: block; }
.tile .name { font-weight: bold; margin-top: 6px; }
.tile .figure { font-size: 0.9em; color: #333; }
.tile.failed { border-color: #c33; }
.tile.failed .message { color: #a00; font-size: 0.85em; word-break: break-word; }
"""


def format_gallery(rows, picture_folder="knots"):
    """The gallery page: one tile per knot, grouped by crossing number, each
    with its picture, name, certified ropelength and ratio to the best
    known. Plain HTML and CSS; every link is a relative file name."""
    parts = ["<!DOCTYPE html>", "<html lang=\"en\">", "<head>", "<meta charset=\"utf-8\">",
             "<title>Vek knot atlas</title>", "<style>" + GALLERY_STYLE + "</style>", "</head>", "<body>",
             "<h1>Vek knot atlas</h1>",
             "<p class=\"note\">Certified ropelength: length / (2 &times; certified thickness) of the "
             "written polygon. Ratio: to the best certified value known.</p>"]
    crossings = None
    for row in rows:
        if row["crossings"] != crossings:
            if crossings is not None:
                parts.append("</div>")
            crossings = row["crossings"]
            parts.append(f"<h2>{crossings} crossings</h2>")
            parts.append("<div class=\"tiles\">")
        parts.append(_tile(row, picture_folder))
    if crossings is not None:
        parts.append("</div>")
    parts += ["</body>", "</html>"]
    return "\n".join(parts) + "\n"


def _tile(row, picture_folder):
    name = html.escape(row["name"])
    if row["status"] != "ok":
        return (f"<div class=\"tile failed\"><div class=\"name\">{name}</div>"
                f"<div class=\"message\">failed: {html.escape(row['message'])}</div></div>")
    picture = html.escape(f"{picture_folder}/{row['name']}.png", quote=True)
    ratio = f"ratio {row['ratio']}" if row["ratio"] else "no best known"
    return (f"<div class=\"tile\"><img src=\"{picture}\" alt=\"{name}\" width=\"240\" height=\"240\">"
            f"<div class=\"name\">{name}</div>"
            f"<div class=\"figure\">ropelength {html.escape(row['ropelength'])}</div>"
            f"<div class=\"figure\">{html.escape(ratio)}</div></div>")
