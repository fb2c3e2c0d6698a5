#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then configures and builds
# into build/ (preset "default"). Safe to run again: installed packages are skipped and the build
# is incremental. Warnings are errors when CI=true; NUV_WERROR=ON or OFF decides elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libfmt-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    fonts-arphic-gkai00mp fonts-arphic-ukai fonts-arphic-gbsn00lp fonts-arphic-uming
    xvfb xauth
    clang libclang-rt-14-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

werror=${NUV_WERROR:-$([ "${CI:-}" = true ] && echo ON || echo OFF)}
cmake --preset default -DNUV_WERROR="$werror"
cmake --build --preset default
