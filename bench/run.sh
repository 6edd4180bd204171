#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks in Release and runs them all: the engine against a streaming copy,
# the window's batch on a real X server (Xvfb) and pixtint-convert, both against the durable
# floor and ImageMagick, the other kinds of picture against dd and each other, then the
# window's batch on palette icons, its refresh, preview and colour changes.
#
#   bench/run.sh [scratch-folder]
#
# PIXTINT_BENCH_MANY=1 also runs the window's batch of 100,000 icons (several minutes).
#
# The machine should be otherwise idle: each figure is the best of several rounds, with the
# references timed in the same rounds, but a busy disk still moves the flushing benchmarks.
# The batches run before the window benchmark, whose 10,000 deleted pictures would slow the
# creation of new files for a minute or two on some file systems; the long batches, which
# delete far more, come last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" imagemagick xvfb xauth fonts-ipafont-gothic

scratch=${1:-${TMPDIR:-/tmp}}
build=${PIXTINT_BENCH_BUILD:-build-bench-release} # any build folder of the benchmarks
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=ON
cmake --build "$build" -j2 --target bench_replace_color bench_window bench_batch bench_durable_floor \
    bench_cli bench_kinds bench_transparency bench_window_kinds bench_batch_flow

on_display() {
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
}

echo "== engine: convertFile against a streaming copy"
"$build/bench/bench_replace_color" "$scratch"
echo "== window: batch against the durable floor and ImageMagick"
on_display "$build/bench/bench_batch" "$scratch/pixtint-bench-batch"
echo "== command line: pixtint-convert against the durable floor and ImageMagick"
"$build/bench/bench_cli" "$scratch/pixtint-bench-cli"
echo "== command line: 32-bit, palette and tolerant conversions against their references"
"$build/bench/bench_kinds" "$scratch/pixtint-bench-kinds"
echo "== command line: a key colour turned transparent against the durable floor and dd"
"$build/bench/bench_transparency" "$scratch/pixtint-bench-transparency"
echo "== window: batch of 4-bit icons against 24-bit ones, both grown"
on_display "$build/bench/bench_window_kinds" "$scratch/pixtint-bench-window-kinds"
echo "== window: refresh, preview and colour changes"
on_display "$build/bench/bench_window" "$scratch/pixtint-bench-window"
echo "== window: its frames and its longest stall during long batches"
on_display "$build/bench/bench_batch_flow" "$scratch/pixtint-bench-batch-flow"
if [[ ${PIXTINT_BENCH_MANY:-0} != 0 ]]; then
    echo "== window: 100,000 icons against pixtint-convert and the durable floor, peak memory"
    on_display "$build/bench/bench_batch_flow" --many "$scratch/pixtint-bench-batch-many" 2
fi
