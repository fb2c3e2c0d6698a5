#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs them (preset "asan"). Any report fails the run; only the leaks listed in tests/lsan.supp are
# tolerated. Warnings are errors when CI=true; NUV_WERROR=ON or OFF decides elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=${NUV_WERROR:-$([ "${CI:-}" = true ] && echo ON || echo OFF)}
cmake --preset asan -DNUV_WERROR="$werror"
cmake --build --preset asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset asan --timeout 120 -j "$(nproc)"
