#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
# taxcalc-batch withhold on a year of a large payroll: EMPLOYEES x 12 shuffled
# monthly rows (83334 by default: a million rows), CPU time and peak memory, best of
# three runs, in a Release build of its own.
#   bench/withhold/run_bench.sh [EMPLOYEES]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
employees=${1:-83334}
build=${TAXCALC_BENCH_BUILD:-$root/build/bench-batch}
if [[ ! -x /usr/bin/time ]]; then
    echo "run_bench: needs GNU time (/usr/bin/time): apt-get install time" >&2
    exit 1
fi
cmake -S "$root" -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_UI=OFF -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target taxcalc-batch >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$root/bench/withhold/make_withholding.py" "$work/months.csv" "$employees"
printf 'rows %d, file %.1f MiB (%s)\n' "$((employees * 12))" \
    "$(awk -v b="$(stat -c %s "$work/months.csv")" 'BEGIN {print b / 1048576}')" "$(nproc) cores, $(uname -m)"
best=""
for run in 1 2 3; do
    status=0
    /usr/bin/time -v -o "$work/time" "$build/bin/taxcalc-batch" withhold "$work/months.csv" -o "$work/out.csv" \
        2>"$work/stderr" || status=$?
    if [[ $status -ne 0 ]]; then
        cat "$work/stderr" >&2
        exit 1
    fi
    cpu=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.2f", u + s}' "$work/time")
    peak=$(awk -F': ' '/Maximum resident/ {printf "%.1f", $2 / 1024}' "$work/time")
    wall=$(awk -F': ' '/Elapsed/ {print $2}' "$work/time")
    echo "run $run: cpu $cpu s, wall $wall, peak $peak MiB"
    if [[ -z $best ]] || awk -v a="$cpu" -v b="$best" 'BEGIN {exit !(a < b)}'; then best=$cpu; fi
done
echo "best cpu: $best s (target: under 3 s and 300 MiB)"

