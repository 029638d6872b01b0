#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each over its seed corpus and RUNS new inputs.
# Usage: run.sh BUILD_DIR SDL_PREFIX [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 prefix=$2 runs=${3:-20000}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CCACHE_BASEDIR=$(cd "$here/../.." && pwd) cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
CCACHE_BASEDIR=$(cd "$here/../.." && pwd) cmake --build "$build" >/dev/null
for target in settings score command_line replay catalogue board_answer board_request board_name; do
    found=$(mktemp -d)
    # New inputs go to the first folder, so the corpus in the repository stays as it is.
    LD_LIBRARY_PATH="$prefix/lib" "$build/${target}_fuzz" -runs="$runs" -seed=1 -max_len=$(case $target in replay | catalogue | board_answer | board_request) echo 4096 ;; *) echo 512 ;; esac) \
        -artifact_prefix="$build/$target-" "$found" "$here/corpus/$target" 2>"$build/$target.log" || {
        tail -n 30 "$build/$target.log"
        echo "FAILED: ${target}_fuzz found an input it cannot take, kept in $build/$target-*"
        exit 1
    }
    echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$build/$target.log")"
    rm -rf "$found"
done
rm -rf /dev/shm/moonvale-board-fuzz-* # the request target's database
