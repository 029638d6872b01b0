#!/usr/bin/env bash
# Runs one test as the unprivileged user nobody (root ignores file permissions), from a copy in a
# folder nobody can reach, since the build folder's parents may not be open to other users.
# Usage: as_nobody.sh TEST_BINARY ASSETS_DIR GTEST_FILTER
set -euo pipefail
binary=$1 assets=$2 filter=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cp "$binary" "$work/"
cp -rL "$assets" "$work/assets"
rm -f "$work/assets/score.dat"
chmod -R a+rX "$work"
cd "$work"
# Not root, the test's own user already meets the permissions.
[ "$(id -u)" -eq 0 ] || exec "./$(basename "$binary")" --gtest_filter="$filter"
setpriv --reuid=65534 --regid=65534 --clear-groups "./$(basename "$binary")" --gtest_filter="$filter"
