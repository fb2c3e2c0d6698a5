#!/usr/bin/env bash
# Sets everything up, builds, and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# Until the desktop window lands, show the command-line tool replaying an example shoe.
exec ./build/cli/nuv-sim replay BBBPBBBPBBBP
