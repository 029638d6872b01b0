#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets (not the tests or tools), and starts it
# from the folder that holds its assets. Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target moonvale
cd build/release
exec ./moonvale "$@"
