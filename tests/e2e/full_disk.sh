#!/usr/bin/env bash
# The full-disk case of the unit tests, in a private mount namespace (root can make one) where the
# test's folder is a 1 MiB tmpfs, so nothing outside sees the mount.
# Usage: full_disk.sh TEST_BINARY
set -euo pipefail
exec unshare --mount --propagation private sh -c '
    mkdir -p /tmp/moonvale-full-disk
    mount -t tmpfs -o size=1m tmpfs /tmp/moonvale-full-disk
    TMPDIR=/tmp/moonvale-full-disk MOONVALE_FULL_DISK=1 "$0" --gtest_filter=FullDiskTest.*' "$1"
