#!/usr/bin/python3
"""The board's figures, measured on this machine in one run: board reads from SQLite with wrk (a day of
10,000 players, top ten and a player's neighbourhood) while two verifications run beside them, and the
CPU one verification costs per minute of play, by the game's --verify on the recorded games.
Usage: board_bench.py BOARD GAME TEST_DATA [CONNECTIONS, default 8]"""
import os
import re
import resource
import shutil
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time

board_bin, game, data = sys.argv[1:4]
CONNECTIONS = int(sys.argv[4]) if len(sys.argv) > 4 else 8
work = tempfile.mkdtemp()
DAY = "2026-12-10"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def verify_cpu(path):
    """CPU seconds of one --verify of path, and the game's seconds it played."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    line = subprocess.run([game, "--verify", path], capture_output=True, text=True).stdout
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    frames = int(re.search(r"(\d+) frames", line).group(1))
    return after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime, frames / 60.0


print("Verification by --verify (CPU seconds per run, and per minute of play):")
for name in ("strikes.mvr", "falls.mvr", "daily-strikes.mvr", "daily-web.mvr"):
    runs = [verify_cpu(os.path.join(data, name)) for _ in range(5)]
    cpu = sorted(r[0] for r in runs)[2]
    seconds = runs[0][1]
    print(f"  {name:18} {seconds:6.1f} s of play: {cpu:.3f} s CPU, {60 * cpu / seconds:.3f} s CPU a minute of play")

# A day's board with 10,000 players, made straight in the database.
port = free_port()
folder = os.path.join(work, "data")
os.makedirs(folder)
server = subprocess.Popen([board_bin, "--data", folder, "--port", str(port), "--verifier", game, "--pretend-now",
                           f"{DAY}T20:00:00Z"], stderr=subprocess.DEVNULL)
time.sleep(1)
with sqlite3.connect(os.path.join(folder, "board.sqlite")) as db:
    db.executemany("INSERT INTO board VALUES (?, ?, ?, ?, ?, ?, ?)",
                   [(DAY, f"{i:064x}", f"{i:08x}", f"Ghost-{i % 9999:04d}", (i * 7919) % 5000, f"{i:032x}",
                     1796900000 + i) for i in range(10000)])
tag = f"{4321:08x}"

stop = threading.Event()


def verifying():
    while not stop.is_set():
        # Niced, as the board runs its verifiers.
        subprocess.run(["nice", "-n", "10", game, "--verify", os.path.join(data, "daily-strikes.mvr")],
                       capture_output=True)


busy = [threading.Thread(target=verifying) for _ in range(2)]
for thread in busy:
    thread.start()
print(f"\nBoard reads from SQLite, 10,000 players, two verifications running meanwhile (wrk, 10 s each, "
      f"2 threads, {CONNECTIONS} connections):")
for label, path in (("top ten", f"/v1/boards/{DAY}?limit=10"), ("around a player", f"/v1/boards/{DAY}/around/{tag}"),
                    ("health", "/v1/health")):
    out = subprocess.run(["wrk", "-t2", f"-c{CONNECTIONS}", "-d10s", "--latency", f"http://127.0.0.1:{port}{path}"],
                         capture_output=True, text=True).stdout
    rate = re.search(r"Requests/sec:\s+([\d.]+)", out).group(1)
    p99 = re.search(r"99%\s+([\d.]+\w+)", out).group(1)
    print(f"  {label:16} {float(rate):9.0f} requests/s, p99 {p99}")
stop.set()
for thread in busy:
    thread.join()
server.terminate()
server.wait()
shutil.rmtree(work)
