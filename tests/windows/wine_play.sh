#!/usr/bin/env bash
# The Windows zip as a Windows player gets it, run with Wine under Xvfb: unpacked into a scratch folder,
# Moonvale.exe opens a window titled Moonvale, Start changes the screen, a strike lands, Back saves a
# 4-byte score, and a window-manager close ends it with 0; the games recorded on Linux play again the same.
# With MOONVALE_BOARD_SERVER and MOONVALE_GAME set, the game is the day's run, sent through WinHTTP to a
# real board on 127.0.0.1 (verifying with the Linux game), which ranks it.
# Usage: wine_play.sh ZIP WM_CLOSE_BINARY SHOTS_DIR RECORDED_GAMES_DIR
set -euo pipefail
zip=$(realpath "$1") wm_close=$2 shots=$3 recorded=$(realpath "$4")
. "$(dirname "$0")/../e2e/xvfb-lib.sh"

# A Wine prefix is made once (wineboot) and kept outside the checkout.
export WINEPREFIX=${MOONVALE_WINE_PREFIX:-/var/cache/moonvale-test/wine-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
step() { echo "== $*"; }
fail() { echo "FAILED: $*"; cat "$work/game.log" 2>/dev/null | grep -v "^ALSA" | tail -20; exit 1; }
work=$(mktemp -d)
trap 'kill ${pid:-} ${board_pid:-} 2>/dev/null || true; wineserver -k 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
# A command that fails outside a check says which, with the game's last words.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND"; grep -v "^ALSA" "$work/game.log" 2>/dev/null | tail -20' ERR
start_xvfb
if [ ! -f "$WINEPREFIX/.complete" ]; then
    step "make the Wine prefix in $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX" && mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || fail "wineboot"
    wineserver -w
    touch "$WINEPREFIX/.complete"
fi

step "unzip $(basename "$zip")"
(cd "$work" && unzip -q "$zip")
game=$(ls -d "$work"/moonvale-*-windows-x64)
[ -f "$game/Moonvale.exe" ] && [ -f "$game/README.txt" ] && [ -d "$game/licences" ] || fail "the zip lacks files"

shot() { import -window "$id" "$shots/wine-$1.png"; }
pixels() { compare -metric AE -fuzz 8% "$shots/wine-$1.png" "$shots/wine-$2.png" null: 2>&1 | cut -d' ' -f1; }
click() { xdotool mousemove --window "$id" "$1" "$2"; sleep 0.3; press; sleep 0.5; }
mkdir -p "$shots"

board= start_y=560
if [ -n "${MOONVALE_BOARD_SERVER:-}" ]; then
    port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    board=http://127.0.0.1:$port start_y=620
    "$MOONVALE_BOARD_SERVER" --data "$work" --port "$port" --verifier "$MOONVALE_GAME" --verify-memory-mb 0 \
        >"$work/board.log" 2>&1 &
    board_pid=$!
    for _ in $(seq 100); do curl -sf "$board/v1/health" >/dev/null && break; sleep 0.1; done
    printf 'board_url=%s\nboard_send=true\nboard_name=WineTester\n' "$board" >"$game/assets/settings.ini"
fi

step "start Moonvale.exe from another folder"
# Through cmd, so the game has a console to write its log to.
exe=$(winepath -w "$game/Moonvale.exe")
(cd "$work" && wine cmd /c "$exe" >"$work/game.log" 2>&1) &
pid=$!
id=$(wait_for_window Moonvale) || fail "no window titled Moonvale"
sleep 2
shot title
click 440 $start_y # START, or DAILY for the board's run
sleep 1
shot game
[ "$(pixels title game)" -ge 20000 ] || fail "Start did not change the screen"
xdotool key x # closes the first game's card, behind which the world waits

step "a strike after the cool-down"
xdotool mousemove --window "$id" 900 250
sleep 2
shot before-strike
press
sleep 0.3
shot strike
[ "$(pixels before-strike strike)" -ge 2000 ] || fail "no strike was seen"

step "Back saves the score; the window manager's close ends the game"
click 1230 690
if [ -n "$board" ]; then
    step "the day's run went through WinHTTP to the board, which ranked it"
    ranked() { curl -sf "$board/v1/boards/$(date -u +%F)" | grep -q '"name":"WineTester"'; }
    eventually 60 ranked || { cat "$work/board.log"; fail "the board has no run from Windows"; }
    heard() { grep -q "Board: the daily run of .* is verified: score .*, 1 of 1" "$game/moonvale.log"; }
    eventually 10 heard || fail "the Windows game did not hear its rank"
fi
"$wm_close" "$id"
code=0
wait_for_exit "$pid" 15 || code=$?
pid=
[ "$code" -eq 0 ] || fail "Moonvale.exe exited with $code"
[ "$(stat -c %s "$game/assets/score.dat" 2>/dev/null)" = 4 ] || fail "assets/score.dat is not 4 bytes"
grep -q "APP INFO: Moonvale .* on Windows" "$game/moonvale.log" || fail "no moonvale.log beside Moonvale.exe"
# Wine's OpenGL is this machine's llvmpipe: the game must have asked it and chosen software.
grep -q "^Renderer: software, not OpenGL: OpenGL here is llvmpipe" "$work/game.log" || fail "renderer choice"

step "the games recorded on Linux verify alike"
for name in strikes falls assisted; do
    (cd "$work" && wine cmd /c "$exe" --verify "$(winepath -w "$recorded/$name.mvr")") >"$work/verify.log" 2>&1 ||
        { cat "$work/verify.log"; fail "$name.mvr did not verify"; }
    grep "matches the recording" "$work/verify.log" || fail "$name.mvr: no verdict"
done
echo "played under Wine: window, Start, strike, score saved, log kept, exit 0, recorded games verified"
