#!/usr/bin/env bash
# The game on a desktop: a real window manager (openbox), so fullscreen and focus behave as they do
# for a player. F11 fills the screen and clicks still land; Alt+Enter brings the window back; the window
# keeps a readable size; another window taking the focus pauses the game; M silences the sound; the
# settings survive a restart.
# Usage: desktop_session.sh GAME_BINARY WM_CLOSE_BINARY ASSETS_DIR SHOTS_DIR
game=$1 wm_close=$2 assets=$3 shots=$4
. "$(dirname "$0")/xvfb-lib.sh"

work=$(mktemp -d)
trap 'kill ${pid:-} ${other:-} ${wm_pid:-} 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
mkdir -p "$shots"
link_assets "$assets" "$work"
# A player who has seen the first game's card: it would take the first click (the options session shows it).
printf 'controls_seen=true\n' >"$work/assets/settings.ini"
start_xvfb
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# openbox names itself early in its start; it manages new windows once it has published the work area.
for _ in $(seq 100); do xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && break; sleep 0.1; done
sleep 0.5

step() { echo "== $*"; }
fail() { echo "FAILED: $*"; cat "$work/game.log"; exit 1; }
shot() { import -window "$id" "$shots/desktop-$1.png"; }
pixels() { compare -metric AE -fuzz 8% "$shots/desktop-$1.png" "$shots/desktop-$2.png" null: 2>&1 | cut -d' ' -f1; }
geometry() { xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}'; }
# click X Y: a point of the 1280 x 720 canvas, letterboxed into the window as it is now.
click() {
    local w h
    IFS=x read -r w h <<<"$(geometry)"
    read -r x y < <(awk -v w="$w" -v h="$h" -v x="$1" -v y="$2" 'BEGIN {
        s = w / 1280; if (h / 720 < s) s = h / 720
        printf "%d %d\n", (w - 1280 * s) / 2 + x * s, (h - 720 * s) / 2 + y * s }')
    xdotool mousemove --window "$id" "$x" "$y"
    sleep 0.2
    press
    sleep 0.3
}
# rms FROM_BYTE BYTES: the loudness of that stretch of the game's mixed output.
rms() {
    { tail -c +"$1" "$work/audio.raw" || true; } | head -c "$2" |
        sox -t raw -r 44100 -e signed -b 16 -c 2 - -n stat 2>&1 | awk '/RMS     amplitude/ {print $3}'
}
launch() {
    SDL_AUDIO_DRIVER=disk SDL_AUDIO_DISK_OUTPUT_FILE="$work/audio.raw" \
        env ${MOONVALE_GAME_PRELOAD:+LD_PRELOAD="$MOONVALE_GAME_PRELOAD"} "$game" >>"$work/game.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || fail "no window"
    xdotool windowactivate --sync "$id"
    sleep 1
}
close() {
    "$wm_close" "$id"
    local code=0
    wait_for_exit "$pid" 15 || code=$?
    pid=
    [ "$code" -eq 0 ] || fail "exit code $code after a window-manager close"
}

cd "$work"
launch
step "start a game, then F11"
click 440 560
xdotool key F11
sized() { [ "$(geometry)" = "$1" ]; }
eventually 5 sized 1920x1200 || fail "F11 left the window at $(geometry)"
sleep 0.5
shot fullscreen

step "in fullscreen, a click on Pause lands"
click 1050 690
# still A B: two looks a second apart agree (a game that goes on changes tens of thousands of pixels).
still() { shot "$1" && sleep 1 && shot "$2" && [ "$(pixels "$1" "$2")" -le 2500 ]; }
eventually 10 still paused-a paused-b || fail "the click on Pause did not pause the game"
click 1050 690

step "Alt+Enter brings back the window"
xdotool key alt+Return
eventually 5 sized 1280x720 || fail "Alt+Enter left the window at $(geometry)"

step "the window shrinks no smaller than half its size, where its words still read"
xdotool windowsize "$id" 300 168
sleep 0.5
IFS=x read -r w h <<<"$(geometry)"
[ "$w" -ge 640 ] && [ "$h" -ge 360 ] || fail "the window shrank to ${w}x$h"
xdotool windowsize "$id" 1280 720
eventually 5 sized 1280x720 || fail "the window did not come back to 1280x720"

step "another window takes the focus: the game pauses and stays paused"
sleep 0.5
xmessage -geometry 300x100+10+10 "another program" &
other=$!
for _ in $(seq 50); do xdotool search --name '^xmessage$' >/dev/null 2>&1 && break; sleep 0.1; done
xdotool windowactivate --sync "$(xdotool search --name '^xmessage$' | head -n 1)"
eventually 10 still away-a away-b || fail "the game ran on without the focus"
kill "$other" && other=
xdotool windowactivate --sync "$id"
sleep 1
shot back
[ "$(pixels away-b back)" -le 2500 ] || fail "the game resumed by itself"

step "Esc resumes; M silences the sound"
xdotool key Escape
sleep 1.5
from=$(stat -c %s audio.raw)
sleep 1
loud=$(rms "$from" 176400)
xdotool key m
sleep 0.5
from=$(stat -c %s audio.raw)
sleep 1
quiet=$(rms "$from" 176400)
echo "   RMS before M: $loud, after: $quiet"
awk -v r="$loud" 'BEGIN {exit !(r > 0.005)}' || fail "no sound before M"
awk -v r="$quiet" 'BEGIN {exit !(r == 0)}' || fail "sound after M"

step "F11 again, close, and start again: fullscreen and muted"
xdotool key F11
eventually 5 sized 1920x1200 || fail "F11 left the window at $(geometry)"
close
grep -qx "mute=true" assets/settings.ini && grep -qx "fullscreen=true" assets/settings.ini ||
    fail "settings.ini: $(cat assets/settings.ini)"
rm -f audio.raw
launch
eventually 5 sized 1920x1200 || fail "restarted at $(geometry), not fullscreen"
sleep 1
quiet=$(rms 1 176400)
awk -v r="$quiet" 'BEGIN {exit !(r == 0)}' || fail "restarted with sound ($quiet)"
close
echo "desktop session passed"
