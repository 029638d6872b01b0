#!/usr/bin/env bash
# The real game twice in a scratch folder, on SDL's dummy drivers: each run's moonvale.log opens with
# what a bug report needs and the run before is kept as moonvale.log.1. Then in a folder nobody may
# write to, as nobody: no log, and the game plays all the same.
# Usage: log_file.sh GAME_BINARY ASSETS_DIR
game=$1 assets=$2
. "$(dirname "$0")/xvfb-lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
link_assets "$assets" "$work"
fail() { echo "FAILED: $*"; exit 1; }
# run GAME ARGS...: two seconds of play, then Ctrl+C, which the game takes as a quit.
run() {
    (cd "$work" && SDL_VIDEO_DRIVER=dummy SDL_AUDIO_DRIVER=dummy timeout -s INT 2 "$@") || [ $? -eq 124 ] ||
        fail "exit code $? from $*"
}
run "$game" --mute
run "$game" --windowed
cat "$work/moonvale.log"
for header in "^[0-9-]* [0-9:]* APP INFO: Moonvale [0-9.]* on Linux .*, SDL 3\.[0-9.]* .*; started as: moonvale --windowed$" \
    "APP INFO: Renderer: " "APP INFO: Video driver dummy, audio driver dummy; window 1280x720 on a [0-9]*x[0-9]* display$"; do
    grep -q "$header" "$work/moonvale.log" || fail "no line like \"$header\" in moonvale.log"
done
grep -q "started as: moonvale --mute$" "$work/moonvale.log.1" || fail "the first run's log was not kept"

# A copy nobody can reach and not write to (the build folder's parents may be closed to other users).
ro=$(mktemp -d)
trap 'rm -rf "$work" "$ro"' EXIT
cp "$game" "$ro/"
cp -rL "$assets" "$ro/assets"
rm -f "$ro/assets/score.dat" "$ro/assets/settings.ini"
chmod -R a+rX,a-w "$ro"
out=$(cd "$ro" && SDL_VIDEO_DRIVER=dummy SDL_AUDIO_DRIVER=dummy timeout -s INT 2 \
    setpriv --reuid=65534 --regid=65534 --clear-groups "./$(basename "$game")" 2>&1) || [ $? -eq 124 ] ||
    fail "exit code $? as nobody"
[ ! -e "$ro/moonvale.log" ] || fail "a log where nobody may write"
echo "$out" | grep -q "Cannot write the log file moonvale.log" || fail "no word of the missing log: $out"
echo "$out" | grep -q "Video driver dummy" || fail "the game did not come up: $out"
echo "log file checks passed"
