#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
# Reading time of a workbook against its inflated size, when its sheet is made of the
# longest XML tokens the reader takes (comments just under 1 MiB): the time should
# grow in step with the size, never with its square. Then one comment of the same
# sizes, which the reader refuses at once. Best of three, in a Release build.
#   bench/workbook/run_bench.sh [MIB...]    (default 8 16 32 64 128)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(8 16 32 64 128)
build=${TAXCALC_BENCH_BUILD:-$root/build/bench-batch}
cmake -S "$root" -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_UI=OFF -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target taxcalc-batch >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best_of_three() {
    local best="" run seconds
    for run in 1 2 3; do
        /usr/bin/time -f %e -o "$work/time" "$build/bin/taxcalc-batch" bonus "$1" -o /dev/null \
            2>"$work/stderr" >/dev/null || true
        seconds=$(tail -n1 "$work/time")
        if [[ -z $best ]] || awk -v a="$seconds" -v b="$best" 'BEGIN {exit !(a < b)}'; then best=$seconds; fi
    done
    echo "$best"
}

printf '%8s  %22s  %22s\n' "MiB" "1 MiB tokens: seconds" "one token: seconds"
for mib in "${sizes[@]}"; do
    /usr/bin/python3 "$root/bench/workbook/make_tokens.py" "$work/many.xlsx" "$mib" $((1024 * 1024 - 4096))
    /usr/bin/python3 "$root/bench/workbook/make_tokens.py" "$work/one.xlsx" "$mib" $((mib * 1024 * 1024))
    printf '%8s  %22s  %22s\n' "$mib" "$(best_of_three "$work/many.xlsx")" "$(best_of_three "$work/one.xlsx")"
done
tail -n1 "$work/stderr"
