#!/usr/bin/env bash
# Sets everything up, builds, and starts the desktop window.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No screen to show the window on: start it on a virtual X server, so that it still runs.
    echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): starting the window on a virtual" \
         "X server with xvfb-run, where it cannot be seen. Press Ctrl+C to end it. To play a" \
         "shoe, run this from a desktop session (or ssh -X); build/cli/nuv-sim works without one." >&2
    exec xvfb-run -a ./build/app/nuv
fi
exec ./build/app/nuv
