#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the calculator and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh run

cmake -S . -B build/release -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF
cmake --build build/release

app=build/release/bin/taxcalc
if [[ ! -x $app ]]; then
    echo "taxcalc: the window is not built yet; only the tax engine exists so far." >&2
    exit 1
fi
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    cat >&2 <<MSG
taxcalc: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run it on a desktop session, or under a virtual X server:
    sudo apt-get install xvfb && xvfb-run -a -s '-screen 0 1024x768x24' $app
MSG
    exit 1
fi
exec "$app" "$@"
