#!/usr/bin/env bash
# Builds and runs every test: the normal build, the address/undefined-behaviour sanitizer build, and
# the browser tests (the web build in headless Chromium, and its harness in headless firefox-esr when
# that is installed) when emscripten and chromium are installed (.ci/run installs all three and sets
# PLINKWELL_WEB_TESTS=required, so there they always run).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
jobs=$(nproc)
root=$PWD
# A developer's own settings file must not leak into the tests: an empty settings folder of the run's own.
XDG_CONFIG_HOME=$(mktemp -d "${TMPDIR:-/tmp}/plinkwell-settings.XXXXXX")
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKWELL_BENCH=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPLINKWELL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

if [ "${PLINKWELL_WEB_TESTS:-}" = required ] || { command -v emcc && command -v chromium; } >/dev/null 2>&1; then
  PLINKWELL_WEB_DATA="$root/build/data" scripts/web.sh  # the data the normal build made above
  (cd tests/web && npm ci --no-audit --no-fund >/dev/null &&
    PLINKWELL_GAME="$PWD/../../build/plinkwell" PLINKWELL_DATA="$PWD/../../build/data" node --test)
else
  echo "test.sh: browser tests not run (install emscripten and chromium, or run .ci/run)"
fi
