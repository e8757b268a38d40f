#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's module holds the game alone: what only the script runner
needs stays in the runner's module, and a change that pulls it back into
the game (a stream in a host, a script command called from the page) fails
here, by the marks each part leaves in the files. Each mark must be in the
runner's file, so that a mark that no longer means anything is seen too.
Both modules still catch C++ exceptions, as a build for size might forget:
the runtime turns a counter's overflow into the run-time error's message,
and the runner a bad line into its answer.

    module_test.py SITE

The status is 0 when every check passes.
"""

import sys
from pathlib import Path

# What each part leaves in a module's bytes, and in its script.
CATCHES = b"___cxa_find_matching_catch"
MARKS = {
    "guardianes.wasm": {
        "the simulator's commands": b"shot SCENE FILE",
        "the C++ streams' locales": b"January",
        "printf's formatting": b"-+   0X0x",
        "strtod's reading": b"infinity",
    },
    "guardianes.js": {
        "the in-memory file system": b"MEMFS",
    },
}


def main():
    site = Path(sys.argv[1])
    failures = 0
    for game, marks in MARKS.items():
        runner = game.replace("guardianes", "guardianes-runner")
        data = {name: (site / name).read_bytes() for name in (game, runner)}
        for part, mark in marks.items():
            ok = mark in data[runner] and mark not in data[game]
            failures += not ok
            print(("ok      " if ok else "FAILED  ") + f"{part}: in {runner}, not in {game}")
    for script in ("guardianes.js", "guardianes-runner.js"):
        ok = CATCHES in (site / script).read_bytes()
        failures += not ok
        print(("ok      " if ok else "FAILED  ") + f"{script} catches exceptions")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
