#!/usr/bin/python3
"""Serves the web build's benchmark page on 127.0.0.1 and prints its rows from headless Chromium, once
with the renderer the game picks (SDL's software renderer) and once with WebGL (SDL's opengles2).
Usage: browser_bench.py BUILD_WEB_DIR"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../../tests/web"))
from cdp import Browser, serve  # noqa: E402


address = serve(sys.argv[1])
print("| browser renderer | enemies | in the callback ms | frame period ms |")
print("|---|---:|---:|---:|")
for renderer in ("", "opengles2"):
    browser = Browser(tempfile.mkdtemp())
    browser.call("Page.navigate", url=f"{address}/bench.html?renderer={renderer}")
    deadline = time.monotonic() + 180
    while not any("bench done" in line for line in browser.console()) and time.monotonic() < deadline:
        browser.evaluate("0")
        time.sleep(0.5)
    for line in browser.console():
        if line.startswith("|"):
            print(line)
    browser.close()
