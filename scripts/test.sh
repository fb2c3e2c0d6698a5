#!/usr/bin/env bash
# Sets everything up, builds, checks the format of the C++ files, and runs every test: first the
# normal build, then the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short run of each fuzzer. Warnings are errors when CI=true (or NUV_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== format"
format=$(command -v clang-format-14 || command -v clang-format)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t sources < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) \
        -print | sort)
fi
"$format" --dry-run -Werror "${sources[@]}"

echo "== tests"
ctest --preset default --timeout 120 -j "$jobs"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
./scripts/sanitize.sh

echo "== fuzzing"
./scripts/fuzz.sh
