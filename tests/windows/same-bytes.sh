#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows build under Wine writes exactly the bytes the Linux build writes, backups
# included, and the same report but for its path separators, on the picture corpus and on
# Japanese names, for a conversion, a second conversion over the backups, and a restore.
#   same-bytes.sh LINUX_PIXTINT_CONVERT WINDOWS_PIXTINT_CONVERT_EXE
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/linux" "$work/windows"
for side in linux windows; do
    cp -r "$root/tests/data/bmpsuite/." "$work/$side/"
    cp "$root/tests/data/bmpsuite/g/rgb24.bmp" "$work/$side/ツールバー.bmp"
    cp "$root/tests/data/bmpsuite/g/pal8.bmp" "$work/$side/アイコン 16.bmp"
done

# The same options on both sides; each report kept for the comparison.
step=0
run_both() {
    step=$((step + 1))
    local status_linux=0 status_windows=0
    (cd "$work/linux" && "$linux" "$@" >"$work/report-$step-linux" 2>&1) || status_linux=$?
    (cd "$work/windows" && wine "$windows" "$@" >"$work/report-$step-windows" 2>&1) ||
        status_windows=$?
    if [ "$status_linux" != "$status_windows" ]; then
        echo "same-bytes: exit $status_linux on Linux, $status_windows on Windows: $*" >&2
        exit 1
    fi
    # Wine's own notes ("wine: ...") are no part of the program's report; a separator is
    # \\ in JSON.
    if ! diff "$work/report-$step-linux" \
        <(grep -v '^wine: ' "$work/report-$step-windows" | sed -e 's#\\\\#/#g' -e 's#\\#/#g'); then
        echo "same-bytes: the reports differ: $*" >&2
        exit 1
    fi
    if ! diff -r "$work/linux" "$work/windows"; then
        echo "same-bytes: the files differ: $*" >&2
        exit 1
    fi
}

run_both -r -m 000000=ff00ff -m ffffff=00ff00 --tolerance 8 -g top .
run_both -r --json -f '#ff00ff' -t transparent -g bottom .
run_both -r --restore --json .
echo "same-bytes: $step runs, each leaving the same files and the same report"
