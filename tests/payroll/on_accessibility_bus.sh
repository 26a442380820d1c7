#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs a command as a screen reader's user runs it: on a virtual X server of its
# own, with the accessibility bus inside the caller's session bus, and Qt told to
# talk to it. Run under dbus-run-session:
#   dbus-run-session -- on_accessibility_bus.sh COMMAND ARGS
set -euo pipefail

work=$(mktemp -d)
source "$(dirname "$0")/../../scripts/virtual_display.sh"
launcher_pid=
stop() {
    # Only the processes started here, by their ids.
    if [[ -n $launcher_pid ]]; then
        kill "$launcher_pid" 2>/dev/null || true
        wait "$launcher_pid" 2>/dev/null || true
    fi
    stop_display
    rm -rf "$work"
}
trap stop EXIT

start_display 1280x1024
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
launcher_pid=$!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
