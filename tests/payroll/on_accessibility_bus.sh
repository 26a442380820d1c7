#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs a command as a screen reader's user runs it: on a virtual X server of its
# own, with the accessibility bus inside the caller's session bus, and Qt told to
# talk to it. Run under dbus-run-session:
#   dbus-run-session -- on_accessibility_bus.sh COMMAND ARGS
set -euo pipefail

work=$(mktemp -d)
xvfb_pid=
launcher_pid=
stop() {
    # Only the processes started here, by their ids.
    local pid
    for pid in $launcher_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
launcher_pid=$!
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work
unset WAYLAND_DISPLAY
"$@"
