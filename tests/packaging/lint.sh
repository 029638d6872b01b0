#!/usr/bin/env bash
# Debian's own checks on the package: lintian with no error, and the desktop entry and AppStream
# file as the package installs them, clean under their validators.
# Usage: lint.sh DIR_WITH_THE_DEB
set -euo pipefail
deb=$(ls "$1"/moonvale_*.deb)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
desktop-file-validate "$tmp/usr/share/applications/moonvale.desktop"
appstreamcli validate --no-net "$tmp"/usr/share/metainfo/*.metainfo.xml
# The launcher the desktop entry starts and the icon it names are in the package.
[ -x "$tmp/usr/games/moonvale" ] && [ -f "$tmp/usr/share/icons/hicolor/256x256/apps/moonvale.png" ]
lintian --fail-on error "$deb" 2>&1 | grep -v "running with root" | tee "$tmp/lintian.log"
! grep -q '^E:' "$tmp/lintian.log"
echo "lintian, desktop-file-validate and appstreamcli validate: no errors"
