#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev qt6-translations-l10n desktop-file-utils \
    appstream

# A new compiler warning fails the run, in both builds. The first is optimised (-O2): some of
# GCC's warnings (-Wrestrict, -Wmaybe-uninitialized) are only found by its optimiser.
build=build-test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O2" -DPIXTINT_SANITIZE=ON \
    -DPIXTINT_BUILD_TESTS=ON -DPIXTINT_BUILD_BENCH=OFF -DPIXTINT_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j2
(cd "$build" && ctest --output-on-failure -j2)

# The command line alone, as a server or a CI image builds it: Qt may not even be looked for.
# Its tests ran above with the sanitizers; here the build is what is proved, plus a quick run.
cli_build=build-cli
cmake -S . -B "$cli_build" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Debug -DPIXTINT_BUILD_WINDOW=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DPIXTINT_BUILD_TESTS=ON -DPIXTINT_BUILD_BENCH=OFF \
    -DPIXTINT_WARNINGS_AS_ERRORS=ON
cmake --build "$cli_build" -j2
(cd "$cli_build" && ctest --output-on-failure -j2 --exclude-regex KilledRun)

# pixtint-convert for Windows, cross-built with MinGW-w64: the core's and the command line's
# tests under Wine (the window's are Linux's), then the same files and reports as the Linux
# build above on the picture corpus.
ensure_packages g++-mingw-w64-x86-64-posix googletest wine wine64
windows_build=build-windows
cmake -S . -B "$windows_build" --toolchain cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DPIXTINT_BUILD_WINDOW=OFF -DPIXTINT_BUILD_TESTS=ON \
    -DPIXTINT_BUILD_BENCH=OFF -DPIXTINT_WARNINGS_AS_ERRORS=ON
cmake --build "$windows_build" -j2
export WINEPREFIX="$PWD/$windows_build/wineprefix" WINEDEBUG=-all
wineboot --init >/dev/null 2>&1 # the prefix made once, before tests start Wine side by side
(cd "$windows_build" && ctest --output-on-failure -j2)
bash tests/windows/same-bytes.sh "$cli_build/cli/pixtint-convert" \
    "$windows_build/cli/pixtint-convert.exe"
wineserver -k 2>/dev/null || true
