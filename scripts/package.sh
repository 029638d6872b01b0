#!/usr/bin/env bash
# Builds what the game needs with release settings in Debian's layout and makes the package:
# build/package/moonvale_<version>_<arch>.deb. Prints the package's path on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
cmake --preset package >&2
cmake --build --preset package >&2
cd build/package
rm -f moonvale_*.deb
cpack -G DEB >&2
ls "$PWD"/moonvale_*.deb
