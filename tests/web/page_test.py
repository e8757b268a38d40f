#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's web page in headless Chromium, with real input.

    page_test.py GROUP --site DIR --sim GUARDIANES_SIM

GROUP is opening (the one-file game alone in a folder, from file://, and the
site served under a sub-folder with the strict policy, which then runs the
scripts), playing (a game by pointer and touch, to its end and a new one),
classroom (?keyboard, ?kiosk, ?idle-restart) or offline (installable, kept
by its service worker, played with the server stopped, and updated to a new
build without mixing the two). The one-file game is SITE/../guardianes.html.
The status is 0 when every check passes, 1 otherwise, and 77 (a skip) only
when Chromium cannot start on this machine.
"""

import argparse
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SCRIPTS = Path(__file__).parent / "scripts"
CUE_SAMPLES = None  # the cue_samples program
SOURCE = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(SOURCE / "tools"))
from serve_site import server as site_server  # noqa: E402
UNDER = "/games/guardianes/"
# Every Content-Security-Policy violation the page reports, from its first script on.
VIOLATIONS = """window.violations = [];
document.addEventListener('securitypolicyviolation', (e) => violations.push(e.violatedDirective + ' ' + e.blockedURI));"""
failures = []
folders = []


def check(condition, what):
    print(("ok      " if condition else "FAILED  ") + what)
    if not condition:
        failures.append(what)


def wait_for(condition, timeout=5.0):
    end = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < end:
        time.sleep(0.02)
    return value


def png_pixels(data):
    """(width, height, 8-bit RGB bytes) of a PNG, read by ImageMagick as the window tests read them."""
    size = subprocess.run(["identify", "-format", "%w %h", "png:-"], input=data, capture_output=True, check=True)
    rgb = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=data, capture_output=True, check=True)
    return *map(int, size.stdout.split()), rgb.stdout


def simulate(sim, script, *options):
    """guardianes-sim's status, output, error and shot files for a script."""
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([sim, *options], input=script.encode(), capture_output=True, cwd=folder, timeout=60)
        shots = {p.name: p.read_bytes() for p in Path(folder).glob("*.png")}
    return run.returncode, run.stdout.decode(), run.stderr.decode(), shots


def centre(sim, control):
    """The pixel `click Form1 CONTROL` aims at, from the simulator's dump."""
    c = next(c for c in json.loads(simulate(sim, "dump Form1\n")[1])["controls"] if c["Name"] == control)
    return (c["Left"] + c["Width"] // 2) // 15, (c["Top"] + c["Height"] // 2) // 15


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        driver.get(url)
        assert wait_for(lambda: self.js("return window.guardianes && guardianes.firstFrameAt"), 10), "no first frame"

    def js(self, code, *args):
        return self.driver.execute_script(code, *args)

    def canvas(self, scene):
        return self.driver.find_element(By.CSS_SELECTOR, f'canvas[data-scene="{scene}"]')

    def shown(self, scene):
        return self.js(f"const c = document.querySelector('canvas[data-scene={scene}]');"
                       "return !!c && c.getClientRects().length > 0")

    def on_top(self, scene):
        return self.js("let top = null; for (const w of document.querySelectorAll('.window:not([hidden])'))"
                       "  if (!top || +w.style.zIndex > +top.style.zIndex) top = w;"
                       "return top && top.querySelector('canvas').dataset.scene") == scene

    def state(self):
        return self.js("return document.body.dataset.state"), self.js("return document.title")

    def pixels(self, scene):
        """The canvas's size and pixels as RGB bytes, as png_pixels gives them."""
        size, data = self.js(
            f"const c = document.querySelector('canvas[data-scene={scene}]');"
            "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let s = '';"
            "for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i + 1], d[i + 2]);"
            "return [[c.width, c.height], btoa(s)]")
        return size[0], size[1], base64.b64decode(data)

    def point(self, scene, x, y, device=None):
        """Mouse actions from the centre of scene pixel (x, y), or a finger's tap there."""
        canvas = self.canvas(scene)
        dx, dy = (round(d) for d in self.js(
            "const [c, x, y] = arguments, r = c.getBoundingClientRect();"
            "return [(x + 0.5) * r.width / c.width - r.width / 2, (y + 0.5) * r.height / c.height - r.height / 2]",
            canvas, x, y))
        if device:
            actions = ActionBuilder(self.driver, mouse=PointerInput(device, "finger"))
            actions.pointer_action.move_to(canvas, dx, dy).pointer_down().pause(0.05).pointer_up()
            return actions.perform()
        return ActionChains(self.driver).move_to_element_with_offset(canvas, dx, dy)

    def cursor(self, scene):
        return self.js("return getComputedStyle(arguments[0]).cursor", self.canvas(scene))


def single(site):
    """The one-file game's address, from a folder where it lies alone, kept until the test ends."""
    folders.append(tempfile.TemporaryDirectory())
    return Path(shutil.copy(Path(site).parent / "guardianes.html", folders[-1].name)).as_uri()


def serve(site):
    server = site_server(site, under=UNDER)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_port}{UNDER}"


