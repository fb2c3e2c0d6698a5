#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: first the normal build, then the same tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
./scripts/sanitize.sh

if [ -x scripts/fuzz.sh ]; then
    echo "== fuzzing"
    ./scripts/fuzz.sh
fi
