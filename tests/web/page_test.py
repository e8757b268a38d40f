#!/usr/bin/python3
"""The game's web page in headless Chromium, with real input.

    page_test.py GROUP --site DIR --sim GUARDIANES_SIM

GROUP is one of opening, pointer, cursor, ending, scripts. The status is 0
when every check passes, 1 otherwise, and 77 (a skip) only when Chromium
cannot start on this machine.
"""

import argparse
import base64
import functools
import http.server
import json
import os
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By

SKIP = 77
SCRIPTS = Path(__file__).parent / "scripts"
failures = []


def check(condition, what):
    print(("ok      " if condition else "FAILED  ") + what)
    if not condition:
        failures.append(what)


def wait_for(condition, timeout=5.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.02)
    return condition()


def png_pixels(data):
    """(width, height, RGB bytes) of an 8-bit RGB PNG without row filters, as the game writes."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, packed = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        assert zlib.crc32(data[at + 4:at + 8 + length]) == struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert (depth, colour) == (8, 2)
        elif kind == b"IDAT":
            packed += body
        at += 12 + length
    raw = zlib.decompress(packed)
    rows = [raw[y * (3 * width + 1):(y + 1) * (3 * width + 1)] for y in range(height)]
    assert all(row[0] == 0 for row in rows)
    return width, height, b"".join(row[1:] for row in rows)


def simulate(sim, script):
    """guardianes-sim's status, output, error and shot files for a script."""
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([sim], input=script.encode(), capture_output=True, cwd=folder, timeout=60)
        shots = {p.name: p.read_bytes() for p in Path(folder).glob("*.png")}
    return run.returncode, run.stdout.decode(), run.stderr.decode(), shots


def start_chromium(width, height):
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", f"--window-size={width},{height}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except WebDriverException as e:
        print("SKIPPED: Chromium cannot start here: " + (e.msg or str(e)).strip().splitlines()[0])
        sys.exit(SKIP)


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        driver.get(url)
        started = wait_for(lambda: driver.execute_script("return window.guardianes && guardianes.firstFrameAt"), 10)
        assert started, "the menu never reached its canvas"

    def js(self, code, *args):
        return self.driver.execute_script(code, *args)

    def canvas(self, scene):
        return self.driver.find_element(By.CSS_SELECTOR, f'canvas[data-scene="{scene}"]')

    def shown(self, scene):
        return self.js(f'const c = document.querySelector(\'canvas[data-scene="{scene}"]\');'
                       "return !!c && c.getClientRects().length > 0")

    def on_top(self, scene):
        return self.js("let top = null; for (const w of document.querySelectorAll('.window:not([hidden])'))"
                       "  if (!top || +w.style.zIndex > +top.style.zIndex) top = w;"
                       "return top && top.querySelector('canvas').dataset.scene") == scene

    def pixels(self, scene):
        """The canvas's pixels as RGB bytes, and its size."""
        size, data = self.js(
            f'const c = document.querySelector(\'canvas[data-scene="{scene}"]\');'
            "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let s = '';"
            "for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i + 1], d[i + 2]);"
            "return [[c.width, c.height], btoa(s)]")
        return size[0], size[1], base64.b64decode(data)

    def offset(self, scene, x, y):
        """The offset from the canvas's centre, in CSS pixels, of scene pixel (x, y)'s centre."""
        box = self.js("const r = arguments[0].getBoundingClientRect(); return [r.width, r.height, arguments[0].width,"
                      "arguments[0].height]", self.canvas(scene))
        return (round((x + 0.5) * box[0] / box[2] - box[0] / 2), round((y + 0.5) * box[1] / box[3] - box[1] / 2))

    def click(self, scene, x, y):
        ActionChains(self.driver).move_to_element_with_offset(self.canvas(scene), *self.offset(scene, x, y)).click().perform()

    def move(self, scene, x, y):
        ActionChains(self.driver).move_to_element_with_offset(self.canvas(scene), *self.offset(scene, x, y)).perform()

    def touch(self, scene, x, y):
        actions = ActionBuilder(self.driver, mouse=PointerInput(interaction.POINTER_TOUCH, "finger"))
        dx, dy = self.offset(scene, x, y)
        actions.pointer_action.move_to(self.canvas(scene), dx, dy).pointer_down().pause(0.05).pointer_up()
        actions.perform()

    def cursor(self, scene):
        return self.js("return getComputedStyle(arguments[0]).cursor", self.canvas(scene))

    def errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]


