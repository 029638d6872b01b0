#!/usr/bin/python3
"""The web build as a visitor gets it: the zip unpacked and served on 127.0.0.1, played in Debian's
Chromium. The title is drawn without sound until the first click; Start, strikes, the ghost falls (its
score written to IndexedDB once, not on every frame), Back with a new high score, which a reload and a
browser restart on the same profile still show; opened fresh in a 1000 x 1000 window and in a 1366 x 657
viewport, the picture is 16:9 between black bars from its first frame and takes clicks there; SwiftShader
gets the software renderer and ?renderer=opengles2 plays on WebGL; losing the focus pauses; Quit leaves a
page that offers to start again; on a phone, the title names the touch controls before the first touch, taps play
the menus, the left thumb steers without striking and a right tap strikes, both at once, upright the game waits,
paused its buttons are large and a tap on a volume's "<" lowers it, and with its page closed mid-game a new
page offers CONTINUE and restores the run, paused; a second version deployed on a host that lets files be
cached for a year replaces the offline copy whole; its manifest has no errors, and with the server gone and the HTTP cache
off the offline copy plays; a browser that refuses storage still plays and says so once; and nothing
throws or logs an error.
The games recorded on Linux verify in Chromium, and the game played here verifies on the desktop.
Usage: browser_play.py ZIP SHOTS_DIR DESKTOP_GAME"""
import base64
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

from PIL import Image, ImageChops

from cdp import Browser, at, serve, shows_title, stop_serving, until

zip_path, shots, desktop_game = sys.argv[1], sys.argv[2], sys.argv[3]
os.makedirs(shots, exist_ok=True)
work = tempfile.mkdtemp()
with zipfile.ZipFile(zip_path) as archive:
    archive.extractall(work)
site = os.path.join(work, os.listdir(work)[0])
RECORDED = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../data")
for name in ("strikes.mvr", "falls.mvr", "assisted.mvr"):
    shutil.copy(os.path.join(RECORDED, name), site)
shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), "verify.html"), site)
address = serve(site)
url = address + "/index.html"
HIGH_SCORE_BOX = (540, 435, 740, 485)


def step(text):
    print("==", text, flush=True)


def differing(a, b, box=None):
    if box:
        a, b = a.crop(box), b.crop(box)
    return sum(1 for p in ImageChops.difference(a, b).convert("L").getdata() if p > 20)


def open_title(browser, query="", pixel_ratio=1):
    """Loads the page in the size it has; the seconds until the title is drawn. Its first frame already
    has the picture's shape: the canvas draws as many pixels as its box shows (PIXEL_RATIO to a CSS pixel),
    with black bars around."""
    start = time.monotonic()
    browser.call("Page.navigate", url=url + query)
    while time.monotonic() - start < 20:
        picture = browser.screenshot()
        if pixel_ratio != 1:  # in CSS pixels, as the page lays it out
            picture = picture.resize((round(picture.width / pixel_ratio), round(picture.height / pixel_ratio)))
        fit = browser.letterbox()  # the page's, once it is there (a phone lays out a blank one wider)
        if shows_title(picture, fit):
            buffer = browser.evaluate("[canvas.width, canvas.height, canvas.clientWidth, canvas.clientHeight]")
            shown = [round(side * pixel_ratio) for side in buffer[2:]]
            assert buffer[:2] == shown, f"a {buffer[:2]} picture shown as {shown} pixels"
            _, left, top = fit
            width, height = picture.size
            bars = [(0, 0, int(left) - 1, height), (width - int(left) + 1, 0, width, height)] if left > 2 else \
                [(0, 0, width, int(top) - 1), (0, height - int(top) + 1, width, height)] if top > 2 else []
            for box in bars:
                assert max(picture.crop(box).convert("L").getdata()) < 10, f"no black bar at {box}"
            time.sleep(0.3)
            return time.monotonic() - start
        time.sleep(0.05)
    raise AssertionError("no title after 20 s")


def audio_state(browser):
    return browser.evaluate("Module.SDL3 && Module.SDL3.audioContext ? Module.SDL3.audioContext.state : 'none'")


