#!/usr/bin/env bash
# Checks the naming rules of HACKING.md with clang-tidy (.clang-tidy) on the code outside the
# design classes, and prints every violation once. Exit status 1 when there is any.
# Usage: scripts/tidy.sh [build directory, default build-tidy]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-tidy
build=${1:-build-tidy}
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DPLINKWELL_BENCH=ON >/dev/null
# the design classes keep their own convention: src/game, src/gfx, src/input, src/audio and
# src/app's CGameApp, CGameFrame and Framework are left out.
mapfile -t files < <(
  { find src/platform tools tests bench -name '*.cpp' -not -path 'src/platform/web/*'
    ls src/app/{Launcher,Options,GameSnapshot,FrameTimeLog,Screenshot,main}.cpp; } | sort)
out=$(mktemp)
trap 'rm -f "$out"' EXIT
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 8 clang-tidy -p "$build" --quiet 2>/dev/null |
  grep -E '^/.*: warning: .*\[readability-identifier-naming\]$' |
  sed "s|^$PWD/||" | sort -t: -k1,1 -k2,2n -k3,3n | uniq >"$out" || true
cat "$out"
count=$(wc -l <"$out")
echo "tidy: $count naming violation(s) in ${#files[@]} files" >&2
[ "$count" -eq 0 ]
