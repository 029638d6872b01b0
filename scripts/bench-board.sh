#!/usr/bin/env bash
# Builds the release preset with the board server and prints the board's figures (tools/board_bench.py):
# what one verification costs, and board reads from SQLite with wrk while two verifications run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release --target moonvale moonvale-board >/dev/null
/usr/bin/python3 tools/board_bench.py build/release/board/moonvale-board build/release/moonvale tests/data
