#!/usr/bin/env bash
# Builds whatever is missing and starts the game. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target plinkwell
exec build/plinkwell --data build/data "$@"
