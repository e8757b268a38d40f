#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves the browser's site as a careful host would: under the strict
Content-Security-Policy below, with the types its files need, and
optionally under a sub-folder of the server, as a school's site would.

    serve_site.py SITE PORT [--under /games/guardianes/]
"""

import argparse
import functools
import http.server
import sys

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; "
          "object-src 'none'; base-uri 'none'; frame-ancestors 'self'")
TYPES = {".html": "text/html", ".css": "text/css", ".js": "text/javascript", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json", ".png": "image/png"}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = TYPES
    under = "/"

    def log_message(self, *args):
        pass

    def end_headers(self):
        self.send_header("Content-Security-Policy", POLICY)
        self.send_header("X-Content-Type-Options", "nosniff")
        super().end_headers()

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
