#!/usr/bin/env bash
# Makes the tarball for any Linux distribution: build/portable/moonvale-<version>-linux-x64.tar.gz, one
# folder with the game, its own SDL3 libraries, the assets, a start script, README.txt and the licences.
# Prints the tarball's path on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh --portable >&2
. scripts/deps.conf
. scripts/licences.sh
version=$(sed -n 's/^project(Moonvale VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

cmake --preset portable >&2
cmake --build --preset portable >&2

name=moonvale-$version-linux-x64
stage=build/portable/$name
rm -rf "$stage" "$stage.tar.gz"
cmake --install build/portable --prefix "$stage" --strip >&2
sed "s/@VERSION@/$version/" packaging/portable/README.txt >"$stage/README.txt"
copy_licences "$stage/licences" -portable
# The same bytes from the same commit: fixed owners, order and times.
tar --owner=0 --group=0 --numeric-owner --sort=name --mtime="@$(git log -1 --format=%ct 2>/dev/null || echo 0)" \
    -C build/portable -czf "$stage.tar.gz" "$name"
echo "$root/$stage.tar.gz"
