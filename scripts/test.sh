#!/usr/bin/env bash
# Installs what is missing, builds, runs clang-tidy and every test: once as built for development,
# once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --portable --windows --web
for preset in dev asan; do
    echo "== $preset"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    # Static analysis once, on the dev build's compile commands, before its tests.
    if [ "$preset" = dev ]; then bash scripts/tidy.sh; fi
    ctest --preset "$preset"
done
