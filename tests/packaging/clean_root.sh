#!/usr/bin/env bash
# The package on a player's machine: a minimal Debian root (12 or 13) that has nothing but what apt
# installs for the package's declared dependencies. Installs it, plays under the host's Xvfb, upgrades
# it over a kept high score, purges it, and checks that nothing of it is left.
# Usage: clean_root.sh SUITE PACKAGE.deb WM_CLOSE_BINARY SHOTS_DIR
set -euo pipefail
suite=$1 deb=$(realpath "$2") wm_close=$3 shots=$4
. "$(dirname "$0")/root-lib.sh"

# Every path in the root, minus what apt, dpkg and the logs keep about themselves and the player's home.
file_list() {
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./home -o \
        -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/cache -o -path ./var/log \
        -o -path ./etc/resolv.conf \) -prune -o -print | sort)
}
score() { od -An -tu4 -N4 "$root$score_file" | tr -d ' '; }

step "a clean $suite root"
enter_root "$suite"
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
[ "$(as_player /usr/games/moonvale --version)" = "Moonvale $version" ] || fail "/usr/games/moonvale --version"

step "play: Start, Back (the score is saved), close the window"
play /usr/games/moonvale
mkdir -p "$shots" && import -window "$id" "$shots/clean-root-$suite-title.png"
start_back_close "$wm_close"
check_score_saved

step "upgrade over a high score of 4242"
printf '\x92\x10\x00\x00' >"$root$score_file"
dpkg-deb -R "$deb" "$work/repack"
sed -i "s/^Version: .*/Version: $version+1/" "$work/repack/DEBIAN/control"
dpkg-deb -b "$work/repack" "$root/tmp/moonvale-upgrade.deb" >/dev/null
in_root apt-get install -y -q "/tmp/moonvale-upgrade.deb" >"$work/upgrade.log" 2>&1 ||
    { tail -n 30 "$work/upgrade.log"; fail "the upgrade"; }
[ "$(in_root dpkg-query -W -f '${Version}' moonvale)" = "$version+1" ] || fail "not upgraded"
play /usr/games/moonvale
start_back_close "$wm_close"
[ "$(score)" = 4242 ] || fail "the high score is $(score) after the upgrade, not 4242"

step "apt-get purge moonvale, then autoremove what it pulled in"
in_root apt-get purge -y -q moonvale >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "purge"; }
while read -r f; do
    [ "$f" = /. ] || [ -d "$root$f" ] || [ ! -e "$root$f" ] || fail "$f is still there after the purge"
done <<<"$dpkg_files"
in_root apt-get autoremove --purge -y -q >>"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "autoremove"; }
file_list >"$work/files-after"
diff -u "$work/files-before" "$work/files-after" || fail "the root's files differ from before the install"
echo "$suite: installed with apt, played, upgraded with the high score kept, purged without a trace"