profile = os.path.join(work, "profile")
browser = Browser(profile)
browser.viewport(1280, 720)
# Every game of this visit starts from this seed: the same first wave, which the strikes below fell.
SEED = int(os.environ.get("MOONVALE_TEST_SEED", "1"))
step(f"open the page, with seed {SEED}")
seconds = open_title(browser, f"?seed={SEED}")
print(f"title drawn {seconds:.2f} s after the page was opened")
title = browser.screenshot(f"{shots}/web-title.png")
assert audio_state(browser) != "running", "sound started before any input"
manifest = browser.call("Page.getAppManifest")
assert manifest.get("url") and not manifest.get("errors"), f"the manifest: {manifest}"
# The first visit leaves an offline copy of every file.
browser.wait_for("navigator.serviceWorker.ready.then(r => caches.keys()).then(k => k.some(n => "
                 "n.startsWith('moonvale-')))", 20)

step("Start, strikes, Back")
browser.click(440, 560)
started = time.monotonic()
until(lambda: differing(title, browser.screenshot()) > 20000, 10, "Start did not change the screen")
game = browser.screenshot(f"{shots}/web-game.png")
browser.wait_for("Module.SDL3.audioContext.state === 'running'", 5)
browser.click(640, 100)  # the first game waits behind its card until something closes it
# A wave is summoned around the ghost 3 s into the game and gathers on it: strike where most enemies
# are (found by their green health bars); with the seed, the wave is the same every time.
SCORE_BOX = (1060, 5, 1260, 55)
# The fallen ghost's Back button at (1040, 380), as it looks, or lit when the last strike left the cursor on it.
FALLEN = ((64, 40, 104), (98, 62, 150))
# Where the fallen ghost's Restart and Back come up (left, top, right, bottom), with a margin: the ghost may
# fall between a look and a strike, and a strike must never land on a button that came up meanwhile.
PANEL_BUTTONS = ((388, 332, 708, 460), (788, 332, 1108, 460))


