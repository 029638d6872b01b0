#!/usr/bin/env bash
# A new player's first run, in the real game under a real X server: the controls on the title and on
# the first game's card; Options opened with the mouse and walked with the keyboard alone (the music
# to 0, "move up" onto I); the title then silent on SDL's disk audio while effects are still heard;
# a click on Options' Back starts nothing; the first game waits behind its card;
# arrows and Space strike without the mouse; I moves the ghost and W does not, after a restart too; reset
# brings W back; Japanese from LANG alone, and a change of language in Options that shows at once and is
# kept. With "languages" as the fourth argument, instead: German, Chinese and Russian from settings.ini,
# their title, Options and card kept as screenshots (no timing in it: it may run beside other tests).
# Usage: options_session.sh GAME_BINARY ASSETS_DIR SHOTS_DIR [languages]
game=$1 assets=$2 shots=$3 part=${4:-session}
. "$(dirname "$0")/xvfb-lib.sh"

work=$(mktemp -d)
trap 'stop_xvfb; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$shots"
link_assets "$assets" "$work"
start_xvfb
cd "$work"

step() { echo "== $*"; }
fail() { echo "FAILED: $*"; cat game.log; exit 1; }
shot() { import -window "$id" "$shots/options-$1.png"; }
pixels() { compare -metric AE -fuzz 8% "$shots/options-$1.png" "$shots/options-$2.png" null: 2>&1 | cut -d' ' -f1; }
# ink NAME WxH+X+Y: the share of light pixels in that part of a screenshot.
ink() { convert "$shots/options-$1.png" -crop "$2" -colorspace Gray -threshold 50% -format "%[fx:mean]" info:; }
move() { xdotool mousemove --window "$id" "$1" "$2"; }
click() { move "$1" "$2"; sleep 0.2; press; sleep 0.5; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.08; done; }
hold() { xdotool keydown "$1"; sleep 0.5; xdotool keyup "$1"; sleep 0.3; }
# moves KEY: holding KEY scrolls the world (the camera follows the ghost).
moves() {
    shot before
    hold "$1"
    shot after
    local n
    n=$(pixels before after)
    echo "   $1: $n pixels changed"
    [ "${n%.*}" -ge 12000 ]
}
# grid_rows NAME X: the rows where the world grid's grey crosses column X: where the camera, which
# follows the ghost, has put the grid.
grid_rows() {
    convert "$shots/options-$1.png" -crop "1x720+$2+0" +repage -depth 8 txt:- |
        awk -F'[ ,:()]+' '$3 == 128 && $4 == 128 && $5 == 128 {printf "%s ", $2}'
}
# stays KEY: holding KEY leaves the grid where it was. The pixel count of moves cannot say so: the first
# wave, 3 s into a game, changes tens of thousands of pixels by itself. An enemy may cross one column.
stays() {
    shot before
    hold "$1"
    shot after
    local x same=0 rows
    for x in 20 330 950 1260; do
        rows=$(grid_rows before "$x")
        [ -n "$rows" ] && [ "$rows" = "$(grid_rows after "$x")" ] && same=$((same + 1))
    done
    echo "   $1: the grid stayed in $same of 4 columns"
    [ "$same" -ge 3 ]
}
audio_at() { stat -c %s audio.raw; }
# rms FROM TO: the loudness of the audio written between two byte offsets.
rms() {
    tail -c +"$(($1 + 1))" audio.raw | head -c "$(($2 - $1))" >segment.raw
    sox -t raw -r 44100 -e signed -b 16 -c 2 segment.raw -n stat 2>&1 | awk '/RMS     amplitude/ {print $3}'
}
launch() {
    SDL_AUDIO_DRIVER=disk SDL_AUDIO_DISK_OUTPUT_FILE="$work/audio.raw" \
        env ${MOONVALE_GAME_PRELOAD:+LD_PRELOAD="$MOONVALE_GAME_PRELOAD"} "$game" >>"$work/game.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || fail "no window"
    sleep 1
}
quit() {
    click 1230 690 # Back
    click 840 560  # Quit
    wait_for_exit "$pid" 15 || fail "the game did not quit"
    pid=
}

launch
step "the title shows the controls"
move 640 300
has_ink() { shot "$1" && awk -v i="$(ink "$1" "$2")" -v least="$3" 'BEGIN {exit !(i > least)}'; }
opened() { shot screen && [ "$(pixels title screen)" -ge 100000 ]; }
eventually 5 has_ink title 900x24+190+80 0.03 || fail "no controls on the title"

