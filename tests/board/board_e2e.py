#!/usr/bin/python3
"""moonvale-board as it runs, over HTTP on 127.0.0.1: the daily runs of a test day recorded on Linux, in
a browser and on Windows are accepted and verified with the score the game's --verify gives, on SQLite and
on PostgreSQL alike (the same board from both); the same bytes again give the same id; a body over the
limit and a burst from one key are refused; a full queue answers 503 while a verifier that hangs is
killed within its limit and /v1/health keeps answering; a board killed with SIGKILL while runs are queued
and being verified loses none of them and its SQLite file passes an integrity check, as does a backup of
it taken live; it serves the game's site from the same origin; and behind the shipped nginx site (TLS, its
size and rate limits) it plays the same.
Usage: board_e2e.py BOARD GAME TEST_DATA POSTGRES_CONNINFO NGINX_SITE VERIFY_MEMORY_MB"""
import http.client
import json
import os
import re
import shutil
import signal
import socket
import sqlite3
import ssl
import subprocess
import sys
import tempfile
import time
import urllib.parse

board_bin, game, data, conninfo, nginx_site, memory = sys.argv[1:7]
work = tempfile.mkdtemp()
RUNS = ["daily-strikes.mvr", "daily-falls.mvr", "daily-web.mvr", "daily-windows.mvr"]
DAY = "2026-12-10"
# A sanitized game needs more address space than any cap: the build says which.
PRETEND = ["--pretend-now", f"{DAY}T20:00:00Z", "--verify-memory-mb", memory]
servers = []


