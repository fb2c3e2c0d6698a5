#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a bounded time
# (FUZZ_SECONDS, default 30) from its seed corpus in tests/fuzz/corpus. A crash fails the run and
# leaves the input that caused it in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNUV_FUZZ=ON -DNUV_BUILD_GUI=OFF -DNUV_BUILD_BENCH=OFF
cmake --build build-fuzz --target fuzz_registry fuzz_ini
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in registry ini; do
    work=build-fuzz/corpus-$target
    mkdir -p "$work"
    (cd build-fuzz && "./tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 "corpus-$target" "../tests/fuzz/corpus/$target" 2>&1 |
        grep -E "number_of_executed_units|ERROR|SUMMARY|Base64|Test unit")
done