def centre(sim, control):
    """The pixel `click Form1 CONTROL` aims at, from the simulator's dump."""
    dump = json.loads(simulate(sim, "dump Form1\n")[1])
    c = next(c for c in dump["controls"] if c["Name"] == control)
    return (c["Left"] + c["Width"] // 2) // 15, (c["Top"] + c["Height"] // 2) // 15


def serve(site):
    """A static server on 127.0.0.1 that notes every request it fails."""
    failed = []

    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def send_error(self, code, *args, **kwargs):
            failed.append((code, self.path))
            super().send_error(code, *args, **kwargs)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, failed


def opening(driver, site, sim):
    _, _, _, shots = simulate(sim, "shot Form1 menu.png\n")
    menu = png_pixels(shots["menu.png"])
    server, failed = serve(site)
    try:
        for url in (Path(site, "index.html").resolve().as_uri(), f"http://127.0.0.1:{server.server_port}/"):
            page = Page(driver, url)
            check(page.pixels("Form1") == menu, f"{url}: the menu's canvas is the simulator's shot at time 0")
            check(page.js("return document.title") == "Form1", f"{url}: the title is the menu's caption")
            check(page.errors() == [], f"{url}: no request failed and nothing was reported")
        check(failed == [], "the server refused no request")
    finally:
        server.shutdown()


def pointer(driver, site, sim):
    police, fire, patient = centre(sim, "portal1"), centre(sim, "portal2"), centre(sim, "portal3")
    page = Page(driver, Path(site, "index.html").resolve().as_uri())
    scale = page.js("return arguments[0].getBoundingClientRect().width * devicePixelRatio / arguments[0].width",
                    page.canvas("Form1"))
    check(scale == 2, f"the menu is drawn twice as large where it fits (scale {scale})")
    before = page.pixels("Form1")
    clicked = time.monotonic()
    page.click("Form1", *police)
    check(wait_for(lambda: page.pixels("Form1") != before, 1.0), "a click on the police card's button moves the car")
    page.click("Form1", *fire)  # greyed out while the police car leaves
    check(wait_for(lambda: page.on_top("Form2"), 5.0), "the race's window comes on top")
    later = time.monotonic() - clicked
    check(later > 1.15, f"the race came {later:.2f} s after the click: the departure takes 1.25 s")
    check(not page.shown("Form1"), "the menu's window is gone")
    check(page.js("return document.title") == "Form2", "the title is the race's caption")
    check(not page.shown("Form3"), "the click on the greyed fire brigade's button did nothing")
    # Input aimed at the hidden menu reaches nothing, as on the desktop.
    page.js("const c = arguments[0]; for (const type of ['pointerdown', 'pointerup'])"
            "  c.dispatchEvent(new PointerEvent(type, {isPrimary: true, button: 0, clientX: 1, clientY: 1}))",
            page.canvas("Form1"))
    time.sleep(1.5)
    check(page.on_top("Form2") and not page.shown("Form1"), "input to the hidden menu changes nothing")

    page = Page(driver, Path(site, "index.html").resolve().as_uri())
    page.js("window.kinds = []; addEventListener('pointerdown', (e) => kinds.push(e.pointerType), true)")
    page.touch("Form1", *patient)
    check(page.js("return kinds") == ["touch"], "the touch reached the page as a touch")
    check(wait_for(lambda: page.on_top("Form4"), 5.0), "a touch on the ambulance's button brings the patient on top")
    check(not page.shown("Form1"), "the menu's window is gone after the touch")


def cursor(driver, site, sim):
    page = Page(driver, Path(site, "index.html").resolve().as_uri())
    police = centre(sim, "portal1")
    page.move("Form1", 200, 400)
    check(page.cursor("Form1") == "not-allowed", "over the menu's background the no-drop sign shows")
    page.move("Form1", *police)
    check(page.cursor("Form1") == "default", "over a button the arrow shows")
    page.click("Form1", *police)
    page.move("Form1", 200, 400)
    check(wait_for(lambda: page.cursor("Form1") == "wait", 3.0), "the hourglass shows during the departure")


def ending(driver, site, sim):
    _, _, _, shots = simulate(sim, "shot Form1 menu.png\n")
    page = Page(driver, Path(site, "index.html").resolve().as_uri())
    page.click("Form1", *centre(sim, "portal1"))
    check(wait_for(lambda: page.on_top("Form2"), 5.0), "the race opens")
    driver.find_element(By.CSS_SELECTOR, 'button[data-close="Form2"]').click()
    check(wait_for(lambda: page.js("return document.body.dataset.state") == "ended"), "closing the race ends the game")
    check(driver.find_element(By.ID, "ended").is_displayed(), "the page says the game has ended")
    driver.find_element(By.ID, "new-game").click()
    check(wait_for(lambda: page.shown("Form1")), "the new-game button shows the menu again")
    check(page.js("return document.body.dataset.state") != "ended", "the new game runs")
    check(page.pixels("Form1") == png_pixels(shots["menu.png"]), "the new menu is the menu at time 0")


def scripts(driver, site, sim):
    page = Page(driver, Path(site, "index.html").resolve().as_uri())
    for path in sorted(SCRIPTS.glob("*.txt")):
        text = path.read_text()
        status, out, err, shots = simulate(sim, text)
        got = driver.execute_async_script("guardianes.runScript(arguments[0]).then(arguments[1])", text)
        check((got["status"], got["stdout"], got["stderr"]) == (status, out, err),
              f"{path.name}: status {got['status']}, standard output and error as guardianes-sim's")
        for name, data in sorted(shots.items()):
            web = base64.b64decode(page.js("const b = guardianes.file(arguments[0]); let s = '';"
                                           "for (let i = 0; i < b.length; i += 8192)"
                                           "  s += String.fromCharCode.apply(null, b.subarray(i, i + 8192));"
                                           "return btoa(s)", name))
            check(png_pixels(web) == png_pixels(data), f"{path.name}: {name} has the simulator's pixels")
        if path.name.startswith("bad_"):
            check(got["status"] == 2 and got["stderr"].startswith("line ") and got["stderr"].count("\n") == 1,
                  f"{path.name}: status 2 and one line 'line N: ...'")
    check(page.on_top("Form1") and page.js("return document.title") == "Form1",
          "the scripts left the game on the page untouched")


GROUPS = {"opening": (opening, 1200, 900), "pointer": (pointer, 1400, 1300), "cursor": (cursor, 1200, 900),
          "ending": (ending, 1200, 900), "scripts": (scripts, 1200, 900)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=GROUPS)
    parser.add_argument("--site", required=True)
    parser.add_argument("--sim", required=True)
    args = parser.parse_args()
    run, width, height = GROUPS[args.group]
    if not Path(args.site, "index.html").is_file():
        print(f"no site in {args.site}: build it with bash tools/web.sh --build-only")
        return 1
    driver = start_chromium(width, height)
    try:
        run(driver, args.site, os.path.abspath(args.sim))
    finally:
        driver.quit()
    print(f"{args.group}: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
