#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs
# every test: unit tests, the same tests under ASan and UBSan, the window's tests
# on Qt's offscreen platform and on the accessibility bus, the packaging checks,
# and a bounded fuzzing run. Ends with CTest's summary. CI runs it all.
#   scripts/test.sh           everything
#   scripts/test.sh --quick   a developer's loop: no fuzzer, no sanitised rebuild
#                             of the tests, the rest as usual
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
case "${1:-}" in
    "") ;;
    --quick) quick=1 ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

scripts/setup.sh test

quiet=(-Wno-dev --log-level=WARNING)
fuzzer=()
if [[ $quick -eq 0 ]]; then
    # libFuzzer needs clang; the fuzzer gets a tree of its own.
    cmake -S . -B build/fuzz -G Ninja "${quiet[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTAXCALC_WERROR=ON -DTAXCALC_BUILD_FUZZ=ON \
        -DTAXCALC_BUILD_UI=OFF -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF
    cmake --build build/fuzz --target panels_fuzzer batch_fuzzer workbook_fuzzer
    fuzzer=(-DTAXCALC_FUZZER="$PWD/build/fuzz/bin/panels_fuzzer")
fi

# One tree for both ways; the quick one leaves the fuzzer and the sanitised tests
# out of the build and the run (CTest label "slow").
cmake -S . -B build/test -G Ninja "${quiet[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAXCALC_WERROR=ON -DTAXCALC_QUICK_TESTS="$([[ $quick -eq 1 ]] && echo ON || echo OFF)" "${fuzzer[@]}"
cmake --build build/test
if [[ $quick -eq 1 ]]; then
    ctest --test-dir build/test --output-on-failure -j "$(nproc)" -LE slow
else
    ctest --test-dir build/test --output-on-failure -j "$(nproc)"
fi
