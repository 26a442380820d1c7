#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs
# every test: unit tests, the same tests under ASan and UBSan, the window's tests
# on Qt's offscreen platform, and a bounded fuzzing run. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test

quiet=(-Wno-dev --log-level=WARNING)
# libFuzzer needs clang; the fuzzer gets a tree of its own.
cmake -S . -B build/fuzz -G Ninja "${quiet[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTAXCALC_WERROR=ON -DTAXCALC_BUILD_FUZZ=ON \
    -DTAXCALC_BUILD_UI=OFF -DTAXCALC_BUILD_TESTS=OFF -DTAXCALC_BUILD_BENCH=OFF
cmake --build build/fuzz --target panels_fuzzer batch_fuzzer

cmake -S . -B build/test -G Ninja "${quiet[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAXCALC_WERROR=ON -DTAXCALC_FUZZER="$PWD/build/fuzz/bin/panels_fuzzer"
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