def run_script(page, path, *options):
    """Runs a script in the page and in guardianes-sim: whether the answers and shots are the same."""
    status, out, err, shots = simulate(page.sim, path.read_text(), *options)
    got = page.driver.execute_async_script("guardianes.runScript(arguments[0]).then(arguments[1])", path.read_text())
    same = (got["status"], got["stdout"], got["stderr"]) == (status, out, err)
    for name, data in sorted(shots.items()):
        web = page.js("const b = guardianes.file(arguments[0]); let s = '';"
                      "for (let i = 0; i < b.length; i += 8192)"
                      "  s += String.fromCharCode.apply(null, b.subarray(i, i + 8192));"
                      "return btoa(s)", name)
        same = same and png_pixels(base64.b64decode(web)) == png_pixels(data)
    return same


def opening(driver, site, sim):
    sizes = sum(p.stat().st_size for p in Path(site).iterdir()), (Path(site).parent / "guardianes.html").stat().st_size
    check(max(sizes) < 1e6, f"the site and the one-file game are each under 1 MB {sizes}")
    menu = png_pixels(simulate(sim, "shot Form1 menu.png\n")[3]["menu.png"])
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": VIOLATIONS})
    server, served = serve(site)
    try:
        for url in (single(site), served):
            page = Page(driver, url)
            page.sim = sim
            check(page.pixels("Form1") == menu, f"{url}: the menu's canvas is the simulator's shot at time 0")
            check(page.state() == ("playing", "Form1"), f"{url}: the game runs, titled with the menu's caption")
            page.point("Form1", *centre(sim, "portal1")).click().perform()
            check(wait_for(lambda: page.on_top("Form2")), f"{url}: a departure plays and the race opens")
            # The one file fetches nothing (a data: address is not listed); the site only what lies beside it.
            fetched = page.js("return performance.getEntriesByType('resource').map((e) => e.name)")
            check(all(url.startswith("http") and f.startswith(url) for f in fetched), f"{url}: fetched {fetched}")
            severe = [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
            violations = page.js("return violations")
            check(severe == [] and violations == [], f"{url}: nothing reported, no policy violated {severe} {violations}")
            check(page.js("return typeof GuardianesRunner") == "undefined" and not [f for f in fetched if "runner" in f],
                  f"{url}: the game plays without the script runner")
            if url.startswith("file"):
                check(run_script(page, SCRIPTS / "race.txt"), "the one-file game runs a script as guardianes-sim")
        # Each script runs in the served page as in guardianes-sim, beside the game.
        for path in sorted(SCRIPTS.glob("*.txt")):
            check(run_script(page, path), f"{path.name}: status, standard output and error and shots as guardianes-sim's")
        check(page.on_top("Form2") and page.state() == ("playing", "Form2"), "the scripts left the game untouched")
        fetched = [f for f in page.js("return performance.getEntriesByType('resource').map((e) => e.name)") if "runner" in f]
        # As a typical host sends them: all but the icons, which are PNG, gzipped.
        sizes = page.js("return performance.getEntriesByType('navigation').concat(performance.getEntriesByType("
                        "'resource')).filter((e) => e.transferSize).map((e) => [e.entryType === 'navigation' ? 'html'"
                        " : e.name.split('?')[0].split('.').pop(), e.encodedBodySize < e.decodedBodySize])")
        check(sorted(set(map(tuple, sizes))) == [("css", True), ("html", True), ("js", True), ("png", False),
                                                 ("wasm", True), ("webmanifest", True)],
              f"served compressed but the icons {sizes}")
        check([f.split("?")[0] for f in fetched] == [served + "guardianes-runner.js", served + "guardianes-runner.wasm"],
              f"the first script loaded the script runner, once, from beside the page {fetched}")
    finally:
        server.shutdown()


def playing(driver, site, sim):
    menu = png_pixels(simulate(sim, "shot Form1 menu.png\n")[3]["menu.png"])
    police, patient = centre(sim, "portal1"), centre(sim, "portal3")
    # Every sound the page starts, as 16-bit samples.
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        window.sounds = [];
        const start = AudioBufferSourceNode.prototype.start;
        AudioBufferSourceNode.prototype.start = function (...args) {
          sounds.push(Array.from(this.buffer.getChannelData(0), (v) => Math.round(v * 32768)));
          return start.apply(this, args);
        };"""})
    siren = subprocess.run([CUE_SAMPLES, "police-siren"], capture_output=True, check=True).stdout
    siren = [int.from_bytes(siren[i:i + 2], "little", signed=True) for i in range(0, len(siren), 2)]
    page = Page(driver, single(site))
    scale = page.js("return arguments[0].getBoundingClientRect().width * devicePixelRatio / arguments[0].width",
                    page.canvas("Form1"))
    check(scale == 2, f"the menu is drawn twice as large where it fits (scale {scale})")
    page.point("Form1", *police).click().perform()
    page.point("Form1", 200, 400).perform()
    check(wait_for(lambda: page.cursor("Form1") == "wait", 1.0), "the hourglass shows during the departure")
    check(wait_for(lambda: page.pixels("Form1") != menu, 1.0), "a click on the police card's button moves the car")
    check(wait_for(lambda: page.on_top("Form2")), "the race's window comes on top")
    check(not page.shown("Form1") and page.state()[1] == "Form2", "the menu is gone and the title is the race's")
    check(page.js("return sounds") == [siren], "the click started one sound, the police siren's samples")

    driver.find_element(By.CSS_SELECTOR, 'button[data-close="Form2"]').click()
    check(wait_for(lambda: page.state()[0] == "ended"), "closing the race ends the game")
    check(driver.find_element(By.ID, "ended").is_displayed(), "the page says the game has ended")
    driver.find_element(By.ID, "new-game").click()
    check(wait_for(lambda: page.shown("Form1")) and page.state()[0] == "playing", "the new-game button starts again")
    check(page.pixels("Form1") == menu, "the new menu is the menu at time 0")
    driver.find_element(By.ID, "sound").click()
    page.js("window.kinds = []; addEventListener('pointerdown', (e) => kinds.push(e.pointerType), true)")
    page.point("Form1", *patient, device=interaction.POINTER_TOUCH)
    check(page.js("return kinds") == ["touch"], "the touch reached the page as a touch")
    check(wait_for(lambda: page.on_top("Form4")), "a touch on the ambulance's button brings the patient on top")
    check(page.js("return sounds.length") == 1, "with the Sound button off the departure started no sound")
    page = Page(driver, single(site) + "?mute")
    page.point("Form1", *police).click().perform()
    check(wait_for(lambda: page.on_top("Form2")), "?mute: the police card opens the race")
    check(page.js("return sounds.length") == 0 and not driver.find_element(By.ID, "sound").is_displayed(),
          "?mute: no sound started, and no Sound button to turn it on")
    # ?volume=50 plays the siren at half its level, to within rounding;
    # ?volume=0 is ?mute; a volume past 100 is said and passed over.
    for volume, level in (("50", 0.5), ("0", None), ("101", 1)):
        page = Page(driver, single(site) + "?volume=" + volume)
        page.point("Form1", *police).click().perform()
        check(wait_for(lambda: page.on_top("Form2")), f"?volume={volume}: the police card opens the race")
        played = page.js("return sounds")
        if level is None:
            check(played == [] and not driver.find_element(By.ID, "sound").is_displayed(),
                  "?volume=0: no sound started, and no Sound button to turn it on")
            continue
        check(len(played) == 1 and len(played[0]) == len(siren) and
              all(abs(v - s * level) <= 0.5 for v, s in zip(played[0], siren)),
              f"?volume={volume}: the siren's samples at {level:g} of their level")
    notice = driver.find_element(By.ID, "notice").text
    check(notice.startswith("volume takes a whole number from 0 to 100, not '101'"),
          f"?volume=101 is refused in the options' words ({notice})")


def classroom(driver, site, sim):
    menu = png_pixels(simulate(sim, "shot Form1 menu.png\n")[3]["menu.png"])
    url = single(site)

    def keys(typed, *held):
        actions = ActionChains(driver)
        for key in held:
            actions.key_down(key)
        actions.send_keys(typed)
        for key in held:
            actions.key_up(key)
        actions.perform()

    page = Page(driver, url + "?keyboard")
    at = lambda: page.js("const m = document.getElementById('mark');"  # noqa: E731
                         "return m.hidden ? null : [+m.dataset.x, +m.dataset.y]")
    width, height, _ = page.pixels("Form1")
    keys(Keys.ARROW_RIGHT * 200 + Keys.ARROW_DOWN * 200)
    check(at() == [width - 1, height - 1], f"the arrows stop at the bottom right corner ({at()})")
    check(page.cursor("Form1") == "not-allowed", "over the background the no-drop sign shows")
    keys(Keys.ARROW_LEFT + Keys.ARROW_UP, Keys.SHIFT)
    check(at() == [width - 2, height - 2], f"Shift moves one pixel ({at()})")
    keys(Keys.TAB * 2)
    keys(Keys.TAB, Keys.SHIFT)
    check(at() == list(centre(sim, "portal1")), f"Tab, Tab, Shift+Tab go to the leftmost, police button ({at()})")
    check(page.cursor("Form1") == "default", "over the button the arrow shows")
    keys(Keys.SPACE)
    check(wait_for(lambda: page.on_top("Form2")), "Space there starts the police's departure")

    page = Page(driver, url + "?kiosk")
    check(not driver.find_element(By.CSS_SELECTOR, 'button[data-close="Form1"]').is_displayed(),
          "in kiosk the close buttons are hidden")
    page.point("Form1", *centre(sim, "portal1")).click().perform()
    check(wait_for(lambda: page.on_top("Form2")), "the race opens")
    page.js("for (const b of document.querySelectorAll('button[data-close]')) b.click()")
    time.sleep(0.3)
    check(page.on_top("Form2") and page.state()[0] == "playing", "closing every window does not end the game")
    keys(Keys.ESCAPE)
    check(wait_for(lambda: page.on_top("Form1")) and not page.shown("Form2"), "Escape brings back the menu")
    check(page.pixels("Form1") == menu, "the menu is a fresh one, as at time 0")
    keys(Keys.ESCAPE, Keys.SHIFT, Keys.CONTROL)
    check(wait_for(lambda: page.state()[0] == "ended"), "Shift+Ctrl+Escape ends it")

    page = Page(driver, url + "?idle-restart=soon")
    check("'soon'" in driver.find_element(By.ID, "notice").text, "a bad idle-restart is shown and ignored")

    # A netbook's screen: the race is drawn whole, smaller, and still plays.
    driver.set_window_size(1024, 600)
    page = Page(driver, url)
    room = page.js("return [innerWidth, innerHeight]")
    page.point("Form1", *centre(sim, "portal1")).click().perform()
    check(wait_for(lambda: page.on_top("Form2")), f"the race opens in a {room[0]} x {room[1]} page")
    box = page.js("const r = arguments[0].getBoundingClientRect(); return [r.bottom, r.right]", page.canvas("Form2"))
    check(box[0] <= room[1] and box[1] <= room[0], f"the whole race shows ({box} in {room})")
    check(page.js("return document.scrollingElement.scrollHeight <= innerHeight"), "the page does not scroll")
    race = json.loads(simulate(sim, "click Form1 portal1\nwait 1300\ndump Form2\n")[1].splitlines()[-1])
    ava = next(c for c in race["controls"] if c["Name"] == "ava")
    time.sleep(3.5)
    before = page.pixels("Form2")
    page.point("Form2", (ava["Left"] + ava["Width"] // 2) // 15, (ava["Top"] + ava["Height"] // 2) // 15).click().perform()
    check(wait_for(lambda: page.pixels("Form2") != before, 1.0), "a click on the smaller \"Avanzar\" moves the car")


def offline(driver, site, sim):
    copy = Path(tempfile.mkdtemp(prefix="guardianes-site-"))
    shutil.copytree(site, copy, dirs_exist_ok=True)
    server, url = serve(str(copy))
    port = server.server_port
    caches = "return await caches.keys()"

    def visit():
        page = Page(driver, url)
        check(not page.js("return guardianes.mixed"), f"build {page.js('return guardianes.build')}: its files all of it")
        return page

    try:
        page = visit()
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        check(errors == [], f"Chromium finds the site installable {errors}")
        manifest = driver.execute_cdp_cmd("Page.getAppManifest", {})
        icons = json.loads(manifest["data"])["icons"]
        loaded = driver.execute_async_script(
            "Promise.all(arguments[0].map((i) => new Promise((done) => { const image = new Image();"
            "  image.onload = () => done(image.naturalWidth + 'x' + image.naturalHeight); image.onerror = () => done('');"
            "  image.src = i.src; }))).then(arguments[1])", icons)
        check(manifest["errors"] == [] and loaded == [i["sizes"] for i in icons] and "maskable" in str(icons),
              f"the manifest parses and its icons load at the sizes they claim {manifest['errors']} {loaded}")
        check(wait_for(lambda: page.js("return !!navigator.serviceWorker.controller")),
              "after one visit a service worker controls the page")
        kept = page.js(caches)
        files = page.js("const c = await caches.open((await caches.keys())[0]);"
                        "return (await c.keys()).map((r) => r.url.slice(arguments[0].length))", url)
        needed = {p.name for p in copy.iterdir()} - {"sw.js", "guardianes-runner.js", "guardianes-runner.wasm"}
        check(sorted(files) == sorted({""} | needed), f"the worker keeps every file of the site but the script runner {files}")
        server.shutdown()
        server.server_close()
        page = visit()
        check(page.pixels("Form1") == png_pixels(simulate(sim, "shot Form1 menu.png\n")[3]["menu.png"]),
              "with the server stopped the menu opens")
        page.point("Form1", *centre(sim, "portal1")).click().perform()
        check(wait_for(lambda: page.on_top("Form2")), "and a click starts the race")

        # A new build: a change to the page, the build's last step run again.
        (copy / "page.css").write_text((copy / "page.css").read_text() + "#desk { outline: 0; }\n")
        finished = subprocess.run([sys.executable, str(SOURCE / "app/web/finish_site.py"), str(copy)],
                                  capture_output=True, text=True, check=True)
        build = finished.stdout.split()[-1]
        server = site_server(str(copy), port, UNDER)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        page = visit()
        script = "guardianes.runScript('status').then((r) => arguments[0](r.stdout), (e) => arguments[0]('refused: ' + e))"
        refused = driver.execute_async_script(script)
        check(page.js("return guardianes.build") != build and "another build" in refused,
              f"the old build's page runs no script with the new build's runner: {refused}")
        check(wait_for(lambda: page.js(caches) == [f"guardianes-{build}"]),
              f"the new build's cache replaces the old one ({kept} then {page.js(caches)})")
        page = visit()
        ran = driver.execute_async_script(script)
        check(page.js("return guardianes.build") == build and ran.startswith('{"t":0'),
              f"the next visit is the new build's, and runs scripts: {ran}")
    finally:
        server.shutdown()
        shutil.rmtree(copy)


def start_chromium(width, height, language="ja"):
    """A headless Chromium with a window that size, speaking that language, or a skip where it cannot start.
    The game has no Japanese, so by default it shows its own texts, as the simulator does."""
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", f"--window-size={width},{height}",
                 f"--lang={language}"):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except WebDriverException as e:
        print("SKIPPED: Chromium cannot start here: " + (e.msg or str(e)).strip().splitlines()[0])
        sys.exit(77)


def languages(driver, site, sim):
    url = single(site)
    menu = {language: png_pixels(simulate(sim, "shot Form1 menu.png\n", "--lang", language)[3]["menu.png"])
            for language in ("pt", "fr")}
    check(menu["pt"] != menu["fr"], "the Portuguese and the French menus are two pictures")
    page = Page(driver, url + "?lang=pt")
    page.sim = sim
    check(page.pixels("Form1") == menu["pt"], "?lang=pt: the menu is guardianes-sim --lang pt's")
    check(page.js("return document.documentElement.lang") == "pt-BR", "?lang=pt: the page's language is pt-BR")
    words = page.js("return [document.getElementById('fullscreen').textContent, document.title]")
    check(words[0] not in ("", "Full screen") and words[1].startswith("Guardianes"), f"?lang=pt: the page's words {words}")
    check(run_script(page, SCRIPTS / "patient.txt", "--lang", "pt"), "?lang=pt: runScript answers in Portuguese")
    page = Page(driver, url + "?lang=de")
    notice = driver.find_element(By.ID, "notice").text
    check("'de'" in notice and "pt_BR" in notice, f"?lang=de is refused, naming the languages there are: {notice}")
    check(page.pixels("Form1") != menu["pt"], "?lang=de: the game plays in the browser's language")

    french = start_chromium(1200, 900, "fr-FR")
    try:
        page = Page(french, url)
        check(page.pixels("Form1") == menu["fr"], "a French browser: the menu is guardianes-sim --lang fr's")
        check(page.js("return document.documentElement.lang") == "fr", "a French browser: the page's language is fr")
        page = Page(french, url + "?lang=pt")
        check(page.pixels("Form1") == menu["pt"], "?lang=pt speaks over the French browser")
    finally:
        french.quit()


GROUPS = {"opening": (opening, 1200, 900), "playing": (playing, 1400, 1300), "classroom": (classroom, 1200, 900),
          "offline": (offline, 1200, 900), "languages": (languages, 1200, 900)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=GROUPS)
    parser.add_argument("--site", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--cue-samples", required=True)
    args = parser.parse_args()
    global CUE_SAMPLES
    CUE_SAMPLES = os.path.abspath(args.cue_samples)
    run, width, height = GROUPS[args.group]
    driver = start_chromium(width, height)
    try:
        run(driver, args.site, os.path.abspath(args.sim))
    finally:
        driver.quit()
    print(f"{args.group}: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
