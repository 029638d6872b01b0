#!/usr/bin/python3
"""The web build served by moonvale-board --site on 127.0.0.1, in Debian's Chromium: the page finds the
board on its own site; a daily run left by Back asks about it on the title, a Russian name given as an
input method gives its text is taken, the run is sent (fetch), verified and ranked, and the title draws
the board with the player's place, which a reload keeps (the key and the emptied queue are in the
browser's storage); the next day, ?watch=DATE/1 plays that run from the board.
Usage: browser_board.py ZIP BOARD_SERVER DESKTOP_GAME SHOTS_DIR"""
import datetime
import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request
import zipfile

from cdp import Browser, serve, shows_title, until

zip_path, server, desktop_game, shots = sys.argv[1:5]
os.makedirs(shots, exist_ok=True)
work = tempfile.mkdtemp()
with zipfile.ZipFile(zip_path) as archive:
    archive.extractall(work)
site = os.path.join(work, [name for name in os.listdir(work) if name.startswith("moonvale-")][0])
with socket.socket() as probe:
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
address = f"http://127.0.0.1:{port}"
board_log = open(os.path.join(work, "board.log"), "w")


def step(text):
    print("==", text, flush=True)


def healthy():
    try:
        with urllib.request.urlopen(address + "/v1/health", timeout=2) as answer:
            return answer.status == 200
    except OSError:
        return False


def start_board(pretend_now=None):
    arguments = [server, "--data", os.path.join(work, "board"), "--port", str(port), "--site", site,
                 "--verifier", desktop_game, "--verify-memory-mb", "0"]
    if pretend_now:
        arguments += ["--pretend-now", pretend_now]
    process = subprocess.Popen(arguments, stdout=board_log, stderr=subprocess.STDOUT)
    until(healthy, 30, "the board did not start")
    return process


def listing(day):
    with urllib.request.urlopen(f"{address}/v1/boards/{day}", timeout=5) as answer:
        return json.load(answer)


def said(text):
    try:
        return any(text in line for line in browser.console())  # what the page logged until now
    except RuntimeError as error:  # a page being reloaded answers nothing until it is there
        if "navigated or closed" not in str(error):
            raise
        return False


def key(name, code, text=""):
    for kind in ("keyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent", type=kind, key=name, code=name, windowsVirtualKeyCode=code,
                     text=text if kind == "keyDown" else "")


board = start_board()
browser = Browser(os.path.join(work, "profile"))
browser.viewport(1280, 720)
try:
    today = datetime.datetime.now(datetime.timezone.utc).date()
    step("the page finds the board on its own site")
    browser.call("Page.navigate", url=address + "/index.html")
    until(lambda: said(f"Board {address}: daily runs are not sent"), 30, "the page did not find its board")
    until(lambda: shows_title(browser.screenshot(), browser.letterbox()), 20, "no title")
    until(lambda: said("Board: today's listing shown"), 10, "the title did not show the board")
    print(next(line for line in browser.console() if "Board: today's listing shown" in line), flush=True)

    step("a daily run left by Back: the title asks about the board; a Russian name is taken")
    browser.click(440, 620)  # DAILY
    until(lambda: said("Game seed"), 10, "DAILY started no game: " + repr(browser.console()[-8:]))
    browser.click(640, 100)  # closes the first game's card
    time.sleep(0.5)
    browser.click(1230, 690)  # Back
    until(lambda: said("Board: asking the player whether daily runs go to"), 10, "the title did not ask")
    for _ in range(12):
        key("Backspace", 8)
    browser.call("Input.insertText", text="Призрак")  # as an input method or a phone's keyboard gives it
    browser.screenshot(f"{shots}/web-board-name.png")
    key("Enter", 13, "\r")
    until(lambda: said("Board: the player sends daily runs as Призрак"), 10,
          "the name was not taken: " + repr([line for line in browser.console() if "Board" in line]))

    step("the run is sent, verified and ranked; the title draws the board with the player's place")
    until(lambda: listing(today)["total"] == 1, 60, "the board has no run from the browser")
    assert listing(today)["runs"][0]["name"] == "Призрак", listing(today)
    until(lambda: said("Board: the title shows the player 1 of 1 today"), 20, "no place on the title")
    browser.screenshot(f"{shots}/web-title-board.png")
    # Reloaded, the page is the same player: the key is kept in the browser's storage, and the sent run
    # is gone from the queue kept there.
    browser.events.clear()
    browser.call("Page.reload")
    until(lambda: said("Board: the title shows the player 1 of 1 today"), 30, "the page forgot the player")
    left = browser.evaluate("FS.readdir('/store/board-queue').filter(name => name.endsWith('.mvr')).length")
    assert left == 0, f"{left} sent runs still queued in the browser's storage"

    step("the next day, ?watch=DATE/1 plays that run from the board")
    problems = browser.problems()
    assert not problems, problems
    browser.call("Page.navigate", url="about:blank")  # nothing asks the board while it restarts
    browser.events.clear()
    board.terminate()
    board.wait()
    board = start_board(f"{today + datetime.timedelta(days=1)}T00:30:00Z")
    browser.call("Page.navigate", url=f"{address}/index.html?watch={today}/1")
    until(lambda: said(f"Watching a run from the board: seed {today:%Y%m%d}"), 30, "the run was not watched")

    step("a page on another site names the board with ?board=, which allows it")
    problems = browser.problems()
    assert not problems, problems
    browser.events.clear()
    elsewhere = serve(site)
    browser.call("Page.navigate", url=f"{elsewhere}/index.html?board={address}")
    until(lambda: said(f"Board {address}:"), 30, "the page did not take ?board=")
    until(lambda: said("Board: today's listing shown"), 20,
          "no listing from the other site: " + repr([line for line in browser.console() if "Board" in line]))
    problems = browser.problems()
    assert not problems, problems
    print("the board in the browser: found, asked, sent, ranked, drawn, watched")
finally:
    browser.close()
    board.terminate()
    board.wait()
