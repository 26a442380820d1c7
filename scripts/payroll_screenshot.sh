#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the payroll window, opens a sample payroll in it on a virtual X server of
# its own, selects a row in a blind zone so that its chart shows, and saves a
# picture of the window; then the same on a dark desktop (GTK's dark Adwaita),
# beside it with -dark in its name.
#   scripts/payroll_screenshot.sh [--build-dir DIR] [--output FILE]
#     --build-dir   the build tree to use (default build/release, as scripts/run.sh)
#     --output      where the PNG goes (default docs/payroll.png; the dark one
#                   docs/payroll-dark.png)
# Installs what it needs (xvfb, xdotool, imagemagick, Qt's GTK theme) through
# scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
output=docs/payroll.png
while [[ $# -gt 0 ]]; do
    case "$1" in
        --build-dir) build=${2:?--build-dir needs a folder}; shift ;;
        --output) output=${2:?--output needs a file}; shift ;;
        *) echo "usage: $0 [--build-dir DIR] [--output FILE]" >&2; exit 2 ;;
    esac
    shift
done

scripts/setup.sh shot
cmake -S . -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF
cmake --build "$build" --target taxcalc-payroll
app=$build/bin/taxcalc-payroll

work=$(mktemp -d)
source scripts/virtual_display.sh
cleanup() {
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# A year-end payroll of 2024 as a clerk keeps it, with each person's taxable income
# of the year: three bonuses just past an edge, one mistyped amount.
sheet=$work/2024年终奖.csv
cat >"$sheet" <<'CSV'
工号,姓名,部门,年终奖,全年应纳税所得额
000101,赵丽,财务部,12000,18000
000102,钱伟,财务部,36000,66000
000103,孙静,人事部,38000,42000
000104,李强,研发部,60000,150000
000105,周敏,研发部,144000,240000
000106,吴刚,研发部,150000,260000
000107,郑洁,销售部,30000,54000
000108,王磊,销售部,一万二,48000
000109,冯芳,后勤,6000,0
000110,陈晨,后勤,8000,6000
000111,褚红,市场部,24000,45000
000112,卫东,市场部,310000,420000
000113,蒋琳,法务部,45000,96000
000114,沈阳,法务部,16000,30000
000115,韩梅,客服部,9000,12000
000116,杨帆,客服部,20000,36000
CSV

start_display 1366x820

# The picture of the window in the palette that the environment gives it.
picture() {
    local file=$1
    shift
    show_window taxcalc-payroll env "$@" "$app" "$sheet"
    # Reading and computing sixteen rows is quick; give the first paint a moment.
    sleep 1.5
    xdotool windowfocus --sync "$window"
    # The rules of 2019 on, then 孙静's 38000, 2000 yuan past the first edge.
    xdotool key --window "$window" alt+p End
    sleep 1
    xdotool mousemove --window "$window" 200 96 click 1
    xdotool key --window "$window" Home Down Down
    xdotool mousemove --window "$window" 1275 755
    sleep 0.8

    mkdir -p "$(dirname "$file")"
    # No dates in the file, so that an unchanged window gives an unchanged picture.
    import -window "$window" -define png:exclude-chunks=date,time "png:$file"
    echo "payroll_screenshot: wrote $file ($(identify -format '%wx%h' "$file"))"
    # The window goes by its process id before the next one shows.
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

# Each window starts as a first run would, with nothing remembered of another.
picture "$output" XDG_CONFIG_HOME="$work/light"
picture "${output%.png}-dark.png" XDG_CONFIG_HOME="$work/dark" QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
