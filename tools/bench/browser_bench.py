#!/usr/bin/python3
"""Serves the web build's benchmark page on 127.0.0.1 and prints its rows from headless Chromium, with
the renderer the game picks (SDL's software renderer here, where WebGL is SwiftShader) and with WebGL
(SDL's opengles2): at 1280 x 720, and at a laptop's 1366 x 768 in CSS pixels and in the pixels of a
screen of device pixel ratio 2; and at a landscape phone's 844 x 390 with the CPU slowed four times, a
mid-range phone, also at the phone's device pixel ratio of 3, which WebGL draws, and where it also keeps a
ten-minute run and continues it.
Usage: browser_bench.py BUILD_WEB_DIR"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../../tests/web"))
from cdp import Browser, serve, shows_title, stop_serving, until  # noqa: E402


address = serve(sys.argv[1])
print("| browser renderer | picture | CPU | enemies | in the callback ms | frame period ms |")
print("|---|---|---|---:|---:|---:|")
RUNS = [(r, s, 1, 1) for r in ("", "opengles2") for s in ("1280x720", "1366x768", "2732x1536")]
# A mid-range phone: a landscape phone's 844 x 390 with the CPU slowed four times; and as a phone's
# screen has it, three of its pixels to a CSS pixel, which WebGL draws (the software renderer keeps CSS
# pixels).
RUNS += [(r, "844x390", 4, 1) for r in ("", "opengles2")] + [("opengles2", "844x390", 4, 3)]
for renderer, size, slowdown, pixel_ratio in RUNS:
    width, height = (int(v) for v in size.split("x"))
    browser = Browser(tempfile.mkdtemp(), width, height)
    if pixel_ratio != 1:
        browser.phone(width, height, pixel_ratio)
    browser.call("Emulation.setCPUThrottlingRate", rate=slowdown)
    browser.call("Page.navigate", url=f"{address}/bench.html?renderer={renderer}&size={size}")
    deadline = time.monotonic() + 180
    while not any("bench done" in line for line in browser.console()) and time.monotonic() < deadline:
        browser.evaluate("0")
        time.sleep(0.5)
    for line in browser.console():
        if line.startswith("|"):
            cells = line.split("|")
            if pixel_ratio != 1:
                cells[2] = f"{cells[2].rstrip()} at device pixel ratio {pixel_ratio} "
            print("|".join(cells[:3] + [f" {'%dx slower' % slowdown if slowdown > 1 else 'as is'} "] + cells[3:]))
    browser.close()


# A ten-minute run kept in the page's storage and continued, on a mid-range phone.
browser = Browser(tempfile.mkdtemp(), 844, 390)
browser.call("Emulation.setCPUThrottlingRate", rate=4)
browser.call("Page.navigate", url=f"{address}/bench.html?size=844x390&restore")
until(lambda: any("bench done" in line for line in browser.console()), 180, "the restore bench did not end")
times = next(line.split("|") for line in browser.console() if line.startswith("restore |"))
print(f"\nA ten-minute run ({times[1].strip()} frames, {times[2].strip()} bytes) in an 844 x 390 page with the CPU "
      f"slowed 4 times, kept every five seconds: in the frame, slowest (median) {times[3].strip()} ms; in the page's "
      f"idle time {times[4].strip()} ms; continuing it {times[5].strip()} s (restored: {times[6].strip()})")
browser.close()


def title_seconds(browser, url):
    """Seconds from opening the page to the title's Start button, in an 844 x 390 page."""
    start = time.monotonic()
    browser.call("Page.navigate", url=url)
    until(lambda: shows_title(browser.screenshot(), browser.letterbox()), 60, "no title")
    return time.monotonic() - start


# The game's own page on a mid-range phone: the first visit, then a second with the network gone.
site = next(name for name in os.listdir(sys.argv[1]) if name.startswith("moonvale-") and name.endswith("-web"))
browser = Browser(tempfile.mkdtemp(), 844, 390)
browser.viewport(844, 390)
browser.call("Emulation.setCPUThrottlingRate", rate=4)
first = title_seconds(browser, f"{address}/{site}/index.html")
browser.wait_for("navigator.serviceWorker.ready.then(r => caches.keys()).then(k => k.length > 0)", 60)
stop_serving(address)
browser.call("Network.enable")
browser.call("Network.setCacheDisabled", cacheDisabled=True)
second = title_seconds(browser, f"{address}/{site}/index.html")
browser.close()
print(f"\nThe page at 844 x 390 with the CPU slowed 4 times: the title {first:.1f} s after opening it, "
      f"{second:.1f} s on a second visit with the network gone")
