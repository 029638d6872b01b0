#!/usr/bin/env bash
# Builds the release preset and prints the benchmark tables: headless on SDL's software renderer, then
# under Xvfb in a real window with the renderer the game picks by itself, and with OpenGL (SDL's own
# default pick there, Mesa's llvmpipe on a machine without a GPU); then the loop's pacing under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
cd build/release
x() { xvfb-run -a -s "-screen 0 1920x1200x24" "$@"; }
./tools/bench/bench 2>/dev/null
x ./tools/bench/bench --window 2>/dev/null
x ./tools/bench/bench --window --renderer opengl 2>/dev/null
x ./tools/bench/bench --pacing 2>/dev/null
