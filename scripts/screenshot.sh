#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes docs/screenshot.png from the real program: builds it, starts a portable copy of it
# under Xvfb on a folder of generated icons, and grabs its window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" fonts-ipafont-gothic xvfb x11-utils imagemagick

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target pixtint

# A fixed folder, as its name shows in the picture.
work=/tmp/pixtint-screenshot
rm -rf "$work"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do # the program before its display
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Toolbar icons of 16 x 15 on a magenta background, the colour that becomes the background of
# the converted icons; one 256-colour picture shows how a file that is not converted looks.
mkdir -p "$work/program" "$work/icons"
icon() {
    local name=$1
    shift
    convert -size 16x15 xc:'#ff00ff' +antialias "$@" -type TrueColor BMP3:"$work/icons/$name.bmp"
}
icon 1-open -fill '#f0c040' -stroke '#806010' -draw 'rectangle 1,4 14,13' -draw 'line 1,4 6,2'
icon 2-save -fill '#3060c0' -stroke '#102040' -draw 'rectangle 2,1 13,13' \
    -fill white -stroke none -draw 'rectangle 4,2 11,6'
icon 3-cut -fill none -stroke '#202020' -draw 'circle 4,11 4,13' -draw 'circle 11,11 11,13' \
    -draw 'line 5,9 11,1' -draw 'line 10,9 4,1'
icon 4-copy -fill white -stroke '#404040' -draw 'rectangle 1,1 9,10' -draw 'rectangle 5,4 14,13'
icon 5-paste -fill '#b08040' -stroke '#503010' -draw 'rectangle 2,2 12,13' \
    -fill white -draw 'rectangle 6,6 14,14'
icon 6-print -fill '#c0c0c0' -stroke '#404040' -draw 'rectangle 1,5 14,11' \
    -fill white -draw 'rectangle 4,1 11,5' -draw 'rectangle 4,10 11,14'
icon 7-help -fill '#2080e0' -stroke '#104080' -draw 'circle 7,7 7,1' \
    -fill white -stroke none -draw 'rectangle 6,3 8,4' -draw 'rectangle 6,6 8,11'
convert -size 16x15 xc:'#ff00ff' -fill '#30a030' -draw 'circle 7,7 7,2' -colors 16 \
    -type Palette BMP3:"$work/icons/8-logo-256-colours.bmp"

# A portable copy keeps its settings beside itself: magenta becomes the window's button face.
cp "$build/app/pixtint" "$build/app/Readme.txt" "$work/program/"
printf '%s\r\n' "$work/icons" ' 16711935 ' '-2147483633 ' ' 1 ' 'True' ' 1 ' \
    >"$work/program/Pixtint.ini"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

QT_QPA_PLATFORM=xcb "$work/program/pixtint" &
pids+=($!)
title='Pixtint (Ver1.2)'
for _ in $(seq 100); do
    xwininfo -name "$title" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2 # the first preview and the paint after it
mkdir -p docs
import -window "$title" -strip docs/screenshot.png
echo "Wrote docs/screenshot.png"
