#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves the browser's site as a careful host would: under the strict
Content-Security-Policy below, with the types its files need, compressed
with gzip where a typical static host compresses (the page, its style and
scripts, the manifest and the compiled game) and the browser accepts it,
and optionally under a sub-folder of the server, as a school's site would.

    serve_site.py SITE PORT [--under /games/guardianes/]
"""

import argparse
import email.utils
import functools
import gzip
import http.server
import io
import os
import sys

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; "
          "object-src 'none'; base-uri 'none'; frame-ancestors 'self'")
TYPES = {".html": "text/html", ".css": "text/css", ".js": "text/javascript", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json", ".png": "image/png"}
# What a typical host compresses, at the level it usually takes (Apache's
# mod_deflate's default): text and the compiled game. The icons are PNG,
# compressed already.
COMPRESSED = {".html", ".css", ".js", ".webmanifest", ".wasm"}
LEVEL = 6


def accepts_gzip(header):
    """Whether an Accept-Encoding header takes gzip: named, or "*", with no q=0."""
    for coding in header.split(","):
        name, *params = (part.strip() for part in coding.split(";"))
        if name.lower() in ("gzip", "*"):
            weight = next((p[2:] for p in params if p.lower().startswith("q=")), "1")
            try:
                return float(weight) > 0
            except ValueError:
                return False
    return False


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = TYPES
    under = "/"
    vary = False  # whether the answer depends on Accept-Encoding

    def log_message(self, *args):
        pass

    def end_headers(self):
        self.send_header("Content-Security-Policy", POLICY)
        self.send_header("X-Content-Type-Options", "nosniff")
        if self.vary:
            self.send_header("Vary", "Accept-Encoding")
        super().end_headers()

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        self.vary = os.path.splitext(path)[1] in COMPRESSED and os.path.isfile(path)
        if not self.vary or not accepts_gzip(self.headers.get("Accept-Encoding", "")):
            return super().send_head()
        with open(path, "rb") as file:
            stat = os.fstat(file.fileno())
            body = gzip.compress(file.read(), LEVEL, mtime=0)
        self.send_response(200)
        self.send_header("Content-Type", TYPES[os.path.splitext(path)[1]])
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Last-Modified", email.utils.formatdate(stat.st_mtime, usegmt=True))
        self.end_headers()
        return io.BytesIO(body)

    def translate_path(self, path):
        # Only the sub-folder is the site; anything else is not found. Its
        # name without the last / is the folder too, redirected to it.
        if path.split("?")[0] == self.under[:-1]:
            return super().translate_path("/")
        if not path.startswith(self.under):
            return "/nonexistent"
        return super().translate_path("/" + path[len(self.under):])


def server(site, port=0, under="/"):
    """A server for the site on 127.0.0.1 (port 0: any free one), to run with serve_forever()."""
    handler = type("Handler", (SiteHandler,), {"under": under})
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(handler, directory=site))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("port", type=int)
    parser.add_argument("--under", default="/")
    args = parser.parse_args()
    if not (args.under.startswith("/") and args.under.endswith("/")):
        print("serve_site.py: --under must start and end with /", file=sys.stderr)
        return 2
    with server(args.site, args.port, args.under) as httpd:
        print(f"Serving the game at http://127.0.0.1:{httpd.server_port}{args.under} (Ctrl+C stops)", flush=True)
        try:
            httpd.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
