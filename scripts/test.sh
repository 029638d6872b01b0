#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once as built for development,
# once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
for preset in dev asan; do
    echo "== $preset"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
