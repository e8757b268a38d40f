#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's figures in headless Chromium, for the README's performance table.

    web_bench.py SITE_DIR BENCH_DIR

Prints each figure with its target; the status is 1 when a target is missed.
"""

import functools
import gzip
import http.server
import json
import statistics
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tools"))
from serve_site import COMPRESSED, LEVEL, server as site_server  # noqa: E402

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

# Counts the page's animation frames and timeouts, to show an idle page asks for none.
COUNTERS = """
window.counted = {frames: 0, timeouts: 0};
const frame = window.requestAnimationFrame, timeout = window.setTimeout;
window.requestAnimationFrame = (f) => { counted.frames++; return frame(f); };
window.setTimeout = (...a) => { counted.timeouts++; return timeout(...a); };
"""

missed = []


def report(name, value, target=None, ok=True):
    print(f"| {name} | {value} | {target or ''} |" + ("" if ok else "  MISSED"))
    if not ok:
        missed.append(name)


def chromium():
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1200,900"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def open_page(driver, url):
    driver.get(url)
    for _ in range(200):
        if driver.execute_script("return window.guardianes && guardianes.firstFrameAt"):
            return driver.execute_script("return guardianes.firstFrameAt")
        time.sleep(0.02)
    raise RuntimeError("the menu never reached its canvas")


def task_ms(driver):
    metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return {m["name"]: m["value"] for m in metrics}["TaskDuration"] * 1000


def click_control(driver, name):
    """Clicks the centre of a menu control, found with the page's own simulator."""
    dump = driver.execute_async_script("guardianes.runScript('dump Form1').then(arguments[0])")
    c = next(c for c in json.loads(dump["stdout"])["controls"] if c["Name"] == name)
    x, y = (c["Left"] + c["Width"] // 2) // 15, (c["Top"] + c["Height"] // 2) // 15
    canvas = driver.find_element(By.CSS_SELECTOR, 'canvas[data-scene="Form1"]')
    w, h, cw, ch = driver.execute_script("const r = arguments[0].getBoundingClientRect();"
                                         "return [r.width, r.height, arguments[0].width, arguments[0].height]", canvas)
    dx, dy = round((x + 0.5) * w / cw - w / 2), round((y + 0.5) * h / ch - h / 2)
    ActionChains(driver).move_to_element_with_offset(canvas, dx, dy).click().perform()


def serve(folder):
    """A server on 127.0.0.1 whose pages are cross-origin isolated, for the browser's finest clock."""
    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def end_headers(self):
            self.send_header("Cross-Origin-Opener-Policy", "same-origin")
            self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
            super().end_headers()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    site, bench = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    one_file = (site.parent / "guardianes.html").as_uri()
    driver = chromium()
    try:
        print("| figure | measured | target |\n|---|---|---|")
        # Start-up: a few loads each, the slowest counts.
        served = site_server(str(site))
        threading.Thread(target=served.serve_forever, daemon=True).start()
        try:
            url = f"http://127.0.0.1:{served.server_port}/"
            first = open_page(driver, url)
            report("first frame after navigation start, first visit to the served site", f"{first:.0f} ms")
            for _ in range(100):
                if driver.execute_script("return !!navigator.serviceWorker.controller"):
                    break
                time.sleep(0.05)
            warm = [open_page(driver, url) for _ in range(5)]
            report("first frame after navigation start, a later visit (from the service worker's cache)",
                   f"{statistics.median(warm):.0f} ms (slowest of 5: {max(warm):.0f} ms)", "< 150 ms",
                   max(warm) < 150)
        finally:
            served.shutdown()
        firsts = [open_page(driver, one_file) for _ in range(5)]
        report("first frame after navigation start, the one-file game from file://",
               f"{statistics.median(firsts):.0f} ms (slowest of 5: {max(firsts):.0f} ms)", "< 300 ms",
               max(firsts) < 300)
        page = one_file

        # The idle menu.
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": COUNTERS})
        driver.execute_cdp_cmd("Performance.enable", {})
        open_page(driver, page)
        time.sleep(1)
        before = task_ms(driver)
        counted = driver.execute_script("return Object.assign({}, counted)")
        time.sleep(10)
        work = task_ms(driver) - before
        after = driver.execute_script("return counted")
        frames, timeouts = after["frames"] - counted["frames"], after["timeouts"] - counted["timeouts"]
        report("main-thread work of the idle menu over 10 s", f"{work:.1f} ms", "< 20 ms", work < 20)
        report("animation frames and timeouts asked for by the idle menu", f"{frames} and {timeouts}", "none",
               frames == 0 and timeouts == 0)

        # Wake-ups of the closing scene.
        click_control(driver, "portal4")
        for _ in range(300):
            if driver.execute_script("return !!document.querySelector('canvas[data-scene=\"Form5\"]')"):
                break
            time.sleep(0.01)
        driver.execute_script("guardianes.wakeups = []")
        time.sleep(30)
        wakeups = driver.execute_script("return guardianes.wakeups")
        late = [actual - grid for grid, actual in wakeups]
        p99 = sorted(late)[int(0.99 * (len(late) - 1))]
        first = [a - g for g, a in wakeups if g - wakeups[0][0] < 5000]
        last = [a - g for g, a in wakeups if wakeups[-1][0] - g < 5000]
        drift = statistics.median(last) - statistics.median(first)
        report(f"wake-up lateness of the closing scene, 99th percentile, over 30 s ({len(late)} wake-ups)",
               f"{p99:.2f} ms (median {statistics.median(late):.2f} ms)", "< 4 ms", p99 < 4)
        report("drift of the lateness over 30 s (last 5 s against first 5 s)", f"{drift:.2f} ms", "none",
               abs(drift) < 1)

        # Painting, in a cross-origin isolated page of its own.
        server = serve(str(bench))
        try:
            driver.get(f"http://127.0.0.1:{server.server_port}/index.html")
            for _ in range(1200):
                lines = driver.execute_script("return lines")
                if lines and '"done"' in lines[-1]:
                    break
                time.sleep(0.1)
        finally:
            server.shutdown()
        figures = {f["figure"]: f["us"] for f in map(json.loads, lines[:-1])}
        size = json.loads(lines[-1])["fill_size"]
        fill = figures["fill"]
        report(f"fill, {size} (the limit)", f"{fill:.1f} us")
        scenes = {"menu": "Form1", "race": "Form2", "fire": "Form3", "patient": "Form4", "street": "Form5"}
        ratios = [figures["repaint/" + s] / fill for s in scenes.values()]
        report("full repaint at design size: " + ", ".join(scenes),
               ", ".join(f"{r:.2f}x" for r in ratios) + " the fill", "< 4x", max(ratios) < 4)
        ticks = {"menu departure": "menu_departure", "race rival": "race_rival", "fire lights": "fire_lights",
                 "patient gaze": "patient_gaze"}
        ratios = [figures["tick/" + t] / fill for t in ticks.values()]
        report("repaint after one tick: " + ", ".join(ticks),
               ", ".join(f"{r:.3f}x" for r in ratios) + " the fill", "< 0.25x", max(ratios) < 0.25)
        convoy = figures["tick/closing_convoy"]
        report("repaint after one tick: closing convoy", f"{convoy / fill:.3f}x the fill ({convoy:.1f} us)",
               "< 0.25x", convoy / fill < 0.25)
    finally:
        driver.quit()

    files = sorted(p for p in site.rglob("*") if p.is_file())
    total = sum(p.stat().st_size for p in files)
    report("the site, file by file",
           ", ".join(f"{p.name} {p.stat().st_size / 1000:.1f} kB" for p in files) + f": {total / 1e6:.3f} MB",
           "< 1 MB", total < 1e6)
    # As tools/serve_site.py sends them: what a child's browser fetches to
    # play (and keeps offline), and apart the script runner that only a
    # runScript fetches.
    def served(path):
        body = path.read_bytes()
        return len(gzip.compress(body, LEVEL, mtime=0)) if path.suffix in COMPRESSED else len(body)
    played = sum(served(p) for p in files if not p.name.startswith("guardianes-runner."))
    runner = sum(served(p) for p in files if p.name.startswith("guardianes-runner."))
    report("the site as served, gzipped: what a child fetches to play; the script runner apart",
           f"{played / 1000:.1f} kB; {runner / 1000:.1f} kB", "< 200 kB", played < 200e3)
    wasm = (site / "guardianes.wasm").stat().st_size
    report("guardianes.wasm, uncompressed", f"{wasm / 1000:.1f} kB", "< 350 kB", wasm < 350e3)
    size = (site.parent / "guardianes.html").stat().st_size
    report("the one-file game, guardianes.html", f"{size / 1000:.1f} kB", "< 400 kB", size < 400e3)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
