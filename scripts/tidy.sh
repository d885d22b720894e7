#!/usr/bin/env bash
# Runs clang-tidy with .clang-tidy's checks (the naming rules of HACKING.md, bugprone-*, performance-*)
# and prints every finding once. Exit status 1 when there is any.
# Usage: scripts/tidy.sh [build directory, default build-tidy]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-tidy
build=${1:-build-tidy}
# Every file compiled on its own, so that each has its own entry in compile_commands.json.
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DPLINKWELL_BENCH=ON -DPLINKWELL_UNITY=OFF >/dev/null
# Windows' own files are compiled only by the Windows build (scripts/windows.sh), not this one.
mapfile -t files < <(
  { find src/platform tools tests bench -name '*.cpp' -not -path 'src/platform/web/*' \
      -not -name '*_windows.cpp' -not -name 'Windows*Test.cpp'
    ls src/app/{Launcher,Options,GameSnapshot,FrameTimeLog,Screenshot,Settings,main}.cpp; } | sort)
# the design classes keep their own naming convention: their files and headers get every check but naming.
mapfile -t design < <(
  { find src/game src/gfx src/input src/audio -name '*.cpp'
    ls src/app/{CGameApp,CGameFrame,Framework}.cpp; } | sort)
tidy() { xargs -P "$(nproc)" -n 8 clang-tidy -p "$build" --quiet "$@" 2>/dev/null || true; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
{
  printf '%s\n' "${files[@]}" | tidy
  printf '%s\n' "${design[@]}" | tidy --checks=-readability-identifier-naming --header-filter='/src/'
} | grep -E '^/.*: (warning|error): .*\[[^]]+\]$' |
  sed "s|^$PWD/||" | sort -t: -k1,1 -k2,2n -k3,3n | uniq >"$out" || true
cat "$out"
count=$(wc -l <"$out")
echo "tidy: $count finding(s) in $((${#files[@]} + ${#design[@]})) files" >&2
[ "$count" -eq 0 ]
