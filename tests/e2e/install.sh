#!/usr/bin/env bash
# Installs into a scratch prefix and starts the game through its launcher, as a player would.
# Usage: install.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/moonvale lib/moonvale/moonvale lib/moonvale/libSDL3.so.0 lib/moonvale/libSDL3_mixer.so.0 \
    share/moonvale/assets/sprite/ghost-idle.png share/moonvale/assets/credits.txt \
    share/applications/moonvale.desktop share/icons/hicolor/64x64/apps/moonvale.png; do
    [ -e "$tmp/prefix/$f" ] || { echo "missing $f"; exit 1; }
done
[ ! -e "$tmp/prefix/share/moonvale/assets/score.dat" ] || { echo "a score file was installed"; exit 1; }
# The game must find its SDL beside itself, not in the build machine's prefix.
if ldd "$tmp/prefix/lib/moonvale/moonvale" | grep -E 'libSDL3.*(not found|/opt/)'; then exit 1; fi
code=0
HOME="$tmp/home" SDL_VIDEO_DRIVER=dummy SDL_AUDIO_DRIVER=dummy timeout 3 "$tmp/prefix/bin/moonvale" \
    >"$tmp/log" 2>&1 || code=$?
[ "$code" = 124 ] || { cat "$tmp/log"; echo "the game ended by itself with $code"; exit 1; }
if grep -q Failed "$tmp/log"; then cat "$tmp/log"; exit 1; fi
[ -L "$tmp/home/.local/share/moonvale/assets/sprite" ] || { echo "no data folder"; exit 1; }
echo "installed, launched from $tmp/home/.local/share/moonvale, and ran until stopped"
