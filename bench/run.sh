#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all: the engine against a streaming copy,
# the window's refresh and preview, and the batch against mogrify.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" imagemagick

build=build-bench-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=ON
cmake --build "$build" -j2 --target bench_replace_color bench_window bench_batch
"$build/bench/bench_replace_color"
"$build/bench/bench_window"
"$build/bench/bench_batch"