def enemies(picture):
    """Where the enemies' green health bars are, on an 8-pixel grid."""
    small = picture.resize((160, 90), Image.NEAREST)
    return [(8 * (i % 160), 8 * (i // 160)) for i, (r, g, b) in enumerate(small.getdata())
            if g > 180 and r < 100 and b < 100 and 8 < i // 160 < 82]


def hurt(picture):
    """Where struck enemies' red health bars are: their top edges, red runs longer than any eye."""
    r, g, b = picture.crop((0, 64, picture.size[0], 656)).split()
    red = ImageChops.multiply(ImageChops.multiply(r.point(lambda v: 255 if v > 200 else 0),
                                                  g.point(lambda v: 255 if v < 60 else 0)),
                              b.point(lambda v: 255 if v < 60 else 0))
    quarter = red.resize((red.size[0] // 4, red.size[1]), Image.BOX)  # 255: four red pixels in a row
    width, found = quarter.size[0], []
    for i, value in enumerate(quarter.getdata()):
        x, y = i % width, i // width
        if value > 250 and x >= 2 and quarter.getpixel((x - 1, y)) > 250 and quarter.getpixel((x - 2, y)) > 250:
            found.append((4 * x, y + 64))
    # Not the ghost's own, under it in the middle.
    return [(x, y) for x, y in found if not (570 < x < 710 and 350 < y < 400)]


def where_most_are(picture):
    """The struck enemies if any (a second strike fells them), else where most enemies are."""
    bars = hurt(picture) or enemies(picture) or [(640, 385)]
    x, y = max(bars, key=lambda p: sum((p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2 < 80 ** 2 for q in bars))
    y -= 25  # a bar hangs below its enemy
    for left, top, right, bottom in PANEL_BUTTONS:
        if left <= x <= right and top <= y <= bottom:
            y = top - 1 if y - top < bottom - y else bottom + 1
    return x, y


def fallen(picture):
    pixel = picture.getpixel((1040, 380))
    return any(sum(abs(a - b) for a, b in zip(pixel, look)) < 30 for look in FALLEN)


deadline = time.monotonic() + 8
while not enemies(browser.screenshot()):
    assert time.monotonic() < deadline, "no wave came"
def charged(picture):
    """The strike's icon is lit to its top: the cool-down is over."""
    return sum(1 for x in range(955, 1005) for y in range(3, 12) if min(picture.getpixel((x, y))[:2]) > 150) > 20


# Each strike as soon as the weapon is charged again, in the game's own time, however loaded the machine.
scored = False
for strike in range(4):
    deadline = time.monotonic() + 10
    before = browser.screenshot()
    while not (charged(before) or fallen(before) or scored):
        assert time.monotonic() < deadline, "the strike did not charge again"
        before = browser.screenshot()
        scored = differing(game, before, SCORE_BOX) > 20
    if scored or fallen(before):
        break
    browser.click(*where_most_are(before))
    until(lambda: differing(before, browser.screenshot()) > 2000, 5, "no strike was seen")
    browser.screenshot(f"{shots}/web-strike-{strike}.png")
# A felled enemy counts once its fall is over.
deadline = time.monotonic() + 3
while not scored and time.monotonic() < deadline:
    scored = differing(game, browser.screenshot(), SCORE_BOX) > 20
# Standing in the wave, the ghost falls within seconds; from then on the score is saved on every frame,
# but IndexedDB is written only when bytes change: the settings (the first game's card was seen), the
# score, and the game's replay as the last and the best game; and the run in progress, kept every five
# seconds of play and removed at its end.
# Waves keep coming every 3 s: sooner or later one brings the ghost down.
deadline = time.monotonic() + 40
while not fallen(browser.screenshot()):
    assert time.monotonic() < deadline, "the ghost did not fall"
    time.sleep(0.2)
time.sleep(1)
browser.screenshot(f"{shots}/web-fallen.png")
writes = browser.evaluate("Module.storeWrites")
kept = int((time.monotonic() - started) / 5) + 1
assert writes <= 4 + kept + 1, f"IndexedDB was written {writes} times in a game kept at most {kept} times"
print(f"the fallen ghost's files were written to IndexedDB {writes} time(s)")
assert scored, f"no strike felled an enemy of seed {SEED}'s first wave"
browser.click(950, 395)  # Back
until(lambda: shows_title(browser.screenshot(), (1, 0, 0)), 10, "Back did not lead to the title")
time.sleep(0.3)
scored_title = browser.screenshot(f"{shots}/web-title-after.png")
assert differing(title, scored_title, HIGH_SCORE_BOX) > 20, "the title shows no new high score"
STORED = """new Promise(done => { const open = indexedDB.open('/store');
    open.onsuccess = () => { const keys = open.result.transaction('FILE_DATA').objectStore('FILE_DATA')
        .getAllKeys(); keys.onsuccess = () => done(keys.result.includes('/store/score.dat')); };
    open.onerror = () => done(false); })"""
assert browser.evaluate(STORED), "IndexedDB holds no score"

step("the game played here plays again the same on the desktop")
KEPT = """new Promise(done => { const open = indexedDB.open('/store');
    open.onsuccess = () => { const file = open.result.transaction('FILE_DATA').objectStore('FILE_DATA')
        .get('/store/last.mvr'); file.onsuccess = () => done(file.result ?
            btoa(String.fromCharCode(...file.result.contents)) : null); }; })"""
kept = browser.evaluate(KEPT)
assert kept, "IndexedDB holds no replay of the game"
with open(os.path.join(work, "web.mvr"), "wb") as replay:
    replay.write(base64.b64decode(kept))
verdict = subprocess.run([desktop_game, "--verify", os.path.join(work, "web.mvr")], capture_output=True, text=True,
                         cwd=os.path.dirname(desktop_game))
print(verdict.stdout.strip())
assert verdict.returncode == 0, f"the browser's game did not verify on the desktop: {verdict.stdout}{verdict.stderr}"

step("the games recorded on Linux play again the same here")
for name in ("strikes.mvr", "falls.mvr", "assisted.mvr"):
    browser.call("Page.navigate", url=f"{address}/verify.html?{name}")
    said = lambda: [line for line in browser.console() if line.startswith(f"/{name}: ")]  # noqa: E731
    until(lambda: browser.evaluate("0") == 0 and said(), 30, f"no verdict on {name}")
    print(said()[0])
    assert "matches the recording" in said()[0], said()[0]

step("reload, then restart the browser on the same profile with the server gone and the HTTP cache off")
open_title(browser)
assert differing(scored_title, browser.screenshot(), HIGH_SCORE_BOX) < 20, "the high score is gone after a reload"
problems = browser.problems()
browser.close()
# From here to the phone only the offline copy can serve the page.
stop_serving(address)
browser = Browser(profile)
browser.viewport(1280, 720)
browser.call("Network.enable")
browser.call("Network.setCacheDisabled", cacheDisabled=True)
open_title(browser)
assert differing(scored_title, browser.screenshot(), HIGH_SCORE_BOX) < 20, "the high score is gone after a restart"
assert browser.evaluate(STORED), "IndexedDB lost the score in a restart"

step("opened fresh in a 1000 x 1000 window, drawn in software on SwiftShader")
offline_problems = browser.problems()
browser.close()
browser = Browser(profile, 1000, 1000)
browser.call("Network.enable")
browser.call("Network.setCacheDisabled", cacheDisabled=True)
open_title(browser)
fit = browser.letterbox()
assert any("Renderer: software, not OpenGL: WebGL here is" in line and "SwiftShader" in line
           for line in browser.console()), "software was not chosen over SwiftShader"
square = browser.screenshot(f"{shots}/web-square.png")
browser.click(*at(fit, 440, 560))
until(lambda: differing(square, browser.screenshot()) > 10000, 10, "Start was not hit in a square window")

step("the tab loses the focus: the game pauses")
browser.evaluate("window.dispatchEvent(new FocusEvent('blur'))")


def still():
    """Two looks half a second apart agree: a game that goes on changes tens of thousands of pixels."""
    paused = browser.screenshot(f"{shots}/web-paused.png")
    time.sleep(0.5)
    return differing(paused, browser.screenshot(f"{shots}/web-paused-later.png")) < 500


until(still, 10, "the game went on without the focus")

step("Back, Quit: the page says the game has ended")
browser.click(*at(fit, 1230, 690))
until(lambda: shows_title(browser.screenshot(), fit), 10, "Back did not lead to the title")
browser.click(*at(fit, 840, 560))
browser.wait_for("!document.getElementById('ended').classList.contains('hidden')", 5)
browser.screenshot(f"{shots}/web-ended.png")
offline_problems += browser.problems()
# The worker's check for a newer version of itself finds no server.
problems += [p for p in offline_problems if "ERR_CONNECTION_REFUSED" not in p]
browser.close()
url = serve(site) + "/index.html"

step("a phone held sideways: a tap starts, the left thumb steers, a tap on the right strikes, both at once; "
     "upright it waits; pause and Back by taps")
browser = Browser(os.path.join(work, "phone"))
browser.phone(844, 390)
open_title(browser)
fit = browser.letterbox()
title = browser.screenshot(f"{shots}/web-phone-title.png")
assert any("touch screen" in line for line in browser.console()), "the phone's title did not name its touch controls"
text = [line for line in browser.console() if line.startswith("Text size: ")]
print(text[0])
assert text and "Text size: large" in text[0] and float(text[0].split(", ")[1].split(" ")[0]) >= 12, \
    f"the phone's text is not large enough to read: {text}"
browser.tap(*at(fit, 440, 560))
until(lambda: differing(title, browser.screenshot()) > 20000, 10, "a tap on Start did not start a game")
browser.wait_for("document.fullscreenElement !== null", 5)  # the first tap asked for the whole screen


def mana_full(picture):
    """The right end of the mana bar is still blue: nothing was spent."""
    return picture.getpixel(tuple(int(v) for v in at(fit, 560, 30)))[2] > 150


def edge_shows(picture):
    """The world's white left edge is on screen: the ghost went all the way left, a screen and more."""
    rows = range(int(at(fit, 0, 60)[1]), int(at(fit, 0, 700)[1]))
    return any(sum(1 for y in rows if min(picture.getpixel((x, y))) > 200) > 0.8 * len(rows)
               for x in range(int(at(fit, 0, 0)[0]), int(at(fit, 40, 0)[0])))


time.sleep(2.5)  # past the first cool-down: a thumb taken for a click would strike from here on
thumb = (1, *at(fit, 300, 450))
browser.touch("Start", thumb)
for x in range(280, 130, -30):  # drawn left, past the stick's rim: full tilt
    thumb = (1, *at(fit, x, 450))
    browser.touch("Move", thumb)
until(lambda: edge_shows(browser.screenshot()), 10, "the left thumb did not steer the ghost to the world's edge")
assert mana_full(browser.screenshot(f"{shots}/web-phone-steer.png")), "the steering thumb struck"
browser.tap(*at(fit, 1000, 250), thumb)
until(lambda: not mana_full(browser.screenshot()), 5, "a tap on the right did not strike")
browser.screenshot(f"{shots}/web-phone-strike.png")
thumb = (1, *at(fit, 460, 450))  # the same thumb, drawn right past where it landed
browser.touch("Move", thumb)
until(lambda: not edge_shows(browser.screenshot()), 5, "after the second finger the thumb steered no more")
browser.touch("End")
browser.phone(390, 844)
browser.wait_for("!document.getElementById('turn').classList.contains('hidden')", 5)
browser.screenshot(f"{shots}/web-phone-upright.png")
browser.phone(844, 390)
browser.wait_for("document.getElementById('turn').classList.contains('hidden')", 5)
until(still, 10, "turned upright, the game did not pause")
PAUSE_BUTTON = (1212, 116)  # the touch pause button, right under the score
browser.tap(*at(fit, *PAUSE_BUTTON))
until(lambda: not still(), 10, "the pause button did not resume the game")
browser.tap(*at(fit, *PAUSE_BUTTON))
until(still, 10, "the pause button did not pause the game")
browser.screenshot(f"{shots}/web-phone-paused.png")
# Paused by touch, the buttons are large and clear of the hourglass; in Options a tap on a volume's "<"
# lowers it.
PAUSED_OPTIONS, PAUSED_BACK = (440, 440), (840, 440)
browser.tap(*at(fit, *PAUSED_OPTIONS))
time.sleep(0.5)
browser.tap(*at(fit, 668, 110))  # large text on a phone: the wider Options
SETTINGS = """new Promise(done => { const open = indexedDB.open('/store');
    open.onsuccess = () => { const file = open.result.transaction('FILE_DATA').objectStore('FILE_DATA')
        .get('/store/settings.ini'); file.onsuccess = () => done(file.result ?
            new TextDecoder().decode(file.result.contents) : ''); }; })"""
until(lambda: "volume=90\n" in browser.evaluate(SETTINGS), 5, "a tap on the volume's < did not lower it")
browser.tap(*at(fit, 640, 506))  # Options' Back
time.sleep(0.5)

step("the phone's page closed in the middle of a game: a new page offers CONTINUE, which restores it, paused")
browser.tap(*at(fit, *PAUSE_BUTTON))
until(lambda: not still(), 10, "the pause button did not resume the game")
problems += browser.problems()
browser.reopen()
browser.phone(844, 390)
open_title(browser)
assert any("A run in progress is kept" in line for line in browser.console()), "the new page has no run to continue"
browser.screenshot(f"{shots}/web-phone-continue.png")
browser.tap(*at(fit, 240, 560))
until(lambda: any(line.startswith("Continued the run in progress: ") for line in browser.console()), 10,
      f"CONTINUE did not restore the run: {[line for line in browser.console() if 'run in progress' in line]}")
until(still, 10, "the restored run did not wait paused")
browser.screenshot(f"{shots}/web-phone-continued.png")
browser.tap(*at(fit, *PAUSED_BACK))
until(lambda: shows_title(browser.screenshot(), fit), 10, "a tap on Back did not lead to the title")
problems += browser.problems()
browser.close()

step("a laptop's 1366 x 657, with WebGL asked for, in a browser that refuses storage, in German")
browser = Browser(os.path.join(work, "private"), languages="de-AT,de,en")
browser.viewport(1366, 657)
browser.call("Page.addScriptToEvaluateOnNewDocument",
             source="Object.defineProperty(window, 'indexedDB', {value: undefined});")
open_title(browser, "?renderer=opengles2")
fit = browser.letterbox()
assert any(line.startswith("Renderer: opengles2") for line in browser.console()), "WebGL was not used"
title = browser.screenshot(f"{shots}/web-laptop.png")
browser.click(*at(fit, 440, 560))
until(lambda: differing(title, browser.screenshot()) > 20000, 10, "Start did not change the screen")
browser.click(*at(fit, 1230, 690))
browser.wait_for("!document.getElementById('note').classList.contains('hidden')", 10)
said = [line for line in browser.console() if "Storage refused" in line]
assert len(said) == 1, f"said {len(said)} times that storage is refused"
assert any(line.startswith("Language: de (the system's)") for line in browser.console()), \
    "the game did not follow the browser's language"
note = browser.evaluate("document.getElementById('note').textContent")
german = browser.evaluate("MOONVALE_STRINGS.de['web page\\u0004' + "
                          "'This browser does not let Moonvale keep your high score and settings.']")
assert german and note == german, f"the page's note is not in German: {note}"
problems += browser.problems()
browser.close()

step("a phone of three pixels to a CSS pixel draws with WebGL at its own pixels, not blurred by enlarging; "
     "asking for less motion, it gets softer flashes")
browser = Browser(os.path.join(work, "sharp"))
browser.phone(844, 390, pixel_ratio=3)
browser.call("Emulation.setEmulatedMedia", features=[{"name": "prefers-reduced-motion", "value": "reduce"}])
open_title(browser, "?renderer=opengles2", pixel_ratio=3)
assert any(line.startswith("Renderer: opengles2") for line in browser.console()), "WebGL was not used"
assert any(line.startswith("Flashes reduced: the system asks for less motion") for line in browser.console()), \
    "the page's prefers-reduced-motion did not reduce the flashes"
browser.screenshot(f"{shots}/web-phone-sharp.png")
problems += browser.problems()
browser.close()

step("a second version over the first, on a host that lets every file be cached for a year: a reload runs it whole")
deployed = os.path.join(work, "deployed")
shutil.copytree(site, deployed)
host = serve(deployed, cache_seconds=365 * 24 * 3600)
browser = Browser(os.path.join(work, "deploy"))
browser.viewport(1280, 720)
url = host + "/index.html"
open_title(browser)
CACHES = "navigator.serviceWorker.ready.then(r => caches.keys())"
until(lambda: len(browser.evaluate(CACHES)) == 1, 20, "the first version left no offline copy")
with open(os.path.join(deployed, "sw.js")) as file:
    worker = file.read()
first = browser.evaluate(CACHES)[0]
with open(os.path.join(deployed, "sw.js"), "w") as file:
    file.write(worker.replace(first, first + "-second"))
with open(os.path.join(deployed, "moonvale.wasm"), "ab") as file:
    # A custom section, which the engine skips: another build's bytes, the same game.
    payload = b"\x0dmoonvale-test" + b"a second version"
    file.write(b"\x00" + bytes([len(payload)]) + payload)
# The browser looks for a new worker after a navigation when it sees fit: asked now, as a page may ask.
browser.evaluate("navigator.serviceWorker.getRegistration().then(r => r.update()).then(() => true)")
until(lambda: browser.evaluate(CACHES) == [first + "-second"], 30,
      f"the second version did not take over: {browser.evaluate(CACHES)}")
FILES = ["index.html", "page.js", "strings.js", "moonvale.js", "moonvale.wasm", "moonvale.data"]
HASHES = f"""caches.open('{first}-second').then(cache => Promise.all({FILES}.map(name => cache.match(name)
    .then(answer => answer.arrayBuffer()).then(bytes => crypto.subtle.digest('SHA-256', bytes))
    .then(hash => Array.from(new Uint8Array(hash), b => b.toString(16).padStart(2, '0')).join('')))))"""
for name, cached in zip(FILES, browser.evaluate(HASHES)):
    with open(os.path.join(deployed, name), "rb") as file:
        assert cached == hashlib.sha256(file.read()).hexdigest(), f"the offline copy holds the first version's {name}"
open_title(browser)
problems += browser.problems()
browser.close()
stop_serving(host)

assert not problems, f"errors in the browser: {problems}"
print(f"played in Chromium: title in {seconds:.2f} s, Start, strikes, high score kept, letterboxed from the first "
      "frame at 1000 x 1000 and 1366 x 657, software on SwiftShader and WebGL when asked, ended, offline")
