#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds pixtint-convert.exe for 64-bit Windows with MinGW-w64 and writes
# dist/pixtint-convert-VERSION-windows-x64.zip: the program, the licence and a plain-text
# guide for Windows (its own part, then the manual page as text).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages cmake make g++-mingw-w64-x86-64-posix libcli11-dev nlohmann-json3-dev man-db \
    groff-base zip

build=build-windows-release
cmake -S . -B "$build" --toolchain cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DPIXTINT_BUILD_WINDOW=OFF -DPIXTINT_BUILD_TESTS=OFF \
    -DPIXTINT_BUILD_BENCH=OFF -DPIXTINT_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j2 --target pixtint-convert
x86_64-w64-mingw32-strip -o "$build/pixtint-convert.exe" "$build/cli/pixtint-convert.exe"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage="$build/zip"
rm -rf "$stage" && mkdir -p "$stage"
cp "$build/pixtint-convert.exe" "$stage/"
# Windows editors want CR LF line ends.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
{
    cat docs/pixtint-convert-windows.txt
    printf '\n\nThe manual\n----------\n\n'
    groff -t -man -Tutf8 -rHY=0 -rLL=92n docs/pixtint-convert.1 2>/dev/null | col -bx
} | sed 's/$/\r/' >"$stage/pixtint-convert.txt"

mkdir -p dist
zip="dist/pixtint-convert-${version}-windows-x64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -9 -X "../../$zip" pixtint-convert.exe LICENSE.txt pixtint-convert.txt)
echo "$zip: $(stat -c %s "$zip") bytes"
