#!/usr/bin/env bash
# Soak: long headless games on generated input, built with the address and undefined-behaviour
# sanitizers, the game record checked after every frame.
# Usage: scripts/soak.sh [frames per seed (default 50000)] [seed ...(default 1)]
# PLINKWELL_SOAK_BUILD names the sanitizer build directory (default build-asan; made when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-50000}
[ $# -gt 0 ] && shift
seeds=${*:-1}
build=${PLINKWELL_SOAK_BUILD:-build-asan}
if [ ! -x "$build/tests/plinkwell_app_tests" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DPLINKWELL_SANITIZE=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target plinkwell_app_tests
fi
export PLINKWELL_SOAK_FRAMES=$frames PLINKWELL_SOAK_SEEDS=$seeds
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
time "$build/tests/plinkwell_app_tests" --gtest_filter='Soak.*'
