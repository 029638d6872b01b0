# Sourced by the setup and the web packaging: the Debian 13 root that holds Emscripten.
# shellcheck source=deps.conf
. "$(dirname "${BASH_SOURCE[0]}")/deps.conf"
WEB_ROOT="$MOONVALE_WEB_ROOT"
WEB_PREFIX="$MOONVALE_WEB_DEPS_PREFIX"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The root has one /proc and one place to lend a checkout: two builds at once (two checkouts, or a
# maintainer's beside the tests) take turns instead of mounting over each other.
lock_web_root() {
    [ -e /proc/self/fd/9 ] || exec 9>"$WEB_ROOT.lock"
    flock 9
}

# in_web_root COMMAND...: run inside the root, with /proc mounted for the while (Node needs it).
in_web_root() {
    lock_web_root
    $SUDO mount -t proc proc "$WEB_ROOT/proc"
    local code=0
    $SUDO chroot "$WEB_ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive \
        "$@" || code=$?
    $SUDO umount "$WEB_ROOT/proc"
    return $code
}

# in_web_checkout COMMAND: runs the shell COMMAND inside the root, in this checkout (lent to it at
# /src/moonvale for the while).
in_web_checkout() {
    local root src
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    src=$WEB_ROOT/src/moonvale
    lock_web_root
    $SUDO mkdir -p "$src"
    $SUDO mount --bind "$root" "$src"
    local code=0
    in_web_root sh -c "cd /src/moonvale && $1" || code=$?
    $SUDO umount "$src"
    return $code
}
