#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up, builds Pixtint and pixtint-convert, and starts Pixtint on the folder it remembers, or on
# the folder given.
set -euo pipefail
cd "$(dirname "$0")/.."

# The window needs a display; say so before minutes of setting up and building. Qt's own
# -platform option or QT_QPA_PLATFORM (offscreen, vnc, ...) chooses one without it.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ] &&
    [[ " $* " != *" -platform "* ]]; then
    echo "run.sh: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)" >&2
    exit 1
fi
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" fonts-ipafont-gothic xdg-utils qt6-translations-l10n

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target pixtint pixtint-convert
exec "$build/app/pixtint" "$@"
