"""Debian's Chromium, headless, driven over the DevTools Protocol: just what the browser test needs."""
import atexit
import base64
import functools
import http.server
import io
import json
import os
import re
import signal
import subprocess
import threading
import time
import urllib.request

import websocket
from PIL import Image

FLAGS = [
    "--headless=new", "--no-sandbox", "--enable-unsafe-swiftshader", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-quic",
    "--autoplay-policy=document-user-activation-required", "--remote-debugging-port=0",
    "--remote-allow-origins=*",
]


SERVERS = {}


def until(what, seconds, message):
    """Polls WHAT until it holds: a screen the game is about to show can be late on a loaded machine."""
    deadline = time.monotonic() + seconds
    while not what():
        assert time.monotonic() < deadline, message
        time.sleep(0.1)


def at(fit, x, y):
    """Where point X, Y of the game's 1280 x 720 picture is in the page, for a fit from letterbox()."""
    scale, left, top = fit
    return left + x * scale, top + y * scale


def shows_title(picture, fit):
    """The title's Start button is there, in its purple, where the loading page is black."""
    return picture.getpixel(tuple(int(v) for v in at(fit, 380, 560)))[2] > 60


def serve(directory, cache_seconds=None):
    """Serves DIRECTORY on 127.0.0.1 from a thread; the address to put paths after (stop_serving ends it).
    CACHE_SECONDS: how long every file may be kept in the browser's cache, as a host may say."""

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def end_headers(self):
            if cache_seconds:
                self.send_header("Cache-Control", f"public, max-age={cache_seconds}")
            super().end_headers()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    address = f"http://127.0.0.1:{server.server_address[1]}"
    SERVERS[address] = server
    return address


def stop_serving(address):
    server = SERVERS.pop(address)
    server.shutdown()
    server.server_close()


class Browser:
    def __init__(self, profile, width=1280, height=720, languages="en-US,en"):
        """LANGUAGES: the visitor's, as navigator.languages gives them (not the machine's)."""
        self.process = subprocess.Popen(
            ["/usr/bin/chromium", *FLAGS, f"--user-data-dir={profile}", f"--window-size={width},{height}",
             f"--accept-lang={languages}", "about:blank"], stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True, start_new_session=True)
        # Chromium's helpers outlive it if only it is killed: a failed test ends the whole group.
        atexit.register(self.kill)
        port = None
        for line in self.process.stderr:
            found = re.search(r"DevTools listening on ws://[^:]+:(\d+)/", line)
            if found:
                port = found.group(1)
                break
        if port is None:
            raise RuntimeError("chromium did not start")
        # Chromium blocks once the pipe is full: keep it drained.
        threading.Thread(target=self.process.stderr.read, daemon=True).start()
        self.port = port
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as answer:
            self._attach(next(t for t in json.load(answer) if t["type"] == "page"))

    def _attach(self, page):
        self.page_id = page["id"]
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60)
        self.next_id = 0
        self.events = []
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")

    def reopen(self):
        """Closes the page as a tab is closed, with no word to it beforehand, and goes on in a new blank one."""
        self.socket.close()
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/close/{self.page_id}") as answer:
            answer.read()
        new = urllib.request.Request(f"http://127.0.0.1:{self.port}/json/new?about:blank", method="PUT")
        with urllib.request.urlopen(new) as answer:
            self._attach(json.load(answer))

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self.events.append(message)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def viewport(self, width, height):
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1,
                  mobile=False)

    def phone(self, width, height, pixel_ratio=1):
        """A phone's screen of WIDTH x HEIGHT CSS pixels (of PIXEL_RATIO of its own each), held the way its
        shape says, taking touch."""
        landscape = width > height
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=pixel_ratio,
                  mobile=True, screenOrientation={"type": "landscapePrimary" if landscape else "portraitPrimary",
                                                  "angle": 90 if landscape else 0})
        self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def touch(self, kind, *fingers):
        """A touch event of KIND (Start, Move, End) with every finger still down, each as (id, x, y)."""
        self.call("Input.dispatchTouchEvent", type=f"touch{kind}",
                  touchPoints=[{"x": x, "y": y, "id": i} for i, x, y in fingers])

    def tap(self, x, y, *held):
        """A finger's tap at X, Y while the fingers HELD (as (id, x, y)) stay down."""
        self.touch("Start", *held, (9, x, y))
        time.sleep(0.1)
        # Chromium lifts the fingers a move leaves out; an end lifts them all.
        self.touch("Move" if held else "End", *held)

    def letterbox(self):
        """Where the 16:9 picture sits in the page as it is now: its scale, and the bars left and above."""
        width, height = self.evaluate("[innerWidth, innerHeight]")
        scale = min(width / 1280, height / 720)
        return scale, (width - 1280 * scale) / 2, (height - 720 * scale) / 2

    def wait_for(self, expression, seconds=20):
        until(lambda: self.evaluate(expression), seconds, f"still false after {seconds} s: {expression}")

    def screenshot(self, path=None):
        for attempt in range(50):
            try:
                data = base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])
                break
            except RuntimeError as error:  # a page being replaced by the next has no picture
                if "Not attached" not in str(error) or attempt == 49:
                    raise
                time.sleep(0.1)
        if path:
            with open(path, "wb") as file:
                file.write(data)
        return Image.open(io.BytesIO(data)).convert("RGB")

    def mouse(self, kind, x, y, button="none", clicks=0):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, clickCount=clicks)

    def click(self, x, y):
        self.mouse("mouseMoved", x, y)
        time.sleep(0.1)
        self.mouse("mousePressed", x, y, "left", 1)
        time.sleep(0.05)
        self.mouse("mouseReleased", x, y, "left", 1)

    def problems(self):
        """Uncaught exceptions and console errors seen so far."""
        self.call("Runtime.evaluate", expression="0")  # drains the events queued before it
        found = []
        for event in self.events:
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append(params["exceptionDetails"].get("text", "exception"))
            elif method == "Runtime.consoleAPICalled" and params["type"] == "error":
                found.append(" ".join(str(a.get("value", a.get("description"))) for a in params["args"]))
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                found.append(params["entry"]["text"])
        return found

    def console(self):
        self.call("Runtime.evaluate", expression="0")  # drains the events queued before it
        return [" ".join(str(a.get("value", "")) for a in e["params"]["args"])
                for e in self.events if e.get("method") == "Runtime.consoleAPICalled"]

    def close(self):
        try:
            self.call("Browser.close")
        except (RuntimeError, websocket.WebSocketException):
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            pass
        self.kill()

    def kill(self):
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
