#!/usr/bin/env bash
# The portable tarball on other distributions, as far as this machine can stand in for them: every
# binary in it asks for nothing newer than glibc 2.34 and GCC 11's C++ runtime, and for no library
# beyond those and its own; then, in a bare Debian 12 and a bare Debian 13 root with only the X client libraries and ALSA
# added, an ordinary user unpacks it in their home and plays from another folder.
# Usage: portable_roots.sh TARBALL WM_CLOSE_BINARY SHOTS_DIR
set -euo pipefail
tarball=$(realpath "$1") wm_close=$2 shots=$3
. "$(dirname "$0")/root-lib.sh"
name=$(basename "$tarball" .tar.gz)

step "what the binaries ask of the system"
mkdir -p "$work/unpacked" && tar -xzf "$tarball" -C "$work/unpacked"
# newest ELF PREFIX: the highest symbol version with that prefix (GLIBC_, GLIBCXX_) the file asks for.
newest() { { objdump -T "$1" | grep -o "(${2}[0-9.]*)" || true; } | tr -d '()' | sed "s/$2//" | sort -V | tail -n 1; }
# at_most VERSION LIMIT: whether VERSION (maybe empty) is LIMIT or older.
at_most() { [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | tail -n 1)" = "$2" ]; }
glibc=0 glibcxx=0
while read -r elf; do
    v=$(newest "$elf" GLIBC_) && at_most "$v" 2.34 || fail "$(basename "$elf") needs glibc $v"
    at_most "$v" "$glibc" || glibc=$v
    v=$(newest "$elf" GLIBCXX_) && at_most "$v" 3.4.29 || fail "$(basename "$elf") needs GLIBCXX_$v"
    at_most "$v" "$glibcxx" || glibcxx=$v
    for lib in $(objdump -p "$elf" | awk '/NEEDED/ {print $2}'); do
        case $lib in
        libc.so.6 | libm.so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | ld-linux-x86-64.so.2) ;;
        libstdc++.so.6 | libgcc_s.so.1) ;;
        libSDL3*.so.0) [ -e "$(dirname "$elf")/$lib" ] || fail "$lib is not beside $(basename "$elf")" ;;
        *) fail "$(basename "$elf") needs $lib, which not every system has" ;;
        esac
    done
done < <(find "$work/unpacked" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF' sh {} \; -print)
echo "the newest symbol versions asked for: GLIBC_$glibc, GLIBCXX_$glibcxx"

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
echo "the tarball played on Debian 12 and 13 as an ordinary user, needing glibc $glibc"
