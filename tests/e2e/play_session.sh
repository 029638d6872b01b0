#!/usr/bin/env bash
# The real game under a real X server, driven with real X input the way a player would, checked from
# outside: exit code and time after Quit, the score file, screenshots, and the mixed audio.
# In a 16:9 window with MOONVALE_BOARD_SERVER set, the game is the day's run with a real board on
# 127.0.0.1 set: left by Back, the title asks whether to send it and under which name (a refused name says
# why; with the board down, a Japanese one is taken as typed and the run waits on disk while the game
# plays on), the board, back up, gets it once, plays it again and ranks it, and the title shows the rank;
# the next day, the game watches that run from the board, and Options has the board forget the player.
# Then a game killed with SIGKILL offers to continue where it was last kept, and does so.
# Usage: play_session.sh GAME_BINARY ASSETS_DIR SHOTS_DIR [WIDTHxHEIGHT]
game=$1 assets=$2 shots=$3 shape=${4:-}
. "$(dirname "$0")/xvfb-lib.sh"

work=$(mktemp -d)
trap 'stop_xvfb; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; [ -n "${board_pid:-}" ] && kill "$board_pid"; rm -rf "$work"' EXIT
mkdir -p "$work/assets" "$shots"
for f in "$assets"/*; do [ "$(basename "$f")" = score.dat ] || ln -s "$f" "$work/assets/"; done
start_xvfb
board=
if [ -z "$shape" ] && [ -n "${MOONVALE_BOARD_SERVER:-}" ]; then
    port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    board=http://127.0.0.1:$port
    # start_board [--pretend-now TIME]: the board on its port and data, once it answers.
    start_board() {
        "$MOONVALE_BOARD_SERVER" --data "$work" --port "$port" --verifier "$game" --verify-memory-mb 0 "$@" \
            >>"$work/board.log" 2>&1 &
        board_pid=$!
        for _ in $(seq 100); do curl -sf "$board/v1/health" >/dev/null && break; sleep 0.1; done
    }
    stop_board() {
        kill "$board_pid"
        wait "$board_pid" 2>/dev/null || true
    }
    start_board
    printf 'board_url=%s\n' "$board" >"$work/assets/settings.ini"
    # The Japanese name's letters on keys of their own before the game reads the keymap: typed through
    # xdotool's remapping of one spare key, a letter now and then arrives under the last one's mapping.
    xmodmap -e "keycode 202 = U3086" -e "keycode 217 = U3046" -e "keycode 219 = U308C" -e "keycode 222 = U3044"
fi

step() { echo "== $*"; }
fail() { echo "FAILED: $*"; exit 1; }
shot() { import -window "$id" "$shots/$1.png"; }
# differs A B MIN: the two screenshots differ in at least MIN pixels.
differs() {
    local n
    n=$(compare -metric AE -fuzz 8% "$shots/$1.png" "$shots/$2.png" null: 2>&1 | cut -d' ' -f1)
    echo "   $1 vs $2: $n pixels differ"
    [ "${n%.*}" -ge "$3" ]
}
same() {
    local n
    n=$(compare -metric AE -fuzz 8% "$shots/$1.png" "$shots/$2.png" null: 2>&1 | cut -d' ' -f1)
    echo "   $1 vs $2: $n pixels differ"
    [ "${n%.*}" -le "$3" ]
}

# grid_and_stars NAME: "ROWS COLUMNS STARS" in the part of a 1000x800 window's game screen left of the
# ghost and above the card: the horizontal and vertical grid lines crossing it, and the lit pixels off
# those lines (the stars).
grid_and_stars() {
    convert "$shots/$1.png" -crop 300x290+0+180 +repage -depth 8 txt:- | awk -F'[ ,:()]+' '
        NR > 1 && ($3 > 24 || $4 > 24 || $5 > 24) { lit[$1, $2] = 1; row[$2]++; col[$1]++ }
        END {
            for (y = 0; y < 290; y++) if (row[y] > 150) { grid_row[y] = 1; rows += !grid_row[y - 1] }
            for (x = 0; x < 300; x++) if (col[x] > 145) { grid_col[x] = 1; cols += !grid_col[x - 1] }
            for (p in lit) { split(p, xy, SUBSEP); if (!grid_row[xy[2]] && !grid_col[xy[1]]) stars++ }
            printf "%d %d %d\n", rows, cols, stars }'
}

# Logical canvas point to window point, for the letterboxed 1280 x 720 canvas in a w x h window.
scale=1 left=0 top=0
to_window() { awk -v x="$1" -v y="$2" -v s="$scale" -v l="$left" -v t="$top" 'BEGIN {printf "%d %d", l + x * s, t + y * s}'; }
move() { xdotool mousemove --window "$id" $(to_window "$1" "$2"); }
click() { move "$1" "$2"; sleep 0.15; press; }

cd "$work"
SDL_AUDIO_DRIVER=disk SDL_AUDIO_DISK_OUTPUT_FILE="$work/audio.raw" \
    env ${MOONVALE_GAME_PRELOAD:+LD_PRELOAD="$MOONVALE_GAME_PRELOAD"} "$game" >"$work/game.log" 2>&1 &
pid=$!
id=$(wait_for_window Moonvale) || fail "no window"
if [ -n "$shape" ]; then
    step "resize the window to $shape, not 16:9"
    # After the game's first frames, which set the aspect ratio and with it the window size once.
    sleep 1
    for _ in 1 2 3; do
        xdotool windowsize "$id" "${shape%x*}" "${shape#*x}"
        sleep 0.5
        read -r ww wh < <(xdotool getwindowgeometry "$id" | awk '/Geometry/ {split($2, g, "x"); print g[1], g[2]}')
        [ "${ww}x${wh}" = "$shape" ] && break
    done
    [ "$ww" = "${shape%x*}" ] && [ "$wh" = "${shape#*x}" ] || fail "window is ${ww}x${wh}"
    read -r scale left top < <(awk -v w="$ww" -v h="$wh" 'BEGIN {
        s = w / 1280; if (h / 720 < s) s = h / 720; printf "%f %f %f\n", s, (w - 1280 * s) / 2, (h - 720 * s) / 2 }')
    tag="-$shape"
fi
tag=${tag:-}
sleep 1

# START, or DAILY below it for the board's run.
start_y=560 start_name=Start
[ -n "$board" ] && start_y=620 start_name=DAILY
step "title: hover and click $start_name"
move 640 300
sleep 0.3
shot "title$tag"
move 440 $start_y
sleep 0.3
shot "title-hover$tag"
differs "title$tag" "title-hover$tag" 100 || fail "hovering the button changed nothing"
click 440 $start_y
started() { shot "main$tag" && differs "title$tag" "main$tag" 20000; }
eventually 5 started || fail "Start did not open the game"
xdotool key x # closes the first game's card: the world waits behind it, its stars not yet lit
sleep 0.3
shot "main$tag"
if [ "$shape" = 1000x800 ]; then
    step "below scale 1 the grid and the stars are all there"
    read -r rows cols stars < <(grid_and_stars "main$tag")
    echo "   $rows grid rows, $cols grid columns, $stars star pixels"
    [ "$rows" -ge 3 ] && [ "$cols" -ge 3 ] && [ "$stars" -ge 20 ] || fail "the grid or the stars are missing"
fi

if [ -z "$shape" ]; then
    # Quick, before the first wave can reach the ghost: waves come at 3 s and enter a second later.
    step "hold D and W"
    xdotool keydown d keydown w
    sleep 1
    xdotool keyup d keyup w
    shot moved
    differs main moved 2000 || fail "the world did not move"

    step "cast after the cool-down"
    move 900 300
    sleep 0.8
    press
    sleep 0.2
    shot strike
    differs moved strike 500 || fail "no thunder strike"

    step "wait for the first wave"
    sleep 1
    shot waves
    differs strike waves 2000 || fail "no wave appeared"

    step "pause and resume"
    click 1050 690
    sleep 0.3
    shot paused-a
    sleep 1
    shot paused-b
    same paused-a paused-b 2500 || fail "the world moved while paused"
    differs waves paused-a 1000 || fail "the pause button did nothing"
    click 1050 690
    sleep 0.3

    step "hold the right button for slow motion"
    move 700 300
    xdotool mousedown 3
    sleep 1
    xdotool mouseup 3
fi

step "Back to the title"
click 1230 690
back() { shot "back$tag" && differs "main$tag" "back$tag" 20000; }
eventually 5 back || fail "Back did not return to the title"

if [ -n "$board" ]; then
    step "the title asks about the board; a refused name says why, a Japanese one is taken"
    asked() { grep -q "Board: asking the player whether daily runs go to $board" game.log; }
    eventually 10 asked || fail "the title did not ask about the board"
    sleep 0.3
    shot board-asked
    xdotool key --repeat 16 --delay 20 BackSpace
    xdotool type --delay 50 "x"
    xdotool key Return
    refused() { grep -q "Board: the name typed is refused: name refused: " game.log; }
    eventually 10 refused || fail "a one-letter name was not refused"
    sleep 0.3
    shot board-refused
    differs board-asked board-refused 200 || fail "the refusal is not on screen"
    step "with the board down, a Japanese name is taken as typed and the run waits; the game plays on"
    stop_board
    xdotool key BackSpace
    xdotool type --delay 250 "ゆうれい"
    xdotool key Return
    agreed() { grep -q "Board: the player sends daily runs as ゆうれい" game.log; }
    eventually 10 agreed || { grep Board game.log; fail "the Japanese name was not taken"; }
    grep -qx "board_send=true" assets/settings.ini && grep -qx "board_name=ゆうれい" assets/settings.ini ||
        fail "settings.ini: $(cat assets/settings.ini)"
    waits() { grep -q "Board: the daily run of .* waits" game.log && ls assets/board-queue/*.mvr >/dev/null 2>&1; }
    eventually 10 waits || fail "the run does not wait on disk for the board"
    move 640 300
    sleep 0.3
    shot title-offline
    move 440 560
    hovered() { shot title-offline-hover && differs title-offline title-offline-hover 100; }
    eventually 5 hovered || fail "the title did not answer while the board was down"
    move 640 300
    start_board

    step "back up, the board gets the run once, plays it again and ranks it"
    ranked() { curl -sf "$board/v1/boards/$(date -u +%F)" | grep -q '"total":1'; }
    eventually 60 ranked || { cat board.log; fail "the board has no verified run"; }
    curl -sf "$board/v1/boards/$(date -u +%F)"
    echo
    curl -sf "$board/v1/boards/$(date -u +%F)" | grep -q '"name":"ゆうれい"' || fail "the board has another name"
    heard() { grep -q "Board: the daily run of .* is verified: score .*, 1 of 1" game.log; }
    eventually 10 heard || fail "the game did not hear its rank"
    [ "$(grep -c "Board: the daily run of .* was sent" game.log)" = 1 ] && ! ls assets/board-queue/*.mvr 2>/dev/null ||
        fail "the run was not sent exactly once"
    step "the title shows the board with the player's place"
    placed() { grep -q "Board: the title shows the player 1 of 1 today" game.log; }
    eventually 10 placed || fail "the title does not show the player's place"
    sleep 0.3
    shot title-board
    grep "Board: today's listing" game.log
fi

step "Quit"
move 840 560
sleep 0.3
press
code=0
start=$(date +%s.%N)
wait_for_exit "$pid" 15 || code=$?
pid=
elapsed=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.2f", b - a}')
echo "   exited with $code after ${elapsed}s"
[ "$code" -eq 0 ] || fail "exit code $code (124: still running 15 s after Quit)"

step "check the score file and the sound"
[ "$(stat -c %s assets/score.dat)" = 4 ] || fail "assets/score.dat is not 4 bytes"
bytes=$(stat -c %s audio.raw)
peak=$(sox -t raw -r 44100 -e signed -b 16 -c 2 audio.raw -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 audio.raw -n stat 2>&1 | awk '/RMS     amplitude/ {print $3}')
echo "   audio: $bytes bytes, peak $peak, RMS $rms"
awk -v r="$rms" 'BEGIN {exit !(r > 0.01)}' || fail "the game was silent"
if grep -q "Failed" game.log; then cat game.log; fail "the game could not load an asset"; fi
step "the game's replay, played again without a window, comes out the same here and on another build"
grep "Replay of this game" game.log || fail "the log names no replay"
for verifier in "$game" ${MOONVALE_VERIFY_WITH:-}; do
    "$verifier" --verify assets/last.mvr || fail "assets/last.mvr did not verify with $verifier"
done
if [ -n "$board" ]; then
    step "the next day the run is shared: the game watches the day's best from the board (--watch DATE/1)"
    day=$(date -u +%F)
    stop_board
    start_board --pretend-now "$(date -u -d "$day + 1 day" +%F)T00:30:00Z"
    SDL_AUDIO_DRIVER=dummy "$game" --watch "$day/1" >"$work/watch.log" 2>&1 &
    pid=$!
    watching() { grep -q "Watching a run from the board: seed ${day//-/}" watch.log; }
    eventually 20 watching || { cat watch.log; fail "the day's best was not watched from the board"; }

    step "back on the title, Options' \"Forget me on the board\", chosen twice, erases the player's runs"
    id=$(wait_for_window Moonvale) || fail "no window for the watched run"
    xdotool key Escape # back to the title, as the run was watched from there
    sleep 0.5
    click 640 620 # Options
    sleep 0.5
    for k in Up Up Up Return Return; do xdotool key "$k"; sleep 0.1; done # from the first row up to Forget
    forgot() { grep -q "Board: the board forgot the player (1 runs erased); a new key is made" watch.log; }
    eventually 10 forgot || { grep Board watch.log; fail "the board did not forget the player"; }
    curl -sf "$board/v1/boards/$day" | grep -q '"total":0' || fail "the player's run is still on the board"
    kill "$pid"
    wait_for_exit "$pid" 15 || fail "the watching game did not end"
    pid=
fi
if [ -z "$shape" ]; then
    step "a game killed with SIGKILL goes on where it was last kept: CONTINUE, paused, then to its end"
    [ ! -e assets/run.mvr ] || fail "a game left by Back left its run behind"
    SDL_AUDIO_DRIVER=dummy "$game" >"$work/killed.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || fail "no window for the game to kill"
    sleep 0.5
    click 440 560
    xdotool keydown a
    kept() { grep -q "The run in progress is kept in assets/run.mvr" killed.log; }
    eventually 15 kept || { cat killed.log; fail "the run in progress was not kept"; }
    xdotool keyup a
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    cp assets/run.mvr kept.mvr
    hash=$("$game" --verify kept.mvr | sed -n 's/.*state hash \([0-9a-f]*\): matches the recording$/\1/p')
    [ -n "$hash" ] || fail "the kept run does not verify"
    SDL_AUDIO_DRIVER=dummy "$game" >"$work/continued.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || fail "no window after the kill"
    offered() { grep -q "A run in progress is kept (seed .*): CONTINUE goes on with it" continued.log; }
    eventually 10 offered || { cat continued.log; fail "the title does not offer the kept run"; }
    sleep 0.5
    shot title-continue
    click 240 560
    restored() { grep -q "Continued the run in progress: .* state hash $hash as kept" continued.log; }
    eventually 10 restored || { cat continued.log; fail "the run did not continue where it was kept ($hash)"; }
    sleep 0.5
    shot continued-a
    sleep 1
    shot continued-b
    same continued-a continued-b 2500 || fail "the continued run did not wait paused"
    xdotool key Escape
    over() { grep -q "Replay of this game" continued.log; }
    eventually 60 over || fail "the continued run did not reach its end"
    [ ! -e assets/run.mvr ] || fail "the run in progress outlived the game's end"
    kill "$pid"
    wait_for_exit "$pid" 15 || fail "the game did not end"
    pid=
    "$game" --verify assets/last.mvr | tee verified.txt || fail "the continued game does not verify as one"
    frames() { sed -n 's/.*, \([0-9]*\) frames.*/\1/p' "$1"; }
    "$game" --verify kept.mvr >kept.txt
    [ "$(frames verified.txt)" -gt "$(frames kept.txt)" ] || fail "last.mvr is not the whole game"
fi
# Xvfb's OpenGL is llvmpipe: the game must have chosen SDL's software renderer by itself.
grep -q "^Renderer: software, not OpenGL" game.log || fail "the software renderer was not chosen"
echo "end-to-end session passed$tag"
