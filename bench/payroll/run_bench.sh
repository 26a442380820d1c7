#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the payroll window (Release build, Qt's offscreen platform) opening a
# generated payroll file, as CSV and as an .xlsx workbook: to the summary of the
# whole file and to the first painted screen of computed rows, then a screen after a
# jump anywhere in the file; beside taxcalc-batch computing the same file. Peak
# memory of both from GNU time -v.
#
#   bench/payroll/run_bench.sh [ROWS]        ROWS defaults to 1000000
#   TAXCALC_BENCH_BUILD=DIR                  build tree (default build/bench-payroll)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rows=${1:-1000000}
build=${TAXCALC_BENCH_BUILD:-$root/build/bench-payroll}

if [[ ! -x /usr/bin/time ]]; then
    echo "run_bench: needs GNU time (/usr/bin/time): apt-get install time" >&2
    exit 1
fi
cmake -S "$root" -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=ON >/dev/null
if ! cmake --build "$build" --target taxcalc-batch payroll_open_bench >"$build/bench-build.log" 2>&1; then
    cat "$build/bench-build.log" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sheet=$work/payroll.csv
/usr/bin/python3 "$root/bench/batch/make_payroll.py" "$sheet" "$rows" "$work/payroll.xlsx"
mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN {printf "%.1f MiB", b / 1048576}'; }
echo "rows $rows, CSV $(mib "$sheet"), .xlsx $(mib "$work/payroll.xlsx") ($(nproc) cores, $(uname -m))"

# peak FILE: GNU time's maximum resident set, in MiB.
peak() { awk -F': ' '/Maximum resident/ {printf "%.1f MiB", $2 / 1024}' "$1"; }
cpu() { awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.2f s", u + s}' "$1"; }
wall() {
    awk -F': ' '/Elapsed/ {n = split($2, p, ":"); s = 0; for (j = 1; j <= n; ++j) s = s * 60 + p[j]; printf "%.2f s", s}' "$1"
}

export QT_QPA_PLATFORM=offscreen
for input in "$sheet" "$work/payroll.xlsx"; do
    kind=${input##*.}
    /usr/bin/time -v -o "$work/window.time" "$build/bin/payroll_open_bench" "$input" >"$work/window.out" 2>/dev/null
    echo "taxcalc-payroll opening the $kind file (window, offscreen):"
    sed 's/^/    /' "$work/window.out"
    echo "    whole run (with 200 jumps) wall $(wall "$work/window.time"), cpu $(cpu "$work/window.time"), peak memory $(peak "$work/window.time")"

    /usr/bin/time -v -o "$work/batch.time" "$build/bin/taxcalc-batch" bonus "$input" -o "$work/out.csv" 2>/dev/null || true
    echo "taxcalc-batch bonus on the $kind file (streaming, to CSV):"
    echo "    whole run wall $(wall "$work/batch.time"), cpu $(cpu "$work/batch.time"), peak memory $(peak "$work/batch.time")"
done
