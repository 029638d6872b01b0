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
# The development build needs only the native SDL3 stack: it starts as soon as that is in, beside the
# other stacks' lanes, and clang-tidy and the sanitized build follow it, niced. All of that is work for the
# processors, and a stack's configure steps leave one of the two idle.
stamp "SDL3 stacks"
. scripts/deps.conf
bash scripts/install-deps.sh --portable --windows --web >"$logs/stacks" 2>&1 &
stacks=$!
until [ -f "$MOONVALE_DEPS_PREFIX/.complete" ]; do
    if ! kill -0 "$stacks" 2>/dev/null; then
        wait "$stacks" || { cat "$logs/stacks"; exit 1; }
        break
    fi
    sleep 1
done

stamp "dev build, beside the other stacks"
cmake --preset dev
cmake --build --preset dev
stamp "clang-tidy and then the asan build, beside the rest of the stacks and then the dev tests"
(
    nice -n 10 bash scripts/tidy.sh
    nice -n 10 cmake --preset asan
    nice -n 10 cmake --build --preset asan
) >"$logs/beside" 2>&1 &
beside=$!
wait "$stacks" || { cat "$logs/stacks"; exit 1; }
cat "$logs/stacks"
stamp "dev tests"
ctest --preset dev
stamp "waiting for clang-tidy and the asan build"
wait "$beside" || { cat "$logs/beside"; exit 1; }
grep '^clang-tidy:' "$logs/beside"
stamp "asan tests"
ctest --preset asan
wait "$roots" || { cat "$logs/roots"; echo "(the tests above made the roots themselves)"; }
stamp "done"
