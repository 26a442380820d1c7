#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times taxcalc-batch (Release build) on a generated payroll file against `wc -l` on
# the same file (the floor of reading it) and against reference_batch.py, a plain
# Python csv-module implementation of the same computation. Prints CPU times, both
# ratios and peak memory (GNU time -v), and checks that the two wrote the same bytes.
# Then the same payroll as an .xlsx workbook (written by openpyxl, figures as numbers,
# IDs as text): .xlsx to CSV, CSV to .xlsx and .xlsx to .xlsx, checking that the
# computed columns match the CSV run's.
#
#   bench/batch/run_bench.sh [ROWS]          ROWS defaults to 1000000
#   TAXCALC_BENCH_BUILD=DIR                  build tree (default build/bench-batch)
#   TAXCALC_BENCH_XLSX=0                     skip the workbooks
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rows=${1:-1000000}
build=${TAXCALC_BENCH_BUILD:-$root/build/bench-batch}
runs=3

if [[ ! -x /usr/bin/time ]]; then
    echo "run_bench: needs GNU time (/usr/bin/time): apt-get install time" >&2
    exit 1
fi
cmake -S "$root" -B "$build" -G Ninja -Wno-dev --log-level=WARNING -DCMAKE_BUILD_TYPE=Release \
    -DTAXCALC_BUILD_UI=OFF -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target taxcalc-batch >/dev/null
tool=$build/bin/taxcalc-batch

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sheet=$work/payroll.csv

# The workbook, when wanted, from the same rows.
workbook=()
[[ ${TAXCALC_BENCH_XLSX:-1} == 0 ]] || workbook=("$work/payroll.xlsx")
/usr/bin/python3 "$root/bench/batch/make_payroll.py" "$sheet" "$rows" "${workbook[@]}"

# measure KEY NAME RUNS COMMAND...: the best CPU time (user + system) of the runs, its
# wall time and peak resident memory; sets cpu_KEY and peak_KEY.
measure() {
    local key=$1 name=$2 count=$3 best="" wall="" peak=""
    shift 3
    for ((i = 0; i < count; ++i)); do
        /usr/bin/time -v -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || true
        local user sys elapsed rss cpu
        user=$(awk -F': ' '/User time/ {print $2}' "$work/time")
        sys=$(awk -F': ' '/System time/ {print $2}' "$work/time")
        elapsed=$(awk -F': ' '/Elapsed/ {n = split($2, p, ":"); s = 0; for (j = 1; j <= n; ++j) s = s * 60 + p[j]; print s}' "$work/time")
        rss=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/time")
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%.2f", u + s}')
        if [[ -z $best ]] || awk -v a="$cpu" -v b="$best" 'BEGIN {exit !(a < b)}'; then
            best=$cpu wall=$elapsed peak=$rss
        fi
    done
    printf '%-26s cpu %7.2f s   wall %7.2f s   peak %8.1f MiB\n' "$name" "$best" "$wall" \
        "$(awk -v k="$peak" 'BEGIN {print k / 1024}')"
    printf -v "cpu_$key" '%s' "$best"
    printf -v "peak_$key" '%s' "$peak"
}

printf 'rows %d, file %.1f MiB (%s)\n' "$rows" "$(awk -v b="$(stat -c %s "$sheet")" 'BEGIN {print b / 1048576}')" \
    "$(nproc) cores, $(uname -m)"
measure wc "wc -l" "$runs" wc -l "$sheet"
measure tool "taxcalc-batch bonus" "$runs" "$tool" bonus "$sheet" -o "$work/tool.csv"
measure python "reference_batch.py bonus" 1 python3 "$root/bench/batch/reference_batch.py" bonus "$sheet" "$work/python.csv"

awk -v t="$cpu_tool" -v w="$cpu_wc" -v p="$cpu_python" 'BEGIN {
    printf "taxcalc-batch / wc -l:      %.1f x the CPU time of reading the file\n", t / (w > 0.005 ? w : 0.005)
    printf "reference_batch.py / tool:  %.1f x the CPU time of taxcalc-batch\n", p / t
}'
echo "taxcalc-batch peak memory: $(awk -v k="$peak_tool" 'BEGIN {printf "%.1f MiB", k / 1024}')"
if cmp -s "$work/tool.csv" "$work/python.csv"; then
    echo "outputs: identical bytes"
else
    echo "outputs: DIFFER" >&2
    exit 1
fi

[[ ${TAXCALC_BENCH_XLSX:-1} == 0 ]] && exit 0
printf 'workbook %.1f MiB\n' "$(awk -v b="$(stat -c %s "$work/payroll.xlsx")" 'BEGIN {print b / 1048576}')"
measure xlsx_csv ".xlsx -> CSV" "$runs" "$tool" bonus "$work/payroll.xlsx" -o "$work/from-xlsx.csv"
measure csv_xlsx "CSV -> .xlsx" 1 "$tool" bonus "$sheet" -o "$work/to.xlsx"
measure xlsx_xlsx ".xlsx -> .xlsx" 1 "$tool" bonus "$work/payroll.xlsx" -o "$work/both.xlsx"
# The figures do not depend on how the input wrote its numbers (18000.50 or 18000.5).
python3 - "$work/tool.csv" "$work/from-xlsx.csv" <<'PY'
import csv, sys
with open(sys.argv[1], encoding="utf-8-sig", newline="") as a, open(sys.argv[2], encoding="utf-8-sig", newline="") as b:
    pairs = list(zip(csv.reader(a), csv.reader(b)))
same = all(x[:3] == y[:3] and x[5:] == y[5:] for x, y in pairs)
print("computed columns from .xlsx:", "identical" if same else "DIFFER", "(%d rows)" % (len(pairs) - 1))
sys.exit(0 if same else 1)
PY