def step(text):
    print("==", text, flush=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def until(check, seconds, message):
    deadline = time.monotonic() + seconds
    while True:
        value = check()
        if value:
            return value
        assert time.monotonic() < deadline, message
        time.sleep(0.05)


class Client:
    def __init__(self, port, tls=False):
        self.port, self.tls = port, tls

    def call(self, method, path, body=None, headers=None):
        if self.tls:
            context = ssl.create_default_context()
            context.check_hostname, context.verify_mode = False, ssl.CERT_NONE
            connection = http.client.HTTPSConnection("127.0.0.1", self.port, timeout=10, context=context)
        else:
            connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.request(method, path, body=body, headers=headers or {})
        response = connection.getresponse()
        payload = response.read()
        connection.close()
        return response.status, dict(response.getheaders()), payload

    def json(self, method, path, body=None, headers=None):
        status, headers, payload = self.call(method, path, body, headers)
        return status, headers, json.loads(payload) if payload else None

    def post_run(self, replay, key, name=None):
        path = "/v1/runs" + (f"?name={urllib.parse.quote(name)}" if name else "")
        return self.json("POST", path, replay, {"Content-Type": "application/octet-stream",
                                               "Authorization": "Bearer " + key})

    def settled(self, run_id, seconds=60):
        def done():
            _, _, run = self.json("GET", f"/v1/runs/{run_id}")
            return run if run["status"] in ("verified", "rejected") else None
        return until(done, seconds, f"{run_id} was not settled within {seconds} s")


def start(folder, *extra, verifier=game):
    os.makedirs(folder, exist_ok=True)
    port = free_port()
    log = open(os.path.join(folder, "board.log"), "a")
    process = subprocess.Popen([board_bin, "--data", folder, "--port", str(port), "--verifier", verifier, *PRETEND,
                                *extra], stdout=log, stderr=log)
    servers.append(process)
    client = Client(port)
    until(lambda: process.poll() is None and health(client), 20, "the board did not come up")
    return process, client


def health(client):
    try:
        return client.call("GET", "/v1/health")[0] == 200
    except OSError:
        return False


def key(letter):
    return letter * 64


def replay(name):
    with open(os.path.join(data, name), "rb") as file:
        return file.read()


def verified_score(name):
    line = subprocess.run([game, "--verify", os.path.join(data, name)], capture_output=True, text=True).stdout
    return int(re.search(r": score (-?\d+),", line).group(1))


def play_the_day(client):
    """The four recorded runs, one player each; the board they make."""
    ids = []
    for letter, name in zip("abcd", RUNS):
        status, _, body = client.post_run(replay(name), key(letter), "Zoë" if letter == "a" else None)
        assert status == 202, f"{name}: {status} {body}"
        ids.append(body["id"])
    for run_id, name in zip(ids, RUNS):
        run = client.settled(run_id)
        assert run["status"] == "verified", f"{name}: {run}"
        assert run["score"] == verified_score(name), f"{name}: {run['score']} on the board"
    status, _, again = client.post_run(replay(RUNS[0]), key("a"), "Zoë")
    assert (status, again["id"]) == (200, ids[0]), f"the same bytes again: {status} {again}"
    _, _, board = client.json("GET", f"/v1/boards/{DAY}?limit=10")
    return [(row["rank"], row["name"], row["score"], row["id"]) for row in board["runs"]]


try:
    step("SQLite: four recorded runs (Linux, Linux, browser, Windows) verified with --verify's scores")
    sqlite_dir = os.path.join(work, "sqlite")
    process, client = start(sqlite_dir)
    sqlite_board = play_the_day(client)
    print("  ", sqlite_board)
    assert len(sqlite_board) == 4 and sqlite_board[0][1] == "Zoë", "the scoring run does not lead"

    step("a body over 256 KB, and a burst from one key")
    status, _, body = client.post_run(b"x" * (300 * 1024), key("e"))
    assert status == 413 and "256 KB" in body["error"], f"{status} {body}"
    statuses = [client.post_run(b"garbage %d" % i, key("e")) for i in range(8)]
    refused = [s for s, _, _ in statuses]
    assert 429 in refused, f"no 429 in {refused}"
    assert int(statuses[refused.index(429)][1]["Retry-After"]) > 0, "429 without Retry-After"

    step("PostgreSQL: the same runs make the same board")
    process.send_signal(signal.SIGTERM)
    process.wait(10)
    _, pg_client = start(os.path.join(work, "postgres"), "--postgres", conninfo)
    pg_board = play_the_day(pg_client)
    # Runs of one score in the same second stand in their players' order, which differs between the two
    # runs of the day: compare what is on the board and the ranks, not the order within a tie.
    assert sorted(pg_board) == sorted(sqlite_board) or \
        sorted(r[1:] for r in pg_board) == sorted(r[1:] for r in sqlite_board), \
        f"PostgreSQL's board {pg_board} is not SQLite's {sqlite_board}"
    assert [r[0] for r in pg_board] == list(range(1, len(pg_board) + 1))

    step("killed with SIGKILL while runs are queued and one is being verified: none lost, none twice")
    slow = os.path.join(work, "slow-verifier.sh")
    with open(slow, "w") as file:
        file.write(f"#!/bin/sh\nsleep 1\nexec {game} \"$@\"\n")
    os.chmod(slow, 0o755)
    killed_dir = os.path.join(work, "killed")
    process, client = start(killed_dir, "--workers", "1", verifier=slow)
    accepted = []
    for letter, name in zip("abcd", RUNS):
        status, _, body = client.post_run(replay(name), key(letter))
        assert status == 202, f"{name}: {status} {body}"
        accepted.append(body["id"])
    # Whichever the worker took first: runs sent within the same second are taken in no set order.
    until(lambda: any(client.json("GET", f"/v1/runs/{run_id}")[2]["status"] == "verifying" for run_id in accepted),
          10, "nothing verifying")
    process.kill()
    process.wait(10)
    with sqlite3.connect(os.path.join(killed_dir, "board.sqlite")) as db:
        assert db.execute("PRAGMA integrity_check").fetchone()[0] == "ok", "the SQLite file is damaged"
        kept = dict(db.execute("SELECT id, state FROM runs").fetchall())
    assert sorted(kept) == sorted(accepted), f"runs answered 202 but gone: {set(accepted) - set(kept)}"
    site = os.path.join(work, "site")
    os.makedirs(site)
    with open(os.path.join(site, "index.html"), "w") as file:
        file.write("<title>Moonvale</title>")
    process, client = start(killed_dir, "--site", site)
    for run_id in accepted:
        assert client.settled(run_id)["status"] == "verified"
    _, _, board = client.json("GET", f"/v1/boards/{DAY}?limit=10")
    assert sorted(row["id"] for row in board["runs"]) == sorted(accepted), f"the board after the restart: {board}"

    step("the game's site from the same origin, and a page on another site allowed to use the board; a "
         "backup of the live database")
    status, headers, page = client.call("GET", "/")
    assert status == 200 and b"Moonvale" in page and headers.get("X-Moonvale-Board") == "v1", \
        f"the site: {status} {headers} {page[:80]}"
    status, headers, _ = client.call("OPTIONS", "/v1/runs", headers={
        "Origin": "http://127.0.0.1:1", "Access-Control-Request-Method": "POST",
        "Access-Control-Request-Headers": "authorization, content-type"})
    assert status == 204 and "Authorization" in headers.get("Access-Control-Allow-Headers", ""), \
        f"the preflight: {status} {headers}"
    status, headers, _ = client.call("GET", "/v1/daily", headers={"Origin": "http://127.0.0.1:1"})
    assert headers.get("Access-Control-Allow-Origin") == "*" and "Retry-After" in headers.get(
        "Access-Control-Expose-Headers", ""), f"another site's read: {headers}"
    copy = os.path.join(work, "copy.sqlite")
    subprocess.run([board_bin, "--backup", os.path.join(killed_dir, "board.sqlite"), copy], check=True)
    with sqlite3.connect(copy) as db:
        assert db.execute("PRAGMA integrity_check").fetchone()[0] == "ok", "the backup is damaged"
        assert db.execute("SELECT COUNT(*) FROM board").fetchone()[0] == len(accepted), "the backup lacks lines"
    process.send_signal(signal.SIGTERM)
    process.wait(10)

    step("a verifier that hangs is killed within its limit; a full queue answers 503; health answers meanwhile")
    hang = os.path.join(work, "hanging-verifier.sh")
    with open(hang, "w") as file:
        file.write("#!/bin/sh\nexec sleep 599.25\n")
    os.chmod(hang, 0o755)
    process, client = start(os.path.join(work, "hang"), "--workers", "1", "--queue", "2", "--verify-seconds", "3",
                            verifier=hang)
    first = client.post_run(replay(RUNS[0]), key("a"))
    second = client.post_run(replay(RUNS[1]), key("b"))
    assert (first[0], second[0]) == (202, 202), f"{first} {second}"
    status, headers, body = client.post_run(replay(RUNS[2]), key("c"))
    assert status == 503 and int(headers["Retry-After"]) > 0, f"a full queue: {status} {body}"
    started = time.monotonic()
    while time.monotonic() - started < 2:
        began = time.monotonic()
        assert health(client), "/v1/health did not answer while a verifier hung"
        assert time.monotonic() - began < 1, "/v1/health was slow while a verifier hung"
        time.sleep(0.1)
    run = client.settled(first[2]["id"], 15)
    assert run["status"] == "rejected" and "longer than 3 s" in run["reason"], run
    # The next run's verifier has started meanwhile: one child at most, the first one gone.
    hanging = subprocess.run(["pgrep", "-fc", "sleep 599.25"], capture_output=True, text=True).stdout.strip()
    assert int(hanging or 0) <= 1, f"{hanging} hanging verifiers: the first lived on"
    process.send_signal(signal.SIGTERM)
    process.wait(10)

    step("behind the shipped nginx site: TLS, its size limit and its rate limit")
    process, client = start(os.path.join(work, "proxied"), "--trust-proxy")
    proxy = os.path.join(work, "nginx")
    os.makedirs(os.path.join(proxy, "logs"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=localhost",
                    "-keyout", os.path.join(proxy, "key.pem"), "-out", os.path.join(proxy, "cert.pem")],
                   check=True, capture_output=True)
    tls_port = free_port()
    with open(nginx_site) as file:
        site = file.read()
    site = (site.replace("listen 443 ssl http2;", f"listen 127.0.0.1:{tls_port} ssl;")
            .replace("listen [::]:443 ssl http2;", "")
            .replace("/etc/letsencrypt/live/board.example.org/fullchain.pem", os.path.join(proxy, "cert.pem"))
            .replace("/etc/letsencrypt/live/board.example.org/privkey.pem", os.path.join(proxy, "key.pem"))
            .replace("127.0.0.1:8080", f"127.0.0.1:{client.port}"))
    site = re.sub(r"server \{\s*listen 80;.*?\n\}\n", "", site, flags=re.S)  # the plain-HTTP redirect
    with open(os.path.join(proxy, "nginx.conf"), "w") as file:
        file.write(f"daemon off;\npid {proxy}/nginx.pid;\nerror_log {proxy}/logs/error.log;\nevents {{}}\n"
                   f"http {{\naccess_log off;\nclient_body_temp_path {proxy};\nproxy_temp_path {proxy};\n{site}\n}}\n")
    nginx = subprocess.Popen(["nginx", "-p", proxy, "-c", os.path.join(proxy, "nginx.conf")],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    servers.append(nginx)
    tls = Client(tls_port, tls=True)
    until(lambda: nginx.poll() is None and health(tls), 10, "nginx did not come up")
    status, _, body = tls.post_run(replay(RUNS[0]), key("a"))
    assert status == 202, f"through nginx: {status} {body}"
    assert client.settled(body["id"])["status"] == "verified"
    status = tls.call("POST", "/v1/runs", b"x" * (300 * 1024), {"Content-Type": "application/octet-stream"})[0]
    assert status == 413, f"nginx let a 300 KB body through: {status}"
    statuses = [tls.call("POST", "/v1/runs", b"garbage", {"Content-Type": "application/octet-stream",
                                                          "Authorization": "Bearer " + key("f")})[0]
                for _ in range(10)]
    assert 429 in statuses, f"nginx's rate limit never answered: {statuses}"
    print("the board played the day on SQLite and PostgreSQL alike, kept every run through a SIGKILL, "
          "killed a hanging verifier and held behind nginx")
finally:
    for server in servers:
        if server.poll() is None:
            server.terminate()  # the board stops its verifiers' children before it ends
            try:
                server.wait(10)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()
    shutil.rmtree(work, ignore_errors=True)
