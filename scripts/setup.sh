#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that the build needs and that are missing.
# Quiet and quick when everything is there: apt-get update runs only when
# something has to be installed.
#   scripts/setup.sh run    what building and launching the calculator needs
#   scripts/setup.sh test   that, plus what the tests, fuzzing and benchmarks need
#   scripts/setup.sh shot   that, plus what scripts/screenshot.sh needs
set -euo pipefail

run_packages=(cmake g++ ninja-build qt6-base-dev qt6-qpa-plugins xdg-utils
              fonts-arphic-ukai fonts-arphic-gkai00mp fonts-wqy-microhei)
test_packages=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev desktop-file-utils time)
shot_packages=(xvfb xdotool imagemagick)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    shot) wanted=("${run_packages[@]}" "${test_packages[@]}" "${shot_packages[@]}") ;;
    *) echo "usage: $0 [run|test|shot]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if [[ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null)" != ii* ]]; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "setup: apt-get not found; install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "setup: need root (or sudo) to install: ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "setup: installing ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
