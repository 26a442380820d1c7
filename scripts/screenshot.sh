#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the calculator, opens its window on a virtual X server of its own and
# saves a picture of the window.
#   scripts/screenshot.sh [--sample] [--build-dir DIR] [--output FILE]
#     --sample      type a monthly wage and a year-end bonus in and calculate both
#     --build-dir   the build tree to use (default build/release, as scripts/run.sh)
#     --output      where the PNG goes (default docs/screenshot.png)
# Installs what it needs (xvfb, xdotool, imagemagick) through scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

sample=0
build=build/release
output=docs/screenshot.png
while [[ $# -gt 0 ]]; do
    case "$1" in
        --sample) sample=1 ;;
        --build-dir) build=${2:?--build-dir needs a folder}; shift ;;
        --output) output=${2:?--output needs a file}; shift ;;
        *) echo "usage: $0 [--sample] [--build-dir DIR] [--output FILE]" >&2; exit 2 ;;
    esac
    shift
done

scripts/setup.sh shot
cmake -S . -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF
cmake --build "$build" --target taxcalc
app=$build/bin/taxcalc

work=$(mktemp -d)
source scripts/virtual_display.sh
cleanup() {
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

start_display 1024x768

show_window taxcalc "$app"
# Mapped is not yet painted: give the first expose a moment.
sleep 1

if [[ $sample -eq 1 ]]; then
    # There is no window manager to give the focus; take it directly.
    xdotool windowfocus --sync "$window"
    type_into() { # x y text: click the entry at x, y (window coordinates) and replace its text
        xdotool mousemove --window "$window" "$1" "$2" click 1
        xdotool key --window "$window" End shift+Home
        xdotool type --window "$window" --delay 20 "$3"
    }
    type_into 166 79 12000
    xdotool key --window "$window" Return
    type_into 166 119 1000
    xdotool key --window "$window" Return
    type_into 550 79 18100
    type_into 550 119 3500
    xdotool key --window "$window" Return
    xdotool mousemove --window "$window" 380 540
    sleep 0.5
fi

mkdir -p "$(dirname "$output")"
# No dates in the file, so that an unchanged window gives an unchanged picture.
import -window "$window" -define png:exclude-chunks=date,time "png:$output"
echo "screenshot: wrote $output ($(identify -format '%wx%h' "$output"))"
