#!/usr/bin/env bash
# Golden replays: plays our whole-game scripts headless and compares the SHA-256 of each run's trace
# and of the frame shown at a few fixed frames with the committed sums. Any change to play or to the
# picture shows up here; a deliberate one updates the sums (--update) in a commit of its own.
# Usage: replay.sh GAME DATADIR [--update]
set -euo pipefail
game=$1 data=$2 update=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sums="$here/golden.sha256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The whole-game stages of the tests use the build's pictures and sounds with their own Map.dat.
mkdir "$work/fullgame"
ln -s "$(cd "$data" && pwd)/sprite" "$(cd "$data" && pwd)/sound" "$work/fullgame/"
cp "$here/fullgame/Map.dat" "$work/fullgame/"

# name script data-dir screenshot-frames (the trace is taken from the last, longest run)
cases=(
  "play|$root/docs/screenshots/play.txt|$data|5 1720 1987"
  "steady|$root/scripts/perf/steady_play.txt|$data|400 1321"
  "fullgame|$here/fullgame.txt|$work/fullgame|300 636 960"
)

for entry in "${cases[@]}"; do
  IFS='|' read -r name script dir frames <<<"$entry"
  for n in $frames; do
    "$game" --headless --data "$dir" --input "$script" --frames "$n" \
      --screenshot "$work/$name.frame$n.bmp" --trace "$work/$name.trace.jsonl" >/dev/null
    (cd "$work" && sha256sum "$name.frame$n.bmp") >>"$work/actual"
  done
  (cd "$work" && sha256sum "$name.trace.jsonl") >>"$work/actual"
done

if [ "$update" = --update ]; then
  cp "$work/actual" "$sums"
  exit 0
fi
if ! diff -u "$sums" "$work/actual"; then
  echo "golden replays differ from $sums (lines with - are expected, + are what this build played)" >&2
  exit 1
fi
echo "golden replays: $(wc -l <"$sums") sums match"
