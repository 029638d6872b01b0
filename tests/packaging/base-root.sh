#!/usr/bin/env bash
# The bare Debian roots the packaging tests play in, made once per release with debootstrap and kept
# outside the checkout. Sourced by root-lib.sh; run on its own (scripts/test.sh does, beside the builds
# of a fresh machine) it makes the roots named: base-root.sh bookworm trixie.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/apt-archive.sh"

cache=${MOONVALE_TEST_CACHE:-/var/cache/moonvale-test}

# make_base SUITE: a minimal root for SUITE (bookworm, trixie) with a user "player", once. A test that
# needs it while it is being made waits for it.
make_base() {
    local suite=$1 base=$cache/$1-minbase mirror security
    [ -f "$base/.complete" ] && return
    mkdir -p "$cache"
    exec {lock}>"$cache/$suite-minbase.lock"
    flock "$lock"
    if [ ! -f "$base/.complete" ]; then
        mirror=$(archive_uri) && security=$(archive_uri bookworm-security) || exit 1
        echo "== debootstrap a minimal $suite root into $base (once)"
        rm -rf "$base.tmp"
        debootstrap --variant=minbase "$suite" "$base.tmp" "$mirror" >"$cache/debootstrap-$suite.log" 2>&1 ||
            { tail -n 20 "$cache/debootstrap-$suite.log"; echo "FAILED: debootstrap $suite"; exit 1; }
        printf 'deb %s %s main\ndeb %s %s-updates main\ndeb %s %s-security main\n' \
            "$mirror" "$suite" "$mirror" "$suite" "$security" "$suite" >"$base.tmp/etc/apt/sources.list"
        chroot "$base.tmp" useradd --create-home --uid 4242 player
        rm -rf "$base.tmp/var/cache/apt/archives/"*.deb
        touch "$base.tmp/.complete"
        mv "$base.tmp" "$base"
    fi
    exec {lock}>&-
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    for suite in "$@"; do make_base "$suite"; done
fi
