#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The site's last build step: the page's words for when the game cannot
play, its build id, and the one-file game.

    finish_site.py SITE [--catalogues DIR] [--single FILE]

SITE holds every file of the site, sw.js among them. The build id is the
start of a SHA-256 of all the files, taken with every id in them zeroed, so
that the same files always get the same id, whatever id they carried
before. It is written into the page, its scripts, the game, the script
runner and the service worker, whose list of the files to keep is filled
in too: every file but the script runner's, which only tests and tools
load. With
--catalogues, the page learns the words it says, in every language DIR
holds a compiled catalogue of (LANGUAGE.mo), where the game cannot play
and so cannot choose a language. With --single,
FILE becomes the whole game in one HTML file: the page with its style and
scripts inline, the icon as a data: address and the compiled game and the
script runner compressed and packed as text, so that it plays opened from
disk with nothing beside it.
"""

import argparse
import base64
import gettext
import gzip
import hashlib
import json
import re
import sys
from pathlib import Path

ID = re.compile(rb"guardianes build [0-9a-f]{16}")
ZERO = b"guardianes build " + b"0" * 16
RUNNER = ("guardianes-runner.js", "guardianes-runner.wasm")
STAMPED = ("index.html", "page.js", "sw.js", "guardianes.js", "guardianes.wasm", *RUNNER)


def stamp(site):
    files = {p.name: p.read_bytes() for p in sorted(site.iterdir()) if p.is_file()}
    missing = [name for name in STAMPED if name not in files]
    if missing:
        raise SystemExit(f"finish_site.py: {site} has no {', '.join(missing)}")
    files = {name: ID.sub(ZERO, data) for name, data in files.items()}
    listed = json.dumps([name for name in files if name != "sw.js" and name not in RUNNER]).encode()
    files["sw.js"], found = re.subn(rb"const files = \[[^\]]*\];", b"const files = " + listed + b";", files["sw.js"])
    if found != 1:
        raise SystemExit("finish_site.py: sw.js has no list of files to fill in")
    digest = hashlib.sha256()
    for name, data in files.items():
        digest.update(b"%s\0%d\0" % (name.encode(), len(data)) + data)
    build = digest.hexdigest()[:16]
    for name, data in files.items():
        if name in STAMPED and data.count(ZERO) != 1:
            raise SystemExit(f"finish_site.py: {name} should carry the build id once, not {data.count(ZERO)} times")
        (site / name).write_bytes(data.replace(ZERO, ZERO[:-16] + build.encode()))
    return build


UNPLAYABLE = re.compile(r"unplayable\('([^']+)',\s*'([^']*)'\)")
UNPLAYABLE_DATA = '<script type="application/json" id="unplayable">{}</script>'


def unplayable(site, catalogues):
    """Writes into the page, for each notice page.js shows where the game
    cannot play, its words in every language there is."""
    notices = UNPLAYABLE.findall((site / "page.js").read_text())
    if not notices:
        raise SystemExit("finish_site.py: page.js shows no notice through unplayable()")
    languages = []
    for mo in sorted(catalogues.glob("*.mo")):
        with mo.open("rb") as file:
            languages.append(gettext.GNUTranslations(file))
    words = {}
    for context, original in notices:
        translations = [t.pgettext(context, original) for t in languages]
        words[context] = list(dict.fromkeys(w for w in translations if w != original))
    page = (site / "index.html").read_text()
    if page.count(UNPLAYABLE_DATA) != 1:
        raise SystemExit(f"finish_site.py: index.html should have {UNPLAYABLE_DATA} once")
    data = json.dumps(words, ensure_ascii=False).replace("</", "<\\/")
    (site / "index.html").write_text(page.replace(UNPLAYABLE_DATA, UNPLAYABLE_DATA.replace("{}", data)))


def inline(tag, text):
    if re.search(r"</" + tag, text, re.IGNORECASE):
        raise SystemExit(f"finish_site.py: the text to inline closes its own <{tag}>")
    return f"<{tag}>\n{text}</{tag}>"


# The one-file game carries its compiled code and script runner as the text
# of <script type="text/plain"> elements, seven bits a character: each
# character from U+0001 to U+007F stands for its own seven bits, but for the
# three an HTML parser changes or reads as markup there (NUL, CR and '<'),
# which U+0100, U+0101 and U+0102 stand for, two bytes each in UTF-8. That
# takes about 1.17 bytes a byte, where base64 takes 1.33. page.js reads it.
HELD = (0x00, 0x0D, 0x3C)


def seven_bits(data):
    values, bits, count = [], 0, 0
    for byte in data:
        bits, count = bits << 8 | byte, count + 8
        while count >= 7:
            count -= 7
            values.append(bits >> count & 0x7F)
        bits &= (1 << count) - 1
    if count:
        values.append(bits << (7 - count) & 0x7F)
    return "".join(chr(0x100 + HELD.index(v)) if v in HELD else chr(v) for v in values)


def packed(site, name):
    data = seven_bits(gzip.compress((site / name).read_bytes(), 9, mtime=0))
    return f'<script type="text/plain" id="packed-{name}">{data}</script>\n'


def single(site, target):
    text = lambda name: (site / name).read_text()  # noqa: E731
    page = text("index.html")
    icon = base64.b64encode((site / "icon-192.png").read_bytes()).decode()
    swaps = {
        '<link rel="manifest" href="manifest.webmanifest">\n': "",
        '<link rel="preload" href="guardianes.wasm" as="fetch" crossorigin>\n': "",
        '<link rel="icon" href="icon-192.png">': f'<link rel="icon" href="data:image/png;base64,{icon}">',
        '<link rel="stylesheet" href="page.css">': inline("style", text("page.css")),
        '<script src="guardianes.js"></script>': "".join(
            packed(site, name) for name in ("guardianes.js", "guardianes.wasm", *RUNNER)).rstrip("\n"),
        '<script src="page.js"></script>': inline("script", text("page.js")),
    }
    for old, new in swaps.items():
        if page.count(old) != 1:
            raise SystemExit(f"finish_site.py: index.html should have {old.strip()} once")
        page = page.replace(old, new)
    target.write_text(page, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site", type=Path)
    parser.add_argument("--catalogues", type=Path)
    parser.add_argument("--single", type=Path)
    args = parser.parse_args()
    if args.catalogues:
        unplayable(args.site, args.catalogues)
    print(f"build {stamp(args.site)}")
    if args.single:
        single(args.site, args.single)
    return 0


if __name__ == "__main__":
    sys.exit(main())
