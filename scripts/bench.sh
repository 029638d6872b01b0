#!/usr/bin/env bash
# Builds the release preset and prints the benchmark tables: headless on SDL's software renderer (and in a
# 1000 x 800 window, with the frame scaled as one and drawn straight, and while a daily run is being sent
# to a board that never answers, and keeping a ten-minute run and continuing it), then
# under Xvfb in a real window with the renderer the game picks by itself, and with OpenGL (SDL's own
# default pick there, Mesa's llvmpipe on a machine without a GPU); then the loop's pacing under Xvfb; then
# the main scene in headless Chromium, with WebGL and with SDL's software renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
cd build/release
x() { xvfb-run -a -s "-screen 0 1920x1200x24" "$@"; }
./tools/bench/bench 2>/dev/null
./tools/bench/bench --scaled 1000 800 2>/dev/null
./tools/bench/bench --board-hang 2>/dev/null
./tools/bench/bench --restore 2>/dev/null
x ./tools/bench/bench --window 2>/dev/null
x ./tools/bench/bench --window --renderer opengl 2>/dev/null
x ./tools/bench/bench --pacing 2>/dev/null
# The browser column: the web build's benchmark page in headless Chromium, WebGL and software.
cd ../..
bash scripts/package-web.sh >/dev/null 2>&1
. scripts/web-root.sh
in_web_checkout "cmake --build --preset web --target bench" >/dev/null
cp tools/bench/bench.html build/web/
/usr/bin/python3 tools/bench/browser_bench.py build/web
