#!/usr/bin/env bash
# Builds the release preset and prints the benchmark table, then the loop's pacing under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
cd build/release
./tools/bench/bench
xvfb-run -a -s "-screen 0 1920x1200x24" ./tools/bench/bench --pacing 2>/dev/null
