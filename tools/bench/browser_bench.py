#!/usr/bin/python3
"""Serves the web build's benchmark page on 127.0.0.1 and prints its rows from headless Chromium, with
the renderer the game picks (SDL's software renderer here, where WebGL is SwiftShader) and with WebGL
(SDL's opengles2): at 1280 x 720, and at a laptop's 1366 x 768 in CSS pixels and in the pixels of a
screen of device pixel ratio 2, which the game does not draw (a sharper picture costs four times the
pixels).
Usage: browser_bench.py BUILD_WEB_DIR"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../../tests/web"))
from cdp import Browser, serve  # noqa: E402


address = serve(sys.argv[1])
print("| browser renderer | canvas | enemies | in the callback ms | frame period ms |")
print("|---|---|---:|---:|---:|")
for renderer, size in [(r, s) for r in ("", "opengles2") for s in ("1280x720", "1366x768", "2732x1536")]:
    width, height = (int(v) for v in size.split("x"))
    browser = Browser(tempfile.mkdtemp(), width, height)
    browser.call("Page.navigate", url=f"{address}/bench.html?renderer={renderer}&size={size}")
    deadline = time.monotonic() + 180
    while not any("bench done" in line for line in browser.console()) and time.monotonic() < deadline:
        browser.evaluate("0")
        time.sleep(0.5)
    for line in browser.console():
        if line.startswith("|"):
            print(line)
    browser.close()
