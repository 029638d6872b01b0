#!/usr/bin/env bash
# The package on a player's machine: a minimal Debian 12 root that has nothing but what apt installs
# for the package's declared dependencies. Installs it, plays under the host's Xvfb, upgrades it over a
# kept high score, purges it, and checks that nothing of it is left.
# Usage: clean_root.sh PACKAGE.deb WM_CLOSE_BINARY SHOTS_DIR
set -euo pipefail
deb=$(realpath "$1") wm_close=$2 shots=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/xvfb-lib.sh"
. "$here/../../scripts/apt-archive.sh"

# The bare root is made once and kept outside the checkout; each run plays in an overlay on top.
cache=${MOONVALE_TEST_CACHE:-/var/cache/moonvale-test}
base=$cache/bookworm-minbase
step() { echo "== $*"; }
fail() { echo "FAILED: $*"; exit 1; }

make_base() {
    [ -f "$base/.complete" ] && return
    local mirror security tmp
    mirror=$(archive_uri) && security=$(archive_uri bookworm-security) || exit 1
    step "debootstrap a minimal bookworm root into $base (once)"
    rm -rf "$base.tmp" && mkdir -p "$cache"
    debootstrap --variant=minbase bookworm "$base.tmp" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { tail -n 20 "$cache/debootstrap.log"; fail "debootstrap"; }
    printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n' \
        "$mirror" "$mirror" "$security" >"$base.tmp/etc/apt/sources.list"
    chroot "$base.tmp" useradd --create-home --uid 4242 player
    rm -rf "$base.tmp/var/cache/apt/archives/"*.deb
    touch "$base.tmp/.complete"
    mv "$base.tmp" "$base"
}

work=$(mktemp -d)
root=$work/root
mounted=()
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    stop_xvfb
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
bind() { mkdir -p "$2" && mount --bind "$1" "$2" && mounted+=("$2"); }

make_base
mkdir -p "$work"/{upper,overlay-work,root} "$cache/apt-archives/partial"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/overlay-work" "$root"
mounted+=("$root")
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
bind /dev "$root/dev"
bind "$cache/apt-archives" "$root/var/cache/apt/archives" # downloads kept for the next run
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
# Every path in the root, minus what apt, dpkg and the logs keep about themselves and the player's home.
file_list() {
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./home -o \
        -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/cache -o -path ./var/log \
        -o -path ./etc/resolv.conf \) -prune -o -print | sort)
}
score_file=$root/home/player/.local/share/moonvale/assets/score.dat
score() { od -An -tu4 -N4 "$score_file" | tr -d ' '; }

step "apt-get update in the root"
in_root apt-get update -q >"$work/update.log" 2>&1 || { cat "$work/update.log"; fail "apt-get update"; }
file_list >"$work/files-before"

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
    { tail -n 30 "$work/install.log"; fail "apt-get install"; }
for f in /usr/games/moonvale /usr/share/applications/moonvale.desktop /usr/share/man/man6/moonvale.6.gz \
    /usr/share/icons/hicolor/256x256/apps/moonvale.png /usr/share/doc/moonvale/copyright; do
    [ -e "$root$f" ] || fail "the package did not install $f"
done
dpkg_files=$(in_root dpkg-query -L moonvale)
# The launcher hands its arguments to the game.
version=$(dpkg-deb -f "$deb" Version)
[ "$(chroot --userspec=player:player "$root" env -i HOME=/home/player /usr/games/moonvale --version)" = \
    "Moonvale $version" ] || fail "/usr/games/moonvale --version"

start_xvfb
bind /tmp/.X11-unix "$root/tmp/.X11-unix"
# play SECONDS: starts the installed game as the player; sets pid and id.
play() {
    chroot --userspec=player:player "$root" env -i HOME=/home/player DISPLAY="$DISPLAY" \
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games /usr/games/moonvale >"$work/game.log" 2>&1 &
    pid=$!
    id=$(wait_for_window Moonvale) || { cat "$work/game.log"; fail "no window titled Moonvale"; }
    sleep 1
}
click() { xdotool mousemove --window "$id" "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.5; }
close_window() {
    "$wm_close" "$id"
    local code=0
    wait_for_exit "$pid" 5 || code=$?
    pid=
    [ "$code" -eq 0 ] || { cat "$work/game.log"; fail "the game exited with $code after a window-manager close"; }
}

step "play: Start, Back (the score is saved), close the window"
play
mkdir -p "$shots" && import -window "$id" "$shots/clean-root-title.png"
click 440 560
click 1230 690
close_window
[ -f "$score_file" ] || fail "no high score in the player's data folder"
[ "$(stat -c %s "$score_file")" = 4 ] || fail "the score file is not 4 bytes"
[ "$(stat -c %u "$score_file")" = 4242 ] || fail "the score file belongs to uid $(stat -c %u "$score_file"), not the player"

step "upgrade over a high score of 4242"
printf '\x92\x10\x00\x00' >"$score_file"
dpkg-deb -R "$deb" "$work/repack"
sed -i "s/^Version: .*/Version: $version+1/" "$work/repack/DEBIAN/control"
dpkg-deb -b "$work/repack" "$root/tmp/moonvale-upgrade.deb" >/dev/null
in_root apt-get install -y -q "/tmp/moonvale-upgrade.deb" >"$work/upgrade.log" 2>&1 ||
    { tail -n 30 "$work/upgrade.log"; fail "the upgrade"; }
[ "$(in_root dpkg-query -W -f '${Version}' moonvale)" = "$version+1" ] || fail "not upgraded"
play
click 440 560
click 1230 690
close_window
[ "$(score)" = 4242 ] || fail "the high score is $(score) after the upgrade, not 4242"

step "apt-get purge moonvale, then autoremove what it pulled in"
in_root apt-get purge -y -q moonvale >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "purge"; }
while read -r f; do
    [ "$f" = /. ] || [ -d "$root$f" ] || [ ! -e "$root$f" ] || fail "$f is still there after the purge"
done <<<"$dpkg_files"
in_root apt-get autoremove --purge -y -q >>"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "autoremove"; }
file_list >"$work/files-after"
diff -u "$work/files-before" "$work/files-after" || fail "the root's files differ from before the install"
echo "installed with apt, played, upgraded with the high score kept, purged without a trace"
