# Shared by the end-to-end scripts: a private X server and helpers to find and close the game's window.
set -euo pipefail
# The game takes its language from LANG and LANGUAGE: English, whatever the machine says, unless a test
# asks for another.
export LANG=C.UTF-8
unset LANGUAGE

start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r display_number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display_number"
}

stop_xvfb() { [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true; }

# wait_for_window NAME: prints the window id once a window with that title is mapped.
wait_for_window() {
    local id
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "no window named $1 appeared" >&2
    return 1
}

# eventually SECONDS COMMAND...: COMMAND until it succeeds, for at most SECONDS: a screen the game is
# about to show may take longer to come on a loaded machine than on a quiet one.
eventually() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# press: a left click as a hand makes one, held for a moment. xdotool's own click presses and releases
# at once, and SDL's X11 input (XInput2 beside the core events) then reports it twice: a toggle such as
# Pause, hit twice across two frames, undoes itself.
press() { xdotool mousedown 1; sleep 0.05; xdotool mouseup 1; }

# wait_for_exit PID SECONDS: the process's exit code, or 124 if it is still running after SECONDS. A
# game that quits ends in well under a second, but a loaded machine (or the leak check's heap scan) can
# stretch that: the scripts give it 15 s, which only a hang exceeds.
wait_for_exit() {
    local pid=$1 limit=$2
    for _ in $(seq 1 $((limit * 20))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && return 0 || return $?
        fi
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    return 124
}

# link_assets FROM TO: TO/assets links FROM's generated files, without the player's score and settings,
# so a session starts as a fresh install does.
link_assets() {
    mkdir -p "$2/assets"
    local f
    for f in "$1"/*; do
        case "$(basename "$f")" in score.dat | settings.ini) ;; *) ln -s "$f" "$2/assets/" ;; esac
    done
}
