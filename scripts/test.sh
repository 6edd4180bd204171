#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev qt6-translations-l10n desktop-file-utils \
    appstream

build=build-test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DPIXTINT_SANITIZE=ON \
    -DPIXTINT_BUILD_TESTS=ON -DPIXTINT_BUILD_BENCH=OFF
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure -j2
