# SPDX-License-Identifier: MIT
# Sourced by the screenshot scripts: a virtual X server of their own and a program's
# window on it, both ended on exit by their process ids.
#   start_display WIDTHxHEIGHT     starts Xvfb; exports DISPLAY and what Qt needs
#   show_window NAME PROGRAM ARGS  starts the program; sets window to its window id
# Uses $work (a temporary folder the caller made) and the caller's own traps call
# stop_display.

xvfb_pid=
app_pid=
window=

stop_display() {
    # Only the two processes started here, by their ids.
    local pid
    for pid in $app_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

start_display() {
    # Xvfb picks a free display itself and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
        sleep 0.1
    done
    [[ -s $work/display ]] || { echo "screenshot: Xvfb did not start" >&2; exit 1; }
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
    export XDG_RUNTIME_DIR=$work
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

show_window() {
    local name=$1
    shift
    "$@" >"$work/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1 || true)
        [[ -n $window ]] && break
        if ! kill -0 "$app_pid" 2>/dev/null; then
            echo "screenshot: $name ended before its window appeared:" >&2
            cat "$work/app.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    if [[ -z $window ]]; then
        echo "screenshot: the window did not appear within 30 s" >&2
        cat "$work/app.log" >&2
        exit 1
    fi
}
