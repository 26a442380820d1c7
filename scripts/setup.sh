#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that the build needs and that are missing.
# Quiet and quick when everything is there: apt-get update runs only when
# something has to be installed.
#   scripts/setup.sh run    what building and launching the calculator needs
#   scripts/setup.sh test   that, plus what the tests, fuzzing and benchmarks need
#   scripts/setup.sh shot   that, plus what scripts/screenshot.sh needs
set -euo pipefail

run_packages=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-qpa-plugins qt6-translations-l10n xdg-utils
              libzip-dev libexpat1-dev libxlsxwriter-dev
              fonts-arphic-ukai fonts-arphic-uming fonts-arphic-gkai00mp fonts-wqy-microhei help2man)
test_packages=(libgtest-dev libbenchmark-dev clang desktop-file-utils appstream time
               xvfb xdotool dbus at-spi2-core python3-pyatspi python3-openpyxl python3-xlwt gnumeric)
# The GTK theme plugin gives the payroll window a dark desktop's palette for its picture.
shot_packages=(imagemagick qt6-gtk-platformtheme)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    shot) wanted=("${run_packages[@]}" "${test_packages[@]}" "${shot_packages[@]}") ;;
    *) echo "usage: $0 [run|test|shot]" >&2; exit 2 ;;
esac

installed() { [[ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" == ii* ]]; }

updated=0
install_missing() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "setup: apt-get not found; install these packages by hand: ${missing[*]}" >&2
        exit 1
    fi
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "setup: need root (or sudo) to install: ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "setup: installing ${missing[*]}" >&2
    if [[ $updated -eq 0 ]]; then
        "${sudo[@]}" apt-get update -qq
        updated=1
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

install_missing "${wanted[@]}"

# libFuzzer's runtime comes in a package named after clang's major version: that of
# the clang installed above, whichever Debian ships.
if [[ "${1:-run}" != run ]]; then
    major=$(dpkg-query -W -f='${Depends}' clang | grep -o 'clang-[0-9]\+' | head -n1 || true)
    if [[ -z $major ]]; then
        echo "setup: cannot tell which clang is installed" >&2
        exit 1
    fi
    install_missing "libclang-rt-${major#clang-}-dev"
fi
