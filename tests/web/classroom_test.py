#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's classroom options (?keyboard, ?kiosk, ?idle-restart) in headless Chromium.

    classroom_test.py --site DIR --sim GUARDIANES_SIM

The status is 0 when every check passes, 1 otherwise, and 77 (a skip) only
when Chromium cannot start on this machine.
"""

import argparse
import os
import sys
import time
from pathlib import Path

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(Path(__file__).parent))
import page_test as web  # noqa: E402
from page_test import check, wait_for  # noqa: E402


def classroom(driver, site, sim):
    menu = web.png_pixels(web.simulate(sim, "shot Form1 menu.png\n")[3]["menu.png"])
    url = Path(site, "index.html").resolve().as_uri()

    def keys(typed, *held):
        actions = ActionChains(driver)
        for key in held:
            actions.key_down(key)
        actions.send_keys(typed)
        for key in held:
            actions.key_up(key)
        actions.perform()


    page = web.Page(driver, url + "?keyboard")
    at = lambda: page.js("const m = document.getElementById('mark');"  # noqa: E731
                         "return m.hidden ? null : [+m.dataset.x, +m.dataset.y]")
    width, height, _ = page.pixels("Form1")
    keys(Keys.ARROW_RIGHT * 200 + Keys.ARROW_DOWN * 200)
    check(at() == [width - 1, height - 1], f"the arrows stop at the bottom right corner ({at()})")
    check(page.cursor("Form1") == "not-allowed", "over the background the no-drop sign shows")
    keys(Keys.ARROW_LEFT + Keys.ARROW_UP, Keys.SHIFT)
    check(at() == [width - 2, height - 2], f"Shift moves one pixel ({at()})")
    keys(Keys.ARROW_LEFT * 200 + Keys.ARROW_UP * 200)
    check(at() == [0, 0], f"the arrows stop at the top left corner ({at()})")
    keys(Keys.TAB)
    check(at() == list(web.centre(sim, "portal4")), f"Tab goes to the first card's button ({at()})")
    check(page.cursor("Form1") == "default", "over the button the arrow shows")
    pressed = time.monotonic()
    keys(Keys.SPACE)
    check(wait_for(lambda: page.on_top("Form5"), 5.0), "Space there starts the first card's departure")
    later = time.monotonic() - pressed
    check(later > 1.15, f"the scene came {later:.2f} s after Space: the departure takes 1.25 s")

    page = web.Page(driver, url + "?kiosk")
    check(not driver.find_element("css selector", 'button[data-close="Form1"]').is_displayed(),
          "in kiosk the close buttons are hidden")
    page.point("Form1", *web.centre(sim, "portal1")).click().perform()
    check(wait_for(lambda: page.on_top("Form2"), 5.0), "the race opens")
    page.js("for (const b of document.querySelectorAll('button[data-close]')) b.click()")
    time.sleep(0.3)
    check(page.on_top("Form2") and page.js("return document.body.dataset.state") == "playing",
          "closing every window does not end the game")
    keys(Keys.ESCAPE)
    check(wait_for(lambda: page.on_top("Form1")) and not page.shown("Form2"), "Escape brings back the menu")
    check(page.pixels("Form1") == menu, "the menu is a fresh one, as at time 0")
    keys(Keys.ESCAPE, Keys.SHIFT, Keys.CONTROL)
    check(wait_for(lambda: page.js("return document.body.dataset.state") == "ended"), "Shift+Ctrl+Escape ends it")

    page = web.Page(driver, url + "?kiosk&idle-restart=0.05")
    page.point("Form1", *web.centre(sim, "portal1")).click().perform()
    check(wait_for(lambda: page.on_top("Form2"), 5.0), "the race opens again")
    check(wait_for(lambda: page.on_top("Form1"), 5.0), "3 s without a press bring back the menu")
    page = web.Page(driver, url + "?idle-restart=soon")
    check("'soon'" in driver.find_element("id", "notice").text, "a bad idle-restart is shown and ignored")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--sim", required=True)
    args = parser.parse_args()
    driver = web.start_chromium(1200, 900)
    try:
        classroom(driver, args.site, os.path.abspath(args.sim))
    finally:
        driver.quit()
    print(f"classroom: {len(web.failures)} failed")
    return 1 if web.failures else 0


if __name__ == "__main__":
    sys.exit(main())
