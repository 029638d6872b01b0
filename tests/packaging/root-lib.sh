# Shared by the tests that play the game inside a bare Debian root: the root is made once per release
# with debootstrap and kept outside the checkout; each run works in an overlay on top of it, plays as
# an ordinary user under the host's Xvfb, and leaves the cached root untouched.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../e2e/xvfb-lib.sh"
. "$here/base-root.sh"

step() { echo "== $*"; }
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
mounted=()
pid=
cleanup_roots() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    stop_xvfb
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    mounted=()
}
trap 'cleanup_roots; rm -rf "$work"' EXIT
bind() { mkdir -p "$2" && mount --bind "$1" "$2" && mounted+=("$2"); }

# enter_root SUITE: sets root to a fresh overlay over SUITE's cached root, with apt's index current
# and the host's X server reachable.
enter_root() {
    local suite=$1
    make_base "$suite"
    cleanup_roots
    root=$work/$suite/root
    mkdir -p "$work/$suite"/{upper,overlay-work,root} "$cache/apt-archives-$suite/partial"
    mount -t overlay overlay -o "lowerdir=$cache/$suite-minbase,upperdir=$work/$suite/upper,workdir=$work/$suite/overlay-work" "$root"
    mounted+=("$root")
    mount -t proc proc "$root/proc" && mounted+=("$root/proc")
    bind /dev "$root/dev"
    bind "$cache/apt-archives-$suite" "$root/var/cache/apt/archives" # downloads kept for the next run
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    in_root apt-get update -q >"$work/update.log" 2>&1 || { cat "$work/update.log"; fail "apt-get update"; }
    start_xvfb
    bind /tmp/.X11-unix "$root/tmp/.X11-unix"
}

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
# as_player COMMAND...: as the user, in /, with nothing of the host's environment but the display.
as_player() {
    chroot --userspec=player:player "$root" env -i HOME=/home/player DISPLAY="$DISPLAY" \
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games "$@"
}

# play COMMAND...: starts the game as the player; sets pid and id.
play() {
    as_player "$@" >"$work/game.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || { cat "$work/game.log"; fail "no window titled Moonvale"; }
    sleep 1
}
click() { xdotool mousemove --window "$id" "$1" "$2"; sleep 0.2; press; sleep 0.5; }
# close_window WM_CLOSE: as a window manager asks; the game must end with 0.
close_window() {
    "$1" "$id"
    local code=0
    wait_for_exit "$pid" 15 || code=$?
    pid=
    [ "$code" -eq 0 ] || { cat "$work/game.log"; fail "the game exited with $code after a window-manager close"; }
}
# start_back_close WM_CLOSE: Start, Back (which saves the score), close the window. A key first closes a
# first game's card, which would take the click.
start_back_close() {
    click 440 560
    xdotool key x
    sleep 0.3
    click 1230 690
    close_window "$1"
}
score_file=/home/player/.local/share/moonvale/assets/score.dat
# check_score_saved: a 4-byte high score in the player's data folder, owned by the player.
check_score_saved() {
    local f=$root$score_file
    [ -f "$f" ] || fail "no high score in the player's data folder"
    [ "$(stat -c %s "$f")" = 4 ] || fail "the score file is not 4 bytes"
    [ "$(stat -c %u "$f")" = 4242 ] || fail "the score file belongs to uid $(stat -c %u "$f"), not the player"
}
