#!/usr/bin/env bash
# Lists the C++ files of src, tests, bench, fuzz and tools that clang-format (.clang-format) would
# change, with exit status 1 when there is any; --fix formats them in place instead.
# Usage: scripts/format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-format
mapfile -t files < <(find src tests bench fuzz tools -name node_modules -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
case "${1:-}" in
  --fix) clang-format -i "${files[@]}"; exit 0 ;;
  '') ;;
  *) echo "usage: scripts/format.sh [--fix]" >&2; exit 2 ;;
esac
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" 2>/dev/null || bad+=("$f")
done
[ ${#bad[@]} -eq 0 ] || printf '%s\n' "${bad[@]}"
echo "format: ${#bad[@]} of ${#files[@]} files differ from clang-format (scripts/format.sh --fix formats them)" >&2
[ ${#bad[@]} -eq 0 ]
