#!/usr/bin/env bash
# Sets up, builds and starts Pixtint on the folder it remembers, or on the folder given.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" fonts-ipafont-gothic xdg-utils qt6-translations-l10n

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target pixtint
exec "$build/app/pixtint" "$@"
