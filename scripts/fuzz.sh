#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (preset "fuzz") and runs each for a
# bounded time (FUZZ_SECONDS, default 30) from its seed corpus in tests/fuzz/corpus. Each run's
# whole output stays in build-fuzz/fuzz_<target>.log; the summary lines are printed, and the whole
# log when the run fails. A crash fails the run and leaves the input that caused it in build-fuzz/.
# Warnings are errors when CI=true; NUV_WERROR=ON or OFF decides elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
werror=${NUV_WERROR:-$([ "${CI:-}" = true ] && echo ON || echo OFF)}
cmake --preset fuzz -DNUV_WERROR="$werror"
cmake --build --preset fuzz
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in registry ini; do
    work=build-fuzz/corpus-$target
    log=build-fuzz/fuzz_$target.log
    mkdir -p "$work"
    status=0
    (cd build-fuzz && "./tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 "corpus-$target" "../tests/fuzz/corpus/$target") >"$log" 2>&1 ||
        status=$?
    echo "fuzz_$target:"
    grep -E "number_of_executed_units|ERROR|SUMMARY|Base64|Test unit" "$log" || true
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target failed with status $status; its whole log ($log):"
        cat "$log"
        failed+=("$target")
    fi
done
if ((${#failed[@]})); then
    echo "Fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
