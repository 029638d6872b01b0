#!/usr/bin/env bash
# The portable tarball on other distributions, as far as this machine can stand in for them: every
# binary in it asks for nothing newer than glibc 2.34 and for no library beyond the C library and its
# own; then, in a bare Debian 12 and a bare Debian 13 root with only the X client libraries and ALSA
# added, an ordinary user unpacks it in their home and plays from another folder.
# Usage: portable_roots.sh TARBALL WM_CLOSE_BINARY SHOTS_DIR
set -euo pipefail
tarball=$(realpath "$1") wm_close=$2 shots=$3
. "$(dirname "$0")/root-lib.sh"
name=$(basename "$tarball" .tar.gz)

step "what the binaries ask of the system"
mkdir -p "$work/unpacked" && tar -xzf "$tarball" -C "$work/unpacked"
newest=2.0
while read -r elf; do
    v=$(objdump -T "$elf" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -n 1)
    newest=$(printf '%s\n%s\n' "$newest" "${v:-2.0}" | sort -V | tail -n 1)
    [ "$(printf '%s\n2.34\n' "$v" | sort -V | tail -n 1)" = 2.34 ] ||
        fail "$(basename "$elf") needs glibc $v"
    for lib in $(objdump -p "$elf" | awk '/NEEDED/ {print $2}'); do
        case $lib in
        libc.so.6 | libm.so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | ld-linux-x86-64.so.2) ;;
        libSDL3*.so.0) [ -e "$(dirname "$elf")/$lib" ] || fail "$lib is not beside $(basename "$elf")" ;;
        *) fail "$(basename "$elf") needs $lib, which not every system has" ;;
        esac
    done
done < <(find "$work/unpacked" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF' sh {} \; -print)
echo "newest glibc symbol version: $newest"

for suite in bookworm trixie; do
    step "a clean $suite root with X client libraries and ALSA"
    enter_root "$suite"
    # libasound2 is virtual on 13 (libasound2t64): apt picks its one provider.
    in_root apt-get install -y -q --no-install-recommends libx11-6 libxext6 libxcursor1 libxi6 libxfixes3 \
        libxrandr2 libxss1 libasound2 >"$work/install.log" 2>&1 || { tail -n 30 "$work/install.log"; fail "apt"; }

    step "unpack into the player's home, make it read-only, play from /"
    cp "$tarball" "$root/tmp/"
    as_player mkdir /home/player/Games
    as_player tar -xzf "/tmp/$name.tar.gz" -C /home/player/Games
    game=/home/player/Games/$name
    as_player chmod -R a-w "$game"
    play "$game/moonvale"
    mkdir -p "$shots" && import -window "$id" "$shots/portable-$suite-title.png"
    start_back_close "$wm_close"
    check_score_saved
done
echo "the tarball played on Debian 12 and 13 as an ordinary user, needing glibc $newest"
