#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks in Release and runs them all: the engine against a streaming copy,
# the window's batch on a real X server (Xvfb) and pixtint-convert, both against the durable
# floor and ImageMagick, the other kinds of picture against dd and each other, then the
# window's batch on palette icons, its refresh, preview and colour changes.
#
#   bench/run.sh [scratch-folder [benchmark...]]
#
# Benchmarks by name: engine, batch, cli, kinds, transparency, window-kinds, window, flow, work; all of
# them when none is named. `bench/run.sh /var/tmp cli` times only pixtint-convert against the
# durable floor: 1,000 icons in a folder of their own and beside 100 others, 20,000 icons and
# one large picture, each as the best and the median of the rounds' ratios to the floor.
#
# `bench/run.sh /var/tmp work` ends with a table of every figure of the window's work beside it
# (listing, restore, big previews, its batches): measured, reference, ratio and goal.
#
# PIXTINT_BENCH_MANY=1 also runs the window's batch of 100,000 icons (several minutes).
#
# The machine should be otherwise idle: each figure is the best of several rounds, with the
# references timed in the same rounds, but a busy disk still moves the flushing benchmarks.
# The batches run before the window benchmark, whose 10,000 deleted pictures would slow the
# creation of new files for a minute or two on some file systems.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" imagemagick xvfb xauth fonts-ipafont-gothic

scratch=${1:-${TMPDIR:-/tmp}}
shift || true
wanted=("$@")
build=${PIXTINT_BENCH_BUILD:-build-bench-release} # any build folder of the benchmarks

declare -A targets=([engine]=bench_replace_color [batch]=bench_batch [cli]=bench_cli
    [kinds]=bench_kinds [transparency]=bench_transparency [window-kinds]=bench_window_kinds
    [window]=bench_window [flow]=bench_batch_flow [work]=bench_window_work)
chosen() {
    [ ${#wanted[@]} -eq 0 ] && return 0
    local name
    for name in "${wanted[@]}"; do [ "$name" = "$1" ] && return 0; done
    return 1
}
build_targets=(bench_durable_floor)
for name in "${wanted[@]}"; do
    [ -n "${targets[$name]:-}" ] || { echo "no benchmark named $name" >&2; exit 2; }
done
for name in "${!targets[@]}"; do
    if chosen "$name"; then build_targets+=("${targets[$name]}"); fi
done
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=ON
cmake --build "$build" -j2 --target "${build_targets[@]}"

on_display() {
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
}

if chosen engine; then
    echo "== engine: convertFile against a streaming copy"
    "$build/bench/bench_replace_color" "$scratch"
fi
if chosen batch; then
    echo "== window: batch against the durable floor and ImageMagick"
    on_display "$build/bench/bench_batch" "$scratch/pixtint-bench-batch"
fi
if chosen cli; then
    echo "== command line: pixtint-convert against the durable floor and ImageMagick"
    "$build/bench/bench_cli" "$scratch/pixtint-bench-cli"
fi
if chosen kinds; then
    echo "== command line: 32-bit, palette and tolerant conversions against their references"
    "$build/bench/bench_kinds" "$scratch/pixtint-bench-kinds"
fi
if chosen transparency; then
    echo "== command line: a key colour turned transparent against the durable floor and dd"
    "$build/bench/bench_transparency" "$scratch/pixtint-bench-transparency"
fi
if chosen window-kinds; then
    echo "== window: batch of 4-bit icons against 24-bit ones, both grown"
    on_display "$build/bench/bench_window_kinds" "$scratch/pixtint-bench-window-kinds"
fi
if chosen window; then
    echo "== window: refresh, preview and colour changes"
    on_display "$build/bench/bench_window" "$scratch/pixtint-bench-window"
fi
if chosen work; then
    echo "== window: listing, restore, big previews and batches beside it, and its longest stall"
    on_display "$build/bench/bench_window_work" "$scratch/pixtint-bench-window-work"
fi
if chosen flow; then
    echo "== window: its frames and its longest stall during long batches"
    on_display "$build/bench/bench_batch_flow" "$scratch/pixtint-bench-batch-flow"
    if [[ ${PIXTINT_BENCH_MANY:-0} != 0 ]]; then
        echo "== window: 100,000 icons against pixtint-convert and the durable floor, peak memory"
        on_display "$build/bench/bench_batch_flow" --many "$scratch/pixtint-bench-batch-many" 2
    fi
fi