if [ "$part" = languages ]; then
    kill "$pid" # SDL makes the signal a quit
    wait_for_exit "$pid" 15 || fail "the game did not quit"
    pid=
    for language in de zh_CN ru; do
        step "the language in settings.ini: $language"
        printf 'language=%s\n' "$language" >assets/settings.ini
        launch
        grep -q "Language: $language (chosen in Options)" game.log || fail "$language not taken from settings.ini"
        move 640 300
        eventually 5 has_ink "$language-title" 900x24+190+80 0.03 || fail "no title in $language"
        [ "$(pixels title "$language-title")" -ge 2000 ] || fail "the $language title reads as the English one"
        click 640 620
        eventually 5 opened || fail "Options did not open in $language"
        shot "$language-options"
        keys Escape
        click 440 560
        eventually 5 has_ink "$language-card" 500x120+390+490 0.02 || fail "no card in $language"
        kill "$pid"
        wait_for_exit "$pid" 15 || fail "the game did not quit"
        pid=
    done
    echo "languages on screen passed"
    exit 0
fi

step "Options opened with the mouse, walked with the keyboard"
click 640 620
eventually 5 opened || fail "Options did not open"
keys Down Left Left Left Left Left Left Left Left Left Left # music volume 100 -> 0
keys Down Down Down Down Down Return Return i                # the keys' page; Move up -> I
keys Escape
grep -qx "music_volume=0" assets/settings.ini && grep -qx "key_up=I" assets/settings.ini ||
    fail "settings.ini: $(cat assets/settings.ini)"

step "a human-paced click on Back closes Options and nothing else"
click 640 620
eventually 5 opened || fail "Options did not open again"
move 440 376
sleep 0.2
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
closed() { shot screen && [ "$(pixels title screen)" -lt 100000 ]; }
eventually 5 closed || fail "Back did not close Options"
sleep 1 # a game started by the release would have named its seed by now
grep -q "Game seed" game.log && fail "the release under Options' Back started a game"

step "the title is silent with the music at 0"
sleep 1 # past the hover sound of the button under the pointer
from=$(audio_at)
sleep 1.5
title_rms=$(rms "$from" "$(audio_at)")
echo "   title RMS $title_rms"
awk -v r="$title_rms" 'BEGIN {exit !(r < 0.0005)}' || fail "music heard at volume 0"

step "the first game opens with the card"
click 440 560
eventually 5 has_ink card 500x120+390+490 0.02 || fail "no card in the first game"

step "the world waits behind the card, past the first wave's time"
sleep 4
shot card-a
sleep 1
shot card-b
[ "$(pixels card-a card-b)" -le 500 ] || fail "the game went on behind the card"

step "I moves the ghost, W does not"
keys x # closes the card
stays w || fail "W still moves the ghost"
moves i || fail "I does not move the ghost"

step "no mouse from here: arrows aim, Space strikes and is heard"
xdotool keydown Right
sleep 0.25
xdotool keyup Right
shot aimed
from=$(audio_at)
keys space
sleep 0.6
strike_rms=$(rms "$from" "$(audio_at)")
echo "   strike RMS $strike_rms"
awk -v r="$strike_rms" 'BEGIN {exit !(r > 0.005)}' || fail "the strike was not heard"
shot strike
[ "$(pixels aimed strike)" -ge 500 ] || fail "no strike to be seen"
quit

step "after a restart: I still moves; reset from the pause brings W back"
launch
click 440 560
moves i || fail "I was not kept"
keys Escape
click 960 690 # Options, shown while paused
keys Up Up Return Escape Escape
grep -qx "key_up=I" assets/settings.ini && fail "reset kept key_up: $(cat assets/settings.ini)"
moves w || fail "W does not move the ghost after reset"
quit


step "Japanese from LANG alone; the Language row changes it at once, and for good"
rm -f assets/settings.ini
export LANG=ja_JP.UTF-8
launch
grep -q "Language: ja (the system's)" game.log || fail "Japanese not taken from LANG"
move 640 300
eventually 5 has_ink ja-title 900x24+190+80 0.03 || fail "no title in Japanese"
[ "$(pixels title ja-title)" -ge 2000 ] || fail "the Japanese title reads as the English one"
click 640 620
eventually 5 opened || fail "Options did not open in Japanese"
shot ja-options
keys Up Up Up Up Up Right # from the first row up past the board's two rows to Language, then the next language: Korean
shot ko-options
[ "$(pixels ja-options ko-options)" -ge 2000 ] || fail "Options did not change language at once"
grep -qx "language=ko" assets/settings.ini || fail "settings.ini: $(cat assets/settings.ini)"
keys Escape
click 840 560 # Quit
wait_for_exit "$pid" 15 || fail "the game did not quit"
launch
[ "$(grep -c "Language: ko (chosen in Options)" game.log)" -ge 2 ] || fail "Korean not kept after a restart"
click 840 560
wait_for_exit "$pid" 15 || fail "the game did not quit"
pid=

if grep -q "Failed" game.log; then fail "the game could not load an asset"; fi
echo "options session passed"
