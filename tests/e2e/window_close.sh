#!/usr/bin/env bash
# The real binary under a real X server: a 1280 x 720 window titled "Moonvale" that ends with
# code 0 when the user closes it. It asks for OpenGL by name, which the game must then keep (left to
# itself it takes the software renderer on this GPU-less X server).
# Usage: window_close.sh GAME_BINARY WM_CLOSE_BINARY WORK_DIR
game=$1 wm_close=$2 work=$3
. "$(dirname "$0")/xvfb-lib.sh"
trap stop_xvfb EXIT
start_xvfb
cd "$work"
log=$(mktemp)
SDL_AUDIO_DRIVER=dummy env ${MOONVALE_GAME_PRELOAD:+LD_PRELOAD="$MOONVALE_GAME_PRELOAD"} "$game" --renderer opengl \
    >"$log" 2>&1 &
pid=$!
id=$(wait_for_window Moonvale)
geometry=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')
[ "$geometry" = "1280x720" ] || { echo "window is $geometry, not 1280x720"; exit 1; }
sleep 0.5
"$wm_close" "$id"
code=0
wait_for_exit "$pid" 15 || code=$?
[ "$code" -eq 0 ] || { echo "game exited with $code after the window was closed"; exit 1; }
grep -q "^Renderer: opengl" "$log" || { cat "$log"; echo "--renderer opengl was not followed"; exit 1; }
rm -f "$log"
echo "window closed, game exited with 0"
