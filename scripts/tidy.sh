#!/usr/bin/env bash
# Runs clang-tidy (settings in .clang-tidy) over the game, the board server and the tools, with the dev preset's compile
# commands; fails on any finding. A file found clean is remembered (outside the checkout) under a key
# made of its text, every header of ours, the settings and the tool's version, and is not checked again
# until one of them changes. Usage: scripts/tidy.sh [FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/dev/compile_commands.json ] || { cmake --preset dev >/dev/null && cmake --build --preset dev >/dev/null; }
# The browser's sources compile only with Emscripten, inside its root, and Windows' HTTP only with MinGW: the dev
# build has no commands for them.
if [ $# -eq 0 ]; then
    set -- $(git ls-files 'src/*.cpp' 'tools/*.cpp' 'board/*.cpp' ':!src/shell/PlatformWeb.cpp' ':!src/online/HttpWeb.cpp' ':!src/online/HttpWin.cpp' ':!tools/bench/Browser.cpp')
fi
cache=${MOONVALE_TIDY_CACHE:-/var/cache/moonvale-test/tidy}
mkdir -p "$cache"
shared=$( (clang-tidy --version; cat .clang-tidy scripts/deps.conf $(git ls-files 'src/*.h' 'tools/*.h' 'board/*.h')) | sha256sum | cut -c1-64)
key() { cat "$1" | sha256sum | cut -c1-32; }
todo=()
for file in "$@"; do
    [ -f "$cache/$shared-$(key "$file")" ] || todo+=("$file")
done
if [ ${#todo[@]} -gt 0 ]; then
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    status=0
    printf '%s\n' "${todo[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet >"$log" 2>/dev/null || status=$?
    if grep -E "(warning|error):" "$log"; then
        echo "clang-tidy: findings above" >&2
        exit 1
    fi
    [ "$status" -eq 0 ] || { cat "$log"; echo "clang-tidy failed ($status)" >&2; exit 1; }
    for file in "${todo[@]}"; do touch "$cache/$shared-$(key "$file")"; done
fi
echo "clang-tidy: $# files, no findings (${#todo[@]} checked, the rest unchanged since a clean check)"
