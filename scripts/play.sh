#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from the folder that holds its assets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
cd build/release
exec ./moonvale
