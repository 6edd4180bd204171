#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzzer with clang and runs it, seeded from the BMP corpus. The corpus it grows
# stays in the build folder for the next run; inputs that break an invariant are kept in
# fuzz-findings there.
#
#   fuzz/run.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang

build=${PIXTINT_FUZZ_BUILD:-build-fuzz} # any build folder of the fuzzer
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=OFF -DPIXTINT_BUILD_FUZZ=ON
cmake --build "$build" -j2 --target fuzz_engine

seeds=tests/data/bmpsuite
mkdir -p "$build/fuzz-corpus" "$build/fuzz-findings"
exec "$build/fuzz/fuzz_engine" "$build/fuzz-corpus" "$seeds" -max_total_time="${1:-300}" \
    -artifact_prefix="$build/fuzz-findings/" -print_final_stats=1
