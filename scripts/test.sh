#!/usr/bin/env bash
# Installs what is missing, builds, runs clang-tidy and every test: once as built for development,
# once with AddressSanitizer and UndefinedBehaviorSanitizer. Each step says when it starts.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
# Jobs in groups of their own, so that a failure stops what runs beside it.
set -m
logs=$(mktemp -d)
trap 'for job in $(jobs -p); do kill -- "-$job" 2>/dev/null || true; done; rm -rf "$logs"' EXIT
stamp() { printf '== [%d:%02d] %s\n' $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)) "$*"; }

stamp "Debian packages"
bash scripts/install-deps.sh --packages-only --portable --windows --web
# The packaging tests' bare Debian roots are made beside the builds (debootstrap waits on the network,
# not the processors); a test that needs one while it is being made waits for it.
bash tests/packaging/base-root.sh bookworm trixie >"$logs/roots" 2>&1 &
roots=$!
stamp "SDL3 stacks"
bash scripts/install-deps.sh --portable --windows --web

stamp "dev build"
cmake --preset dev
cmake --build --preset dev
# Static analysis and the sanitized build go beside the development tests, niced: the tests wait on
# X servers, browsers and roots much of the time, and these fill those gaps.
stamp "dev tests, beside clang-tidy and then the asan build"
(
    nice -n 10 bash scripts/tidy.sh
    nice -n 10 cmake --preset asan
    nice -n 10 cmake --build --preset asan
) >"$logs/beside" 2>&1 &
beside=$!
ctest --preset dev
stamp "waiting for clang-tidy and the asan build"
wait "$beside" || { cat "$logs/beside"; exit 1; }
grep '^clang-tidy:' "$logs/beside"
stamp "asan tests"
ctest --preset asan
wait "$roots" || { cat "$logs/roots"; echo "(the tests above made the roots themselves)"; }
stamp "done"
